#pragma once

#include "Document.h"
#include "EditContext.h"
#include "TreeItemRef.h"
#include "View.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeView>

class CDocumentEditor;
class CPellixDoc;
class CTreeItemDelegate;
struct CDocumentEdit;
struct CRowsCommit;
class CTreeItemModel;
class QMenu;
class QTimer;

// The tree pane: the document item and one item per element of the document's DOM. Selecting
// an item fills the window's edit context with its node's rows; leaving it writes edited rows
// back into the node. The pane also inserts, deletes, renames, expands and collapses items;
// its changes go through the document's editor, and it follows the changes every window makes.
class CPellixTreeView : public QTreeView, public CView
{
    Q_OBJECT

public:
    // The pane's internal clipboard modes.
    enum ClipMode { CLIP_COPY = 0, CLIP_CUT = 1, CLIP_NONE = 2 };
    // Item images.
    enum TreeImage : int { IMG_DOCUMENT = 0, IMG_ELEMENT = 1, IMG_CUT = 7 };
    // Items at this depth stay collapsed: the view lays out expanded levels recursively, so
    // an open chain of a hundred thousand levels would exhaust the stack. Deeper items are
    // still built, selected and edited; they are only not shown.
    static constexpr int kMaxShownDepth = 2000;

    CPellixTreeView(CDocument *pDoc, QWidget *pParent);
    ~CPellixTreeView() override;

    // The edit context of the same window: the pane fills and commits it.
    void SetEditContext(CEditContext *pContext);

    // Items. AddItem: kind 0 a top-level item (image 0); kinds 1 and 3 to 6 the last child of
    // `parent` with the kind as image; any other kind shows "Invalid Item Type in AddItem" and
    // returns null. Null too for a null node or one of another document.
    CTreeItemRef AddItem(int nKind, const QString &strLabel, const dom::Node &node,
                         const CTreeItemRef &parent);
    // Stores the item's tooltip text. Items without one show their attribute list.
    void SetItemTip(const CTreeItemRef &item, const QString &strText);
    QString GetItemTip(const CTreeItemRef &item) const;
    // The first top-level item (the document item); null when there are no items.
    CTreeItemRef GetRootItem() const;
    // The selected (current) item; null when none.
    CTreeItemRef GetSelectedItem() const;
    // The item under a point of the viewport; null over blank space.
    CTreeItemRef HitTest(const QPoint &ptViewport) const;
    CTreeItemRef ItemFromIndex(const QModelIndex &index) const;
    QModelIndex IndexFromItem(const CTreeItemRef &item) const;
    // Makes `item` the selected item (the selection handling runs).
    void SelectItem(const CTreeItemRef &item);
    CTreeItemModel *GetItemModel() const { return m_pModel; }
    // The item the commands act on.
    const CTreeItemRef &GetCurrentItem() const { return m_itemCurrent; }
    // The item whose node the grid shows; null when none.
    const CTreeItemRef &GetShownItem() const { return m_itemPrevious; }
    bool IsEditingLabel() const { return m_bEditingLabel; }

    // Rows. FillGrid appends the node's rows and the empty attribute row to the (empty) grid.
    void FillGrid(const dom::Node &node);
    // Writes the grid's rows into the node of `item` when they were edited since the fill;
    // only the item the grid shows is ever written.
    void CommitItem(const CTreeItemRef &item);

    // Commands; each acts on the current item and returns true when it changed the document.
    // Items are taken by value: a command may move the current item while it runs.
    bool InsertElement();
    bool InsertChildElement();
    // Deletes the item's node and its subtree; never the document element.
    bool RemoveItem(CTreeItemRef item);
    bool RenameNode(const QString &strName);
    // Renames the element of `item`: a new element of that name takes the old one's place
    // with its attributes and children. A name the DOM refuses is reported and changes nothing.
    bool RenameItem(CTreeItemRef item, const QString &strName);
    // Update rules of the Insert menu's Element and Child Element.
    bool CanInsertElement() const;
    bool CanInsertChildElement() const;
    // Whether the popup menu enables command nID for the current item.
    bool IsPopupItemEnabled(int nID) const;
    // Adds the popup menu's entries to `pMenu`, grayed for the current item.
    void FillPopupMenu(QMenu *pMenu) const;

    // Deletes every item, forgetting any handle that named one.
    void DeleteAllTreeItems();
    // Adds the document item (top level, image 0) labelled `label` for the document node.
    void AddDocumentItem(const QString &label, const dom::Document &document);
    // Walks the DOM into the document item and one item per element.
    void BuildTreeFromDocument(const dom::Document &document);
    // Ends an open cell edit and writes the shown rows back into their node when they were
    // edited since they were filled.
    void CommitShownItem();
    // The item of `node` (the document node or an element in the document); null when none.
    CTreeItemRef FindItem(const dom::Node &node) const;

    using QTreeView::edit;

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *pEvent) override;
    void closeEditor(QWidget *pEditor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent *pEvent) override;
    void contextMenuEvent(QContextMenuEvent *pEvent) override;
    bool viewportEvent(QEvent *pEvent) override;

private:
    void RegisterCommands();
    void OnTreeCommand(int nID);
    void OnCurrentChanged(const QModelIndex &current);
    bool OnEndLabelEdit(const CTreeItemRef &item, const QString &strText);
    void ShowPopupMenu(const QPoint &ptViewport, const QPoint &ptGlobal);
    void ShowItemTip(const QPoint &ptViewport, const QPoint &ptGlobal);
    QRect LabelRect(const QModelIndex &index) const;
    // Forgets what named `item` or an item below it before they are deleted: the rows the
    // grid shows of them are dropped without a commit, and the selection moves off them.
    void ForgetSubtree(const CTreeItemRef &item);
    void DropShownRows();
    void EndGridEdit();
    // Brings the items up to date with a change to the DOM, whichever window made it.
    void OnDocumentEdited(const CDocumentEdit &edit);
    void AddItemsFor(const CTreeItemRef &parent, const dom::Node &node);
    CTreeItemRef FindChildItem(const CTreeItemRef &parent, const dom::Node &node) const;
    void ReportRefusedRows(const CTreeItemRef &item, const CRowsCommit &result);

    CTreeItemModel *const m_pModel;
    CTreeItemDelegate *const m_pDelegate;
    // The document's editor; the document outlives its views.
    CDocumentEditor *const m_pEditor;
    // The window's edit context; the window destroys it after its panes.
    QPointer<CEditContext> m_pEdit;
    // A click on the selected label renames it when no second click follows.
    QTimer *const m_pRenameTimer;
    QPersistentModelIndex m_renameIndex;
    bool m_bPressOnSelectedLabel = false;

    CTreeItemRef m_itemCurrent;
    CTreeItemRef m_itemPrevious;
    // Drag and clipboard state, kept here for the clipboard and drag commands.
    CTreeItemRef m_itemDropTarget;
    CTreeItemRef m_itemClipSource;
    int m_nClipMode = CLIP_NONE;
    bool m_bDragging = false;
    bool m_bEditingLabel = false;
};
