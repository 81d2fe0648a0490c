#include "FrameworkTestKit.h"

#include "CommandRouter.h"
#include "WindowTitle.h"

#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QSignalSpy>

using DocumentLifecycle = FrameworkTest;

TEST_F(DocumentLifecycle, NewDocumentsAreNumberedFromTheDocumentName)
{
    CTestDoc *pFirst = NewDoc();
    CTestDoc *pSecond = NewDoc();
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(pFirst->GetTitle(), "Pellix1");
    EXPECT_EQ(pSecond->GetTitle(), "Pellix2");
    EXPECT_TRUE(pFirst->GetPathName().isEmpty());
    EXPECT_FALSE(pFirst->IsModified());

    // The counter never goes back, even after a window closes.
    pSecond->OnCloseDocument();
    FlushDeletes();
    EXPECT_EQ(NewDoc()->GetTitle(), "Pellix3");
    EXPECT_EQ(ShownWindowTitle(FrameOf(pFirst)), "Pellix1");
}

TEST_F(DocumentLifecycle, FileThatCannotBeOpenedIsReportedAndOpensNoWindow)
{
    EXPECT_EQ(OpenDoc(m_dir.filePath("missing.xml")), nullptr);
    EXPECT_EQ(m_script.messages, QStringList({"Failed to open document."}));
    EXPECT_TRUE(Template().GetDocuments().empty());
    EXPECT_TRUE(Main().GetMDIArea()->subWindowList().isEmpty());
    EXPECT_EQ(App().GetRecentFileList().GetCount(), 0);

    // A folder is not a document either.
    m_script.messages.clear();
    EXPECT_EQ(OpenDoc(m_dir.path()), nullptr);
    EXPECT_EQ(m_script.messages, QStringList({"Failed to open document."}));
}

TEST_F(DocumentLifecycle, EmptyFileOpensWithoutLoading)
{
    const QString strEmpty = WriteFile("empty.xml", {});
    const QString strFull = WriteFile("full.xml", "<a/>");
    CTestDoc *pEmpty = OpenDoc(strEmpty);
    CTestDoc *pFull = OpenDoc(strFull);
    ASSERT_NE(pEmpty, nullptr);
    ASSERT_NE(pFull, nullptr);
    EXPECT_TRUE(pEmpty->m_loadedPaths.isEmpty());
    EXPECT_EQ(pFull->m_loadedPaths, QStringList({strFull}));
    EXPECT_EQ(pEmpty->GetTitle(), "empty.xml");
    EXPECT_EQ(pEmpty->GetPathName(), strEmpty);
    EXPECT_FALSE(pEmpty->IsModified());
    EXPECT_TRUE(m_script.messages.isEmpty());
}

TEST_F(DocumentLifecycle, PathNameIsMadeAbsolute)
{
    WriteFile("rel.xml", "<a/>");
    const QString strOldDir = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    CTestDoc *pDoc = OpenDoc("rel.xml");
    QDir::setCurrent(strOldDir);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->GetPathName(), QDir(m_dir.path()).filePath("rel.xml"));
}

TEST_F(DocumentLifecycle, SaveModifiedAsksOnlyForModifiedDocuments)
{
    CTestDoc *pDoc = NewDoc();
    EXPECT_TRUE(pDoc->SaveModified());
    EXPECT_TRUE(m_script.prompts.isEmpty());

    pDoc->SetModifiedFlag();
    m_script.answers = {MessageBoxResult::Cancel};
    EXPECT_FALSE(pDoc->SaveModified());
    EXPECT_TRUE(pDoc->IsModified());

    m_script.answers = {MessageBoxResult::No};
    EXPECT_TRUE(pDoc->SaveModified());
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_TRUE(pDoc->m_savedPaths.isEmpty());
    EXPECT_EQ(m_script.prompts,
              QStringList({"Save changes to Pellix1?", "Save changes to Pellix1?"}));
}

TEST_F(DocumentLifecycle, SaveModifiedYesSavesAFileDocumentInPlace)
{
    const QString strPath = WriteFile("doc.xml", "<a/>");
    CTestDoc *pDoc = OpenDoc(strPath);
    pDoc->SetModifiedFlag();
    m_script.answers = {MessageBoxResult::Yes};
    EXPECT_TRUE(pDoc->SaveModified());
    EXPECT_EQ(m_script.prompts, QStringList({"Save changes to doc.xml?"}));
    EXPECT_EQ(pDoc->m_savedPaths, QStringList({strPath}));
    EXPECT_TRUE(m_script.fileDialogInitials.isEmpty());
    EXPECT_FALSE(pDoc->IsModified());
}

