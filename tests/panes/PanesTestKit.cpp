#include "PanesTestKit.h"

#include <QApplication>
#include <QSplitter>
#include <QTest>
#include <QVBoxLayout>
#include <ostream>

PanesTest::PanesTest()
{
    m_pGrid->setFocus();
}

PanesTest::~PanesTest() = default;

void PanesTest::Fill(std::initializer_list<GridRow> rows)
{
    m_pGrid->DeleteAllRows();
    m_pGrid->BeginFill();
    for (const GridRow &row : rows)
        m_pGrid->AddRow(m_pGrid->GetRowCount(), row.nKind, row.strName, row.strValue);
    m_pGrid->EndFill();
}

QRect PanesTest::CellRect(int nRow, int nCol) const
{
    QRect rect;
    EXPECT_TRUE(m_pGrid->GetCellRect(m_pGrid->ItemOfRow(nRow), m_pGrid->FindColumn(nCol), rect))
        << "no cell " << nRow << ", " << nCol;
    return rect;
}

QString PanesTest::CellText(int nRow, int nCol) const
{
    return m_pGrid->GetCellText(m_pGrid->ItemOfRow(nRow), m_pGrid->FindColumn(nCol));
}

void PanesTest::ClickCell(int nRow, int nCol)
{
    QTest::mouseClick(m_pGrid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      CellRect(nRow, nCol).center());
}

QWidget *PanesTest::OpenEditor(int nRow, int nCol)
{
    ClickCell(nRow, nCol);
    if (Editor() == nullptr)
        ClickCell(nRow, nCol);
    return Editor();
}

QWidget *PanesTest::Editor() const
{
    return m_pGrid->GetCellEditor();
}

void PanesTest::MoveCursorTo(int nRow, int nCol)
{
    m_pGrid->SetFocusCol(m_pGrid->FindColumn(nCol));
    m_pGrid->ClearSelection();
    m_pGrid->SelectFocusedRow(m_pGrid->ItemOfRow(nRow));
}

std::pair<int, int> PanesTest::CursorCell() const
{
    const int nItem = m_pGrid->GetFocusedRow();
    int nRow = -1;
    for (int i = 0; i < m_pGrid->GetRowCount(); ++i) {
        if (m_pGrid->ItemOfRow(i) == nItem)
            nRow = i;
    }
    return {nRow, m_pGrid->GetColumnId(m_pGrid->GetFocusCol())};
}

void PanesTest::CommitCell(int nRow, int nCol, const QString &strText)
{
    m_pGrid->OnEndLabelEdit(m_pGrid->ItemOfRow(nRow), m_pGrid->FindColumn(nCol), &strText);
}

void PanesTest::Type(const QString &strKeys)
{
    // Each key goes where the focus is then: the first one may open a cell editor.
    for (const QChar ch : strKeys) {
        QTest::keyClicks(QApplication::focusWidget(), QString(ch));
        QApplication::processEvents();
    }
}

void PanesTest::Press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
    // Enter ends a cell editor through a queued call.
    QApplication::processEvents();
}

void PanesTest::FocusTextPane()
{
    m_pText->setFocus();
    m_pText->moveCursor(QTextCursor::End);
}

RowValue RowAt(const CPellixGridView &grid, int nRow)
{
    const GridRow *pRow = grid.GetRow(nRow);
    if (pRow == nullptr)
        return {-1, QStringLiteral("<no row>"), QString()};
    return {pRow->nKind, pRow->strName, pRow->strValue};
}

void PrintTo(const RowValue &row, std::ostream *pOut)
{
    *pOut << "(" << row.nKind << ", \"" << row.strName.toStdString() << "\", \""
          << row.strValue.toStdString() << "\")";
}
