// The document object: New, Open, failed loads, saving, and the edit contexts of its windows.

#include "CmdUI.h"
#include "MessageRecorder.h"
#include "PellixDoc.h"
#include "Resource.h"
#include "TempDir.h"
#include "UnwrittenFifo.h"

#include <gtest/gtest.h>

#include <QObject>
#include <memory>

namespace
{

struct DocFixture : testing::Test {
    DocFixture()
    {
        document = std::make_unique<CPellixDoc>();
        // What a tree pane would see: the DOM dropped and the new one shown, in order.
        QObject::connect(document.get(), &CPellixDoc::domAboutToBeReplaced,
                         [this] { shown << "dropped"; });
        QObject::connect(document.get(), &CPellixDoc::domReplaced, [this] {
            const dom::Node root = document->GetXMLDocument().documentElement();
            shown << (root.isNull() ? QStringLiteral("shown:none")
                                    : "shown:" + QString::fromUtf8(root.nodeName()));
            shown << recorder.messages();
        });
        context = document->CreateEditContext(&window);
    }
    bool Open(const std::string &xml)
    {
        path = QString::fromStdString(dir.write("in.xml", xml));
        const bool bOpened = document->OnOpenDocument(path);
        document->SetPathName(path);
        return bOpened;
    }
    // Shows `node` in `pContext` and sets the value of its row nRow, as a cell editor does.
    static void EditValue(CEditContext *pContext, const dom::Node &node, int nRow,
                          const QString &strValue)
    {
        pContext->Fill(node);
        ASSERT_TRUE(pContext->SetValue(nRow, strValue));
    }
    std::string Saved() const { return ReadBytes(path.toStdString()); }

    MessageRecorder recorder;
    TempDir dir;
    QObject window;
    std::unique_ptr<CPellixDoc> document;
    CEditContext *context = nullptr;
    QStringList shown;
    QString path;
};

} // namespace

