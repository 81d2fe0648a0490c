// The tree pane's editing commands: insert, delete, rename, expand and collapse, and the
// command routes and update rules that reach them.

#include "PellixTreeView.h"

#include "CmdUI.h"
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
    case ID_TREE_COPY:
    case ID_TREE_PASTE:
        // The internal clipboard is not built yet; its popup items are disabled.
        return;
    default:
        break;
    }
    MarkModified();
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
    const CTreeItemRef parentItem = current.GetParent();
    const dom::Node currentNode = current.GetNode();
    dom::Node parentNode = parentItem.GetNode();
    if (currentNode.isNull() || parentNode.isNull())
        return false;
    const dom::Node created =
        CreateDOMNode(currentNode.ownerDocument(), dom::NODE_ELEMENT, kNewElement);
    if (created.isNull())
        return false;
    if (FAILED(parentNode.insertBefore(created, currentNode))) {
        ReportRefusedElement(parentNode);
        return false;
    }
    const QString strLabel = QString::fromUtf8(kNewElement);
    const CTreeItemRef before = current.GetPrevSibling();
    if (before.IsNull())
        parentItem.InsertChild(strLabel, IMG_ELEMENT, created, CTreeItemRef::Where::First);
    else
        parentItem.InsertChildAfter(before, strLabel, IMG_ELEMENT, created);
    MarkModified();
    return true;
}

bool CPellixTreeView::InsertChildElement()
{
    const CTreeItemRef current = m_itemCurrent;
    dom::Node currentNode = current.GetNode();
    if (currentNode.isNull())
        return false;
    dom::Node created;
    if (FAILED(CreateDOMNode(currentNode.ownerDocument(), dom::NODE_ELEMENT, kNewChild, &created)))
        return false;
    if (FAILED(currentNode.appendChild(created))) {
        ReportRefusedElement(currentNode);
        return false;
    }
    AddItem(IMG_ELEMENT, QString::fromUtf8(kNewChild), created, current);
    expand(IndexFromItem(current));
    MarkModified();
    return true;
}

bool CPellixTreeView::RemoveItem(CTreeItemRef item)
{
    const dom::Node node = item.GetNode();
    dom::Node parentNode = node.parentNode();
    const CTreeItemRef parentItem = item.GetParent();
    // The document element is never deleted.
    if (parentNode.isNull() || parentItem.IsNull() || parentItem.GetImage() == IMG_DOCUMENT)
        return false;
    if (FAILED(parentNode.removeChild(node)))
        return false;
    ForgetSubtree(item);
    GetItemModel()->RemoveItem(item.GetId());
    MarkModified();
    return true;
}

bool CPellixTreeView::RenameNode(const QString &strName)
{
    return RenameItem(m_itemCurrent, strName);
}

bool CPellixTreeView::RenameItem(CTreeItemRef item, const QString &strName)
{
    const dom::Node oldNode = item.GetNode();
    if (oldNode.nodeType() != dom::NODE_ELEMENT)
        return false;
    MarkModified();
    const dom::Node newNode = oldNode.ownerDocument().createElement(strName.toStdString());
    if (newNode.isNull()) {
        AfxMessageBox(QStringLiteral("\"%1\" is not a valid XML name: the element keeps its "
                                     "name.")
                          .arg(strName));
        return false;
    }
    if (FAILED(ReplaceDOMNode(oldNode, newNode)))
        return false;
    item.SetNode(newNode);
    return true;
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
