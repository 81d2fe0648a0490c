// Recovery copies of modified documents: written while a document is modified, removed when it
// is saved, closed or the program ends cleanly; the dialog at the next start; and a real
// program killed after an edit whose work comes back and saves to the same bytes.

#include "GuiTestKit.h"

#include "ChildFrame.h"
#include "CommandLineInfo.h"
#include "DocumentRecovery.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "ProgramRun.h"
#include "RecoveryDlg.h"
#include "ScopedEnv.h"
#include "TreePath.h"
#include "XmlWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace
{

const std::string kBooks = "<?xml version=\"1.0\"?>\n<books><book id=\"1\">Dune</book></books>\n";

// Appends an element to the root element (a new document's becomes the root) through the
// editor, as Insert Child Element does.
void AppendElement(CPellixDoc *pDoc, const char *pszName)
{
    const dom::Document &document = pDoc->GetXMLDocument();
    const dom::Node root = document.documentElement();
    ASSERT_EQ(pDoc->GetEditor()->InsertNode(root.isNull() ? document : root,
                                            document.createElement(pszName), dom::Node()),
              S_OK);
}

// The bytes Pellix saves `xml` as.
std::string Written(std::string_view xml)
{
    dom::Document document = dom::Document::create();
    EXPECT_EQ(document.loadXML(xml), S_OK);
    return WriteXMLString(document);
}

std::string Saved(CPellixDoc *pDoc)
{
    return WriteXMLString(pDoc->GetXMLDocument());
}

void ClickButton(QWidget *pDialog, const QString &strText)
{
    for (QPushButton *pButton : pDialog->findChildren<QPushButton *>()) {
        if (pButton->text() == strText) {
            pButton->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << strText.toStdString();
}

// A Pellix whose user data folder (and so its recovery folder) is the test's own.
class Recovery : public PellixTest
{
protected:
    QString Folder() const { return m_strDataHome + "/pellix/recovery"; }
    // The copies in the folder, by their side files.
    QStringList SideFiles() const
    {
        return QDir(Folder()).entryList({"*.json"}, QDir::Files, QDir::Name);
    }
    QJsonObject Side(const QString &strName) const
    {
        QFile file(Folder() + "/" + strName);
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                              : QJsonObject();
    }
    std::string CopyOf(const QString &strSideFile) const
    {
        return ReadBytes(
            (Folder() + "/" + QFileInfo(strSideFile).completeBaseName() + ".xml").toStdString());
    }
    CDocumentRecovery &Copies() { return *App().GetDocumentRecovery(); }
    void WriteCopies()
    {
        Copies().WriteCopies();
        Copies().WaitForWriter();
    }
    // Copies a run that was killed left, one for each (source path, title, bytes).
    void LeaveOrphan(const QString &strSource, const QString &strTitle, const std::string &bytes)
    {
        CRecoveryStore killed(Folder());
        ASSERT_TRUE(killed.Open());
        ASSERT_EQ(
            killed.Write(killed.NewKey(), QByteArray::fromStdString(bytes), strSource, strTitle),
            QString());
    }

    const QString m_strDataHome = QString::fromStdString(m_dir.file("data"));
    const ScopedEnv m_dataHome{"XDG_DATA_HOME", m_strDataHome.toUtf8()};
};

} // namespace

TEST_F(Recovery, AModifiedDocumentGetsOneCopyPerChangeAndSavingRemovesIt)
{
    ASSERT_TRUE(StartApp());
    const QString strPath = WriteFile("books.xml", kBooks);
    CPellixDoc *pDoc = OpenDoc(strPath);
    ASSERT_NE(pDoc, nullptr);
    WriteCopies();
    EXPECT_TRUE(SideFiles().isEmpty()) << "a copy of an unmodified document";

    AppendElement(pDoc, "first");
    WriteCopies();
    ASSERT_EQ(SideFiles().size(), 1);
    const QString strSide = SideFiles().front();
    EXPECT_EQ(CopyOf(strSide), Saved(pDoc));
    EXPECT_EQ(Side(strSide).value("source").toString(), QFileInfo(strPath).absoluteFilePath());
    EXPECT_EQ(Side(strSide).value("title").toString(), "books.xml");
    // Nothing changed since: the copy is not written again.
    const QString strWritten = Side(strSide).value("written").toString();
    QTest::qWait(5);
    WriteCopies();
    EXPECT_EQ(Side(strSide).value("written").toString(), strWritten);
    AppendElement(pDoc, "second");
    WriteCopies();
    EXPECT_EQ(SideFiles(), QStringList({strSide}));
    EXPECT_EQ(CopyOf(strSide), Saved(pDoc));

    ASSERT_TRUE(pDoc->DoFileSave());
    Copies().WaitForWriter();
    EXPECT_TRUE(QDir(Folder()).entryList({"*.xml", "*.json"}).isEmpty());
    EXPECT_EQ(ReadBytes(strPath.toStdString()), Saved(pDoc));
}

TEST_F(Recovery, ClosingWithoutSavingAndACleanExitRemoveTheCopies)
{
    ASSERT_TRUE(StartApp());
    const QString strPath = WriteFile("books.xml", kBooks);
    CPellixDoc *pDropped = OpenDoc(strPath);
    CPellixDoc *pNew = NewDoc();
    ASSERT_TRUE(pDropped != nullptr && pNew != nullptr);
    AppendElement(pDropped, "dropped");
    AppendElement(pNew, "kept");
    WriteCopies();
    ASSERT_EQ(SideFiles().size(), 2);

    m_script.answers.push_back(MessageBoxResult::No);
    pDropped->OnFileClose();
    FlushDeletes();
    Copies().WaitForWriter();
    ASSERT_EQ(SideFiles().size(), 1);
    EXPECT_EQ(Side(SideFiles().front()).value("title").toString(), "Pellix1");
    EXPECT_EQ(Side(SideFiles().front()).value("source").toString(), "");
    EXPECT_EQ(ReadBytes(strPath.toStdString()), kBooks);

    StopApp();
    EXPECT_TRUE(QDir(Folder()).entryList(QDir::Files).isEmpty());
}

// What a window shows and the DOM does not hold yet, rows typed and the text of an open cell
// editor, is in the copy; writing the copy changes neither the DOM nor the open editor.
TEST_F(Recovery, TheCopyHoldsRowsAndEditorTextNotYetInTheDocument)
{
    ASSERT_TRUE(StartApp());
    const QString strPath = WriteFile("books.xml", kBooks);
    CPellixDoc *pDoc = OpenDoc(strPath);
    ASSERT_NE(pDoc, nullptr);
    CChildFrame *pFrame = FrameOf(pDoc);
    ASSERT_NE(pFrame, nullptr);
    CPellixGridView *pGrid = pFrame->GetGridPane();
    pFrame->GetTreePane()->SelectItem(ItemAtPath(pFrame->GetTreePane(), "books/book"));
    const std::string original = Saved(pDoc);

    TypeIntoCell(pFrame, 0, 2, "typed");
    WriteCopies();
    ASSERT_EQ(SideFiles().size(), 1);
    const QString strSide = SideFiles().front();
    EXPECT_EQ(CopyOf(strSide),
              Written("<?xml version=\"1.0\"?><books><book id=\"typed\">Dune</book></books>"));
    EXPECT_EQ(Saved(pDoc), original);
    ASSERT_TRUE(pGrid->IsEditingCell());

    // Escape drops the text, and the copy that held it goes.
    QTest::keyClick(pGrid->GetCellEditor(), Qt::Key_Escape);
    ASSERT_FALSE(pGrid->IsEditingCell());
    WriteCopies();
    EXPECT_TRUE(SideFiles().isEmpty());

    // Rows ended with Return are the window's until the element is left; the text row is
    // written as the commit would write it.
    TypeIntoCell(pFrame, 0, 2, "2");
    QTest::keyClick(pGrid->GetCellEditor(), Qt::Key_Return);
    TypeIntoCell(pFrame, 1, 2, "Emma");
    QTest::keyClick(pGrid->GetCellEditor(), Qt::Key_Return);
    ASSERT_TRUE(pDoc->IsModified());
    WriteCopies();
    ASSERT_EQ(SideFiles().size(), 1);
    EXPECT_EQ(CopyOf(SideFiles().front()),
              Written("<?xml version=\"1.0\"?><books><book id=\"2\">Emma</book></books>"));
    EXPECT_EQ(Saved(pDoc), original);
}

TEST_F(Recovery, TheTimerWritesTheCopiesAtTheIntervalTheCommandLineGives)
{
    ASSERT_TRUE(StartApp({"pellix", "--recovery-interval", "1"}));
    CPellixDoc *pDoc = NewDoc();
    ASSERT_NE(pDoc, nullptr);
    AppendElement(pDoc, "timed");
    EXPECT_TRUE(SideFiles().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([this] { return !SideFiles().isEmpty(); }, 5000));
    Copies().WaitForWriter();
    EXPECT_EQ(CopyOf(SideFiles().value(0)), Saved(pDoc));
}

TEST_F(Recovery, TheDialogOpensTheCheckedCopiesAsNewModifiedDocumentsNamingTheirSource)
{
    const QString strSource = WriteFile("books.xml", kBooks);
    const std::string edited = Written("<?xml version=\"1.0\"?><books><new/></books>");
    LeaveOrphan(strSource, "books.xml", edited);
    LeaveOrphan(QString(), "Pellix3", Written("<draft/>"));
    QStringList shown;
    WhenModalShows([&shown](QWidget *pDialog) {
        auto *pRecovery = qobject_cast<CRecoveryDlg *>(pDialog);
        ASSERT_NE(pRecovery, nullptr);
        QTreeWidget *pList = pRecovery->GetList();
        for (int i = 0; i < pList->topLevelItemCount(); ++i)
            shown << pList->topLevelItem(i)->text(0) + " | " + pList->topLevelItem(i)->text(1);
        pList->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        ClickButton(pDialog, "&Open");
    });
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(shown, QStringList({"books.xml | " + strSource, "Pellix3 | (never saved)"}));
    ASSERT_EQ(Documents().size(), 1u);
    CPellixDoc *pDoc = Documents().front();
    EXPECT_EQ(pDoc->GetTitle(), "Recovered books.xml");
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_TRUE(pDoc->GetPathName().isEmpty());
    EXPECT_EQ(Saved(pDoc), edited);
    EXPECT_EQ(ReadBytes(strSource.toStdString()), kBooks) << "the source was written";

    // The opened copy is the new document's own; the unchecked one is offered again.
    CRecoveryStore other(Folder());
    ASSERT_TRUE(other.Open());
    const std::vector<CRecoveryEntry> left = other.FindOrphans();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].strTitle, "Pellix3");
    // Save asks for a name: the source is never the target of a plain Save.
    const QString strTarget = QString::fromStdString(m_dir.file("saved.xml"));
    m_script.fileNames.push_back(strTarget);
    ASSERT_TRUE(pDoc->DoFileSave());
    EXPECT_EQ(m_script.fileDialogInitials.size(), 1);
    EXPECT_EQ(ReadBytes(strTarget.toStdString()), edited);
    Copies().WaitForWriter();
    EXPECT_EQ(SideFiles().size(), 1);
}

