#pragma once

#include "Document.h"
#include "EditContext.h"
#include "TreeFind.h"
#include "TreeItemRef.h"
#include "TreeItemWalk.h"
#include "View.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeView>
#include <cstdint>
#include <vector>

class CDocumentEditor;
class CPellixDoc;
class CTreeItemDelegate;
struct CDocumentEdit;
struct CRowsCommit;
class CTreeItemModel;
class QLabel;
class QLineEdit;
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

    // Clipboard (the mark is the program's one CTreeClipboard). While a label is edited the
    // three act on the label's text instead. Cut and Copy mark the current item and put its
    // subtree on the system clipboard as XML text; Paste copies the marked subtree under the
    // current item, or moves it there after a Cut, and ends the Cut. Each returns true when it
    // changed the document.
    bool CutItem();
    bool CopyItem();
    bool PasteItem();
    // Places a copy of the subtree of `source` (of any pane) as the last child of `target`, or
    // after a Cut moves it there; true when the document changed. Refused: a cut item under
    // its own parent or into its own subtree, a node the target cannot hold.
    bool CopyNodeUnder(const CTreeItemRef &source, const CTreeItemRef &target);

    // Find and replace. FindInTree builds the match list from `start` when the text (or the
    // XPath option) differs from the last one or the list is empty (and selects the first match in
    // the direction); otherwise it visits the next match in the direction, past the selected item
    // (when replacing: past the item just renamed) and any deleted one, and with bReplace renames
    // it to strReplace. Past the last match it reports "Finished Searching the Document" and
    // selects the document item; the next visit starts over. The shown rows are committed
    // first. An XPath expression that cannot be evaluated is reported and changes nothing.
    void FindInTree(const CTreeItemRef &start, const QString &strFind, bool bReplace,
                    const QString &strReplace, const CFindOptions &options);
    // Appends to arrFound, in pre-order from `start`, each item once for every way it matches;
    // returns `start`.
    CTreeItemRef CollectMatches(std::vector<CFoundItem> &arrFound, const CTreeItemRef &start,
                                const QString &strFind, const CFindOptions &options) const;
    // Renames every element that matches to strReplace; returns how many were renamed. A name
    // the DOM refuses is reported once and renames nothing.
    int ReplaceAll(const CTreeItemRef &start, const QString &strFind, const QString &strReplace,
                   const CFindOptions &options);
    // Forgets the match list (the next search builds a new one).
    void ClearMatches();
    // The live items of the match list, in order, deleted ones left out.
    std::vector<CTreeItemRef> GetMatches() const;

    // Drag and drop. A drop moves the dragged subtree under the target (with Ctrl: copies it),
    // except onto the dragged item itself, its parent or an item below it.
    bool IsDragging() const { return m_bDragging; }
    const CTreeItemRef &GetDropTarget() const { return m_itemDropTarget; }
    // Whether `target` takes a drop of `source`.
    static bool CanDropOn(const CTreeItemRef &source, const CTreeItemRef &target);
    // The item drawn highlighted in place of the selection (the drop target, or the popup's
    // item while the popup is open); null when the selection shows.
    CTreeItemRef GetHighlightedItem() const;
    // The image that follows the cursor during a drag; null when no drag is under way.
    QWidget *GetDragImage() const;

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
    // The item of an element, its items and its ancestors' made when they are not yet; null for
    // a node the tree does not show.
    CTreeItemRef MakeItemFor(const dom::Node &node) const;

    using QTreeView::edit;

    // While a label is edited, Undo and Redo act on its text; otherwise they go on to the
    // document.
    bool OnCmdMsg(int nID, CCmdUI *pUpdate) override;

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *pEvent) override;
    void closeEditor(QWidget *pEditor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void dragEnterEvent(QDragEnterEvent *pEvent) override;
    void dragMoveEvent(QDragMoveEvent *pEvent) override;
    void dropEvent(QDropEvent *pEvent) override;
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
    // True when the children of `item` have items, which an edit must keep in step; otherwise
    // (and for a null item) false, and views learn that the item's children may have changed.
    bool FollowsChildren(const CTreeItemRef &item);
    void AddItemsFor(const CTreeItemRef &parent, const dom::Node &node);
    void MoveItemsFor(const CDocumentEdit &edit);
    // Closes the items of the subtree that a move took to kMaxShownDepth or below.
    void CollapseTooDeep(const CTreeItemRef &top);
    // After Undo or Redo: selects the item of `focus` (or of its nearest ancestor that has one)
    // in the window the user works in, its parent expanded.
    void OnReplayed(const dom::Node &focus);
    CTreeItemRef FindChildItem(const CTreeItemRef &parent, const dom::Node &node) const;
    // The item of `node`, walking down from the root item along its ancestors: only through
    // items already made, or making them on the way when `bMake`.
    CTreeItemRef ItemDownTo(const dom::Node &node, bool bMake) const;
    void ReportRefusedRows(const CTreeItemRef &item, const CRowsCommit &result);
    // Search: how many ways item `id` matches; the list entry nIndex as an item (null once
    // deleted); one click's visit; RenameNode on the current item, which the document item
    // and an element already so named are spared.
    int CountMatches(CTreeItemModel::ItemId id, dom::NodeView node, CTextMatcher &matcher,
                     const CFindOptions &options) const;
    // The list entry of the element `walk` visits, its item made when it is not yet.
    void AddFound(std::vector<CFoundItem> &arrFound, CTreeItemWalk &walk) const;
    // The match list of a search by text or, with the XPath option, of the elements the
    // expression names (in document order, from the whole tree); false, after a message, when
    // the expression cannot be evaluated or gives no nodes.
    bool CollectMatchList(std::vector<CFoundItem> &arrFound, const CTreeItemRef &start,
                          const QString &strFind, const CFindOptions &options) const;
    bool CollectXPathMatches(std::vector<CFoundItem> &arrFound, const QString &strExpression) const;
    CTreeItemRef FoundItem(std::size_t nIndex) const;
    void VisitNextMatch(bool bReplace, const QString &strReplace, bool bUp);
    bool ReplaceCurrentName(const QString &strName);
    // The label editor while a label is edited, else null.
    QLineEdit *GetLabelEditor() const;
    // While a label is edited: runs fnEdit on its editor and returns true.
    bool ForwardToLabelEditor(void (*fnEdit)(QLineEdit *pEditor));
    // Cut and Copy: marks the current item in nMode.
    void MarkCurrentItem(int nMode);
    // Puts the node of `source`, an item of `pSourcePane`, under the node of `target`: moved
    // when bMove, else copied.
    bool PlaceNodeUnder(CPellixTreeView *pSourcePane, const CTreeItemRef &source,
                        const CTreeItemRef &target, bool bMove);
    void SetHighlightedItem(const CTreeItemRef &item);
    void BeginDrag(const CTreeItemRef &item, const QPoint &ptGlobal);
    void DragTo(const QPoint &ptViewport, const QPoint &ptGlobal);
    // Ends a drag; with bDrop, drops the dragged item at ptViewport.
    void EndDrag(bool bDrop, const QPoint &ptViewport, Qt::KeyboardModifiers modifiers);

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
    bool m_bEditingLabel = false;
    QPersistentModelIndex m_labelEditIndex;
    // Drag state: the item a left press hit (a drag may start from it), the dragged item, the
    // item under the cursor and the image following the cursor, a child window of the pane.
    CTreeItemRef m_itemPressed;
    QPoint m_ptPressed;
    CTreeItemRef m_itemDragged;
    CTreeItemRef m_itemDropTarget;
    bool m_bDragging = false;
    QLabel *const m_pDragImage;
    // The item drawn selected in place of the current one (see GetHighlightedItem).
    QPersistentModelIndex m_highlighted;

    // The match list of the last search (valid for the model's epoch it was built in), the
    // position of the next match to visit, the text that built it, and the item the last
    // Replace renamed.
    std::vector<CFoundItem> m_arrFound;
    std::uint32_t m_nFoundEpoch = 0;
    int m_nFoundPos = 0;
    QString m_strLastFind;
    bool m_bLastXPath = false;
    CTreeItemRef m_itemLastReplaced;
};
