#include "PanesTestKit.h"

#include <QApplication>
#include <QSortFilterProxyModel>
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

QModelIndex PanesTest::ViewIndex(int nRow, int nCol) const
{
    auto *pSorted = static_cast<QSortFilterProxyModel *>(m_pGrid->model());
    return pSorted->mapFromSource(pSorted->sourceModel()->index(nRow, nCol));
}

QString PanesTest::CellText(int nRow, int nCol) const
{
    return ViewIndex(nRow, nCol).data().toString();
}

void PanesTest::ClickCell(int nRow, int nCol)
{
    const QRect rect = m_pGrid->visualRect(ViewIndex(nRow, nCol));
    EXPECT_FALSE(rect.isEmpty());
    QTest::mouseClick(m_pGrid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
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
    if (!m_pGrid->IsEditingCell())
        return nullptr;
    return m_pGrid->indexWidget(m_pGrid->currentIndex());
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
