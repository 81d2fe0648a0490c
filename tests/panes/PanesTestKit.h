#pragma once

#include "GridRow.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixView.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>

class QSortFilterProxyModel;

// A document window's two node panes, wired to each other, on screen and active.
class PanesTest : public ::testing::Test
{
protected:
    PanesTest();
    ~PanesTest() override;

    // Replaces the rows by those of a node, as the tree pane fills them.
    void Fill(std::initializer_list<GridRow> rows);
    // The cell of row nRow (fill order) and column nCol as the view shows it.
    QModelIndex ViewIndex(int nRow, int nCol) const;
    // The text the view shows in that cell.
    QString CellText(int nRow, int nCol) const;
    void ClickCell(int nRow, int nCol);
    // Clicks the cell until its editor opens (a click in the current row opens it).
    QWidget *OpenEditor(int nRow, int nCol);
    // The open cell editor, or null.
    QWidget *Editor() const;
    // Types into whatever has the focus.
    static void Type(const QString &strKeys);
    static void Press(Qt::Key key);
    void FocusTextPane();
    bool IsModified() const { return m_pDoc->IsModified(); }

    // The document outlives the window, whose panes unregister from it.
    std::unique_ptr<CPellixDoc> m_pDoc;
    std::unique_ptr<QWidget> m_pWindow;
    CPellixGridView *m_pGrid = nullptr;
    CPellixView *m_pText = nullptr;
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
