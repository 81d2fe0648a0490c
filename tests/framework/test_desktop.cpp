// What a desktop user takes for granted from the windows: unsaved changes marked in the
// titles, Ctrl+F4, file dialogs that start where the user works, and a visible keyboard focus.

#include "FrameworkTestKit.h"

#include "CommandRouter.h"
#include "FocusFrame.h"
#include "FrameworkIds.h"
#include "WindowTitle.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>

using ModifiedMark = FrameworkTest;

TEST_F(ModifiedMark, TitlesAndTheWindowMenuShowAStarUntilTheDocumentIsSaved)
{
    Main().LoadMenuBar({{0, "&Window", {{StdId::WindowNew, "&New Window"}}}});
    QMenu *pWindow = Main().menuBar()->actions()[0]->menu();
    CTestDoc *pDoc = OpenDoc(WriteFile("data.xml", "<a/>"));
    Main().OnWindowNew();
    CTestDoc *pOther = NewDoc();
    FrameOf(pDoc, 1)->ActivateFrame();

    pDoc->SetModifiedFlag();
    EXPECT_EQ(ShownWindowTitle(FrameOf(pDoc, 0)), "data.xml:1*");
    EXPECT_EQ(ShownWindowTitle(FrameOf(pDoc, 1)), "data.xml:2*");
    EXPECT_EQ(ShownWindowTitle(FrameOf(pOther)), "Pellix1");
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - data.xml:2*");
    emit pWindow->aboutToShow();
    EXPECT_EQ(MenuTexts(pWindow),
              QStringList({"&New Window", "-", "&1 data.xml:1*", "&2 data.xml:2*", "&3 Pellix1"}));
    // The main window speaks for the active document only.
    FrameOf(pOther)->ActivateFrame();
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - Pellix1");
    FrameOf(pDoc, 0)->ActivateFrame();
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - data.xml:1*");

    ASSERT_TRUE(pDoc->DoFileSave());
    EXPECT_EQ(ShownWindowTitle(FrameOf(pDoc, 0)), "data.xml:1");
    EXPECT_EQ(ShownWindowTitle(FrameOf(pDoc, 1)), "data.xml:2");
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - data.xml:1");
    emit pWindow->aboutToShow();
    EXPECT_EQ(MenuTexts(pWindow).mid(2),
              QStringList({"&1 data.xml:1", "&2 data.xml:2", "&3 Pellix1"}));
}

TEST_F(ModifiedMark, ANameHoldingTheMarksTextShowsAsWritten)
{
    Main().show();
    CTestDoc *pDoc = NewDoc();
    pDoc->SetTitle("a[*].xml");
    EXPECT_EQ(ShownWindowTitle(FrameOf(pDoc)), "a[*].xml");
    pDoc->SetModifiedFlag();
    EXPECT_EQ(ShownWindowTitle(FrameOf(pDoc)), "a[*].xml*");
    FrameOf(pDoc)->showMaximized();
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - [a[*].xml*]");
    pDoc->SetModifiedFlag(false);
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - [a[*].xml]");
}

using CloseKeys = FrameworkTest;

TEST_F(CloseKeys, CtrlF4AndThePlatformsKeyCloseTheDocumentWindowThatHasTheFocus)
{
    Main().show();
    QApplication::setActiveWindow(&Main());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    QPointer<CTestDoc> pFirst = NewDoc();
    QPointer<CTestDoc> pSecond = NewDoc();
    const QList<QKeySequence> keys = FrameOf(pFirst)->systemMenu()->actions().last()->shortcuts();
    EXPECT_TRUE(keys.contains(QKeySequence(Qt::CTRL | Qt::Key_F4)));
    for (const QKeySequence &key : QKeySequence::keyBindings(QKeySequence::Close))
        EXPECT_TRUE(keys.contains(key)) << key.toString().toStdString();

    FrameOf(pSecond)->m_pLeft->setFocus();
    QTest::keyClick(FrameOf(pSecond)->m_pLeft, Qt::Key_F4, Qt::ControlModifier);
    FlushDeletes();
    EXPECT_TRUE(pSecond.isNull());
    ASSERT_FALSE(pFirst.isNull());

    // Unsaved changes are asked about first, as for any close.
    pFirst->SetModifiedFlag();
    FrameOf(pFirst)->m_pRight->setFocus();
    m_script.answers = {MessageBoxResult::Cancel, MessageBoxResult::No};
    QTest::keyClick(FrameOf(pFirst)->m_pRight, Qt::Key_F4, Qt::ControlModifier);
    FlushDeletes();
    ASSERT_FALSE(pFirst.isNull());
    QTest::keySequence(FrameOf(pFirst)->m_pRight, QKeySequence(Qt::CTRL | Qt::Key_W));
    FlushDeletes();
    EXPECT_TRUE(pFirst.isNull());
    EXPECT_EQ(m_script.prompts,
              QStringList({"Save changes to Pellix1?", "Save changes to Pellix1?"}));
}

