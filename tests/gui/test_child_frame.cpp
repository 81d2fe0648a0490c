// The document window: its splitters, and which window's panes the document works with.

#include "GuiTestKit.h"

#include "ChildFrame.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "PellixView.h"
#include "Resource.h"
#include "SplitterKeyboard.h"
#include "WindowTitle.h"

#include <QMdiArea>
#include <QSplitter>
#include <QTest>

namespace
{
// The document's commands act on the edit context of `pFrame`, the one its grid shows.
void ExpectPanesOf(CPellixDoc *pDoc, CChildFrame *pFrame)
{
    ASSERT_NE(pFrame->GetEditContext(), nullptr);
    EXPECT_EQ(pDoc->GetActiveEditContext(), pFrame->GetEditContext());
    EXPECT_EQ(pFrame->GetGridPane()->GetEditContext(), pFrame->GetEditContext());
}
} // namespace

TEST(ChildFrameLayout, TheGridPanesIdealHeightFollowsTheCreationHeight)
{
    EXPECT_EQ(CChildFrame::GridPaneIdealHeight(400), 430);
    EXPECT_EQ(CChildFrame::GridPaneIdealHeight(91), 121);
    EXPECT_EQ(CChildFrame::GridPaneIdealHeight(90), 120);
    EXPECT_EQ(CChildFrame::GridPaneIdealHeight(0), 120);
}

// A started application with one new document in one window.
class ChildFrame : public PellixTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartApp());
        m_pDoc = NewDoc();
        ASSERT_NE(m_pDoc, nullptr);
        m_pFrame = FrameOf(m_pDoc);
        ASSERT_NE(m_pFrame, nullptr);
    }

    CPellixDoc *m_pDoc = nullptr;
    CChildFrame *m_pFrame = nullptr;
};

TEST_F(ChildFrame, TheTreeIsTwoHundredPixelsWideBesideTheGridAboveTheText)
{
    CChildFrame *pFrame = m_pFrame;
    QWidget *pTree = pFrame->GetTreePane();
    QWidget *pGrid = pFrame->GetGridPane();
    QWidget *pText = pFrame->GetTextPane();
    EXPECT_EQ(pTree->width(), CChildFrame::kTreePaneWidth);
    EXPECT_EQ(pTree->parentWidget(), pFrame->GetSplitter());
    EXPECT_EQ(pGrid->parentWidget(), pFrame->GetInnerSplitter());
    EXPECT_EQ(pFrame->GetSplitter()->widget(1), pFrame->GetInnerSplitter());
    const QPoint gridAt = pGrid->mapTo(pFrame, QPoint(0, 0));
    const QPoint textAt = pText->mapTo(pFrame, QPoint(0, 0));
    EXPECT_GT(gridAt.x(), pTree->mapTo(pFrame, QPoint(0, 0)).x() + 199);
    EXPECT_EQ(gridAt.x(), textAt.x());
    EXPECT_GE(textAt.y(), gridAt.y() + pGrid->height());
    EXPECT_GT(pText->height(), 0);

    // Document windows open maximized.
    EXPECT_TRUE(pFrame->isMaximized());

    // Given room, the grid keeps its ideal height and the text pane takes the rest; the
    // tree keeps its width.
    pFrame->setWindowState(Qt::WindowNoState);
    const int nIdeal = CChildFrame::GridPaneIdealHeight(pFrame->height());
    pFrame->resize(pFrame->width() + 100, pFrame->height() + nIdeal);
    EXPECT_EQ(pGrid->height(), nIdeal);
    EXPECT_EQ(pTree->width(), CChildFrame::kTreePaneWidth);
    EXPECT_GT(pText->height(), nIdeal / 2);
}

TEST_F(ChildFrame, ANewWindowsPanesBecomeTheDocumentsAndFollowTheActiveWindow)
{
    CPellixDoc *pDoc = m_pDoc;
    CChildFrame *pFirst = m_pFrame;
    ExpectPanesOf(pDoc, pFirst);

    EXPECT_TRUE(Execute(ID_WINDOW_NEW));
    CChildFrame *pSecond = FrameOf(pDoc, 1);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(ShownWindowTitle(pSecond), "Pellix1:2");
    ExpectPanesOf(pDoc, pSecond);

    Main().MDIActivate(pFirst);
    ExpectPanesOf(pDoc, pFirst);
    Main().MDIActivate(pSecond);
    ExpectPanesOf(pDoc, pSecond);

    // Closing the active window leaves the document with the other one's panes.
    pSecond->close();
    FlushDeletes();
    ASSERT_EQ(pDoc->GetFrames().size(), 1u);
    ExpectPanesOf(pDoc, pFirst);
    EXPECT_EQ(ShownWindowTitle(pFirst), "Pellix1");
}

TEST_F(ChildFrame, SplitMovesTheBarsFromTheKeyboard)
{
    CChildFrame *pFrame = m_pFrame;
    ASSERT_TRUE(IsEnabled(ID_WINDOW_SPLIT));
    const int nTree = pFrame->GetTreePane()->width();
    const int nGrid = pFrame->GetGridPane()->height();

    // Escape puts the bars back where they were.
    EXPECT_TRUE(Execute(ID_WINDOW_SPLIT));
    QTest::keyClick(pFrame->GetTreePane(), Qt::Key_Right);
    EXPECT_EQ(pFrame->GetTreePane()->width(), nTree + CSplitterKeyboard::kStep);
    QTest::keyClick(pFrame->GetTreePane(), Qt::Key_Escape);
    EXPECT_EQ(pFrame->GetTreePane()->width(), nTree);

    // Enter keeps them; the keys did not reach the panes meanwhile, and reach them again after.
    EXPECT_TRUE(Execute(ID_WINDOW_SPLIT));
    QTest::keyClick(pFrame->GetTextPane(), Qt::Key_Right);
    QTest::keyClick(pFrame->GetTextPane(), Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(pFrame->GetTextPane(), Qt::Key_Down);
    QTest::keyClick(pFrame->GetTextPane(), Qt::Key_X);
    QTest::keyClick(pFrame->GetTextPane(), Qt::Key_Return);
    EXPECT_FALSE(pFrame->GetSplitterKeyboard()->IsActive());
    EXPECT_EQ(pFrame->GetTreePane()->width(), nTree + CSplitterKeyboard::kStep + 1);
    EXPECT_EQ(pFrame->GetGridPane()->height(), nGrid + CSplitterKeyboard::kStep);
    EXPECT_TRUE(pFrame->GetTextPane()->toPlainText().isEmpty());
}
