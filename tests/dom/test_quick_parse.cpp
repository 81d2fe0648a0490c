// The quick parser against libxml2's load: what it reads it must build record for record as
// libxml2's load does, however the source splits its bytes; what it declines must reach the
// user exactly as libxml2's load reports it.

#include "Document.h"
#include "LoadComparison.h"
#include "NodeStore.h"
#include "QuickParser.h"
#include "SaxLoader.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace dom;

namespace
{

std::unique_ptr<DocumentStore> LoadWithLibxml2(const std::string &text, bool preserve)
{
    auto store = std::make_unique<DocumentStore>();
    store->preserveWhiteSpace = preserve;
    std::size_t offset = 0;
    ParseIntoStore(*store, ChunkedReader(text, text.size(), offset), text.size());
    return store;
}

std::string Records(int count)
{
    std::string text = "<?xml version=\"1.0\"?>\n<records>\n";
    for (int i = 0; i < count; ++i) {
        text += "\t<record id=\"" + std::to_string(i) + "\" type=\"t" + std::to_string(i % 5) +
                "\">\r\n\t\t<name>Record &amp; number " + std::to_string(i) +
                " \xC3\xA9</name>\n\t\t<!-- batch " + std::to_string(i / 100) +
                " --><note><![CDATA[<raw>]]></note>\n\t</record>\n";
    }
    return text + "</records>\n";
}

TEST(QuickParse, BuildsTheRecordsLibxml2sLoadBuildsHoweverTheSourceSplitsIt)
{
    std::string deep;
    for (int i = 0; i < 3000; ++i)
        deep += "<d>" + std::to_string(i % 10);
    for (int i = 0; i < 3000; ++i)
        deep += "</d>";
    const std::vector<std::string> documents = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<!-- c\r\nx --><a>t</a>",
        "\xEF\xBB\xBF<?xml version='1.0'  encoding = 'utf-8' ?>\n<a/>\n<!--after-->\n",
        "<?xml\tversion=\"1.0\"\r\n?><a/>",
        "<a x=\"a\tb\r\nc\rd&#10;e&#x9;f &lt;&amp;&gt;&quot;&apos;\" y='\"' "
        "z=\"\xC3\xA9\xE2\x82\xAC"
        "\xF0\x9F\x98\x80\" w=\"&#xFFFD;&#65;\"/>",
        "<a>one\r\ntwo\rthree &amp; &#233;&#x1F600; ]] ] >x\xC2\x85\x7F</a>",
        "<a>\n  <b xml:space=\"preserve\">  <c>  </c> </b>\n <d xml:space=\"default\"> </d>"
        "<e xml:space=\"other\"> <f xml:space='preserve'>\t</f></e></a>",
        "<r xmlns=\"urn:d\" xmlns:p=\"urn:p\" p:x=\"1\" x=\"2\"><p:c xml:lang=\"en\" p:y=\"3\"/>"
        "<q:e a='1' xmlns:q=\"urn:q\" q:b='2'/><p:f xmlns:p='urn:other' xmlns=''/></r>",
        "<?pi data ?>\n<?pi2?><a><?t?><?u   ?><?v \r\n x\r?><![CDATA[x]]y]]]><![CDATA[]]>"
        "<![CDATA[\r\n]]>text<!----></a><?after x?>",
        "<a>x<!--c-->y<b/>z&#32;</a>",
        "<a-b.c_d1 e-f=\"1\" _g='' h = \"2\"  i=\"3\"\n/>",
        // Names of 8 and 16 bytes, and longer ones alike at both ends.
        "<abcdefgh><abcdefghijklmnop a-long_name_one.x='1' a-long_name_two.x='2'/></abcdefgh>",
        "<r><abcdefgh_X_ijklmnop/><abcdefgh_Y_ijklmnop></abcdefgh_Y_ijklmnop></r>",
        "<a>\xE4\xB8\xAD\xE6\x96\x87 <!-- \xE2\x80\x94 --><?pi \xF0\x90\x80\x80?></a>",
        "<a><b></b ><c\n></c\t><?xml-stylesheet href='x'?></a>",
        deep,
        Records(12000),
    };
    for (const std::string &text : documents) {
        for (const bool preserve : {false, true}) {
            const std::unique_ptr<DocumentStore> expected = LoadWithLibxml2(text, preserve);
            ASSERT_EQ(expected->parseError.errorCode, 0)
                << expected->parseError.reason << " in " << text.substr(0, 200);
            for (const std::size_t chunk :
                 {std::size_t{1} << 30, std::size_t{4099}, std::size_t{1}}) {
                if (chunk == 1 && text.size() > 100000)
                    continue; // each byte a read would take long on the big document
                DocumentStore store;
                store.preserveWhiteSpace = preserve;
                std::size_t offset = 0;
                const QuickParse result =
                    QuickParseIntoStore(store, ChunkedReader(text, chunk, offset), text.size());
                ASSERT_EQ(result, QuickParse::Loaded)
                    << "read " << chunk << " at a time: " << text.substr(0, 200);
                EXPECT_EQ(StoreDifference(store, *expected), "")
                    << "read " << chunk << " at a time, preserve " << preserve << ": "
                    << text.substr(0, 200);
            }
        }
    }
}

