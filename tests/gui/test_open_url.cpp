// The Open URL dialog: history, blanks, and opening files, http URLs and unreachable URLs.

#include "GuiTestKit.h"

#include "LocalHttpServer.h"
#include "OpenURLDlg.h"
#include "PellixDoc.h"
#include "Resource.h"
#include "WindowTitle.h"

#include <QComboBox>
#include <QUrl>

namespace
{
const QString kLoaded = QStringLiteral("XML document loaded successfully\n");

QStringList ListEntries(const QComboBox *pCombo)
{
    QStringList entries;
    for (int i = 0; i < pCombo->count(); ++i)
        entries << pCombo->itemText(i);
    return entries;
}
} // namespace

class OpenURL : public PellixTest
{
protected:
    // Types `strText` into a new dialog and presses OK; true when the dialog closed.
    bool Enter(const QString &strText)
    {
        COpenURLDlg dialog(&Main());
        dialog.show();
        dialog.GetURLCombo()->setEditText(strText);
        dialog.accept();
        return dialog.result() == QDialog::Accepted && !dialog.isVisible();
    }
};

TEST_F(OpenURL, AFileUrlOpensInANewWindowTitledWithTheUrlAsTyped)
{
    ASSERT_TRUE(StartApp());
    const QString strPath = WriteFile("remote.xml", "<root><a/></root>");
    const QString strURL = QUrl::fromLocalFile(strPath).toString();
    ASSERT_TRUE(Enter("  \t" + strURL));
    ASSERT_EQ(Documents().size(), 1u);
    CPellixDoc *pDoc = Documents().front();
    EXPECT_EQ(pDoc->GetTitle(), strURL);
    EXPECT_EQ(pDoc->GetPathName(), "");
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(m_messages.messages(), QStringList({kLoaded}));
    EXPECT_EQ(pDoc->GetXMLDocument().documentElement().nodeName(), "root");
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - [" + strURL + "]");
    EXPECT_EQ(App().m_strURLHistory, QStringList({strURL}));

    // It has no file: Save asks for a name.
    EXPECT_TRUE(Execute(ID_FILE_SAVE));
    EXPECT_EQ(m_script.fileDialogInitials.size(), 1);
}

TEST_F(OpenURL, AnHttpUrlIsFetched)
{
    ASSERT_TRUE(StartApp());
    LocalHttpServer server("<?xml version=\"1.0\"?><feed><entry/></feed>");
    const QString strURL = QString::fromStdString(server.url("/feed.xml"));
    ASSERT_TRUE(Enter(strURL));
    EXPECT_EQ(server.requests(), 1);
    ASSERT_EQ(Documents().size(), 1u);
    CPellixDoc *pDoc = Documents().front();
    EXPECT_EQ(pDoc->GetTitle(), strURL);
    EXPECT_EQ(m_messages.messages(), QStringList({kLoaded}));
    EXPECT_EQ(pDoc->GetXMLDocument().documentElement().nodeName(), "feed");
}

TEST_F(OpenURL, AnUnreachableUrlIsReportedAndLeavesNoWindow)
{
    ASSERT_TRUE(StartApp());
    // Port 1 on the loopback refuses at once.
    const QString strURL = QStringLiteral("http://127.0.0.1:1/none.xml");
    ASSERT_TRUE(Enter(strURL));
    EXPECT_EQ(m_messages.messages(),
              QStringList({"Cannot open URL:\n" + strURL + "\nCould not connect to server"}));
    FlushDeletes();
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(VisibleChildCount(), 0);
    EXPECT_EQ(App().m_strURLHistory, QStringList({strURL}));

    // A document that came but does not parse keeps its window, as a new document.
    LocalHttpServer server("<feed>\n<entry>\n</feed>");
    const QString strBroken = QString::fromStdString(server.url("/broken.xml"));
    m_messages.clear();
    ASSERT_TRUE(Enter(strBroken));
    ASSERT_EQ(m_messages.messages().size(), 1);
    EXPECT_TRUE(m_messages.messages().first().startsWith("Error on line 3, position "));
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents().front()->GetTitle(), strBroken);
    EXPECT_TRUE(Documents().front()->GetXMLDocument().documentElement().isNull());
}

TEST_F(OpenURL, BlanksKeepTheDialogOpenAndOpenNothing)
{
    ASSERT_TRUE(StartApp());
    COpenURLDlg dialog(&Main());
    dialog.show();
    dialog.GetURLCombo()->setEditText("   ");
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(Documents().empty());
    EXPECT_TRUE(App().m_strURLHistory.isEmpty());
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(Documents().empty());
}

TEST_F(OpenURL, TheHistoryListsEachUrlOnceSortedAndNewOnesFirstUntilReopened)
{
    ASSERT_TRUE(StartApp());
    const QString strB = QUrl::fromLocalFile(WriteFile("b.xml", "<b/>")).toString();
    const QString strA = QUrl::fromLocalFile(WriteFile("a.xml", "<a/>")).toString();
    ASSERT_TRUE(Enter(strB));
    ASSERT_TRUE(Enter(strA));
    EXPECT_EQ(App().m_strURLHistory, QStringList({strA, strB}));
    ASSERT_TRUE(Enter(strB));
    EXPECT_EQ(App().m_strURLHistory, QStringList({strA, strB}));
    EXPECT_EQ(Documents().size(), 3u);

    App().m_strURLHistory = {"http://b.example/x", "http://A.example/y", "http://c.example/z"};
    COpenURLDlg dialog(&Main());
    EXPECT_EQ(ListEntries(dialog.GetURLCombo()),
              QStringList({"http://A.example/y", "http://b.example/x", "http://c.example/z"}));
    EXPECT_EQ(dialog.GetURLCombo()->currentText(), "");
    // Only an entry equal in case is the same URL.
    dialog.show();
    dialog.GetURLCombo()->setEditText("http://a.example/y");
    dialog.accept();
    EXPECT_EQ(App().m_strURLHistory, QStringList({"http://a.example/y", "http://A.example/y",
                                                  "http://b.example/x", "http://c.example/z"}));
}
