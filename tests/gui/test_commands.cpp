// Command routing and enabling, the menus, bars and status texts of the main window, About
// and help.

#include "GuiTestKit.h"

#include "AboutDialog.h"
#include "ChildFrame.h"
#include "CommandRouter.h"
#include "HelpLauncher.h"
#include "OpenURLDlg.h"
#include "PellixDoc.h"
#include "Resource.h"
#include "WindowTitle.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QToolBar>

namespace
{
const int kInsertRows[] = {ID_INSERT_ATTRIBUTE, ID_INSERT_TEXT, ID_INSERT_COMMENT,
                           ID_INSERT_PROCESSINSTRUCTION, ID_INSERT_CDATASECTION};

QMenu *MenuNamed(QMenuBar *pBar, const QString &strTitle)
{
    for (QAction *pAction : pBar->actions()) {
        if (pAction->text() == strTitle)
            return pAction->menu();
    }
    return nullptr;
}

} // namespace

using CommandRouting = PellixTest;

TEST_F(CommandRouting, WithoutADocumentOnlyTheAlwaysAvailableCommandsAreEnabled)
{
    ASSERT_TRUE(StartApp());
    EXPECT_TRUE(IsEnabled(ID_FILE_OPENURL));
    EXPECT_TRUE(IsEnabled(ID_FILE_NEW));
    EXPECT_TRUE(IsEnabled(ID_FILE_OPEN));
    EXPECT_TRUE(IsEnabled(ID_APP_ABOUT));
    EXPECT_FALSE(IsEnabled(ID_EDIT_FIND));
    EXPECT_FALSE(IsEnabled(ID_EDIT_REPLACE));
    EXPECT_FALSE(IsEnabled(ID_EDIT_RENAME));
    EXPECT_FALSE(IsEnabled(ID_FILE_SAVE));
    EXPECT_FALSE(IsEnabled(ID_FILE_SAVE_ALL));
    for (const int nID : kInsertRows)
        EXPECT_FALSE(IsEnabled(nID)) << nID;

    // The menu shows the same states once it opens.
    QMenu *pEdit = MenuNamed(Main().menuBar(), "&Edit");
    ASSERT_NE(pEdit, nullptr);
    emit pEdit->aboutToShow();
    EXPECT_FALSE(Main().Action(ID_EDIT_FIND)->isEnabled());
}

TEST_F(CommandRouting, WithADocumentRenameStaysDisabledAndFindAndReplaceAreOn)
{
    ASSERT_TRUE(StartApp());
    ASSERT_NE(NewDoc(), nullptr);
    EXPECT_TRUE(IsEnabled(ID_FILE_SAVE));
    EXPECT_TRUE(IsEnabled(ID_FILE_OPENURL));
    EXPECT_TRUE(IsEnabled(ID_WINDOW_NEW));
    EXPECT_FALSE(IsEnabled(ID_EDIT_RENAME));
    EXPECT_TRUE(IsEnabled(ID_EDIT_FIND));
    EXPECT_TRUE(IsEnabled(ID_EDIT_REPLACE));
}

TEST_F(CommandRouting, OpenUrlIsTheMainWindowsWithoutADocumentAndParentlessWithOne)
{
    ASSERT_TRUE(StartApp());
    QWidget *pParent = &Main();
    bool bShown = false;
    WhenModalShows([&](QWidget *pDialog) {
        bShown = qobject_cast<COpenURLDlg *>(pDialog) != nullptr;
        pParent = pDialog->parentWidget();
    });
    EXPECT_TRUE(Execute(ID_FILE_OPENURL));
    EXPECT_TRUE(bShown);
    EXPECT_EQ(pParent, &Main());

    ASSERT_NE(NewDoc(), nullptr);
    bShown = false;
    WhenModalShows([&](QWidget *pDialog) {
        bShown = qobject_cast<COpenURLDlg *>(pDialog) != nullptr;
        pParent = pDialog->parentWidget();
    });
    EXPECT_TRUE(Execute(ID_FILE_OPENURL));
    EXPECT_TRUE(bShown);
    EXPECT_EQ(pParent, nullptr);
    // Cancel opened nothing.
    EXPECT_EQ(Documents().size(), 1u);
}

