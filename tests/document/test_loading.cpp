// Loading with the messages the user sees.

#include "Loading.h"
#include "MessageRecorder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

TEST(Loading, SuccessShowsTheMessageOnce)
{
    MessageRecorder recorder;
    TempDir dir;
    dom::Document doc = dom::Document::create();
    EXPECT_EQ(LoadDOM(doc, QString::fromStdString(dir.write("ok.xml", "<a><b/></a>"))), 0);
    EXPECT_EQ(recorder.messages(), QStringList{"XML document loaded successfully\n"});
    EXPECT_EQ(doc.documentElement().firstChild().nodeName(), "b");
}

TEST(Loading, SyntaxErrorNamesLineAndPosition)
{
    MessageRecorder recorder;
    TempDir dir;
    const std::string path = dir.write("bad.xml", "<a>\n  <b>\n  <c x='1'>\n</a>\n");
    dom::Document doc = dom::Document::create();
    const HRESULT result = LoadDOM(doc, QString::fromStdString(path));
    EXPECT_NE(result, 0);
    EXPECT_EQ(result, doc.parseError().errorCode);
    ASSERT_EQ(recorder.messages().size(), 1);
    const QString message = recorder.messages().first();
    const QString expectedStart = QString("Error on line %1, position %2 \n")
                                      .arg(doc.parseError().line)
                                      .arg(doc.parseError().linepos);
    EXPECT_TRUE(message.startsWith(expectedStart)) << message.toStdString();
    EXPECT_TRUE(message.endsWith(QString::fromStdString(doc.parseError().reason)));
    EXPECT_GE(doc.parseError().line, 4);
}

// A failure without a line number is reported too: the source could not be read.
TEST(Loading, UnreadableSourceSaysWhy)
{
    MessageRecorder recorder;
    dom::Document doc = dom::Document::create();
    EXPECT_NE(LoadDOM(doc, "/definitely/not/here.xml"), 0);
    EXPECT_EQ(recorder.messages(),
              QStringList{"Cannot open /definitely/not/here.xml:\nNo such file or directory"});
    EXPECT_EQ(doc.parseError().line, 0);

    EXPECT_EQ(LoadDOM(dom::Document(), "x.xml"), E_POINTER);
}

TEST(Loading, DocumentTypeLoadsWithTheRest)
{
    MessageRecorder recorder;
    dom::Document doc = dom::Document::create();
    ASSERT_EQ(LoadDOM(doc, PELLIX_SAMPLES_DIR "/doctype.xml"), 0);
    EXPECT_EQ(recorder.messages(), QStringList{"XML document loaded successfully\n"});
    EXPECT_EQ(doc.firstChild().nextSibling().nodeType(), dom::NODE_DOCUMENT_TYPE);
    EXPECT_EQ(doc.firstChild().nextSibling().nodeName(), "note");
    const dom::Node from = doc.documentElement().firstChild();
    EXPECT_EQ(from.firstChild().nodeValue(), "Jani & Co");
}
