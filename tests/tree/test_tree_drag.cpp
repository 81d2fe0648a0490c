// Dragging items in the tree: the drag image and the highlighted item, drops that move or copy
// subtrees and drops that are refused; the popup's item drawn highlighted while it is open.

#include "TreeTestWindow.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <cstdlib>

namespace
{

const std::string kBooks = "<shelf><b x=\"1\"><i><j/></i></b><c/><d/></shelf>";

class TreeDragTest : public TreeTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Open(kBooks));
        tree->expandAll();
        QApplication::processEvents();
    }
    QPoint At(const QString &strPath) const
    {
        return tree->visualRect(tree->IndexFromItem(Item(strPath))).center();
    }
    void Mouse(QEvent::Type type, const QPoint &pt, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget *pViewport = tree->viewport();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, pt, pViewport->mapToGlobal(pt), button, buttons, modifiers);
        QApplication::sendEvent(pViewport, &event);
    }
    // Presses on `from` and moves far enough to start a drag, then over `to`.
    void DragOver(const QString &from, const QString &to)
    {
        const QPoint start = At(from);
        Mouse(QEvent::MouseButtonPress, start);
        Mouse(QEvent::MouseMove, start + QPoint(QApplication::startDragDistance() + 2, 0));
        Mouse(QEvent::MouseMove, At(to));
    }
    void Drop(const QString &from, const QString &to, Qt::KeyboardModifiers modifiers = {})
    {
        DragOver(from, to);
        Mouse(QEvent::MouseButtonRelease, At(to), modifiers);
    }
    // Whether the row of `strPath` is drawn selected: its branch area and the right end of its
    // item, clear of the label, in the highlight colour.
    bool DrawnSelected(const QString &strPath) const
    {
        const int y = tree->visualRect(tree->IndexFromItem(Item(strPath))).center().y();
        const QImage image = tree->viewport()->grab().toImage();
        const auto isHighlight = [this](QRgb pixel) {
            for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
                const QColor highlight = tree->palette().color(group, QPalette::Highlight);
                if (std::abs(qRed(pixel) - highlight.red()) < 8 &&
                    std::abs(qGreen(pixel) - highlight.green()) < 8 &&
                    std::abs(qBlue(pixel) - highlight.blue()) < 8)
                    return true;
            }
            return false;
        };
        const bool bBranch = isHighlight(image.pixel(2, y));
        const bool bItem = isHighlight(image.pixel(image.width() - 20, y));
        EXPECT_EQ(bBranch, bItem) << "half drawn selected: " << strPath.toStdString();
        return bBranch && bItem;
    }
};

} // namespace

TEST_F(TreeDragTest, ADragShowsTheImageAndHighlightsTheItemUnderTheCursor)
{
    doc->SetModifiedFlag(false);
    DragOver("shelf/b", "shelf/c");
    ASSERT_TRUE(tree->IsDragging());
    QWidget *pImage = tree->GetDragImage();
    ASSERT_NE(pImage, nullptr);
    EXPECT_TRUE(pImage->isVisible());
    EXPECT_EQ(pImage->pos(), tree->viewport()->mapToGlobal(At("shelf/c")) + QPoint(15, 15));
    EXPECT_EQ(tree->GetDropTarget(), Item("shelf/c"));
    // The item under the cursor alone is drawn selected; the selected item b is not.
    EXPECT_EQ(tree->GetSelectedItem(), Item("shelf/b"));
    EXPECT_TRUE(DrawnSelected("shelf/c"));
    EXPECT_FALSE(DrawnSelected("shelf/b"));

    Mouse(QEvent::MouseMove, At("shelf/d"));
    EXPECT_EQ(tree->GetDropTarget(), Item("shelf/d"));
    EXPECT_FALSE(DrawnSelected("shelf/c"));
    EXPECT_TRUE(DrawnSelected("shelf/d"));
    Mouse(QEvent::MouseMove, QPoint(5, tree->viewport()->height() - 5));
    EXPECT_TRUE(tree->GetDropTarget().IsNull());

    // Released over b's parent: the drop is refused and everything is as before.
    Mouse(QEvent::MouseMove, At("shelf"));
    Mouse(QEvent::MouseButtonRelease, At("shelf"));
    EXPECT_FALSE(tree->IsDragging());
    EXPECT_FALSE(pImage->isVisible());
    EXPECT_TRUE(tree->GetHighlightedItem().IsNull());
    EXPECT_TRUE(DrawnSelected("shelf/b"));
    EXPECT_EQ(tree->GetSelectedItem(), Item("shelf/b"));
    EXPECT_EQ(ChildLabels(Item("shelf")), (QStringList{"b", "c", "d"}));
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(TreeDragTest, ADropMovesTheSubtreeAndCtrlCopiesIt)
{
    const CTreeItemRef b = Item("shelf/b");
    const dom::Node node = b.GetNode();
    Drop("shelf/b", "shelf/d");
    EXPECT_EQ(ElementNames(Item("shelf").GetNode()), (QStringList{"c", "d"}));
    EXPECT_EQ(node.parentNode(), Item("shelf/d").GetNode());
    EXPECT_EQ(Item("shelf/d/b"), b);
    EXPECT_TRUE(doc->IsModified());

    Drop("shelf/d/b", "shelf/c", Qt::ControlModifier);
    EXPECT_EQ(Item("shelf/d/b").GetNode(), node);
    const dom::Node copy = Item("shelf/c/b").GetNode();
    ASSERT_FALSE(copy.isNull());
    EXPECT_NE(copy, node);
    EXPECT_EQ(ElementNames(copy.firstChild()), QStringList{"j"});
    EXPECT_TRUE(ItemsMatchNodes(Item("")));
    EXPECT_NE(Save().find("<c>\t\t<b x=\"1\">\t\t\t<i>"), std::string::npos);
}

TEST_F(TreeDragTest, DropsOnTheItemItsParentOrBelowItAreRefused)
{
    doc->SetModifiedFlag(false);
    for (const char *target : {"shelf/b", "shelf", "shelf/b/i", "shelf/b/i/j", ""}) {
        for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ControlModifier}) {
            Drop("shelf/b", target, modifiers);
            EXPECT_FALSE(tree->IsDragging());
        }
    }
    // The document element goes nowhere: every element lies below it.
    Drop("shelf", "shelf/c");
    EXPECT_EQ(ChildLabels(Item("")), QStringList{"shelf"});
    EXPECT_EQ(ChildLabels(Item("shelf")), (QStringList{"b", "c", "d"}));
    EXPECT_EQ(ChildLabels(Item("shelf/b")), QStringList{"i"});
    EXPECT_TRUE(ItemsMatchNodes(Item("")));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(TreeDragTest, ThePopupsItemIsDrawnHighlightedWhileItIsOpen)
{
    Select(Item("shelf/b"));
    ASSERT_TRUE(DrawnSelected("shelf/b"));
    Popup(Item("shelf/c"), [&](QMenu *) {
        EXPECT_EQ(tree->GetHighlightedItem(), Item("shelf/c"));
        EXPECT_TRUE(DrawnSelected("shelf/c"));
        EXPECT_FALSE(DrawnSelected("shelf/b"));
    });
    EXPECT_TRUE(tree->GetHighlightedItem().IsNull());
    EXPECT_TRUE(DrawnSelected("shelf/b"));
    EXPECT_FALSE(DrawnSelected("shelf/c"));
    EXPECT_EQ(tree->GetShownItem(), Item("shelf/b"));
}
