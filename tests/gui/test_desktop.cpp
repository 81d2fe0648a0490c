// Pellix on the desktop: F1, where the keyboard is, and where the file dialogs start.

#include "GuiTestKit.h"

#include "ChildFrame.h"
#include "FocusFrame.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "PellixView.h"
#include "Resource.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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

TEST_F(Desktop, F1OpensTheHelpOnTheDocumentWindow)
{
    App().SetHelpFilePath(WriteFile("pellix.html", "<html><body>Pellix help</body></html>"));
    CPellixDoc *pDoc = NewDoc();
    ASSERT_NE(pDoc, nullptr);
    QWidget *pTree = FrameOf(pDoc)->GetTreePane();
    pTree->setFocus();
    QTest::keyClick(pTree, Qt::Key_F1);
    ASSERT_EQ(HelpBrowsers().size(), 1);
    EXPECT_EQ(HelpBrowsers().front()->source().fragment(),
              QStringLiteral("context-%1").arg(0x20000 + IDR_PELLIXTYPE));
    HelpBrowsers().front()->window()->close();
}

TEST_F(Desktop, F6MovesTheRingAndAnEmptyTextPaneShowsItsCaret)
{
    CPellixDoc *pDoc = OpenDoc(WriteFile("a.xml", kSmall));
    ASSERT_NE(pDoc, nullptr);
    CChildFrame *pFrame = FrameOf(pDoc);
    pFrame->GetTreePane()->setFocus();
    CFocusFrame *pRing = Main().GetFocusFrame();
    ASSERT_NE(pRing, nullptr);
    EXPECT_EQ(pRing->GetPane(), pFrame->GetTreePane());

    QTest::keyClick(pFrame->GetTreePane(), Qt::Key_F6);
    EXPECT_EQ(pRing->GetPane(), pFrame->GetGridPane());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    CPellixView *pText = pFrame->GetTextPane();
    ASSERT_EQ(pRing->GetPane(), pText);
    EXPECT_TRUE(pRing->isVisible());

    // Empty, the pane still shows where typing goes: a caret, darker than the page around it.
    ASSERT_TRUE(pText->toPlainText().isEmpty());
    ASSERT_TRUE(pText->hasFocus());
    const QImage page = pText->viewport()->grab().toImage();
    const QRect rectCaret = pText->cursorRect();
    ASSERT_TRUE(rectCaret.isValid());
    const QColor base = pText->palette().color(QPalette::Base);
    int nDark = 0;
    for (int y = rectCaret.top(); y <= rectCaret.bottom(); ++y) {
        for (int x = rectCaret.left(); x <= rectCaret.right(); ++x)
            nDark += page.pixelColor(x, y).lightness() < base.lightness() / 2 ? 1 : 0;
    }
    EXPECT_GE(nDark, rectCaret.height() / 2);
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