TEST_F(Recovery, DiscardAsksFirstAndDecideLaterKeepsTheCopies)
{
    LeaveOrphan("/gone/a.xml", "a.xml", Written("<a/>"));
    WhenModalShows([](QWidget *pDialog) { ClickButton(pDialog, "Decide &Later"); });
    ASSERT_TRUE(StartApp());
    EXPECT_TRUE(Documents().empty());
    StopApp();
    ASSERT_EQ(SideFiles().size(), 1);

    m_script.answers.push_back(MessageBoxResult::No);
    WhenModalShows([](QWidget *pDialog) { ClickButton(pDialog, "&Discard"); });
    ASSERT_TRUE(StartApp());
    StopApp();
    EXPECT_EQ(m_script.prompts,
              QStringList({"Discard the checked documents? Their unsaved changes will be lost."}));
    ASSERT_EQ(SideFiles().size(), 1);

    m_script.answers.push_back(MessageBoxResult::Yes);
    WhenModalShows([](QWidget *pDialog) { ClickButton(pDialog, "&Discard"); });
    ASSERT_TRUE(StartApp());
    EXPECT_TRUE(Documents().empty());
    EXPECT_TRUE(QDir(Folder()).entryList({"*.xml", "*.json"}).isEmpty());
}

TEST_F(Recovery, AnEditOfAKilledProgramComesBackAndSavesToTheBytesItHad)
{
    const QString strPath = WriteFile("sample.xml", ReadBytes(PELLIX_SAMPLES_DIR "/sample.xml"));
    // What the edit makes of the sample, saved.
    dom::Document expected = dom::Document::create();
    ASSERT_EQ(expected.load(strPath.toStdString()), S_OK);
    ASSERT_EQ(expected.documentElement().appendChild(expected.createElement("pellixTestEdit")),
              S_OK);
    const std::string edited = WriteXMLString(expected);

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_HOME", m_strDataHome);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(m_dir.file("config")));
    process.setProcessEnvironment(env);
    process.start(PELLIX_BINARY, {"--recovery-interval", "1", "--test-edit", strPath});
    ASSERT_TRUE(process.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !SideFiles().isEmpty(); }, 20000))
        << process.readAllStandardError().toStdString();
    process.kill(); // SIGKILL: no clean exit
    ASSERT_TRUE(process.waitForFinished());
    EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
    ASSERT_EQ(SideFiles().size(), 1);
    EXPECT_EQ(CopyOf(SideFiles().front()), edited);

    WhenModalShows([](QWidget *pDialog) { ClickButton(pDialog, "&Open"); });
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(Documents().size(), 1u);
    CPellixDoc *pDoc = Documents().front();
    EXPECT_EQ(pDoc->GetTitle(), "Recovered sample.xml");
    EXPECT_EQ(ReadBytes(strPath.toStdString()), ReadBytes(PELLIX_SAMPLES_DIR "/sample.xml"));
    const QString strSaved = QString::fromStdString(m_dir.file("recovered.xml"));
    m_script.fileNames.push_back(strSaved);
    ASSERT_TRUE(pDoc->DoFileSave());
    EXPECT_EQ(ReadBytes(strSaved.toStdString()), edited);
    Copies().WaitForWriter();
    EXPECT_TRUE(SideFiles().isEmpty());
}

TEST(CommandLineInfo, RecoveryIntervalAndTestEdit)
{
    CCommandLineInfo info;
    EXPECT_EQ(info.m_nRecoverySeconds, 60);
    info.ParseCommandLine({"pellix", "--recovery-interval", "5", "--test-edit", "a.xml"});
    EXPECT_TRUE(info.m_strError.isEmpty());
    EXPECT_EQ(info.m_nRecoverySeconds, 5);
    EXPECT_TRUE(info.m_bTestEdit);
    EXPECT_TRUE(info.IsUnattended());
    EXPECT_EQ(info.m_strFileNames, QStringList({"a.xml"}));
    for (const char *pszBad : {"0", "x", "86401"}) {
        CCommandLineInfo bad;
        bad.ParseCommandLine({"pellix", "--recovery-interval", pszBad});
        EXPECT_FALSE(bad.m_strError.isEmpty()) << pszBad;
    }
    CCommandLineInfo missing;
    missing.ParseCommandLine({"pellix", "--recovery-interval"});
    EXPECT_FALSE(missing.m_strError.isEmpty());
}
