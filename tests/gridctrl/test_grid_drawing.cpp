// Drawing: the selected row, the cell cursor, the owner's colours, grid lines, fitted texts
// and the empty list.
#include "GridFontSet.h"
#include "GridRowPainter.h"
#include "GridTestKit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QPainter>

namespace
{
// Whether some pixel of `rect` in `image` is close to `color`.
bool HasPixelNear(const QImage &image, const QRect &rect, const QColor &color, int nTolerance = 60)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) + std::abs(pixel.green() - color.green()) +
                    std::abs(pixel.blue() - color.blue()) <=
                nTolerance)
                return true;
        }
    }
    return false;
}
} // namespace

using GridDrawing = GridTest;

TEST_F(GridDrawing, TheSelectedRowIsTintedAndItsCursorCellKeepsTheBaseColour)
{
    m_pList->Fill({{"One", "name0", "value0"}, {"Two", "name1", "value1"}, {"One", "n2", "v2"}});
    Click(1, 2);
    const QImage image = Paint();
    const QPalette &palette = m_pList->palette();
    const QColor selection = CGridRowPainter::SelectionColor(palette);
    ASSERT_NE(selection, palette.color(QPalette::Base));
    QRect name;
    QRect value;
    ASSERT_TRUE(m_pList->GetCellRect(1, 1, name));
    ASSERT_TRUE(m_pList->GetCellRect(1, 2, value));
    // Background pixels, left of where the texts start.
    EXPECT_EQ(image.pixelColor(name.left() + 2, name.center().y()), selection);
    EXPECT_EQ(image.pixelColor(value.left() + 2, value.center().y()),
              palette.color(QPalette::Base));
    QRect other;
    ASSERT_TRUE(m_pList->GetCellRect(0, 1, other));
    EXPECT_EQ(image.pixelColor(other.left() + 2, other.center().y()),
              palette.color(QPalette::Base));
    // The owner's colours stay on the selected row: blue names, red values.
    EXPECT_TRUE(HasPixelNear(image, name.adjusted(6, 2, -6, -2), QColor(0, 0, 255)));
    EXPECT_TRUE(HasPixelNear(image, value.adjusted(6, 2, -6, -2), QColor(255, 0, 0)));
    EXPECT_FALSE(HasPixelNear(image, name.adjusted(6, 2, -6, -2), QColor(255, 0, 0), 30));
    // Grid lines at the right edge of every cell and under every row.
    EXPECT_EQ(image.pixelColor(other.right(), other.center().y()), QColor(192, 192, 192));
    EXPECT_EQ(image.pixelColor(other.left() + 3, other.top() + m_pList->GetRowHeight() - 1),
              QColor(192, 192, 192));

    // Without the focus the row does not look selected; the cursor cell stays.
    m_pList->clearFocus();
    QApplication::processEvents();
    const QImage unfocused = Paint();
    EXPECT_EQ(unfocused.pixelColor(name.left() + 2, name.center().y()),
              palette.color(QPalette::Base));
}

TEST_F(GridDrawing, WithoutTheCursorOptionTheCursorCellIsNotSetApart)
{
    m_pList->Fill({{"One", "a", "b"}});
    Click(0, 2);
    m_pList->SetOptions(GLO_CELLCURSOR | GLO_VGRIDLINES | GLO_HGRIDLINES, 0);
    const QImage image = Paint();
    QRect value;
    ASSERT_TRUE(m_pList->GetCellRect(0, 2, value));
    const QColor selection = CGridRowPainter::SelectionColor(m_pList->palette());
    EXPECT_EQ(image.pixelColor(value.left() + 2, value.center().y()), selection);
    EXPECT_EQ(image.pixelColor(value.left() - 1, value.center().y()), selection);
}

TEST_F(GridDrawing, AnEmptyListSaysSoUnderTheHeader)
{
    const QImage image = Paint();
    const QColor grey = m_pList->palette().color(QPalette::Disabled, QPalette::Text);
    const int nWidth = image.width();
    const int nTextHeight = QFontMetrics(m_pList->font()).height();
    EXPECT_TRUE(HasPixelNear(image, QRect(nWidth / 2 - 40, 2, 80, nTextHeight), grey, 30));
    EXPECT_FALSE(HasPixelNear(image, QRect(0, nTextHeight + 4, nWidth, 40), grey, 30));
    EXPECT_FALSE(HasPixelNear(image, QRect(0, 2, 40, nTextHeight), grey, 30));

    // With a row, the row is drawn there instead.
    m_pList->Fill({{"", "", ""}});
    EXPECT_FALSE(HasPixelNear(Paint(), QRect(nWidth / 2 - 25, 2, 60, nTextHeight - 4), grey, 30));
}