TEST_F(CommandRouting, AboutShowsTheModalAboutDialogOverTheMainWindow)
{
    ASSERT_TRUE(StartApp());
    QStringList texts;
    bool bIcon = false;
    QWidget *pParent = nullptr;
    WhenModalShows([&](QWidget *pDialog) {
        ASSERT_NE(qobject_cast<CAboutDialog *>(pDialog), nullptr);
        pParent = pDialog->parentWidget();
        for (const QLabel *pLabel : pDialog->findChildren<QLabel *>()) {
            texts << pLabel->text();
            bIcon = bIcon || !pLabel->pixmap().isNull();
        }
    });
    EXPECT_TRUE(Execute(ID_APP_ABOUT));
    EXPECT_EQ(pParent, &Main());
    EXPECT_TRUE(texts.contains("Pellix Version 1.0"));
    EXPECT_TRUE(bIcon);
}

using MainWindowLook = PellixTest;

TEST_F(MainWindowLook, MenusToolBarAndStatusBarComeFromTheResources)
{
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix");
    EXPECT_EQ(Main().GetMessageText(), "Ready");
    QStringList titles;
    for (const QAction *pAction : Main().menuBar()->actions())
        titles << pAction->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "Insert", "&Window", "&Help"}));
    EXPECT_EQ(MenuTexts(MenuNamed(Main().menuBar(), "&Edit")),
              QStringList({"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C",
                           "&Paste\tCtrl+V", "&Delete", "R&ename", "-", "&Find...\tCtrl+F",
                           "&Replace...\tCtrl+H", "&Validate..."}));
    EXPECT_EQ(Main().Action(ID_EDIT_CUT)->shortcuts(),
              QList<QKeySequence>({QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")}));
    // No shortcut for Find: the text after the tab is only shown.
    EXPECT_TRUE(Main().Action(ID_EDIT_FIND)->shortcuts().isEmpty());

    QToolBar *pBar = Main().GetToolBar();
    ASSERT_NE(pBar, nullptr);
    int nButtons = 0;
    for (QAction *pAction : pBar->actions()) {
        if (pAction->isSeparator())
            continue;
        ++nButtons;
        EXPECT_FALSE(pAction->icon().isNull()) << pAction->toolTip().toStdString();
    }
    EXPECT_EQ(nButtons, 12);
    EXPECT_EQ(Main().Action(ID_FILE_OPENURL)->statusTip(), "Open XML File From URL");
    EXPECT_EQ(Main().Action(ID_FILE_OPENURL)->toolTip(), "Open URL");

    Main().SetStatusText(IDS_LOADING_DOCUMENT);
    EXPECT_EQ(Main().GetMessageText(), "Loading document...");
    Main().SetStatusText(AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ(Main().GetMessageText(), "Ready");
    CFrameStatusBar *pStatus = Main().GetStatusBar();
    pStatus->SetIndicatorOn(ID_INDICATOR_CAPS, true);
    pStatus->SetIndicatorOn(ID_INDICATOR_SCRL, true);
    EXPECT_EQ(pStatus->GetIndicatorText(ID_INDICATOR_CAPS), "CAP");
    EXPECT_EQ(pStatus->GetIndicatorText(ID_INDICATOR_SCRL), "SCRL");
    EXPECT_EQ(pStatus->GetIndicatorText(ID_INDICATOR_NUM), "");
}

using Help = PellixTest;

TEST_F(Help, AMissingHelpFileShowsNothingAndSaysNothing)
{
    ASSERT_TRUE(StartApp());
    App().SetHelpFilePath(QString::fromStdString(m_dir.file("missing.html")));
    EXPECT_TRUE(Execute(ID_HELP_CONTENTS));
    EXPECT_TRUE(Execute(ID_HELP));
    EXPECT_TRUE(HelpBrowsers().isEmpty());
    EXPECT_TRUE(m_messages.messages().isEmpty());
}

TEST_F(Help, ContentsOpensTheStartPageAndContextHelpTheTopicOfTheActiveWindow)
{
    ASSERT_TRUE(StartApp());
    App().SetHelpFilePath(WriteFile("pellix.html", "<html><body>Pellix help</body></html>"));
    EXPECT_TRUE(Execute(ID_HELP_CONTENTS));
    ASSERT_EQ(HelpBrowsers().size(), 1);
    QTextBrowser *pBrowser = HelpBrowsers().front();
    EXPECT_EQ(pBrowser->source().fileName(), "pellix.html");
    EXPECT_EQ(pBrowser->source().fragment(), "");

    EXPECT_TRUE(Execute(ID_HELP));
    EXPECT_EQ(pBrowser->source().fragment(), QStringLiteral("context-%1").arg(0x20000 + 128));
    ASSERT_NE(NewDoc(), nullptr);
    EXPECT_TRUE(Execute(ID_HELP));
    EXPECT_EQ(pBrowser->source().fragment(), QStringLiteral("context-%1").arg(0x20000 + 129));
    pBrowser->window()->close();
}
