#include "DocumentEditor.h"

#include "DomFunctions.h"

#include <QScopedValueRollback>
#include <utility>

namespace
{
CDocumentEdit MakeEdit(CDocumentEdit::Kind kind, const dom::Node &parent, const dom::Node &node)
{
    CDocumentEdit edit;
    edit.kind = kind;
    edit.parent = parent;
    edit.node = node;
    return edit;
}

// Puts `to`, a detached element without children, in the place of `from`, moving from's
// children to it. Each keeps its own attributes: a rename gave the new element copies.
HRESULT SwapElement(const dom::Node &from, const dom::Node &to)
{
    dom::Node parent = from.parentNode();
    if (parent.isNull() || to.isNull() || !to.parentNode().isNull() || to.hasChildNodes())
        return E_FAIL;
    std::vector<dom::Node> children;
    for (dom::Node child = from.firstChild(); child; child = child.nextSibling())
        children.push_back(child);
    dom::Node target = to;
    for (const dom::Node &child : children) {
        if (const HRESULT result = target.appendChild(child); FAILED(result))
            return result;
    }
    return parent.replaceChild(to, from);
}

// Takes out the row parts of edit.node, which must be exactly edit.oldParts, and puts
// edit.newParts back where they stood.
HRESULT SwapRowParts(const CDocumentEdit &edit)
{
    if (edit.node.isNull() || NodeRowParts(edit.node) != edit.oldParts ||
        edit.newAnchors.size() != edit.newParts.size())
        return E_FAIL;
    RemoveRowParts(edit.node);
    dom::Node target = edit.node;
    for (std::size_t i = 0; i < edit.newParts.size(); ++i) {
        const dom::Node &part = edit.newParts[i];
        const HRESULT result = part.nodeType() == dom::NODE_ATTRIBUTE
                                   ? target.setAttributeNode(part)
                                   : target.insertBefore(part, edit.newAnchors[i]);
        if (FAILED(result))
            return result;
    }
    return S_OK;
}

// The node a replayed edit leaves the user at.
dom::Node FocusOf(const CDocumentEdit &edit)
{
    return edit.kind == CDocumentEdit::Kind::Remove ? edit.parent : edit.node;
}
} // namespace

CDocumentEditor::CDocumentEditor(QObject *pParent) : QObject(pParent) {}

CDocumentEditor::~CDocumentEditor() = default;

HRESULT CDocumentEditor::InsertNode(const dom::Node &parent, const dom::Node &node,
                                    const dom::Node &before)
{
    if (parent.isNull() || node.isNull())
        return E_POINTER;
    return InsertAndAnnounce(MakeEdit(CDocumentEdit::Kind::Insert, parent, node), before);
}

HRESULT CDocumentEditor::InsertAndAnnounce(CDocumentEdit edit, const dom::Node &before)
{
    dom::Node target = edit.parent;
    const HRESULT result = target.insertBefore(edit.node, before);
    if (FAILED(result))
        return result;
    edit.reference = before;
    emit edited(edit);
    return result;
}

HRESULT CDocumentEditor::RemoveNode(const dom::Node &node)
{
    dom::Node parent = node.parentNode();
    if (parent.isNull())
        return E_FAIL;
    const dom::Node reference = node.nextSibling();
    const HRESULT result = parent.removeChild(node);
    if (FAILED(result))
        return result;
    CDocumentEdit edit = MakeEdit(CDocumentEdit::Kind::Remove, parent, node);
    edit.reference = reference;
    emit edited(edit);
    return result;
}

HRESULT CDocumentEditor::MoveNode(const dom::Node &node, const dom::Node &parent,
                                  const dom::Node &before)
{
    const dom::Node oldParent = node.parentNode();
    if (oldParent.isNull() || parent.isNull())
        return E_FAIL;
    CDocumentEdit edit = MakeEdit(CDocumentEdit::Kind::Move, parent, node);
    edit.oldParent = oldParent;
    edit.oldReference = node.nextSibling();
    return InsertAndAnnounce(std::move(edit), before);
}

