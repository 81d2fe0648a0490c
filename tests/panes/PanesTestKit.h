#pragma once

#include "GridRow.h"
#include "PaneWindow.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <utility>

// A document window's two node panes, wired as a window wires them, on screen and active.
class PanesTest : public ::testing::Test
{
protected:
    PanesTest();
    ~PanesTest() override;

    // Replaces the rows by those of a node, as the tree pane fills them.
    void Fill(std::initializer_list<GridRow> rows);
    // Where the grid shows the cell of row nRow (fill order) and column id nCol.
    QRect CellRect(int nRow, int nCol) const;
    // The text the grid shows in that cell.
    QString CellText(int nRow, int nCol) const;
    void ClickCell(int nRow, int nCol);
    // Clicks the cell until its editor opens (a click in the focused row opens it).
    QWidget *OpenEditor(int nRow, int nCol);
    // The open cell editor, or null.
    QWidget *Editor() const;
    // Puts the cell cursor on a cell, as the arrow keys do.
    void MoveCursorTo(int nRow, int nCol);
    // The cursor's cell as (row in fill order, column id).
    std::pair<int, int> CursorCell() const;
    // Ends an edit of the cell with strText, as an editor does.
    void CommitCell(int nRow, int nCol, const QString &strText);
    // Types into whatever has the focus.
    static void Type(const QString &strKeys);
    static void Press(Qt::Key key);
    void FocusTextPane();
    bool IsModified() const { return m_pDoc->IsModified(); }

    PaneWindow m_panes{false, QSize(700, 500)};
    CPellixDoc *const m_pDoc = m_panes.doc.get();
    CPellixGridView *const m_pGrid = m_panes.grid;
    CPellixView *const m_pText = m_panes.text;
};

// The row as a comparable value.
struct RowValue {
    int nKind;
    QString strName;
    QString strValue;
    bool operator==(const RowValue &) const = default;
};
RowValue RowAt(const CPellixGridView &grid, int nRow);
void PrintTo(const RowValue &row, std::ostream *pOut);

// Readable QStrings in failure messages.
inline void PrintTo(const QString &str, std::ostream *pOut)
{
    *pOut << '"' << str.toStdString() << '"';
}
