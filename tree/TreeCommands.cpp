// The tree pane's editing commands: insert, delete, rename, expand and collapse, and the
// command routes and update rules that reach them.

#include "PellixTreeView.h"

#include "CmdUI.h"
#include "DocumentEditor.h"
#include "DomFunctions.h"
#include "MessageBox.h"
#include "Resource.h"
#include "StringTable.h"

namespace
{

constexpr std::string_view kNewElement = "newElement";
constexpr std::string_view kNewChild = "newChild";

void ReportRefusedElement(const dom::Node &parent)
{
    AfxMessageBox(parent.nodeType() == dom::NODE_DOCUMENT
                      ? QStringLiteral("A document has only one root element: the new element "
                                       "was not inserted.")
                      : QStringLiteral("The new element was not inserted: the node cannot "
                                       "hold it."));
}

bool HasElementChildItem(const CTreeItemRef &item)
{
    for (CTreeItemRef child = item.GetFirstChild(); child; child = child.GetNextSibling()) {
        if (child.GetNode().nodeType() == dom::NODE_ELEMENT)
            return true;
    }
    return false;
}

} // namespace

void CPellixTreeView::RegisterCommands()
{
    OnCommand(ID_INSERT_ELEMENT, [this] {
        EndGridEdit();
        InsertElement();
    });
    OnUpdateCommandUI(ID_INSERT_ELEMENT,
                      [this](CCmdUI *pCmdUI) { pCmdUI->Enable(CanInsertElement()); });
    OnCommand(ID_INSERT_CHILDELEMENT, [this] {
        EndGridEdit();
        InsertChildElement();
    });
    OnUpdateCommandUI(ID_INSERT_CHILDELEMENT,
                      [this](CCmdUI *pCmdUI) { pCmdUI->Enable(CanInsertChildElement()); });

    const auto selected = [this] {
        m_itemCurrent = GetSelectedItem();
        return IndexFromItem(m_itemCurrent);
    };
    OnCommand(ID_TREE_EXPAND, [this, selected] { expand(selected()); });
    OnCommand(ID_TREE_CONTRACT, [this, selected] { collapse(selected()); });
    // Only the document item opens or closes: deeper items keep their own state.
    OnCommand(ID_TREE_EXPANDALL, [this] { expand(IndexFromItem(GetRootItem())); });
    OnCommand(ID_TREE_CONTRACTALL, [this] { collapse(IndexFromItem(GetRootItem())); });
    for (const int nID : {ID_TREE_EXPAND, ID_TREE_CONTRACT}) {
        OnUpdateCommandUI(nID,
                          [this](CCmdUI *pCmdUI) { pCmdUI->Enable(!GetSelectedItem().IsNull()); });
    }
    for (const int nID : {ID_TREE_EXPANDALL, ID_TREE_CONTRACTALL}) {
        OnUpdateCommandUI(nID, [this](CCmdUI *pCmdUI) { pCmdUI->Enable(!GetRootItem().IsNull()); });
    }

    // While the pane is active the clipboard commands are always on.
    OnCommand(ID_EDIT_CUT, [this] { CutItem(); });
    OnCommand(ID_EDIT_COPY, [this] { CopyItem(); });
    OnCommand(ID_EDIT_PASTE, [this] { PasteItem(); });

    // The popup's range, except Save All, which lies inside it but belongs to the application.
    OnCommandRange(ID_TREE_FIRST, ID_FILE_SAVE_ALL - 1, [this](int nID) { OnTreeCommand(nID); });
    OnCommandRange(ID_FILE_SAVE_ALL + 1, ID_TREE_LAST, [this](int nID) { OnTreeCommand(nID); });
}

void CPellixTreeView::OnTreeCommand(int nID)
{
    // Every command of the popup needs an item (a right click on blank space leaves none).
    if (m_itemCurrent.IsNull())
        return;
    EndGridEdit();
    // Each command marks the document modified through the editor, and only when it changed
    // something.
    switch (nID) {
    case ID_TREE_INSERTELEMENT:
        InsertElement();
        break;
    case ID_TREE_INSERTCHILDELEMENT:
        InsertChildElement();
        break;
    case ID_TREE_DELETE:
        RemoveItem(m_itemCurrent);
        break;
    case ID_TREE_RENAME:
        if (!m_itemCurrent.IsNull())
            edit(IndexFromItem(m_itemCurrent));
        break;
    case ID_TREE_CUT:
        CutItem();
        break;
    case ID_TREE_COPY:
        CopyItem();
        break;
    case ID_TREE_PASTE:
        PasteItem();
        break;
    default:
        break;
    }
}