HRESULT CDocumentEditor::ReplaceNode(const dom::Node &oldNode, const dom::Node &newNode)
{
    const dom::Node parent = oldNode.parentNode();
    const HRESULT result = ReplaceDOMNode(oldNode, newNode);
    if (FAILED(result))
        return result;
    CDocumentEdit edit = MakeEdit(CDocumentEdit::Kind::Replace, parent, newNode);
    edit.oldNode = oldNode;
    emit edited(edit);
    return result;
}

CRowsCommit CDocumentEditor::SetRows(const dom::Node &node, const std::vector<GridRow> &rows)
{
    if (node.isNull())
        return {};
    CDocumentEdit edit = MakeEdit(CDocumentEdit::Kind::SetRows, dom::Node(), node);
    edit.oldParts = NodeRowParts(node);
    edit.oldAnchors = RowPartAnchors(node);
    CRowsCommit result = WriteRowsIntoNode(node, rows);
    edit.newParts = NodeRowParts(node);
    edit.newAnchors = RowPartAnchors(node);
    emit edited(edit);
    return result;
}

void CDocumentEditor::BeginStep(int nNameID)
{
    if (m_nStepDepth++ == 0)
        m_nStepName = nNameID;
}

void CDocumentEditor::EndStep()
{
    if (m_nStepDepth > 0 && --m_nStepDepth == 0)
        emit stepEnded();
}

CDocumentEdit CDocumentEditor::Inverse(const CDocumentEdit &edit)
{
    CDocumentEdit inverse = edit;
    switch (edit.kind) {
    case CDocumentEdit::Kind::Insert:
        inverse.kind = CDocumentEdit::Kind::Remove;
        break;
    case CDocumentEdit::Kind::Remove:
        inverse.kind = CDocumentEdit::Kind::Insert;
        break;
    case CDocumentEdit::Kind::Move:
        std::swap(inverse.parent, inverse.oldParent);
        std::swap(inverse.reference, inverse.oldReference);
        break;
    case CDocumentEdit::Kind::Replace:
        std::swap(inverse.node, inverse.oldNode);
        break;
    case CDocumentEdit::Kind::SetRows:
        std::swap(inverse.oldParts, inverse.newParts);
        std::swap(inverse.oldAnchors, inverse.newAnchors);
        break;
    }
    return inverse;
}

HRESULT CDocumentEditor::Apply(const CDocumentEdit &edit)
{
    dom::Node parent = edit.parent;
    switch (edit.kind) {
    case CDocumentEdit::Kind::Insert:
        // A node with a parent would be moved, not inserted: the DOM is not where it was.
        if (!edit.node.parentNode().isNull())
            return E_FAIL;
        return parent.insertBefore(edit.node, edit.reference);
    case CDocumentEdit::Kind::Remove:
        return parent.removeChild(edit.node);
    case CDocumentEdit::Kind::Move:
        if (edit.node.isNull() || !(edit.node.parentNode() == edit.oldParent))
            return E_FAIL;
        return parent.insertBefore(edit.node, edit.reference);
    case CDocumentEdit::Kind::Replace:
        return SwapElement(edit.oldNode, edit.node);
    case CDocumentEdit::Kind::SetRows:
        return SwapRowParts(edit);
    }
    return E_FAIL;
}

HRESULT CDocumentEditor::Replay(const std::vector<CDocumentEdit> &edits, bool bBackwards)
{
    HRESULT result = S_OK;
    dom::Node focus;
    {
        const QScopedValueRollback replaying(m_bReplaying, true);
        const std::size_t nCount = edits.size();
        for (std::size_t i = 0; i < nCount; ++i) {
            const CDocumentEdit &recorded = edits[bBackwards ? nCount - 1 - i : i];
            const CDocumentEdit edit = bBackwards ? Inverse(recorded) : recorded;
            result = Apply(edit);
            if (FAILED(result))
                return result;
            emit edited(edit);
            focus = FocusOf(edit);
        }
    }
    emit replayed(focus);
    return result;
}
