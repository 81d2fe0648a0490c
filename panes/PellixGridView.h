#pragma once

#include "EditContext.h"
#include "GridRow.h"
#include "View.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>

class CGridRowModel;
class QSortFilterProxyModel;

// The grid pane: the rows of its window's edit context as "Type", "Name" and "Value", edited
// in place. Rows keep the order they were filled or inserted in; sorting by a header only
// changes the order they are shown in.
class CPellixGridView : public QTableView, public CView
{
    Q_OBJECT

public:
    CPellixGridView(CDocument *pDoc, QWidget *pParent);
    ~CPellixGridView() override;

    // The rows shown and edited: the edit context of the same window.
    void SetEditContext(CEditContext *pContext);
    CEditContext *GetEditContext() const { return m_pContext; }

    // Inserts a row at nPos (a position past the end appends). Outside BeginFill/EndFill
    // the row counts as an edit.
    void AddRow(int nPos, dom::NodeType kind, const QString &strName, const QString &strValue);
    int GetRowCount() const;
    // The row at nPos in fill and insert order, or null when out of range. Valid until the
    // rows are deleted.
    const GridRow *GetRow(int nPos) const;
    // No rows, no hit cell, not showing a node, not edited; the text pane forgets its cell.
    void DeleteAllRows();
    // Rows added between BeginFill and EndFill are the node's own, not edits. EndFill: the
    // grid shows a node and its rows are clean.
    void BeginFill();
    void EndFill();
    // Switches painting off and on around a commit and refill, so the grid repaints once.
    void SetRedraw(bool bRedraw);
    // True after a cell commit, text-pane input or an inserted row since EndFill.
    bool AreRowsEdited() const;
    // Commits an open cell editor into its row; nothing when none is open.
    void EndCellEdit();
    bool IsEditingCell() const { return state() == EditingState; }
    // Stores text typed in the text pane: the name of row nRow for nCol 1, its value for 2.
    // Nothing for another column, a missing row or a read-only name.
    void SetCellFromTextPane(int nRow, int nCol, const QString &strText);

    // Appends an empty row of `kind`; nothing while no node is shown.
    void InsertEmptyRow(dom::NodeType kind);
    // Document windows open maximized, as the grid wants the room.
    void OnInitialUpdate() override;
    bool IsShowingNode() const;

    // The last cell hit by a click or a cursor move, in row order (column 0 type, 1 name,
    // 2 value); -1 while there is none.
    int m_nHitRow = -1;
    int m_nHitCol = -1;

    // Opens the cell editor of a cell (the view's own slot, kept visible beside the override).
    using QTableView::edit;

signals:
    // A name or value cell was hit: its text, for the text pane to show and write back into
    // that cell.
    void cellShown(const QString &strText, int nRow, int nCol);
    // No cell the text pane may write into is hit (a type cell, a read-only name, no rows).
    void cellCleared();

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *pEvent) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void paintEvent(QPaintEvent *pEvent) override;

private:
    void SetUpColumns();
    void RegisterCommands();
    // Appends an empty row of `kind` and returns its position.
    int AppendRow(dom::NodeType kind);
    void OnRowsReset();
    void HitCell(const QModelIndex &viewIndex);
    // Puts the hit cell's text into the text pane, or clears the pane's target when the
    // hit cell is not one the pane may write into.
    void ShowHitCellInTextPane();
    void OnCellCommitted(int nRow, int nCol);
    bool IsLastCell(const QModelIndex &viewIndex) const;

    CGridRowModel *const m_pRows;
    QSortFilterProxyModel *const m_pSorted;
    // The window's context; it belongs to the window, which destroys it after its panes.
    QPointer<CEditContext> m_pContext;
    QPersistentModelIndex m_editIndex;
    QPersistentModelIndex m_pressIndex;
    bool m_bPressOnCurrentRow = false;
};
