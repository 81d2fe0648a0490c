// The cell tip: when it shows, where, and what takes it away.

#include "GridListTip.h"
#include "HeaderTestKit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>

namespace
{

const QString kLongText = QStringLiteral("A cell text far too long for its narrow column");

class GridListTipTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_model.setRowCount(60);
        m_model.setColumnCount(2);
        for (int nRow = 0; nRow < m_model.rowCount(); ++nRow)
            m_model.setItem(nRow, 0, new QStandardItem(QStringLiteral("row %1").arg(nRow)));
        m_table.setModel(&m_model);
        m_table.setColumnWidth(1, 90);
        // Single-line cells, like the grid's.
        m_table.setWordWrap(false);
        m_table.resize(400, 300);
        m_table.show();
        m_table.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_table));
        m_table.setFocus();
        m_pTip = new CGridListTip(&m_table);
    }

    QWidget *Viewport() const { return m_table.viewport(); }
    // The area a cell paints, without the grid line on its right and bottom.
    QRect Cell(int nRow, int nCol) const
    {
        return m_table.visualRect(m_model.index(nRow, nCol)).adjusted(0, 0, -1, -1);
    }
    // Where the table's own cells draw their text, so the tip's text lines up with it.
    int Inset() const
    {
        return m_table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &m_table) + 1;
    }
    // Puts a text too long for the cell into it and shows the cell's tip.
    bool ShowTip(int nRow, int nCol)
    {
        m_model.setItem(nRow, nCol, new QStandardItem(kLongText));
        return m_pTip->Show(Viewport(), Cell(nRow, nCol), kLongText, m_table.font(), Inset());
    }
    // The table with the tip on top, as the user sees them.
    QImage Screen()
    {
        QImage image = m_table.grab().toImage();
        QPainter painter(&image);
        painter.drawImage(m_pTip->pos() - m_table.mapToGlobal(QPoint(0, 0)),
                          m_pTip->grab().toImage());
        return image;
    }

    QStandardItemModel m_model;
    QTableView m_table;
    CGridListTip *m_pTip = nullptr;
};

TEST_F(GridListTipTest, ShownOnlyWhenTheTextDoesNotFitAndLaidExactlyOverTheCell)
{
    const QFont font = m_table.font();
    const QString strText = QStringLiteral("Twelve chars");
    const int nTextWidth = QFontMetrics(font).horizontalAdvance(strText);
    const int nInset = CGridListTip::kTextInset;
    const QRect cell = Cell(2, 1);
    const QRect fits(cell.topLeft(), QSize(nTextWidth + 2 * nInset, cell.height()));
    const QRect onePixelShort = fits.adjusted(0, 0, -1, 0);

    EXPECT_TRUE(CGridListTip::TextFits(strText, font, fits));
    EXPECT_FALSE(m_pTip->Show(Viewport(), fits, strText, font));
    EXPECT_FALSE(m_pTip->isVisible());
    EXPECT_FALSE(m_pTip->Show(Viewport(), onePixelShort, QString(), font));
    ASSERT_TRUE(m_pTip->Show(Viewport(), onePixelShort, strText, font));
    EXPECT_TRUE(m_pTip->isVisible());
    EXPECT_EQ(m_pTip->GetText(), strText);

    // Exactly over the cell, in global coordinates.
    const QPoint topLeft = Viewport()->mapToGlobal(cell.topLeft());
    EXPECT_EQ(m_pTip->geometry(), QRect(topLeft, onePixelShort.size()));
    EXPECT_EQ(m_pTip->GetHoverRect(),
              QRect(topLeft - QPoint(1, 1), QSize(onePixelShort.width() + 1, cell.height() + 2)));
    EXPECT_EQ(QApplication::activeWindow(), &m_table) << "the tip does not take the focus";
    EXPECT_FALSE(m_pTip->Show(Viewport(), onePixelShort.translated(0, 20), strText, font))
        << "one tip at a time";

    // None while a mouse button is held.
    m_pTip->Hide();
    PressAt(Viewport(), Cell(5, 0).center());
    EXPECT_FALSE(m_pTip->Show(Viewport(), onePixelShort, strText, font));
    ReleaseAt(Viewport(), Cell(5, 0).center());
    EXPECT_FALSE(m_pTip->isVisible());

    // A longer text goes on to the right of the cell, from the same text position.
    ASSERT_TRUE(ShowTip(1, 1));
    SaveShot(Screen(), "tip_over_cell");
    const QRect longCell = Cell(1, 1);
    const int nLongWidth = QFontMetrics(font).horizontalAdvance(kLongText);
    EXPECT_EQ(m_pTip->geometry(),
              QRect(Viewport()->mapToGlobal(longCell.topLeft()),
                    QSize(Inset() + nLongWidth + CGridListTip::kTextEndPad, longCell.height())));
    // Its first letter lies on the very pixels of the cell's own, inside the tip's border.
    const QRect firstLetter(1, 1, Inset() + 8, longCell.height() - 2);
    const QRect cellInk = FindInk(Viewport()->grab(longCell).toImage(), firstLetter);
    ASSERT_FALSE(cellInk.isEmpty());
    EXPECT_EQ(FindInk(m_pTip->grab().toImage(), firstLetter), cellInk);
}

TEST_F(GridListTipTest, HiddenByLeavingTheCellAKeyAClickOrScrollingWhichStillReachTheList)
{
    const QRect cell = Cell(1, 1);
    const int yMid = cell.center().y();
    ASSERT_TRUE(ShowTip(1, 1));
    for (const QPoint &pt :
         {cell.center(), QPoint(cell.left() - 1, yMid), QPoint(cell.center().x(), cell.top() - 1),
          QPoint(cell.center().x(), cell.bottom() + 1)}) {
        MoveTo(Viewport(), pt);
        EXPECT_TRUE(m_pTip->isVisible()) << "kept at " << pt.x() << "," << pt.y();
    }
    // Just right of the cell the pointer is still over the tip, but out of the cell.
    MoveTo(Viewport(), {cell.right() + 1, yMid});
    EXPECT_FALSE(m_pTip->isVisible());

    m_table.setCurrentIndex(m_model.index(1, 1));
    ASSERT_TRUE(ShowTip(1, 1));
    QTest::keyClick(&m_table, Qt::Key_Down);
    EXPECT_FALSE(m_pTip->isVisible());
    EXPECT_EQ(m_table.currentIndex(), m_model.index(2, 1)) << "the key reached the list";

    // The platform passes clicks through the tip to the cell beneath.
    EXPECT_TRUE(m_pTip->windowFlags().testFlag(Qt::WindowTransparentForInput));
    ASSERT_TRUE(ShowTip(4, 1));
    PressAt(Viewport(), Cell(4, 1).center());
    EXPECT_FALSE(m_pTip->isVisible());
    ReleaseAt(Viewport(), Cell(4, 1).center());
    EXPECT_EQ(m_table.currentIndex(), m_model.index(4, 1)) << "the click reached the list";

    ASSERT_TRUE(ShowTip(2, 1));
    m_table.verticalScrollBar()->setValue(3);
    EXPECT_FALSE(m_pTip->isVisible());

    ASSERT_TRUE(ShowTip(6, 1));
    const QPoint pt = Cell(6, 1).center();
    QWheelEvent wheel(pt, Viewport()->mapToGlobal(pt), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Viewport(), &wheel);
    EXPECT_FALSE(m_pTip->isVisible());
}

} // namespace