TEST(QuickParse, WhatItDeclinesLoadsAsLibxml2sLoadHasIt)
{
    const std::vector<std::string> documents = {
        // Not for the quick parser, and good.
        "<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>",
        std::string("\xFF\xFE<\0a\0/\0>\0", 10),
        "<?xml version=\"1.1\"?><a/>",
        "<a>&#0000000065;</a>",
        "<p:a xmlns:p='urn:p' xmlns:q='urn:p' p:x='1' q:x='2'/>",
        "<a:b:c/>",
        "<\xC3\xA9l\xC3\xA9ment/>",
        "<?pi:x data?><a/>",
        // Faults, each with libxml2's message.
        "<a>&undeclared;</a>",
        "<p:a/>",
        "<a xmlns:p=''/>",
        "<a x='1' x='2'/>",
        "<a>]]></a>",
        "<a><!-- a -- b --></a>",
        "<a>\x01</a>",
        "<a>\xC3</a>",
        "<a>\xED\xA0\x80</a>",
        "<a>&#xD800;</a>",
        "<a b='<'/>",
        "<a></b>",
        "<abcdefgh_X_ijklmnop></abcdefgh_Y_ijklmnop>",
        "<abcdefgh></abcdefg>",
        "<a/><b/>",
        "<a/>text",
        "",
        "<a>",
        "<a><?xml version='1.0'?></a>",
        "<?xml version='1.0'?>\n<a>x</a>\n<![CDATA[x]]>",
        " <?xml version='1.0'?><a/>",
    };
    for (const std::string &text : documents) {
        DocumentStore quick;
        std::size_t offset = 0;
        EXPECT_EQ(QuickParseIntoStore(quick, ChunkedReader(text, 3, offset), text.size()),
                  QuickParse::Declined)
            << text;
        EXPECT_EQ(quick.nodeCount(), DocumentStore().nodeCount()) << "left nodes: " << text;

        const std::unique_ptr<DocumentStore> expected = LoadWithLibxml2(text, false);
        Document document = Document::create();
        const HRESULT result = document.loadXML(text);
        EXPECT_EQ(result, expected->parseError.errorCode) << text;
        EXPECT_EQ(document.parseError().reason, expected->parseError.reason) << text;
        EXPECT_EQ(document.parseError().line, expected->parseError.line) << text;
        if (result == S_OK) {
            const NodeRecord &first = expected->at(expected->at(1).children.first);
            EXPECT_EQ(document.firstChild().nodeName(), expected->name(first.name)) << text;
        }
    }
}

TEST(QuickParse, AFileDeclinedLateIsReadAgainFromItsStart)
{
    // The fault comes after several buffers' worth of good records.
    TempDir dir;
    std::string text = Records(20000);
    text.insert(text.size() - 12, "<broken>");
    const std::string path = dir.write("late.xml", text);
    const std::unique_ptr<DocumentStore> expected = LoadWithLibxml2(text, false);
    ASSERT_NE(expected->parseError.errorCode, 0);
    Document document = Document::create();
    EXPECT_EQ(document.load(path), expected->parseError.errorCode);
    EXPECT_EQ(document.parseError().reason, expected->parseError.reason);
    EXPECT_EQ(document.parseError().line, expected->parseError.line);
    EXPECT_GT(document.parseError().line, 70000);

    // And a good file of the same size loads whole.
    const std::string good = dir.write("good.xml", Records(20000));
    EXPECT_EQ(document.load(good), S_OK);
    int records = 0;
    for (Node child = document.documentElement().firstChild(); child; child = child.nextSibling())
        records += child.nodeName() == "record" ? 1 : 0;
    EXPECT_EQ(records, 20000);
}

TEST(QuickParse, ACancelLeavesTheStoreAsItWas)
{
    const std::string text = Records(20000);
    DocumentStore store;
    std::size_t offset = 0;
    std::uint64_t reported = 0;
    const LoadProgress stopHalfway = [&](std::uint64_t done, std::uint64_t total) {
        EXPECT_EQ(total, text.size());
        reported = done;
        return done < total / 2;
    };
    EXPECT_EQ(
        QuickParseIntoStore(store, ChunkedReader(text, 65536, offset), text.size(), stopHalfway),
        QuickParse::Stopped);
    EXPECT_EQ(store.parseError.errorCode, DOM_E_CANCELLED);
    EXPECT_GE(reported, text.size() / 2);
    EXPECT_LT(reported, text.size());
    EXPECT_EQ(store.nodeCount(), DocumentStore().nodeCount());
    EXPECT_EQ(store.at(store.documentNode()).children.first, kNoNode);
}

} // namespace
