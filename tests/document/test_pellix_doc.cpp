// The document object with stand-in panes: New, Open, failed loads and saving.

#include "CmdUI.h"
#include "MessageRecorder.h"
#include "PellixDoc.h"
#include "Resource.h"
#include "TempDir.h"
#include "UnwrittenFifo.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <memory>

namespace
{

// Records what the document asks of its tree and grid panes.
class FakePanes : public CTreePaneLink, public CGridPaneLink
{
public:
    void DeleteAllTreeItems() override
    {
        items.clear();
        ++deletions;
    }
    void AddDocumentItem(const QString &label, const dom::Document &) override
    {
        items << "document:" + label;
    }
    void BuildTreeFromDocument(const dom::Document &document) override
    {
        items << "built:" + QString::fromUtf8(document.documentElement().nodeName());
    }
    void CommitShownItem() override { ++commits; }
    void InsertEmptyRow(int nKind) override { inserted << nKind; }
    bool IsShowingNode() const override { return showing; }

    QStringList items;
    QList<int> inserted;
    int deletions = 0;
    int commits = 0;
    bool showing = false;
};

struct DocFixture : testing::Test {
    DocFixture()
    {
        document = std::make_unique<CPellixDoc>();
        document->SetPanes(&panes, &treeWidget, &panes, &gridWidget, &textWidget);
    }
    FakePanes panes;
    QWidget treeWidget, gridWidget, textWidget;
    std::unique_ptr<CPellixDoc> document;
    MessageRecorder recorder;
    TempDir dir;
};

} // namespace

