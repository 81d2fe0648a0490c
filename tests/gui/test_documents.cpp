// New, Open, Save, Close and Save All through the commands, the recent files and the
// command line.

#include "GuiTestKit.h"

#include "ChildFrame.h"
#include "PellixDoc.h"
#include "Resource.h"
#include "WindowTitle.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>

namespace
{
const QString kLoaded = QStringLiteral("XML document loaded successfully\n");
const std::string kSmall = "<?xml version=\"1.0\"?>\n<root a=\"1\"><child/></root>\n";
} // namespace

using DocumentFlows = PellixTest;

TEST_F(DocumentFlows, NewTitlesTheWindowsPellixOneTwoWithoutAMessage)
{
    ASSERT_TRUE(StartApp());
    EXPECT_TRUE(Execute(ID_FILE_NEW));
    EXPECT_TRUE(Execute(ID_FILE_NEW));
    const std::vector<CPellixDoc *> documents = Documents();
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0]->GetTitle(), "Pellix1");
    EXPECT_EQ(documents[1]->GetTitle(), "Pellix2");
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - [Pellix2]");
    EXPECT_FALSE(documents[0]->IsModified());
    EXPECT_FALSE(documents[0]->GetXMLDocument().isNull());
    EXPECT_TRUE(m_messages.messages().isEmpty());
    EXPECT_EQ(VisibleChildCount(), 2);
}

TEST_F(DocumentFlows, OpenReportsTheLoadAndTitlesTheWindowWithTheFileName)
{
    ASSERT_TRUE(StartApp());
    const QString strPath = WriteFile("books.xml", kSmall);
    m_script.fileNames.push_back(strPath);
    EXPECT_TRUE(Execute(ID_FILE_OPEN));
    ASSERT_EQ(Documents().size(), 1u);
    CPellixDoc *pDoc = Documents().front();
    EXPECT_EQ(m_messages.messages(), QStringList({kLoaded}));
    EXPECT_EQ(pDoc->GetTitle(), "books.xml");
    EXPECT_EQ(pDoc->GetPathName(), QFileInfo(strPath).absoluteFilePath());
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - [books.xml]");
    EXPECT_EQ(Main().GetMessageText(), "Ready");
    EXPECT_FALSE(pDoc->IsModified());
}

TEST_F(DocumentFlows, AParseErrorLeavesANewDocumentUnderTheFileNameAndSaveAsksForAName)
{
    ASSERT_TRUE(StartApp());
    const std::string bad = "<root>\n  <open>\n</root>\n";
    const QString strPath = WriteFile("broken.xml", bad);
    CPellixDoc *pDoc = OpenDoc(strPath);
    ASSERT_NE(pDoc, nullptr);
    ASSERT_EQ(m_messages.messages().size(), 1);
    EXPECT_TRUE(m_messages.messages().front().startsWith("Error on line 3"))
        << m_messages.messages().front().toStdString();
    EXPECT_EQ(pDoc->GetTitle(), "broken.xml");
    EXPECT_EQ(pDoc->GetPathName(), "");
    // A new document's content: just the declaration.
    const dom::Node first = pDoc->GetXMLDocument().firstChild();
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.nodeName(), "xml");
    EXPECT_TRUE(first.nextSibling().isNull());

    // The dialog starts in the folder the file came from.
    EXPECT_TRUE(Execute(ID_FILE_SAVE));
    EXPECT_EQ(m_script.fileDialogInitials, QStringList({QFileInfo(strPath).absoluteFilePath()}));
    EXPECT_EQ(ReadBytes(strPath.toStdString()), bad);
}

TEST_F(DocumentFlows, AfterASaveClosingAsksNothing)
{
    ASSERT_TRUE(StartApp());
    const QString strPath = WriteFile("a.xml", kSmall);
    CPellixDoc *pDoc = OpenDoc(strPath);
    ASSERT_NE(pDoc, nullptr);
    pDoc->SetModifiedFlag(true);
    // Unsaved, closing asks; Cancel keeps the window.
    m_script.answers.push_back(MessageBoxResult::Cancel);
    EXPECT_TRUE(Execute(ID_FILE_CLOSE));
    EXPECT_EQ(m_script.prompts, QStringList({"Save changes to a.xml?"}));
    ASSERT_EQ(Documents().size(), 1u);

    EXPECT_TRUE(Execute(ID_FILE_SAVE));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_NE(ReadBytes(strPath.toStdString()).find("\r\n"), std::string::npos);
    EXPECT_TRUE(Execute(ID_FILE_CLOSE));
    FlushDeletes();
    EXPECT_EQ(m_script.prompts.size(), 1);
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(VisibleChildCount(), 0);
}