class StartFolders : public FrameworkTest
{
protected:
    // `strName` in the folder `strFolder` of the test, both made as needed.
    QString FileIn(const QString &strFolder, const QString &strName)
    {
        EXPECT_TRUE(QDir(m_dir.path()).mkpath(strFolder));
        return WriteFile(strFolder + u'/' + strName, "<a/>");
    }
    static QString FolderOf(const QString &strPath) { return QFileInfo(strPath).absolutePath(); }
};

TEST_F(StartFolders, OpenStartsInTheFolderOfTheFileOpenedLast)
{
    const QString strOne = FileIn("one", "a.xml");
    const QString strTwo = FileIn("two", "b.xml");
    // Nothing opened yet and nothing on the list: the dialog chooses.
    App().OnFileOpen();
    ASSERT_NE(OpenDoc(strTwo), nullptr);
    ASSERT_NE(OpenDoc(strOne), nullptr);
    App().OnFileOpen();
    // A file saved elsewhere heads the recent files, but Open still goes where files came from.
    CTestDoc *pNew = NewDoc();
    m_script.fileNames = {FileIn("three", "saved.xml")};
    ASSERT_TRUE(pNew->DoFileSave());
    App().OnFileOpen();
    EXPECT_EQ(
        m_script.fileDialogInitials,
        QStringList({"", FolderOf(strOne), FolderOf(strOne) + "/Pellix1.xml", FolderOf(strOne)}));

    // The next run starts from the recent files, skipping folders that are gone.
    RestartApp();
    m_script.fileDialogInitials.clear();
    App().OnFileOpen();
    ASSERT_TRUE(QDir(m_dir.filePath("three")).removeRecursively());
    App().OnFileOpen();
    EXPECT_EQ(m_script.fileDialogInitials,
              QStringList({FolderOf(m_dir.filePath("three/saved.xml")), FolderOf(strOne)}));
}

TEST_F(StartFolders, SaveAsStartsInTheDocumentsFolderElseInTheLastOpenFolder)
{
    CTestDoc *pNew = NewDoc();
    pNew->OnFileSaveAs();
    const QString strOne = FileIn("one", "a.xml");
    CTestDoc *pOne = OpenDoc(strOne);
    ASSERT_NE(OpenDoc(FileIn("two", "b.xml")), nullptr);
    pOne->OnFileSaveAs();
    pNew->OnFileSaveAs();
    EXPECT_EQ(m_script.fileDialogInitials,
              QStringList({"Pellix1.xml", strOne, m_dir.filePath("two/Pellix1.xml")}));
}

using FocusRing = FrameworkTest;

TEST_F(FocusRing, TheRingFollowsTheKeyboardFromPaneToPaneAndLeavesWithIt)
{
    Main().show();
    QApplication::setActiveWindow(&Main());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    CTestFrame *pFrame = FrameOf(NewDoc());
    CFocusFrame *pRing = Main().GetFocusFrame();
    ASSERT_NE(pRing, nullptr);
    EXPECT_EQ(pRing->GetPane(), pFrame->m_pLeft);
    EXPECT_TRUE(pRing->isVisible());

    Main().GetRouter()->Execute(StdId::NextPane);
    CTestView *pPane = pFrame->m_pRight;
    EXPECT_EQ(pRing->GetPane(), pPane);
    EXPECT_TRUE(pRing->isVisible());
    EXPECT_EQ(pRing->geometry(), pPane->rect());
    // Drawn over the pane's edge in the highlight colour; the inside is the pane's own.
    const QImage image = pPane->grab().toImage();
    const QColor highlight = pPane->palette().color(QPalette::Active, QPalette::Highlight);
    const QPoint middle = image.rect().center();
    for (const QPoint &pt :
         {QPoint(0, middle.y()), QPoint(1, middle.y()), QPoint(middle.x(), image.height() - 1)})
        EXPECT_EQ(image.pixelColor(pt), highlight) << pt.x() << "," << pt.y();
    EXPECT_NE(image.pixelColor(middle), highlight);
    EXPECT_NE(image.pixelColor(CFocusFrame::kRingWidth, middle.y()), highlight);
    // Clicks on the edge reach the pane through the ring.
    EXPECT_EQ(Main().childAt(pPane->mapTo(&Main(), QPoint(0, middle.y()))), pPane);
    QTest::mouseClick(Main().windowHandle(), Qt::LeftButton, {},
                      pFrame->m_pLeft->mapTo(&Main(), QPoint(1, middle.y())));
    EXPECT_EQ(pRing->GetPane(), pFrame->m_pLeft);

    // The keyboard in another window: no pane here has it.
    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    other.setFocus();
    EXPECT_FALSE(pRing->isVisible());
    QApplication::setActiveWindow(&Main());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pRing->isVisible(); }));
    EXPECT_EQ(pRing->GetPane(), pFrame->m_pLeft);
}
