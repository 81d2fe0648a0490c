// The tree pane's popup menu: built from the menu table, grayed for the clicked item.

#include "PellixTreeView.h"

#include "MenuTables.h"
#include "Resource.h"

#include <QMenu>

bool CPellixTreeView::IsPopupItemEnabled(int nID) const
{
    if (m_itemCurrent.IsNull())
        return false;
    const int nImage = m_itemCurrent.GetImage();
    const bool bDocumentElement =
        nImage == IMG_ELEMENT && m_itemCurrent.GetParent().GetImage() == IMG_DOCUMENT;
    switch (nID) {
    case ID_TREE_INSERTELEMENT:
    case ID_TREE_DELETE:
        return nImage != IMG_DOCUMENT && !bDocumentElement;
    case ID_TREE_INSERTCHILDELEMENT:
        return CanInsertChildElement();
    case ID_TREE_RENAME:
        // The document item's label names no node that could be renamed.
        return nImage != IMG_DOCUMENT;
    case ID_TREE_CUT:
    case ID_TREE_COPY:
    case ID_TREE_PASTE:
        return true;
    default:
        return false;
    }
}

void CPellixTreeView::FillPopupMenu(QMenu *pMenu) const
{
    for (const MenuItemDef &item : TreeMenuDef().front().children) {
        if (item.IsSeparator()) {
            pMenu->addSeparator();
            continue;
        }
        QAction *pAction = pMenu->addAction(QString::fromUtf8(item.text));
        pAction->setData(item.nID);
        pAction->setEnabled(IsPopupItemEnabled(item.nID));
    }
}

void CPellixTreeView::ShowPopupMenu(const QPoint &ptViewport, const QPoint &ptGlobal)
{
    // The popup acts on the clicked item; the selection (and the rows shown) stay.
    m_itemCurrent = HitTest(ptViewport);
    // The item the popup acts on is the one drawn selected while it is open.
    SetHighlightedItem(m_itemCurrent);
    const QPointer<CPellixTreeView> pAlive(this);
    const QPointer<QMenu> pMenu = new QMenu(this);
    FillPopupMenu(pMenu);
    const QAction *pChosen = pMenu->exec(ptGlobal);
    if (pAlive == nullptr)
        return;
    SetHighlightedItem(CTreeItemRef());
    const int nID = pChosen != nullptr ? pChosen->data().toInt() : 0;
    delete pMenu.data();
    if (nID != 0)
        OnTreeCommand(nID);
    // Afterwards the commands act on the selected item again.
    m_itemCurrent = GetSelectedItem();
}