bool CPellixTreeView::CanInsertElement() const
{
    return !m_itemCurrent.GetNode().isNull() && m_itemCurrent.GetImage() != IMG_DOCUMENT &&
           !m_itemCurrent.GetParent().IsNull();
}

bool CPellixTreeView::CanInsertChildElement() const
{
    if (m_itemCurrent.GetNode().isNull())
        return false;
    // A document holds one root element.
    return m_itemCurrent.GetImage() != IMG_DOCUMENT || !HasElementChildItem(m_itemCurrent);
}

bool CPellixTreeView::InsertElement()
{
    const CTreeItemRef current = m_itemCurrent;
    const dom::Node currentNode = current.GetNode();
    const dom::Node parentNode = current.GetParent().GetNode();
    if (currentNode.isNull() || parentNode.isNull() || m_pEditor == nullptr)
        return false;
    const dom::Node created =
        CreateDOMNode(currentNode.ownerDocument(), dom::NODE_ELEMENT, kNewElement);
    if (created.isNull())
        return false;
    // The editor's announcement puts the item in place, in this window and every other.
    if (FAILED(m_pEditor->InsertNode(parentNode, created, currentNode))) {
        ReportRefusedElement(parentNode);
        return false;
    }
    return true;
}

bool CPellixTreeView::InsertChildElement()
{
    const CTreeItemRef current = m_itemCurrent;
    const dom::Node currentNode = current.GetNode();
    if (currentNode.isNull() || m_pEditor == nullptr)
        return false;
    dom::Node created;
    if (FAILED(CreateDOMNode(currentNode.ownerDocument(), dom::NODE_ELEMENT, kNewChild, &created)))
        return false;
    if (FAILED(m_pEditor->InsertNode(currentNode, created, dom::Node()))) {
        ReportRefusedElement(currentNode);
        return false;
    }
    expand(IndexFromItem(current));
    return true;
}

bool CPellixTreeView::RemoveItem(CTreeItemRef item)
{
    const dom::Node node = item.GetNode();
    const CTreeItemRef parentItem = item.GetParent();
    // The document element is never deleted.
    if (node.parentNode().isNull() || parentItem.IsNull() ||
        parentItem.GetImage() == IMG_DOCUMENT || m_pEditor == nullptr)
        return false;
    // The editor's announcement drops the rows shown of the subtree and its items.
    return SUCCEEDED(m_pEditor->RemoveNode(node));
}

bool CPellixTreeView::RenameNode(const QString &strName)
{
    return RenameItem(m_itemCurrent, strName);
}

bool CPellixTreeView::RenameItem(CTreeItemRef item, const QString &strName)
{
    const dom::Node oldNode = item.GetNode();
    if (oldNode.nodeType() != dom::NODE_ELEMENT || m_pEditor == nullptr)
        return false;
    const dom::Node newNode = oldNode.ownerDocument().createElement(strName.toStdString());
    if (newNode.isNull()) {
        AfxMessageBox(QStringLiteral("\"%1\" is not a valid XML name: the element keeps its "
                                     "name.")
                          .arg(strName));
        return false;
    }
    // The rows shown of the element follow it to its new node (the edit context hears of it).
    return SUCCEEDED(m_pEditor->ReplaceNode(oldNode, newNode));
}

bool CPellixTreeView::OnEndLabelEdit(const CTreeItemRef &item, const QString &strText)
{
    m_bEditingLabel = false;
    m_itemCurrent = GetSelectedItem();
    if (item.GetNode().nodeType() != dom::NODE_ELEMENT)
        return false;
    if (!IsValidXMLName(strText)) {
        AfxMessageBox(LoadResString(IDS_INVALID_XMLNAME));
        return false;
    }
    return RenameItem(item, strText);
}
