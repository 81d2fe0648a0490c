// The tree pane's clipboard: Cut and Copy mark an item (in the program's one mark, so pastes
// reach other windows and documents) and put its subtree on the system clipboard as XML text;
// Paste copies or moves the marked subtree under the current item through the editor, so every
// window of the document shows it.

#include "PellixTreeView.h"

#include "DocumentEditor.h"
#include "MessageBox.h"
#include "Resource.h"
#include "TreeClipboard.h"
#include "XmlWriter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

namespace
{

bool IsDocumentElement(const dom::Node &node)
{
    return node.parentNode().nodeType() == dom::NODE_DOCUMENT;
}

// True when `node` is `top` or lies below it.
bool IsInSubtree(const dom::Node &node, const dom::Node &top)
{
    for (dom::Node up = node; up; up = up.parentNode()) {
        if (up == top)
            return true;
    }
    return false;
}

// Other programs get the subtree in the layout Pellix saves it in.
void PutOnSystemClipboard(const dom::Node &node)
{
    if (node.nodeType() != dom::NODE_ELEMENT)
        return;
    const std::string text = WriteXMLString(node);
    if (!text.empty())
        QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void ReportRefusedPaste(const dom::Node &parent)
{
    AfxMessageBox(parent.nodeType() == dom::NODE_DOCUMENT
                      ? QStringLiteral("A document has only one root element: the element was "
                                       "not pasted.")
                      : QStringLiteral("The element was not pasted: the node cannot hold it."));
}

} // namespace

void CTreeClipboard::Mark(CPellixTreeView *pPane, const CTreeItemRef &item, int nMode)
{
    EndCut();
    m_itemClipSource = item;
    m_pSourcePane = pPane;
    m_nClipMode = nMode;
    // The document item keeps its own image: it cannot be pasted anywhere.
    if (nMode == CLIP_CUT && item.GetImage() == CPellixTreeView::IMG_ELEMENT)
        item.SetImage(CPellixTreeView::IMG_CUT);
}

void CTreeClipboard::EndCut()
{
    if (m_nClipMode == CLIP_CUT && m_itemClipSource.GetImage() == CPellixTreeView::IMG_CUT)
        m_itemClipSource.SetImage(CPellixTreeView::IMG_ELEMENT);
    m_nClipMode = CLIP_NONE;
}

CTreeClipboard &TreeClipboard()
{
    static CTreeClipboard clipboard;
    return clipboard;
}

QLineEdit *CPellixTreeView::GetLabelEditor() const
{
    return m_bEditingLabel ? qobject_cast<QLineEdit *>(indexWidget(m_labelEditIndex)) : nullptr;
}

bool CPellixTreeView::ForwardToLabelEditor(void (*fnEdit)(QLineEdit *))
{
    if (!m_bEditingLabel)
        return false;
    if (QLineEdit *pEditor = GetLabelEditor())
        fnEdit(pEditor);
    return true;
}

void CPellixTreeView::MarkCurrentItem(int nMode)
{
    // The marked subtree carries the edits of the rows shown.
    CommitShownItem();
    TreeClipboard().Mark(this, m_itemCurrent, nMode);
    PutOnSystemClipboard(m_itemCurrent.GetNode());
}

bool CPellixTreeView::CutItem()
{
    if (!ForwardToLabelEditor([](QLineEdit *pEditor) { pEditor->cut(); }))
        MarkCurrentItem(CTreeClipboard::CLIP_CUT);
    return false;
}

bool CPellixTreeView::CopyItem()
{
    if (!ForwardToLabelEditor([](QLineEdit *pEditor) { pEditor->copy(); }))
        MarkCurrentItem(CTreeClipboard::CLIP_COPY);
    return false;
}

bool CPellixTreeView::PasteItem()
{
    if (ForwardToLabelEditor([](QLineEdit *pEditor) { pEditor->paste(); }))
        return false;
    CommitShownItem();
    CTreeClipboard &clipboard = TreeClipboard();
    const bool bCut = clipboard.m_nClipMode == CTreeClipboard::CLIP_CUT;
    bool bPasted = false;
    {
        const CEditStep step(m_pEditor, IDS_STEP_PASTE);
        bPasted = CopyNodeUnder(clipboard.m_itemClipSource, m_itemCurrent);
    }
    clipboard.EndCut();
    // A completed cut leaves nothing to paste again, as if its item were gone.
    if (bPasted && bCut)
        clipboard.m_itemClipSource = CTreeItemRef();
    return bPasted;
}

bool CPellixTreeView::CopyNodeUnder(const CTreeItemRef &source, const CTreeItemRef &target)
{
    const CTreeClipboard &clipboard = TreeClipboard();
    return PlaceNodeUnder(clipboard.m_pSourcePane, source, target,
                          clipboard.m_nClipMode == CTreeClipboard::CLIP_CUT);
}

bool CPellixTreeView::PlaceNodeUnder(CPellixTreeView *pSourcePane, const CTreeItemRef &source,
                                     const CTreeItemRef &target, bool bMove)
{
    const dom::Node node = source.GetNode();
    const dom::Node parent = target.GetNode();
    if (node.isNull() || parent.isNull() || m_pEditor == nullptr)
        return false;
    // Under its own parent a move would change nothing; into its own subtree it would take the
    // target away with it.
    if (bMove && (node.parentNode() == parent || IsInSubtree(parent, node)))
        return false;
    const bool bSameDocument = node.ownerDocument() == parent.ownerDocument();
    if (bMove && bSameDocument && !IsDocumentElement(node)) {
        if (FAILED(m_pEditor->MoveNode(node, parent, dom::Node()))) {
            ReportRefusedPaste(parent);
            return false;
        }
        return true;
    }
    const dom::Node copy = parent.ownerDocument().importNode(node, true);
    if (copy.isNull())
        return false;
    // The editor's announcement adds the items, in this window and every other.
    if (FAILED(m_pEditor->InsertNode(parent, copy, dom::Node()))) {
        ReportRefusedPaste(parent);
        return false;
    }
    // A cut from another document leaves it; its document element stays where it is.
    if (bMove && pSourcePane != nullptr && source.GetModel() == pSourcePane->GetItemModel()) {
        const CEditStep step(pSourcePane->m_pEditor, IDS_STEP_CUT);
        pSourcePane->RemoveItem(source);
    }
    return true;
}