TEST_F(DocumentLifecycle, SaveModifiedYesOnUntitledAsksForANameWithTheTemplateFilter)
{
    CTestDoc *pDoc = NewDoc();
    pDoc->SetModifiedFlag();
    const QString strTarget = m_dir.filePath("chosen.xml");
    m_script.answers = {MessageBoxResult::Yes};
    m_script.fileNames = {strTarget};
    EXPECT_TRUE(pDoc->SaveModified());
    EXPECT_EQ(m_script.fileDialogInitials, QStringList({"Pellix1.xml"}));
    EXPECT_EQ(m_script.fileDialogFilters, QStringList({"XML Files (*.xml);;All Files (*)"}));
    EXPECT_EQ(pDoc->GetPathName(), strTarget);
    EXPECT_EQ(pDoc->GetTitle(), "chosen.xml");
    EXPECT_EQ(App().GetRecentFileList().GetEntry(0), strTarget);
    EXPECT_EQ(ShownWindowTitle(FrameOf(pDoc)), "chosen.xml");
}

TEST_F(DocumentLifecycle, FailedSaveKeepsTheDocumentModifiedAndUnnamed)
{
    CTestDoc *pDoc = NewDoc();
    pDoc->m_bSaveSucceeds = false;
    pDoc->SetModifiedFlag();
    m_script.answers = {MessageBoxResult::Yes};
    m_script.fileNames = {m_dir.filePath("target.xml")};
    EXPECT_FALSE(pDoc->SaveModified());
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_TRUE(pDoc->GetPathName().isEmpty());
    EXPECT_EQ(pDoc->GetTitle(), "Pellix1");
    EXPECT_EQ(App().GetRecentFileList().GetCount(), 0);
}

TEST_F(DocumentLifecycle, CancelledSaveAsDialogSavesNothing)
{
    CTestDoc *pDoc = NewDoc();
    pDoc->SetModifiedFlag();
    EXPECT_FALSE(pDoc->DoFileSave());
    EXPECT_EQ(m_script.fileDialogInitials.size(), 1);
    EXPECT_TRUE(pDoc->m_savedPaths.isEmpty());
    EXPECT_TRUE(pDoc->IsModified());
}

TEST_F(DocumentLifecycle, SaveAsProposesTheTitleCutBeforeCharactersAFileNameCannotHave)
{
    CTestDoc *pDoc = NewDoc();
    pDoc->SetTitle("http://example.org/data.xml");
    pDoc->OnFileSaveAs();
    pDoc->SetTitle("notes.xml");
    pDoc->OnFileSaveAs();
    EXPECT_EQ(m_script.fileDialogInitials, QStringList({"http.xml", "notes.xml"}));
}

TEST_F(DocumentLifecycle, SaveOfAFileThatWasRemovedAsksForANewName)
{
    const QString strPath = WriteFile("gone.xml", "<a/>");
    CTestDoc *pDoc = OpenDoc(strPath);
    QFile::remove(strPath);
    m_script.fileNames = {m_dir.filePath("again.xml")};
    EXPECT_TRUE(pDoc->DoFileSave());
    EXPECT_EQ(m_script.fileDialogInitials, QStringList({strPath}));
    EXPECT_EQ(pDoc->m_savedPaths, QStringList({m_dir.filePath("again.xml")}));
}

TEST_F(DocumentLifecycle, ModifiedSignalFiresOnChangesOnly)
{
    CTestDoc *pDoc = NewDoc();
    QSignalSpy spy(pDoc, &CDocument::modifiedChanged);
    pDoc->SetModifiedFlag();
    pDoc->SetModifiedFlag();
    pDoc->SetModifiedFlag(false);
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy.at(0).at(0).toBool(), true);
    EXPECT_EQ(spy.at(1).at(0).toBool(), false);
}

TEST_F(DocumentLifecycle, SaveCommandsReachTheDocumentThroughTheRoute)
{
    CTestDoc *pDoc = NewDoc();
    m_script.fileNames = {m_dir.filePath("routed.xml")};
    EXPECT_TRUE(Main().GetRouter()->Execute(57603));
    EXPECT_EQ(pDoc->m_savedPaths, QStringList({m_dir.filePath("routed.xml")}));
    EXPECT_TRUE(QFile::exists(m_dir.filePath("routed.xml")));
}