TEST_F(DocFixture, NewDocumentHoldsTheDeclarationAndTheDocumentItem)
{
    ASSERT_TRUE(document->OnNewDocument());
    const dom::Document &dom = document->GetXMLDocument();
    ASSERT_FALSE(dom.isNull());
    EXPECT_EQ(dom.firstChild().nodeName(), "xml");
    EXPECT_EQ(dom.firstChild().nodeValue(), "version=\"1.0\"");
    EXPECT_TRUE(dom.firstChild().nextSibling().isNull());
    EXPECT_EQ(panes.items, QStringList{"document:#document"});
    EXPECT_FALSE(document->IsModified());
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(DocFixture, OpenBuildsTheTreeAfterTheSuccessMessage)
{
    const QString path = QString::fromStdString(dir.write("a.xml", "<root><x/></root>"));
    ASSERT_TRUE(document->OnOpenDocument(path));
    document->SetPathName(path);
    EXPECT_EQ(recorder.messages(), QStringList{"XML document loaded successfully\n"});
    EXPECT_EQ(panes.items, QStringList{"built:root"});
    EXPECT_EQ(document->GetPathName(), path);
    EXPECT_EQ(document->GetTitle(), "a.xml");
}

TEST_F(DocFixture, FailedLoadKeepsTheNameButNotThePath)
{
    const std::string original = "<root>\n<x>\n</root>";
    const QString path = QString::fromStdString(dir.write("broken.xml", original));
    ASSERT_TRUE(document->OnOpenDocument(path));
    document->SetPathName(path);
    ASSERT_EQ(recorder.messages().size(), 1);
    EXPECT_TRUE(recorder.messages().first().startsWith("Error on line 3, position "));
    // A new document's content under the file's name, with no path: Save must ask.
    EXPECT_EQ(panes.items, QStringList{"document:#document"});
    EXPECT_EQ(document->GetTitle(), "broken.xml");
    EXPECT_TRUE(document->GetPathName().isEmpty());
    EXPECT_EQ(document->GetXMLDocument().firstChild().nodeName(), "xml");
    EXPECT_EQ(ReadBytes(path.toStdString()), original);

    // A later Save As takes its path normally.
    const QString saved = QString::fromStdString(dir.file("saved.xml"));
    ASSERT_TRUE(document->DoSave(saved));
    EXPECT_EQ(document->GetPathName(), saved);
    EXPECT_EQ(ReadBytes(saved.toStdString()), "<?xml version=\"1.0\"?>\r\n\r\n");
}

TEST_F(DocFixture, EmptyFileOpensWithoutADom)
{
    const QString path = QString::fromStdString(dir.write("empty.xml", ""));
    ASSERT_TRUE(document->OnOpenDocument(path));
    EXPECT_TRUE(document->GetXMLDocument().isNull());
    EXPECT_TRUE(recorder.messages().isEmpty());
    ASSERT_TRUE(document->SaveXMLDocument(path));
    EXPECT_EQ(ReadBytes(path.toStdString()), "");
}

// A FIFO is refused without waiting for a writer; a file that says size 0 (under /proc) is
// read, not opened as an empty document.
TEST_F(DocFixture, OpenRefusesWhatIsNotARegularFileAndReadsTheRest)
{
    const UnwrittenFifo fifo(dir.file("pipe.xml"));
    const QString pipe = QString::fromStdString(fifo.path());
    EXPECT_FALSE(document->OnOpenDocument(pipe));
    EXPECT_EQ(recorder.messages(),
              QStringList{"Cannot open " + pipe + ":\nIt is not a regular file."});

    recorder.clear();
    ASSERT_TRUE(document->OnOpenDocument("/proc/version"));
    ASSERT_EQ(recorder.messages().size(), 1);
    EXPECT_TRUE(recorder.messages().first().startsWith("Error on line 1, position "));
    EXPECT_FALSE(document->GetXMLDocument().isNull());
}

TEST_F(DocFixture, OpenUrlReplacesTheDomAndTitlesWithTheUrl)
{
    ASSERT_TRUE(document->OnNewDocument());
    const QString missing = "http://127.0.0.1:1/nothing.xml";
    EXPECT_FALSE(document->OpenXMLDocument(missing));
    EXPECT_EQ(document->GetTitle(), missing);
    EXPECT_EQ(recorder.messages(),
              QStringList{"Cannot open URL:\n" + missing + "\nCould not connect to server"});
    EXPECT_EQ(panes.items, QStringList{"document:#document"});
    // The failed URL does not block a later Save As from taking its path.
    const QString saved = QString::fromStdString(dir.file("u.xml"));
    ASSERT_TRUE(document->DoSave(saved));
    EXPECT_EQ(document->GetPathName(), saved);
}

TEST_F(DocFixture, SaveCommitsFirstAndReportsFailures)
{
    ASSERT_TRUE(document->OnNewDocument());
    document->SetModifiedFlag(true);
    const QString path = QString::fromStdString(dir.file("out.xml"));
    ASSERT_TRUE(document->SaveXMLDocument(path));
    EXPECT_EQ(panes.commits, 1);
    EXPECT_FALSE(document->IsModified());

    document->SetModifiedFlag(true);
    const QString bad = QString::fromStdString(dir.file("out.xml") + "/under-a-file.xml");
    EXPECT_FALSE(document->SaveXMLDocument(bad));
    EXPECT_TRUE(document->IsModified());
    ASSERT_EQ(recorder.messages().size(), 1);
    EXPECT_TRUE(recorder.messages().first().startsWith("Cannot save " + bad));
}

TEST_F(DocFixture, InsertCommandsNeedAShownNode)
{
    ASSERT_TRUE(document->OnNewDocument());
    CCmdUI state(ID_INSERT_COMMENT);
    document->OnCmdMsg(ID_INSERT_COMMENT, &state);
    EXPECT_FALSE(state.IsEnabled());
    panes.showing = true;
    CCmdUI enabled(ID_INSERT_COMMENT);
    document->OnCmdMsg(ID_INSERT_COMMENT, &enabled);
    EXPECT_TRUE(enabled.IsEnabled());
    EXPECT_TRUE(document->OnCmdMsg(ID_INSERT_PROCESSINSTRUCTION, nullptr));
    EXPECT_TRUE(document->OnCmdMsg(ID_INSERT_CDATASECTION, nullptr));
    EXPECT_EQ(panes.inserted,
              (QList<int>{dom::NODE_PROCESSING_INSTRUCTION, dom::NODE_CDATA_SECTION}));
}

TEST_F(DocFixture, PanesThatCloseAreForgotten)
{
    auto tree = std::make_unique<QWidget>();
    document->SetPanes(&panes, tree.get(), &panes, &gridWidget, &textWidget);
    EXPECT_NE(document->GetTreeView(), nullptr);
    tree.reset();
    EXPECT_EQ(document->GetTreeView(), nullptr);
    EXPECT_TRUE(document->OnNewDocument()); // no tree pane: nothing to fill, no crash
}
