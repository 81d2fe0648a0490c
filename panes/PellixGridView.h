#pragma once

#include "EditContext.h"
#include "GridListView.h"
#include "GridRow.h"
#include "View.h"

#include <QPointer>
#include <QStringList>
#include <optional>

// The grid pane: the rows of its window's edit context as "Type", "Name" and "Value" in a grid
// list, edited in place. Each list row's datum is the address of its GridRow, which the
// context owns. Rows keep the order they were filled or inserted in (row numbers of this
// class's own functions count in that order); sorting and moving columns only change what is
// shown.
class CPellixGridView : public CGridListView, public CView
{
    Q_OBJECT

public:
    // The column ids.
    enum Column { ColType = 0, ColName = 1, ColValue = 2 };

    CPellixGridView(CDocument *pDoc, QWidget *pParent);
    ~CPellixGridView() override;

    // The kind names in the order the "Type" choices offer them.
    static const QStringList &KindNames();
    // "" for a kind without a name.
    static QString KindName(int nKind);
    // The kind named exactly (case counts) strName, or nothing.
    static std::optional<dom::NodeType> KindFromName(const QString &strName);

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
    // The list row that shows row nRow, or -1.
    int ItemOfRow(int nRow) const;
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
    // Stores text typed in the text pane: the name of row nRow for nCol 1, its value for 2.
    // Nothing for another column, a missing row or a read-only name.
    void SetCellFromTextPane(int nRow, int nCol, const QString &strText);

    // Appends an empty row of `kind`; nothing while no node is shown.
    void InsertEmptyRow(dom::NodeType kind);
    // Document windows open maximized, as the grid wants the room.
    void OnInitialUpdate() override;
    bool IsShowingNode() const;

    // The pane's answers to the list: the text of a cell and the cell formats, choices and
    // commits. A row without a datum shows "InCorrect Node!".
    void GetGridCellText(int nRow, int nPos, quintptr nDatum, QString &strText) const;
    bool GetGridCellFormat(GridCellFormat &request);

    // The names of text, CDATA and comment rows are read-only.
    bool IsCellReadOnly(int nRow, int nPos) const override;

    // While a cell editor is open, Undo and Redo act on its text; otherwise they go on to the
    // document.
    bool OnCmdMsg(int nID, CCmdUI *pUpdate) override;

signals:
    // A name or value cell was hit: its text, for the text pane to show and write back into
    // that cell (row in fill order, column id).
    void cellShown(const QString &strText, int nRow, int nCol);
    // No cell the text pane may write into is hit (a type cell, a read-only name, no rows).
    void cellCleared();

protected:
    // Tab from the last cell: a new attribute row.
    int OnAppendRow() override;
    void OnCellHit(int nRow, int nPos) override;
    void ShowEditorText(int nItem, int nPos, const QString &strText) override;
    void OnEditorClosed() override;

    bool OnPreparePrinting(CPrintInfo *pInfo) override;
    void OnBeginPrinting(QPainter *pPainter, CPrintInfo *pInfo) override;
    void OnPrint(QPainter *pPainter, CPrintInfo *pInfo) override;
    void OnEndPrinting(QPainter *pPainter, CPrintInfo *pInfo) override;

private:
    void SetUpColumns();
    void RegisterCommands();
    void ConnectContext(CEditContext *pContext);
    void OnRowsReset();
    // Appends an empty row of `kind` and returns its position.
    int AppendRow(dom::NodeType kind);
    // The row a list datum stands for, and its position in fill order (-1 when gone).
    static const GridRow *RowOf(quintptr nDatum);
    int PositionOf(const GridRow *pRow) const;
    bool CommitCell(const GridCellFormat &request);
    // Puts the cell (row in fill order, column id) into the text pane, or clears the pane's
    // target when the cell is not one the pane may write into.
    void ShowCellInTextPane(int nRow, int nColumnId);

    // The window's context; it belongs to the window, which destroys it after its panes.
    QPointer<CEditContext> m_pContext;
    // The cell the text pane writes into (row in fill order, column id), or -1.
    int m_nTextRow = -1;
    int m_nTextCol = -1;
    // The text pane's row as it was before the rows were read again: when the same node comes
    // back with that row (same kind and name), the pane keeps it.
    struct TextCellBeforeReset {
        dom::Node node;
        dom::NodeType kind = dom::NODE_INVALID;
        QString strName;
        int nRow = -1;
        int nCol = -1;
    };
    TextCellBeforeReset m_textBeforeReset;
    int FindRowAgain(const TextCellBeforeReset &before) const;
};
