#include "FrameworkTestKit.h"

#include "CommandRouter.h"
#include "FrameworkIds.h"
#include "WindowTitle.h"

#include <QMdiArea>
#include <QPointer>

using DocTemplate = FrameworkTest;

TEST_F(DocTemplate, PanesExistBeforeNewOrOpenRunsAndGetTheirInitialUpdateAfter)
{
    CTestDoc *pDoc = NewDoc();
    EXPECT_EQ(pDoc->m_nViewsAtNew, 2u);
    CTestFrame *pFrame = FrameOf(pDoc);
    EXPECT_EQ(pFrame->m_pLeft->m_nInitialUpdates, 1);
    EXPECT_EQ(pFrame->m_pRight->m_nInitialUpdates, 1);
    EXPECT_EQ(pFrame->GetActiveView(), pFrame->m_pLeft);
    EXPECT_EQ(Main().MDIGetActive(), pFrame);
    EXPECT_EQ(Main().GetActiveDocument(), pDoc);
    EXPECT_FALSE(pFrame->isHidden());
    EXPECT_GE(pFrame->m_sizeAtCreate.width(), 320);
}

TEST_F(DocTemplate, OpeningAnOpenFileAgainActivatesItsWindow)
{
    const QString strA = WriteFile("a.xml", "<a/>");
    const QString strB = WriteFile("b.xml", "<b/>");
    CTestDoc *pA = OpenDoc(strA);
    CTestDoc *pB = OpenDoc(strB);
    ASSERT_EQ(Main().MDIGetActive(), FrameOf(pB));

    EXPECT_EQ(OpenDoc(m_dir.path() + "/./a.xml"), pA);
    EXPECT_EQ(Template().GetDocuments().size(), 2u);
    EXPECT_EQ(Main().GetMDIArea()->subWindowList().size(), 2);
    EXPECT_EQ(Main().MDIGetActive(), FrameOf(pA));
    EXPECT_EQ(pA->m_loadedPaths.size(), 1);
}

TEST_F(DocTemplate, FailedOpenLeavesNoDocumentNoWindowAndNoPane)
{
    const QString strPath = WriteFile("a.xml", "<a/>");
    int nDocs = 0;
    CMultiDocTemplate failing(
        kDocString,
        [&] {
            ++nDocs;
            auto pDoc = std::make_unique<CTestDoc>();
            pDoc->m_bOpenSucceeds = false;
            return pDoc;
        },
        [] { return new CTestFrame; });
    EXPECT_EQ(failing.OpenDocumentFile(strPath), nullptr);
    EXPECT_EQ(nDocs, 1);
    EXPECT_TRUE(failing.GetDocuments().empty());
    EXPECT_TRUE(Main().GetMDIArea()->subWindowList().isEmpty());
    const QList<QWidget *> widgets = Main().findChildren<QWidget *>();
    EXPECT_TRUE(std::none_of(widgets.begin(), widgets.end(), [](QWidget *pWidget) {
        return dynamic_cast<CView *>(pWidget) != nullptr;
    }));
}

TEST_F(DocTemplate, NewWindowShowsTheActiveDocumentAgainWithNumberedTitles)
{
    CTestDoc *pDoc = NewDoc();
    EXPECT_TRUE(Main().GetRouter()->Execute(StdId::WindowNew));
    ASSERT_EQ(pDoc->GetFrames().size(), 2u);
    EXPECT_EQ(pDoc->GetViews().size(), 4u);
    CTestFrame *pSecond = FrameOf(pDoc, 1);
    EXPECT_EQ(Main().MDIGetActive(), pSecond);
    EXPECT_EQ(pSecond->GetActiveView(), pSecond->m_pLeft);
    EXPECT_EQ(pSecond->m_pLeft->m_nInitialUpdates, 1);
    EXPECT_EQ(ShownWindowTitle(FrameOf(pDoc, 0)), "Pellix1:1");
    EXPECT_EQ(ShownWindowTitle(pSecond), "Pellix1:2");

    pDoc->SetTitle("renamed.xml");
    EXPECT_EQ(ShownWindowTitle(FrameOf(pDoc, 0)), "renamed.xml:1");
    EXPECT_EQ(ShownWindowTitle(pSecond), "renamed.xml:2");
}

TEST_F(DocTemplate, ClosingOneOfTwoWindowsKeepsTheDocumentWithoutAsking)
{
    CTestDoc *pDoc = NewDoc();
    Main().OnWindowNew();
    pDoc->SetModifiedFlag();
    QPointer<CTestFrame> pSecond = FrameOf(pDoc, 1);
    EXPECT_TRUE(pSecond->close());
    FlushDeletes();
    EXPECT_TRUE(pSecond.isNull());
    EXPECT_TRUE(m_script.prompts.isEmpty());
    ASSERT_EQ(pDoc->GetFrames().size(), 1u);
    EXPECT_EQ(pDoc->GetViews().size(), 2u);
    // The window left has no number and still shows the unsaved changes.
    EXPECT_EQ(ShownWindowTitle(FrameOf(pDoc)), "Pellix1*");
    EXPECT_EQ(Template().GetDocuments().size(), 1u);
}

TEST_F(DocTemplate, ClosingTheLastWindowAsksAndCancelKeepsIt)
{
    QPointer<CTestDoc> pDoc = NewDoc();
    QPointer<CTestFrame> pFrame = FrameOf(pDoc);
    pDoc->SetModifiedFlag();

    m_script.answers = {MessageBoxResult::Cancel};
    EXPECT_FALSE(pFrame->close());
    FlushDeletes();
    ASSERT_FALSE(pFrame.isNull());
    EXPECT_FALSE(pFrame->isHidden());
    ASSERT_FALSE(pDoc.isNull());

    m_script.answers = {MessageBoxResult::No};
    EXPECT_TRUE(pFrame->close());
    FlushDeletes();
    EXPECT_TRUE(pFrame.isNull());
    EXPECT_TRUE(pDoc.isNull());
    EXPECT_TRUE(Template().GetDocuments().empty());
    EXPECT_EQ(m_script.prompts.size(), 2);
    EXPECT_EQ(Main().MDIGetActive(), nullptr);
}

TEST_F(DocTemplate, CloseCommandClosesEveryWindowOfTheDocument)
{
    QPointer<CTestDoc> pDoc = NewDoc();
    Main().OnWindowNew();
    CTestDoc *pOther = NewDoc();
    Main().MDIActivate(FrameOf(pDoc));
    EXPECT_TRUE(Main().GetRouter()->Execute(StdId::FileClose));
    FlushDeletes();
    EXPECT_TRUE(pDoc.isNull());
    EXPECT_EQ(VisibleChildCount(), 1);
    EXPECT_EQ(Main().GetActiveDocument(), pOther);
}

TEST_F(DocTemplate, DocumentWindowsCarryTheTemplateIcon)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::blue);
    Template().SetDocIcon(QIcon(pixmap));
    CTestDoc *pDoc = NewDoc();
    EXPECT_EQ(FrameOf(pDoc)->windowIcon().pixmap(16, 16).toImage().pixelColor(8, 8),
              QColor(Qt::blue));
}

TEST_F(DocTemplate, DocumentWithoutAWindowFactoryIsNotCreated)
{
    CMultiDocTemplate noFrames(
        kDocString, [] { return std::make_unique<CTestDoc>(); }, [] { return nullptr; });
    EXPECT_EQ(noFrames.OpenDocumentFile(QString()), nullptr);
    EXPECT_TRUE(noFrames.GetDocuments().empty());
}
