#include "FrameworkTestKit.h"

#include "CmdUI.h"
#include "CommandRouter.h"
#include "FrameworkIds.h"
#include "WindowTitle.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QUrl>

namespace
{
constexpr int kInsertAttribute = 32819;
constexpr int kFind = 57636;
constexpr int kOpenUrl = 32840;

} // namespace

using MainFrameRouting = FrameworkTest;

TEST_F(MainFrameRouting, RouteRunsFromTheActivePaneToTheApplication)
{
    CTestDoc *pDoc = NewDoc();
    CTestFrame *pFrame = FrameOf(pDoc);
    const CmdRoute route = Main().GetCommandRoute();
    const CmdRoute expected = {pFrame->m_pLeft, pDoc, pFrame, &Main(), &App()};
    EXPECT_EQ(route, expected);

    pDoc->OnCloseDocument();
    FlushDeletes();
    EXPECT_EQ(Main().GetCommandRoute(), (CmdRoute{&Main(), &App()}));
}

TEST_F(MainFrameRouting, FocusInAPaneMakesItTheActiveView)
{
    Main().show();
    QApplication::setActiveWindow(&Main());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    CTestDoc *pDoc = NewDoc();
    CTestFrame *pFrame = FrameOf(pDoc);
    int nRight = 0;
    int nDoc = 0;
    pFrame->m_pRight->OnCommand(kInsertAttribute, [&] { ++nRight; });
    pDoc->OnCommand(kInsertAttribute, [&] { ++nDoc; });

    Main().GetRouter()->Execute(kInsertAttribute);
    pFrame->m_pRight->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pFrame->GetActiveView() == pFrame->m_pRight; }, 2000));
    Main().GetRouter()->Execute(kInsertAttribute);
    EXPECT_EQ(nDoc, 1);
    EXPECT_EQ(nRight, 1);

    // Focus outside every pane (here the tool bar) keeps the last active pane.
    QToolBar *pBar = Main().CreateToolBar({kInsertAttribute}, {});
    pBar->setFocusPolicy(Qt::StrongFocus);
    pBar->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(pFrame->GetActiveView(), pFrame->m_pRight);
}

TEST_F(MainFrameRouting, NextPaneCyclesThroughThePanesOfTheActiveWindow)
{
    CTestDoc *pDoc = NewDoc();
    CTestFrame *pFrame = FrameOf(pDoc);
    ASSERT_EQ(pFrame->GetActiveView(), pFrame->m_pLeft);
    Main().GetRouter()->Execute(StdId::NextPane);
    EXPECT_EQ(pFrame->GetActiveView(), pFrame->m_pRight);
    Main().GetRouter()->Execute(StdId::NextPane);
    EXPECT_EQ(pFrame->GetActiveView(), pFrame->m_pLeft);
    Main().GetRouter()->Execute(StdId::PrevPane);
    EXPECT_EQ(pFrame->GetActiveView(), pFrame->m_pRight);
}

TEST_F(MainFrameRouting, DocumentCommandsAndFindFollowTheActiveWindow)
{
    // Find is the main window's, enabled only while a document window is active; Open URL
    // goes to the document when one is active and to the main window otherwise.
    CCmdTarget &main = Main();
    QStringList ran;
    main.OnCommand(kFind, [] {});
    main.OnUpdateCommandUI(
        kFind, [this](CCmdUI *pCmdUI) { pCmdUI->Enable(Main().GetActiveDocument() != nullptr); });
    main.OnCommand(kOpenUrl, [&] { ran << "main"; });
    CCommandRouter *pRouter = Main().GetRouter();
    QAction *pFind = Main().Action(kFind);
    QAction *pAttribute = Main().Action(kInsertAttribute);
    QAction *pSplit = Main().Action(StdId::WindowSplit);
    QAction *pTile = Main().Action(StdId::WindowTileHorz);
    pRouter->Update();
    EXPECT_FALSE(pFind->isEnabled());
    EXPECT_FALSE(pAttribute->isEnabled());
    EXPECT_FALSE(pTile->isEnabled());
    pRouter->Execute(kOpenUrl);

    CTestDoc *pDoc = NewDoc();
    pDoc->OnCommand(kOpenUrl, [&] { ran << "doc"; });
    pDoc->OnCommand(kInsertAttribute, [] {});
    pRouter->Update();
    EXPECT_TRUE(pFind->isEnabled());
    EXPECT_TRUE(pAttribute->isEnabled());
    EXPECT_TRUE(pTile->isEnabled());
    EXPECT_FALSE(pSplit->isEnabled());
    pRouter->Execute(kOpenUrl);
    EXPECT_EQ(ran, QStringList({"main", "doc"}));
}