TEST_F(DocumentFlows, SaveAllSavesEveryModifiedDocument)
{
    ASSERT_TRUE(StartApp());
    const QString strA = WriteFile("a.xml", kSmall);
    const QString strB = WriteFile("b.xml", kSmall);
    CPellixDoc *pA = OpenDoc(strA);
    CPellixDoc *pB = OpenDoc(strB);
    CPellixDoc *pNew = NewDoc();
    ASSERT_TRUE(pA != nullptr && pB != nullptr && pNew != nullptr);
    EXPECT_FALSE(IsEnabled(ID_FILE_SAVE_ALL));

    pA->SetModifiedFlag(true);
    pNew->SetModifiedFlag(true);
    EXPECT_TRUE(IsEnabled(ID_FILE_SAVE_ALL));
    const QString strC = QString::fromStdString(m_dir.file("c.xml"));
    m_script.fileNames.push_back(strC);
    EXPECT_TRUE(Execute(ID_FILE_SAVE_ALL));
    EXPECT_FALSE(pA->IsModified());
    EXPECT_FALSE(pNew->IsModified());
    EXPECT_NE(ReadBytes(strA.toStdString()), kSmall);
    EXPECT_EQ(ReadBytes(strB.toStdString()), kSmall);
    // A new document is proposed in the folder of the file opened last.
    EXPECT_EQ(m_script.fileDialogInitials,
              QStringList({QFileInfo(strB).dir().filePath("Pellix1.xml")}));
    EXPECT_EQ(pNew->GetPathName(), strC);
    EXPECT_EQ(ReadBytes(strC.toStdString()).rfind("<?xml version=\"1.0\"?>\r\n", 0), 0u);
    EXPECT_FALSE(IsEnabled(ID_FILE_SAVE_ALL));
}

TEST_F(DocumentFlows, SaveAllStopsWhenTheNameOfADocumentIsCancelled)
{
    ASSERT_TRUE(StartApp());
    const QString strPath = WriteFile("a.xml", kSmall);
    CPellixDoc *pNew = NewDoc();
    CPellixDoc *pFile = OpenDoc(strPath);
    ASSERT_TRUE(pNew != nullptr && pFile != nullptr);
    pNew->SetModifiedFlag(true);
    pFile->SetModifiedFlag(true);
    EXPECT_TRUE(Execute(ID_FILE_SAVE_ALL));
    EXPECT_EQ(m_script.fileDialogInitials.size(), 1);
    EXPECT_TRUE(pNew->IsModified());
    EXPECT_TRUE(pFile->IsModified());
    EXPECT_EQ(ReadBytes(strPath.toStdString()), kSmall);
}

TEST_F(DocumentFlows, TheRecentFileListKeepsFourFilesAcrossARestart)
{
    ASSERT_TRUE(StartApp());
    QStringList paths;
    for (int i = 1; i <= 5; ++i) {
        paths << WriteFile("f" + std::to_string(i) + ".xml", kSmall);
        ASSERT_NE(OpenDoc(paths.back()), nullptr);
    }
    const QStringList expected = {paths[4], paths[3], paths[2], paths[1]};
    EXPECT_EQ(App().GetRecentFileList().GetEntries(), expected);

    ASSERT_TRUE(RestartApp());
    EXPECT_EQ(App().GetRecentFileList().GetEntries(), expected);
    QMenu *pFile = Main().menuBar()->actions().front()->menu();
    emit pFile->aboutToShow();
    QStringList recent;
    for (const QAction *pAction : pFile->actions()) {
        if (pAction->isVisible() && pAction->text().startsWith('&') &&
            pAction->text().at(1).isDigit())
            recent << pAction->text();
    }
    EXPECT_EQ(recent, QStringList({"&1 " + paths[4], "&2 " + paths[3], "&3 " + paths[2],
                                   "&4 " + paths[1]}));
    // Choosing an entry opens it.
    EXPECT_TRUE(Execute(ID_FILE_MRU_FILE2));
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents().front()->GetPathName(), paths[3]);
}

using CommandLine = PellixTest;

TEST_F(CommandLine, NoArgumentsOpenNoDocumentWindow)
{
    ASSERT_TRUE(StartApp());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(VisibleChildCount(), 0);
    EXPECT_TRUE(Documents().empty());
    EXPECT_TRUE(Main().acceptDrops());
}

TEST_F(CommandLine, AFileArgumentOpensThatDocumentBeforeTheWindowShows)
{
    const QString strPath = WriteFile("start.xml", kSmall);
    ASSERT_TRUE(StartApp({"pellix", strPath}));
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents().front()->GetTitle(), "start.xml");
    EXPECT_EQ(m_messages.messages(), QStringList({kLoaded}));
    EXPECT_EQ(VisibleChildCount(), 1);
    EXPECT_EQ(ShownWindowTitle(&Main()), "Pellix - [start.xml]");
    // The window was sized for the screen before the document window was made.
    CChildFrame *pFrame = FrameOf(Documents().front());
    EXPECT_GT(pFrame->width(), Main().GetMDIArea()->width() / 2);
}

TEST_F(CommandLine, AFileThatCannotBeOpenedEndsTheStartWithTheFrameworkMessage)
{
    EXPECT_FALSE(StartApp({"pellix", QString::fromStdString(m_dir.file("missing.xml"))}));
    EXPECT_EQ(m_messages.messages(), QStringList({"Failed to open document."}));
    EXPECT_TRUE(Documents().empty());
    EXPECT_FALSE(Main().isVisible());
}
