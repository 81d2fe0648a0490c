// How the tree shows its items: labels wider than the pane, and images on scaled screens.

#include "TreeTestWindow.h"

#include "Images.h"

#include <QApplication>
#include <QIcon>
#include <QScrollBar>
#include <QTest>

namespace
{
constexpr int kShortItems = 300;
const QString kLongName = QStringLiteral("newElementWithANameFarWiderThanTheTreePaneCanShowAtOnce");

// Many short elements, then one whose name does not fit the pane.
std::string ShortThenLong()
{
    std::string xml = "<root>";
    for (int i = 0; i < kShortItems; ++i)
        xml += "<e/>";
    return xml + "<" + kLongName.toStdString() + "/></root>";
}

// The column is fitted, and the scroll bar follows it, from the event loop.
bool ScrollsSideways(QTreeView *pTree, bool bScrolls)
{
    return QTest::qWaitFor([&] {
        const QScrollBar *pBar = pTree->horizontalScrollBar();
        return (pBar->maximum() > 0) == bScrolls && pBar->isVisible() == bScrolls;
    });
}
} // namespace

TEST_F(TreeTest, OnlyALongLabelInViewBringsAHorizontalScrollBar)
{
    ASSERT_TRUE(Open(ShortThenLong()));
    tree->expand(tree->IndexFromItem(Item("root")));
    const int nLabelWidth = tree->fontMetrics().horizontalAdvance(kLongName);
    ASSERT_GT(nLabelWidth, tree->viewport()->width());

    // The short labels at the top fit: the column fills the pane and nothing scrolls.
    EXPECT_TRUE(ScrollsSideways(tree, false));
    EXPECT_EQ(tree->columnWidth(0), tree->viewport()->width());

    tree->scrollToBottom();
    EXPECT_TRUE(ScrollsSideways(tree, true));
    const QRect rectLong = tree->visualRect(tree->IndexFromItem(Item("root/" + kLongName)));
    ASSERT_TRUE(tree->viewport()->rect().intersects(rectLong));
    EXPECT_GE(tree->columnWidth(0), 2 * tree->indentation() + nLabelWidth);

    // Only the rows in view are measured: back at the top the long one no longer counts.
    tree->scrollToTop();
    EXPECT_TRUE(ScrollsSideways(tree, false));
    EXPECT_EQ(tree->columnWidth(0), tree->viewport()->width());
}

TEST_F(TreeTest, RenamingToALongNameWidensTheColumnAndAShortOneNarrowsIt)
{
    ASSERT_TRUE(Open("<root><a/><b/></root>"));
    Select(Item("root/a"));
    RenameSelected(kLongName);
    ASSERT_FALSE(Item("root/" + kLongName).IsNull());
    EXPECT_TRUE(ScrollsSideways(tree, true));

    RenameSelected(QStringLiteral("c"));
    EXPECT_TRUE(ScrollsSideways(tree, false));
    EXPECT_EQ(tree->columnWidth(0), tree->viewport()->width());
}

TEST_F(TreeTest, ItemImagesAreDrawnForTheScreensScale)
{
    ASSERT_TRUE(Open("<root/>"));
    const QModelIndex index = tree->IndexFromItem(Item("root"));
    const QIcon icon = tree->model()->data(index, Qt::DecorationRole).value<QIcon>();
    ASSERT_FALSE(icon.isNull());
    for (const qreal ratio : {1.0, 2.0}) {
        const QPixmap pixmap = icon.pixmap(kTreeImageSize, ratio);
        EXPECT_EQ(pixmap.toImage(), TreeImage(CPellixTreeView::IMG_ELEMENT, ratio).toImage())
            << "at scale " << ratio;
    }
}