TEST_F(DocFixture, NewDocumentHoldsTheDeclaration)
{
    ASSERT_TRUE(document->OnNewDocument());
    const dom::Document &dom = document->GetXMLDocument();
    ASSERT_FALSE(dom.isNull());
    EXPECT_EQ(dom.firstChild().nodeName(), "xml");
    EXPECT_EQ(dom.firstChild().nodeValue(), "version=\"1.0\"");
    EXPECT_TRUE(dom.firstChild().nextSibling().isNull());
    EXPECT_EQ(shown, (QStringList{"dropped", "shown:none"}));
    EXPECT_FALSE(document->IsModified());
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(DocFixture, OpenShowsTheDomAfterTheSuccessMessage)
{
    ASSERT_TRUE(Open("<root><x/></root>"));
    EXPECT_EQ(shown, (QStringList{"dropped", "shown:root", "XML document loaded successfully\n"}));
    EXPECT_EQ(document->GetPathName(), path);
    EXPECT_EQ(document->GetTitle(), "in.xml");
}

TEST_F(DocFixture, DocumentTypeMessageComesAfterTheLoadAndBeforeTheTree)
{
    ASSERT_TRUE(Open("<!DOCTYPE root [<!ENTITY e \"x\">]><root>&e;</root>"));
    EXPECT_EQ(shown, (QStringList{"dropped", "shown:root", "XML document loaded successfully\n",
                                  "DTD Reference is not supported in this version!"}));
}

// The declaration is not a row: editing the document item's rows keeps it where it stood.
TEST_F(DocFixture, EditedDocumentRowsKeepTheDocumentTypeDeclaration)
{
    ASSERT_TRUE(Open("<?xml version=\"1.0\"?>\n<!DOCTYPE r [\n<!ATTLIST r lang CDATA \"en\">\n]>\n"
                     "<r/>"));
    EditValue(context, document->GetXMLDocument(), 0, "version=\"1.0\" standalone=\"yes\"");
    context->AppendRow(dom::NODE_COMMENT);
    ASSERT_TRUE(context->SetValue(context->GetRowCount() - 1, "note"));
    ASSERT_TRUE(document->DoFileSave());
    EXPECT_EQ(Saved(), "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n<!--note-->\r\n"
                       "<!DOCTYPE r [\r\n<!ATTLIST r lang CDATA \"en\">\r\n]>\r\n<r></r>\r\n\r\n");
}

TEST_F(DocFixture, FailedLoadKeepsTheNameButNotThePath)
{
    const std::string original = "<root>\n<x>\n</root>";
    ASSERT_TRUE(Open(original));
    ASSERT_EQ(recorder.messages().size(), 1);
    EXPECT_TRUE(recorder.messages().first().startsWith("Error on line 3, position "));
    // A new document's content under the file's name, with no path: Save must ask.
    EXPECT_EQ(shown.mid(0, 2), (QStringList{"dropped", "shown:none"}));
    EXPECT_EQ(document->GetTitle(), "in.xml");
    EXPECT_TRUE(document->GetPathName().isEmpty());
    EXPECT_EQ(document->GetXMLDocument().firstChild().nodeName(), "xml");
    EXPECT_EQ(Saved(), original);

    // A later Save As takes its path normally.
    const QString saved = QString::fromStdString(dir.file("saved.xml"));
    ASSERT_TRUE(document->DoSave(saved));
    EXPECT_EQ(document->GetPathName(), saved);
    EXPECT_EQ(ReadBytes(saved.toStdString()), "<?xml version=\"1.0\"?>\r\n\r\n");
}

TEST_F(DocFixture, EmptyFileOpensWithoutADom)
{
    ASSERT_TRUE(Open(""));
    EXPECT_TRUE(document->GetXMLDocument().isNull());
    EXPECT_TRUE(recorder.messages().isEmpty());
    ASSERT_TRUE(document->SaveXMLDocument(path));
    EXPECT_EQ(Saved(), "");
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
    // The window shows a new document's content.
    EXPECT_EQ(document->GetXMLDocument().firstChild().nodeName(), "xml");
    EXPECT_TRUE(document->GetXMLDocument().documentElement().isNull());
    // The failed URL does not block a later Save As from taking its path.
    const QString saved = QString::fromStdString(dir.file("u.xml"));
    ASSERT_TRUE(document->DoSave(saved));
    EXPECT_EQ(document->GetPathName(), saved);
}

TEST_F(DocFixture, SaveCommitsTheRowsOfEveryWindowFirst)
{
    ASSERT_TRUE(Open("<root a=\"1\"><x b=\"2\"/></root>"));
    recorder.clear();
    QObject secondWindow;
    CEditContext *second = document->CreateEditContext(&secondWindow);
    const dom::Node root = document->GetXMLDocument().documentElement();
    EditValue(context, root, 0, "one");
    EditValue(second, root.firstChild(), 0, "two");
    EXPECT_TRUE(document->IsModified());

    ASSERT_TRUE(document->DoFileSave());
    EXPECT_EQ(Saved(), "<root a=\"one\">\t<x b=\"two\"></x>\r\n</root>\r\n\r\n");
    EXPECT_FALSE(document->IsModified());
    EXPECT_FALSE(context->AreRowsEdited());
    EXPECT_FALSE(second->AreRowsEdited());
    EXPECT_TRUE(recorder.messages().isEmpty());
}

TEST_F(DocFixture, ClosingAsksWhenOnlyRowsWereEdited)
{
    ASSERT_TRUE(Open("<root a=\"1\"/>"));
    const dom::Node root = document->GetXMLDocument().documentElement();
    context->Fill(root);
    // An open cell editor stores its text when the rows are read.
    QObject::connect(context, &CEditContext::aboutToReadRows,
                     [this] { context->SetValue(0, "typed"); });
    ASSERT_FALSE(document->IsModified());
    QStringList prompts;
    const YesNoCancelHandler previous = SetYesNoCancelHandler([&prompts](const QString &text) {
        prompts << text;
        return MessageBoxResult::Cancel;
    });
    EXPECT_FALSE(document->SaveModified());
    SetYesNoCancelHandler(previous);
    EXPECT_EQ(prompts, QStringList{"Save changes to in.xml?"});
    std::string value;
    ASSERT_EQ(root.getAttribute("a", &value), S_OK);
    EXPECT_EQ(value, "typed");
}

TEST_F(DocFixture, RefusedRowsAreReportedAndTheRestIsWritten)
{
    ASSERT_TRUE(Open("<?xml version=\"1.0\"?><root/>"));
    recorder.clear();
    const dom::Document &dom = document->GetXMLDocument();
    // Rows no reader could take back: a reserved target, a broken declaration, a control
    // character. The good rows around them still reach the file.
    context->Fill(dom);
    ASSERT_TRUE(context->SetValue(0, "version=\"1.0\" encoding=\"bad name\""));
    QObject secondWindow;
    CEditContext *second = document->CreateEditContext(&secondWindow);
    second->Fill(dom.documentElement());
    second->InsertRow(0, {dom::NODE_PROCESSING_INSTRUCTION, "XmL", "x"});
    second->InsertRow(1, {dom::NODE_ATTRIBUTE, "ok", "1"});
    second->InsertRow(2, {dom::NODE_ATTRIBUTE, "bad", QStringLiteral("a\x01")});
    second->InsertRow(3, {dom::NODE_COMMENT, "", "fine"});
    ASSERT_TRUE(document->DoFileSave());
    ASSERT_EQ(recorder.messages().size(), 3);
    EXPECT_TRUE(recorder.messages()[0].contains("ProcessInstruction row 1 (\"xml\")"));
    EXPECT_TRUE(recorder.messages()[1].contains("ProcessInstruction row 1 (\"XmL\")"));
    EXPECT_TRUE(recorder.messages()[2].contains("Attribute row 3 (\"bad\")"));
    EXPECT_EQ(Saved(), "<root ok=\"1\">\t<!--fine-->\r\n</root>\r\n\r\n");
}

TEST_F(DocFixture, AfterASaveTheEditedRowsShowWhatTheNodeHoldsAsInEveryWindow)
{
    ASSERT_TRUE(Open("<root a=\"1\" b=\"2\"/>"));
    recorder.clear();
    const dom::Node root = document->GetXMLDocument().documentElement();
    QObject secondWindow;
    CEditContext *second = document->CreateEditContext(&secondWindow);
    second->Fill(root);
    context->Fill(root);
    // An attribute turned into CDATA keeps the name typed for it, and a refused row is typed.
    ASSERT_TRUE(context->SetKind(1, dom::NODE_CDATA_SECTION));
    context->InsertRow(2, {dom::NODE_ATTRIBUTE, "1bad", "x"});
    ASSERT_TRUE(document->DoFileSave());
    EXPECT_EQ(recorder.messages().size(), 1);

    const auto rows = [](const CEditContext *pContext) {
        QStringList texts;
        for (int nRow = 0; nRow < pContext->GetRowCount(); ++nRow) {
            const GridRow *pRow = pContext->GetRow(nRow);
            texts << QStringLiteral("%1 %2=%3").arg(pRow->nKind).arg(pRow->strName, pRow->strValue);
        }
        return texts.join(" | ").toStdString();
    };
    const std::string held = "2 a=1 | 4 #cdata-section=2 | 2 =";
    EXPECT_EQ(rows(context), held);
    EXPECT_EQ(rows(second), held);
    EXPECT_FALSE(context->AreRowsEdited());
    EXPECT_FALSE(document->IsModified());
}

TEST_F(DocFixture, InsertCommandsActOnTheActiveWindowsShownNode)
{
    ASSERT_TRUE(document->OnNewDocument());
    CCmdUI state(ID_INSERT_COMMENT);
    document->OnCmdMsg(ID_INSERT_COMMENT, &state);
    EXPECT_FALSE(state.IsEnabled());
    context->Fill(document->GetXMLDocument());
    CCmdUI enabled(ID_INSERT_COMMENT);
    document->OnCmdMsg(ID_INSERT_COMMENT, &enabled);
    EXPECT_TRUE(enabled.IsEnabled());
    EXPECT_TRUE(document->OnCmdMsg(ID_INSERT_PROCESSINSTRUCTION, nullptr));
    EXPECT_TRUE(document->OnCmdMsg(ID_INSERT_CDATASECTION, nullptr));
    ASSERT_EQ(context->GetRowCount(), 4);
    EXPECT_EQ(context->GetRow(2)->nKind, dom::NODE_PROCESSING_INSTRUCTION);
    EXPECT_EQ(context->GetRow(3)->nKind, dom::NODE_CDATA_SECTION);
    EXPECT_TRUE(document->IsModified());
}

TEST_F(DocFixture, ContextsOfClosedWindowsAreForgotten)
{
    auto closing = std::make_unique<QObject>();
    CEditContext *pClosing = document->CreateEditContext(closing.get());
    document->SetActiveEditContext(pClosing);
    EXPECT_EQ(document->GetEditContexts().size(), 2u);
    closing.reset();
    EXPECT_EQ(document->GetEditContexts(), std::vector<CEditContext *>{context});
    EXPECT_EQ(document->GetActiveEditContext(), nullptr);
    // No active window: the row commands have nowhere to go.
    EXPECT_TRUE(document->OnNewDocument());
    CCmdUI state(ID_INSERT_COMMENT);
    document->OnCmdMsg(ID_INSERT_COMMENT, &state);
    EXPECT_FALSE(state.IsEnabled());
}