TEST_F(MainFrameRouting, TileCascadeAndArrangeIconsPlaceTheWindows)
{
    Main().show();
    CTestDoc *pA = NewDoc();
    CTestDoc *pB = NewDoc();
    Main().GetRouter()->Execute(StdId::WindowTileHorz);
    const QRect rectA = FrameOf(pA)->geometry();
    const QRect rectB = FrameOf(pB)->geometry();
    EXPECT_FALSE(rectA.intersects(rectB));

    FrameOf(pA)->showMinimized();
    FrameOf(pB)->showMinimized();
    Main().GetRouter()->Execute(StdId::WindowArrange);
    const int nBottom = Main().GetMDIArea()->viewport()->height();
    EXPECT_EQ(FrameOf(pA)->geometry().bottom() + 1, nBottom);
    EXPECT_EQ(FrameOf(pB)->geometry().bottom() + 1, nBottom);
    EXPECT_FALSE(FrameOf(pA)->geometry().intersects(FrameOf(pB)->geometry()));
}

using MainFrameWindow = FrameworkTest;

TEST_F(MainFrameWindow, TitleNamesTheActiveDocument)
{
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix");
    CTestDoc *pDoc = NewDoc();
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - Pellix1");
    pDoc->SetTitle("data.xml");
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - data.xml");
    pDoc->OnCloseDocument();
    FlushDeletes();
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix");
}

TEST_F(MainFrameWindow, StatusBarShowsMessagesFlyByAndIdleText)
{
    Main().SetPromptProvider([](int nID) {
        return nID == StdId::FileNew ? QStringLiteral("Create a new document\nNew") : QString();
    });
    Main().SetIdleText("Ready");
    EXPECT_EQ(Main().GetMessageText(), "Ready");
    Main().SetMessageText("Loading document...");
    EXPECT_EQ(Main().GetMessageText(), "Loading document...");
    Main().SetMessageText(StdId::FileNew);
    EXPECT_EQ(Main().GetMessageText(), "Create a new document");

    // Hovering a menu item or a tool button sends its status tip up to the main window.
    QAction *pNew = Main().Action(StdId::FileNew);
    EXPECT_EQ(pNew->toolTip(), "New");
    QMenu *pMenu =
        Main().CreatePopupMenu({0, "&File", {{StdId::FileNew, "&New\tCtrl+N"}}}, &Main());
    Main().SetMessageText("Ready");
    pNew->showStatusText(&Main());
    EXPECT_EQ(Main().GetMessageText(), "Create a new document");
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&Main(), &leave);
    EXPECT_EQ(Main().GetMessageText(), "Ready");
    EXPECT_EQ(pMenu->actions().value(0), pNew);
}

TEST_F(MainFrameWindow, LockIndicatorsStayBlankUntilTheirStateIsKnown)
{
    Main().SetIndicators({{StdId::IndicatorCaps, "CAP"},
                          {StdId::IndicatorNum, "NUM"},
                          {StdId::IndicatorScrl, "SCRL"}});
    CFrameStatusBar *pBar = Main().GetStatusBar();
    EXPECT_EQ(pBar->GetIndicatorText(StdId::IndicatorCaps), "");
    pBar->SetIndicatorOn(StdId::IndicatorNum, true);
    EXPECT_EQ(pBar->GetIndicatorText(StdId::IndicatorNum), "NUM");
    EXPECT_EQ(pBar->GetIndicatorText(StdId::IndicatorScrl), "");
    pBar->SetIndicatorOn(StdId::IndicatorNum, false);
    EXPECT_EQ(pBar->GetIndicatorText(StdId::IndicatorNum), "");
}

