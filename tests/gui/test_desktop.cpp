// Pellix on the desktop: unsaved changes in the titles, F1 and Ctrl+F4, where the file dialogs
// start, and where the keyboard is.

#include "GuiTestKit.h"

#include "ChildFrame.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "PellixView.h"
#include "Resource.h"
#include "WindowTitle.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QTest>
#include <QTextBrowser>

namespace
{
const std::string kSmall = "<?xml version=\"1.0\"?>\n<root><child/></root>\n";
} // namespace

// A started application with its main window active, as the keys need it.
class Desktop : public PellixTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartApp());
        QApplication::setActiveWindow(&Main());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    }
};

TEST_F(Desktop, AnEditMarksTheTitlesUntilTheSave)
{
    CPellixDoc *pDoc = OpenDoc(WriteFile("a.xml", kSmall));
    ASSERT_NE(pDoc, nullptr);
    CChildFrame *pFrame = FrameOf(pDoc);
    EXPECT_EQ(ShownWindowTitle(pFrame), "a.xml");
    CPellixTreeView *pTree = pFrame->GetTreePane();
    pTree->SelectItem(pTree->GetRootItem().GetFirstChild());
    ASSERT_TRUE(pTree->InsertChildElement());
    EXPECT_EQ(ShownWindowTitle(pFrame), "a.xml*");
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - [a.xml*]");

    EXPECT_TRUE(Execute(ID_FILE_SAVE));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(ShownWindowTitle(pFrame), "a.xml");
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - [a.xml]");
}

TEST_F(Desktop, F1OpensContextHelpAndCtrlF4ClosesTheDocumentWindow)
{
    App().SetHelpFilePath(WriteFile("pellix.html", "<html><body>Pellix help</body></html>"));
    QPointer<CPellixDoc> pDoc = NewDoc();
    ASSERT_NE(pDoc, nullptr);
    QWidget *pTree = FrameOf(pDoc)->GetTreePane();
    pTree->setFocus();
    QTest::keyClick(pTree, Qt::Key_F1);
    ASSERT_EQ(HelpBrowsers().size(), 1);
    EXPECT_EQ(HelpBrowsers().front()->source().fragment(),
              QStringLiteral("context-%1").arg(0x20000 + IDR_PELLIXTYPE));
    HelpBrowsers().front()->window()->close();

    QApplication::setActiveWindow(&Main());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    pTree->setFocus();
    QTest::keyClick(pTree, Qt::Key_F4, Qt::ControlModifier);
    FlushDeletes();
    EXPECT_TRUE(pDoc.isNull());
    EXPECT_EQ(VisibleChildCount(), 0);
}

TEST_F(Desktop, SaveAsOfAFileThatDidNotLoadStartsInItsFolder)
{
    ASSERT_TRUE(QDir(QString::fromStdString(m_dir.file("other"))).mkpath("."));
    const QString strBroken = WriteFile("broken.xml", "<root>");
    CPellixDoc *pBroken = OpenDoc(strBroken);
    ASSERT_NE(pBroken, nullptr);
    ASSERT_EQ(pBroken->GetPathName(), "");
    ASSERT_NE(OpenDoc(WriteFile("other/a.xml", kSmall)), nullptr);
    pBroken->OnFileSaveAs();
    EXPECT_EQ(m_script.fileDialogInitials, QStringList({QFileInfo(strBroken).absoluteFilePath()}));
}

TEST_F(Desktop, TheOpenDialogShowsTheFolderOfTheFileOpenedLast)
{
    const QString strPath = WriteFile("a.xml", kSmall);
    ASSERT_NE(OpenDoc(strPath), nullptr);
    // The real dialog this time.
    FileDialogHandler script = SetFileDialogHandler({});
    QString strShown;
    WhenModalShows([&](QWidget *pDialog) {
        if (auto *pFileDialog = qobject_cast<QFileDialog *>(pDialog))
            strShown = pFileDialog->directory().absolutePath();
    });
    Execute(ID_FILE_OPEN);
    SetFileDialogHandler(std::move(script));
    EXPECT_EQ(strShown, QFileInfo(strPath).absolutePath());
}
