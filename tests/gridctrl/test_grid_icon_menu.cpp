// The icon menu on its own: images taken from a registered tool bar by command, item sizes,
// and how items are drawn (embossed when disabled, accelerator text at the right, etched
// separators).
#include "GridIconMenu.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{
constexpr int kCmdOne = 101;

// Four 16 x 15 images in four colours for commands 101, Cut, Copy and Paste, with a gap
// after the first.
GridToolBarImages ColouredToolBar()
{
    QPixmap strip(4 * 16, 15);
    QPainter painter(&strip);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(i * 16, 0, 16, 15, colours[i]);
    painter.end();
    return {strip, QSize(16, 15), {kCmdOne, 0, GRID_CMD_CUT, GRID_CMD_COPY, GRID_CMD_PASTE}};
}

QImage DrawItem(const CGridIconMenu &menu, const CGridIconMenu::IconMenuItem &item, QSize size,
                bool bSelected, bool bDisabled)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    menu.DrawItem(painter, QRect(QPoint(0, 0), size), item, bSelected, bDisabled, false, false);
    return image;
}

bool HasColour(const QImage &image, const QColor &colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour.rgb())
                return true;
        }
    }
    return false;
}
} // namespace

TEST(GridIconMenu, ItemsTakeTheImagesOfTheirCommandsFromTheRegisteredToolBar)
{
    CGridIconMenu menu;
    menu.AppendCommand(GRID_CMD_UNDO, "&Undo");
    menu.AppendSeparator();
    menu.AppendCommand(GRID_CMD_COPY, "&Copy");
    menu.AppendCommand(GRID_CMD_PASTE, "&Paste");
    EXPECT_FALSE(menu.LoadToolBarImages(GRID_MAIN_TOOLBAR + 1)) << "no such tool bar";
    EXPECT_EQ(menu.GetImageCount(), 0);
    EXPECT_EQ(menu.GetImageSize(), QSize(20, 20));

    CGridIconMenu::RegisterToolBar(GRID_MAIN_TOOLBAR + 1, ColouredToolBar());
    ASSERT_TRUE(menu.LoadToolBarImages(GRID_MAIN_TOOLBAR + 1));
    CGridIconMenu::UnregisterToolBar(GRID_MAIN_TOOLBAR + 1);
    EXPECT_EQ(menu.GetImageCount(), 4) << "a gap takes no image";
    EXPECT_EQ(menu.GetImageSize(), QSize(16, 15));
    menu.MakeOwnerDrawn();
    const std::vector<CGridIconMenu::IconMenuItem> &items = menu.GetItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].nImage, -1);
    EXPECT_EQ(items[1].nId, CGridIconMenu::kSeparator);
    EXPECT_EQ(items[1].strText, "--");
    EXPECT_EQ(items[2].nImage, 2);
    EXPECT_EQ(items[3].nImage, 3);

    // The image drawn beside Paste is the tool bar's fourth (yellow); Undo has none.
    const QImage paste = DrawItem(menu, items[3], QSize(120, 20), false, false);
    EXPECT_TRUE(HasColour(paste, Qt::yellow));
    const QImage undo = DrawItem(menu, items[0], QSize(120, 20), false, false);
    EXPECT_FALSE(HasColour(undo, Qt::yellow));
}

TEST(GridIconMenu, ItemsMeasureFromTheirTextAndSeparatorsAreSixPixelsHigh)
{
    CGridIconMenu menu;
    CGridIconMenu::IconMenuItem separator{CGridIconMenu::kSeparator, CGridIconMenu::kSeparator,
                                          "--"};
    EXPECT_EQ(menu.MeasureItem(separator), QSize(10, 6));
    EXPECT_EQ(menu.MeasureItem({-1, 5, QString()}), QSize(100, 25));
    const QSize size = menu.MeasureItem({-1, 5, "&Paste"});
    EXPECT_EQ(size.height(), std::max(25, QFontMetrics(menu.ItemFont()).height()));
    EXPECT_GT(size.width(), 17 + size.height());

    // Dark line above a light line, two pixels in from each end.
    QImage image = DrawItem(menu, separator, QSize(40, 6), false, false);
    const QPalette &pal = menu.palette();
    EXPECT_EQ(image.pixel(2, 2), pal.color(QPalette::Dark).rgb());
    EXPECT_EQ(image.pixel(37, 3), pal.color(QPalette::Light).rgb());
    EXPECT_EQ(image.pixel(1, 2), QColor(Qt::magenta).rgb());
    EXPECT_EQ(image.pixel(10, 0), QColor(Qt::magenta).rgb());
}

TEST(GridIconMenu, DisabledItemsAreEmbossedAndAcceleratorsAlignRight)
{
    CGridIconMenu menu;
    const QPalette &pal = menu.palette();
    const QColor crGray = pal.color(QPalette::Disabled, QPalette::WindowText);
    const CGridIconMenu::IconMenuItem item{-1, 7, "Cut\tCtrl+X"};

    const QImage disabled = DrawItem(menu, item, QSize(300, 24), false, true);
    EXPECT_TRUE(HasColour(disabled, crGray));
    // The light copy under the grey text: pixels lighter than the menu's background.
    const int nBackground = pal.color(QPalette::Window).lightness();
    bool bLighter = false;
    for (int y = 0; y < disabled.height(); ++y) {
        for (int x = 0; x < disabled.width(); ++x)
            bLighter = bLighter || disabled.pixelColor(x, y).lightness() > nBackground;
    }
    EXPECT_TRUE(bLighter);
    // Selected, a disabled item shows no emboss: its text takes the menu colour.
    const QImage selected = DrawItem(menu, item, QSize(300, 24), true, true);
    EXPECT_FALSE(HasColour(selected, crGray));
    EXPECT_TRUE(HasColour(selected, pal.color(QPalette::Highlight)));

    // The key name after the tab ends 15 pixels from the right edge.
    const QImage enabled = DrawItem(menu, item, QSize(300, 24), false, false);
    int nRightmost = -1;
    for (int x = 0; x < enabled.width(); ++x) {
        for (int y = 0; y < enabled.height(); ++y) {
            if (enabled.pixelColor(x, y).lightness() < 128)
                nRightmost = x;
        }
    }
    EXPECT_GT(nRightmost, 300 - 15 - 8);
    EXPECT_LE(nRightmost, 300 - 15);
}