TEST(GridRowPainter, TextsAreCutOrEllipsizedAndLongTextsAreNeverLaidOutWhole)
{
    const QFontMetrics metrics(QApplication::font());
    const QString strLong = QString(200, u'w');
    const int nWidth = 60;
    const QString strCut = CGridRowPainter::FittedText(strLong, metrics, nWidth, false);
    EXPECT_TRUE(strLong.startsWith(strCut));
    EXPECT_FALSE(strCut.endsWith(QChar(0x2026)));
    const QString strElided = CGridRowPainter::FittedText(strLong, metrics, nWidth, true);
    EXPECT_TRUE(strElided.endsWith(QChar(0x2026)));
    EXPECT_LE(metrics.horizontalAdvance(strElided), nWidth);
    EXPECT_EQ(CGridRowPainter::FittedText("short", metrics, nWidth, true), "short");
    EXPECT_EQ(CGridRowPainter::FittedText("short", metrics, 0, true), "");

    // A hundred megabytes in a cell: only what the cell shows is measured.
    const QString strHuge(100 * 1000 * 1000, u'x');
    QElapsedTimer timer;
    timer.start();
    const QString strShown = CGridRowPainter::FittedText(strHuge, metrics, 300, true);
    EXPECT_LT(timer.elapsed(), 100);
    EXPECT_LE(strShown.size(), 308);
    EXPECT_TRUE(strShown.endsWith(QChar(0x2026)));
}

TEST_F(GridDrawing, ImageColumnsAndTheOwnersRowExtras)
{
    m_pList->SetColumns({{0, "Kind", 0, 100}, {1, "Picture", COLDEF_IMAGE, 120}});
    m_pList->Fill({{"One", "0"}, {"Two", "1"}});
    QRect picture;
    ASSERT_TRUE(m_pList->GetCellRect(0, 1, picture));
    // Without an image list the cell stays empty: its number is not drawn as text.
    const QColor base = m_pList->palette().color(QPalette::Base);
    EXPECT_FALSE(HasPixelNear(Paint(), picture.adjusted(6, 1, -6, -1), QColor(0, 0, 0), 200));
    QPixmap green(16, 16);
    green.fill(Qt::green);
    m_pList->SetCellImageList({green});
    QImage image = Paint();
    EXPECT_TRUE(HasPixelNear(image, picture, QColor(0, 255, 0), 0));
    QRect second;
    ASSERT_TRUE(m_pList->GetCellRect(1, 1, second));
    EXPECT_FALSE(HasPixelNear(image, second, QColor(0, 255, 0), 0));

    // An owner that draws its own row extras replaces the line under the row.
    m_pList->SetOptions(0, GLO_ROWEXTRA);
    int nAsked = 0;
    m_pList->SetCellFormatFunction([&nAsked](GridCellFormat &request) {
        if (request.nCode != GRIDQ_ROWEXTRA)
            return false;
        ++nAsked;
        request.pPainter->fillRect(request.rect.adjusted(0, request.rect.height() - 2, 0, 0),
                                   Qt::magenta);
        return true;
    });
    image = Paint();
    EXPECT_GE(nAsked, 2);
    EXPECT_EQ(image.pixelColor(picture.center().x(), picture.top() + m_pList->GetRowHeight() - 1),
              QColor(Qt::magenta));
    EXPECT_NE(base, QColor(Qt::magenta));
}

TEST(GridFontSet, FormatFlagsChooseBoldThenItalicThenUnderline)
{
    const GridFontSet fonts = GridFontSet::From(QApplication::font());
    EXPECT_TRUE(fonts.Pick(GRIDF_BOLD | GRIDF_ITALIC | GRIDF_UNDERLINE).bold());
    EXPECT_FALSE(fonts.Pick(GRIDF_BOLD).italic());
    EXPECT_TRUE(fonts.Pick(GRIDF_ITALIC | GRIDF_UNDERLINE).italic());
    EXPECT_FALSE(fonts.Pick(GRIDF_ITALIC | GRIDF_UNDERLINE).underline());
    EXPECT_TRUE(fonts.Pick(GRIDF_UNDERLINE).underline());
    EXPECT_FALSE(fonts.Pick(GRIDF_UNDERLINE).bold());
    EXPECT_EQ(fonts.Pick(GRIDF_TEXTCOLOR), QApplication::font());
}