TEST_F(MainFrameWindow, MenusAndShortcutsComeFromTheCallersTables)
{
    Main().LoadMenuBar({
        {0,
         "&File",
         {{StdId::FileNew, "&New\tCtrl+N"},
          {},
          {StdId::FileMruFirst, "Recent File"},
          {},
          {StdId::AppExit, "E&xit"}}},
        {0,
         "&Window",
         {{StdId::WindowNew, "&New Window"}, {0, "&More", {{StdId::WindowCascade, "&Cascade"}}}}},
    });
    Main().SetAccelerators({{QKeySequence("Ctrl+C"), 57634}, {QKeySequence("Ctrl+Insert"), 57634}});
    const QList<QAction *> menus = Main().menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    QMenu *pFile = menus[0]->menu();
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(MenuTexts(pFile), QStringList({"&New\tCtrl+N", "-", "Recent File", "-", "E&xit"}));
    QMenu *pWindow = menus[1]->menu();
    ASSERT_EQ(pWindow->actions().size(), 2);
    EXPECT_EQ(MenuTexts(pWindow->actions()[1]->menu()), QStringList({"&Cascade"}));
    EXPECT_EQ(Main().Action(57634)->shortcuts(),
              QList<QKeySequence>({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Insert")}));

    // Before the menu shows, the update pass runs: New and Exit are the application's.
    emit pFile->aboutToShow();
    EXPECT_TRUE(Main().Action(StdId::FileNew)->isEnabled());
    EXPECT_FALSE(Main().Action(StdId::FileMruFirst)->isEnabled());
    EXPECT_FALSE(Main().Action(StdId::WindowNew)->isEnabled());
}

TEST_F(MainFrameWindow, RecentFilesReplaceThePlaceholderAndOpenTheirFile)
{
    Main().LoadMenuBar(
        {{0, "&File", {{StdId::FileMruFirst, "Recent File"}, {}, {StdId::AppExit, "E&xit"}}}});
    QMenu *pFile = Main().menuBar()->actions()[0]->menu();
    const QString strA = WriteFile("a&b.xml", "<a/>");
    const QString strB = WriteFile("b.xml", "<b/>");
    CTestDoc *pA = OpenDoc(strA);
    OpenDoc(strB);
    emit pFile->aboutToShow();
    EXPECT_EQ(MenuTexts(pFile),
              QStringList({"&1 " + strB, "&2 " + m_dir.path() + "/a&&b.xml", "-", "E&xit"}));
    EXPECT_TRUE(Main().Action(StdId::FileMruFirst + 1)->isEnabled());

    Main().MDIActivate(FrameOf(pA));
    Main().Action(StdId::FileMruFirst)->trigger();
    EXPECT_EQ(Main().GetActiveDocument()->GetPathName(), strB);
    EXPECT_EQ(App().GetRecentFileList().GetEntry(0), strB);
}

TEST_F(MainFrameWindow, RecentFileThatFailsToOpenLeavesTheList)
{
    const QString strA = WriteFile("a.xml", "<a/>");
    const QString strB = WriteFile("b.xml", "<b/>");
    OpenDoc(strA)->OnCloseDocument();
    OpenDoc(strB)->OnCloseDocument();
    FlushDeletes();
    QFile::remove(strA);
    Main().GetRouter()->Update();
    EXPECT_TRUE(Main().GetRouter()->Execute(StdId::FileMruFirst + 1));
    EXPECT_EQ(m_script.messages, QStringList({"Failed to open document."}));
    EXPECT_EQ(App().GetRecentFileList().GetEntries(), QStringList({strB}));
}

TEST_F(MainFrameWindow, DroppedFilesOpenEachInItsWindow)
{
    const QString strA = WriteFile("a.xml", "<a/>");
    const QString strB = WriteFile("b.xml", "<b/>");
    QMimeData mime;
    mime.setUrls(
        {QUrl::fromLocalFile(strA), QUrl("http://example.org/x.xml"), QUrl::fromLocalFile(strB)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Main(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Main(), &drop);
    ASSERT_EQ(Template().GetDocuments().size(), 2u);
    EXPECT_EQ(Template().GetDocuments()[0]->GetPathName(), strA);
    EXPECT_EQ(Template().GetDocuments()[1]->GetPathName(), strB);

    QMimeData text;
    text.setText("not a file");
    QDragEnterEvent enterText(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton,
                              Qt::NoModifier);
    QApplication::sendEvent(&Main(), &enterText);
    EXPECT_FALSE(enterText.isAccepted());
}

TEST_F(MainFrameWindow, ClosingTheMainWindowAsksEachModifiedDocument)
{
    QPointer<CTestDoc> pA = NewDoc();
    QPointer<CTestDoc> pB = NewDoc();
    QPointer<CTestDoc> pClean = NewDoc();
    pA->SetModifiedFlag();
    pB->SetModifiedFlag();
    Main().show();

    m_script.answers = {MessageBoxResult::No, MessageBoxResult::Cancel};
    EXPECT_FALSE(Main().close());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(m_script.prompts,
              QStringList({"Save changes to Pellix1?", "Save changes to Pellix2?"}));
    FlushDeletes();
    EXPECT_FALSE(pA.isNull());
    EXPECT_FALSE(pClean.isNull());

    m_script.answers = {MessageBoxResult::No, MessageBoxResult::No};
    EXPECT_TRUE(Main().close());
    FlushDeletes();
    EXPECT_TRUE(pA.isNull());
    EXPECT_TRUE(pB.isNull());
    EXPECT_TRUE(pClean.isNull());
}

TEST_F(MainFrameWindow, ToolBarAndStatusBarToggleWithCheckMarks)
{
    Main().show();
    QToolBar *pBar = Main().CreateToolBar({StdId::FileNew, 0, StdId::FileOpen}, [](int) {
        QPixmap pixmap(16, 15);
        pixmap.fill(Qt::red);
        return QIcon(pixmap);
    });
    EXPECT_EQ(pBar->actions().size(), 3);
    EXPECT_TRUE(pBar->actions()[1]->isSeparator());
    EXPECT_FALSE(Main().Action(StdId::FileNew)->isIconVisibleInMenu());
    CCommandRouter *pRouter = Main().GetRouter();
    QAction *pToggle = Main().Action(StdId::ViewToolbar);
    pRouter->Update();
    EXPECT_TRUE(pToggle->isChecked());
    pRouter->Execute(StdId::ViewToolbar);
    EXPECT_TRUE(pBar->isHidden());
    EXPECT_FALSE(pToggle->isChecked());
    pRouter->Execute(StdId::ViewStatusBar);
    EXPECT_TRUE(Main().GetStatusBar()->isHidden());
    EXPECT_FALSE(Main().Action(StdId::ViewStatusBar)->isChecked());
}

TEST_F(MainFrameWindow, MaximisedChildShowsItsTitleInBrackets)
{
    Main().LoadMenuBar({{0, "&File", {{StdId::FileNew, "&New"}}}});
    Main().show();
    CTestDoc *pDoc = NewDoc();
    FrameOf(pDoc)->showMaximized();
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - [Pellix1]");
    pDoc->SetTitle("x.xml");
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - [x.xml]");
    FrameOf(pDoc)->showNormal();
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - x.xml");
    FrameOf(pDoc)->showMaximized();
    CTestDoc *pSecond = NewDoc();
    EXPECT_TRUE(FrameOf(pSecond)->isMaximized());
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - [Pellix2]");
    pSecond->OnCloseDocument();
    pDoc->OnCloseDocument();
    FlushDeletes();
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix");
}

TEST_F(MainFrameWindow, WindowMenuListsTheOpenWindows)
{
    Main().LoadMenuBar(
        {{0, "&Window", {{StdId::WindowNew, "&New Window"}, {StdId::WindowCascade, "&Cascade"}}}});
    QMenu *pWindow = Main().menuBar()->actions()[0]->menu();
    emit pWindow->aboutToShow();
    EXPECT_EQ(MenuTexts(pWindow), QStringList({"&New Window", "&Cascade"}));

    CTestDoc *pDoc = NewDoc();
    pDoc->SetTitle("R&D.xml");
    Main().OnWindowNew();
    NewDoc();
    emit pWindow->aboutToShow();
    EXPECT_EQ(MenuTexts(pWindow), QStringList({"&New Window", "&Cascade", "-", "&1 R&&D.xml:1",
                                               "&2 R&&D.xml:2", "&3 Pellix2"}));
    EXPECT_TRUE(pWindow->actions().last()->isChecked());
    EXPECT_FALSE(pWindow->actions()[3]->isChecked());

    pWindow->actions()[3]->trigger();
    EXPECT_EQ(Main().MDIGetActive(), FrameOf(pDoc, 0));
    emit pWindow->aboutToShow();
    EXPECT_EQ(pWindow->actions().size(), 6);
    EXPECT_TRUE(pWindow->actions()[3]->isChecked());
}
