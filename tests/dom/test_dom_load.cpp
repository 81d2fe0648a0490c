// Loading XML into the node store: what becomes nodes, what is refused, and big inputs.

#include "Document.h"
#include "LocalHttpServer.h"
#include "NodeStore.h"
#include "SaxLoader.h"
#include "TempDir.h"
#include "UnwrittenFifo.h"
#include "UrlFetch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>
#include <string>
#include <vector>

using dom::Document;
using dom::Node;

namespace
{

Document load(const std::string &text)
{
    Document doc = Document::create();
    doc.loadXML(text);
    return doc;
}

std::vector<std::string> kindsAndNames(const Node &parent)
{
    std::vector<std::string> out;
    for (Node c = parent.firstChild(); c; c = c.nextSibling())
        out.push_back(std::to_string(c.nodeType()) + ":" + std::string(c.nodeName()));
    return out;
}

// UTF-16 little-endian with a byte-order mark, from Latin-1 text.
std::string utf16(const std::string &latin1)
{
    std::string out = "\xFF\xFE";
    for (char c : latin1) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

} // namespace

TEST(DomLoad, DocumentStructureAndDeclaration)
{
    const Document doc = load("<?xml version='1.0' encoding='utf-8' ?>\n"
                              "<?pi some data?>\n<!-- top -->\n"
                              "<r a=\"1\" b='2'><![CDATA[<x>]]>text<e/><?p?><!--c--></r>\n");
    ASSERT_EQ(doc.parseError().errorCode, 0) << doc.parseError().reason;
    EXPECT_EQ(kindsAndNames(doc), (std::vector<std::string>{"7:xml", "7:pi", "8:#comment", "1:r"}));
    // The declaration's data is kept as the file wrote it.
    EXPECT_EQ(doc.firstChild().nodeValue(), "version='1.0' encoding='utf-8'");
    EXPECT_EQ(doc.firstChild().nextSibling().nodeValue(), "some data");
    const Node r = doc.documentElement();
    EXPECT_EQ(kindsAndNames(r), (std::vector<std::string>{"4:#cdata-section", "3:#text", "1:e",
                                                          "7:p", "8:#comment"}));
    EXPECT_EQ(r.firstChild().nodeValue(), "<x>");
    EXPECT_EQ(r.attributes().item(0).nodeValue(), "1");
    EXPECT_EQ(r.attributes().item(1).nodeName(), "b");
    EXPECT_EQ(r.lastChild().previousSibling().nodeValue(), "");

    // No declaration in the file: none in the DOM.
    EXPECT_EQ(kindsAndNames(load("<a/>")), (std::vector<std::string>{"1:a"}));

    // Line ends inside the declaration come through as the parser gives them elsewhere.
    EXPECT_EQ(load("<?xml version=\"1.0\"\r\nencoding=\"UTF-8\"\r?><a/>").firstChild().nodeValue(),
              "version=\"1.0\"\nencoding=\"UTF-8\"");
}

TEST(DomLoad, WhiteSpaceOnlyTextIsDroppedUnlessPreserved)
{
    const Document doc = load("<r>\n  <a> x </a>\n  <b>  </b>\n"
                              "  <p xml:space=\"preserve\"> <q>  </q>"
                              "<s xml:space=\"default\"> </s></p>\n</r>");
    ASSERT_EQ(doc.parseError().errorCode, 0);
    const Node r = doc.documentElement();
    EXPECT_EQ(kindsAndNames(r), (std::vector<std::string>{"1:a", "1:b", "1:p"}));
    EXPECT_EQ(r.firstChild().firstChild().nodeValue(), " x "); // other text kept exactly
    EXPECT_FALSE(r.firstChild().nextSibling().hasChildNodes());
    const Node p = r.lastChild();
    EXPECT_EQ(kindsAndNames(p), (std::vector<std::string>{"3:#text", "1:q", "1:s"}));
    EXPECT_EQ(p.firstChild().nextSibling().firstChild().nodeValue(), "  ");
    EXPECT_FALSE(p.lastChild().hasChildNodes());

    Document keep = Document::create();
    keep.setPreserveWhiteSpace(true);
    keep.loadXML("<r> <a/> </r>");
    EXPECT_EQ(kindsAndNames(keep.documentElement()),
              (std::vector<std::string>{"3:#text", "1:a", "3:#text"}));
}

TEST(DomLoad, EntitiesAndReferencesAreExpanded)
{
    const Document doc = load("<!DOCTYPE r [<!ENTITY who \"World\"><!ENTITY tag \"<b>bold</b>\">]>"
                              "<r t=\"&who;&amp;&#65;\">Hello &who; &lt;&#x263A;&gt; &tag;</r>");
    ASSERT_EQ(doc.parseError().errorCode, 0) << doc.parseError().reason;
    EXPECT_EQ(kindsAndNames(doc), (std::vector<std::string>{"10:r", "1:r"}));
    const Node r = doc.documentElement();
    EXPECT_EQ(r.attributes().item(0).nodeValue(), "World&A");
    EXPECT_EQ(kindsAndNames(r), (std::vector<std::string>{"3:#text", "1:b"}));
    EXPECT_EQ(r.firstChild().nodeValue(), "Hello World <\xE2\x98\xBA> ");
    EXPECT_EQ(r.lastChild().firstChild().nodeValue(), "bold");
}

// The declaration is kept as the file wrote it (in UTF-8, line ends as XML reads them), in its
// place among the document's children, so that it can be written back.
TEST(DomLoad, DocumentTypeDeclarationIsKeptAsWritten)
{
    const std::string declaration = "<!DOCTYPE e PUBLIC \"-//x//y\" \"e.dtd\" [\r\n"
                                    "<!ATTLIST e lang CDATA \"en\">\r\n]>";
    const std::string expected =
        "<!DOCTYPE e PUBLIC \"-//x//y\" \"e.dtd\" [\n<!ATTLIST e lang CDATA \"en\">\n]>";
    const Document doc = load("<?xml version=\"1.0\"?>\r\n<!-- c -->\r\n<?p?>  \r" + declaration +
                              "\r\n<!-- after -->\r\n<e/>");
    ASSERT_EQ(doc.parseError().errorCode, 0) << doc.parseError().reason;
    EXPECT_EQ(kindsAndNames(doc), (std::vector<std::string>{"7:xml", "8:#comment", "7:p", "10:e",
                                                            "8:#comment", "1:e"}));
    const Node doctype = doc.documentElement().previousSibling().previousSibling();
    EXPECT_EQ(doctype.nodeValue(), expected);
    EXPECT_EQ(doctype.view().nodeValue(), expected);
    EXPECT_EQ(doctype.cloneNode(true).nodeValue(), expected);
    // The DTD's default for lang is not written into the element.
    EXPECT_EQ(doc.documentElement().attributes().length(), 0);

    // Other encodings become UTF-8; markup-like text inside the subset is only text.
    const std::string latin1 = "<!DOCTYPE r SYSTEM 'caf\xE9.dtd' [<!ENTITY e 'caf\xE9 ]>'>"
                               "<!-- ]> --><?p ]>?>\r]>";
    const std::string inUtf8 = "<!DOCTYPE r SYSTEM 'caf\xC3\xA9.dtd' [<!ENTITY e 'caf\xC3\xA9 ]>'>"
                               "<!-- ]> --><?p ]>?>\n]>";
    for (const std::string &text :
         {"<?xml version='1.0' encoding='ISO-8859-1'?>" + latin1 + "<r>&e;</r>",
          utf16("<?xml version='1.0' encoding='UTF-16'?>" + latin1 + "<r>&e;</r>"),
          "\xEF\xBB\xBF" + inUtf8 + "<r>&e;</r>"}) {
        const Document other = load(text);
        ASSERT_EQ(other.parseError().errorCode, 0) << other.parseError().reason;
        EXPECT_EQ(other.firstChild().nodeType() == dom::NODE_DOCUMENT_TYPE
                      ? other.firstChild().nodeValue()
                      : other.firstChild().nextSibling().nodeValue(),
                  inUtf8);
        EXPECT_EQ(other.documentElement().firstChild().nodeValue(), "caf\xC3\xA9 ]>");
    }

    // A subset far larger than the parser's buffers, in UTF-8 and UTF-16.
    std::string subset;
    for (int i = 0; i < 5000; ++i)
        subset += "<!ENTITY e" + std::to_string(i) + " 'value \xE9 " + std::to_string(i) + "'>\r\n";
    std::string subsetUtf8;
    for (char c : subset) {
        if (c == '\xE9')
            subsetUtf8 += "\xC3\xA9";
        else if (c != '\r')
            subsetUtf8 += c;
    }
    for (const std::string &text :
         {"<?xml version='1.0' encoding='ISO-8859-1'?><!DOCTYPE big [" + subset + "]><big/>",
          utf16("<!DOCTYPE big [" + subset + "]><big/>")}) {
        const Document big = load(text);
        ASSERT_EQ(big.parseError().errorCode, 0) << big.parseError().reason;
        Node first = big.firstChild();
        if (first.nodeType() != dom::NODE_DOCUMENT_TYPE)
            first = first.nextSibling();
        EXPECT_TRUE(first.nodeValue() == "<!DOCTYPE big [" + subsetUtf8 + "]>"); // 150 KB
    }
}

// libxml2 reads "<!DOCTYPEr" as a declaration of r; the file is not XML, and written back as
// read no other reader (nor Pellix's writer) would take it.
TEST(DomLoad, ADocumentTypeWithoutWhiteSpaceAfterDoctypeRefusesTheLoad)
{
    const Document glued = load("<?xml version=\"1.0\"?>\n<!DOCTYPEte [<!ENTITY s \"J\">\n]>\n"
                                "<note>&s;</note>\n");
    EXPECT_NE(glued.parseError().errorCode, 0);
    EXPECT_GT(glued.parseError().line, 0); // a place in the file, not an unreadable source
    EXPECT_NE(glued.parseError().reason.find("<!DOCTYPE"), std::string::npos)
        << glued.parseError().reason;
    EXPECT_FALSE(glued.hasChildNodes());
    for (const char *separator : {" ", "\n", "\t", "\r\n"}) {
        const Document spaced = load(std::string("<!DOCTYPE") + separator + "te><te/>");
        EXPECT_EQ(spaced.parseError().errorCode, 0) << spaced.parseError().reason;
        EXPECT_EQ(spaced.firstChild().nodeName(), "te");
    }
}

// libxml2 reports these declarations and goes on without them; the attribute must not vanish
// from a load that says it succeeded.
TEST(DomLoad, ANamespaceDeclarationTheParserLeavesOutRefusesTheLoad)
{
    for (const char *text : {"<r xmlns:p=\"\"><p:e/></r>", "<r xmlns:xmlns=\"urn:x\"/>",
                             "<r>\n<e xmlns=\"http://www.w3.org/XML/1998/namespace\"/></r>",
                             "<a xmlns:0=\"\"/>", "<a xmlns:0=\"urn:x\" b=\"1\"/>"}) {
        const Document doc = load(text);
        EXPECT_NE(doc.parseError().errorCode, 0) << text;
        EXPECT_GT(doc.parseError().line, 0) << text;
        EXPECT_FALSE(doc.hasChildNodes()) << text;
    }
    // An undeclared prefix loses nothing: the name is kept as written.
    const Document undeclared = load("<p:e q:a=\"1\"/>");
    EXPECT_EQ(undeclared.parseError().errorCode, 0) << undeclared.parseError().reason;
    EXPECT_EQ(undeclared.documentElement().nodeName(), "p:e");
}

TEST(DomLoad, NamespaceDeclarationsAreAttributes)
{
    const Document doc =
        load("<p:r xmlns:p=\"urn:p\" xmlns=\"urn:d\" p:a=\"1\" b=\"2\"><p:c/><d/></p:r>");
    ASSERT_EQ(doc.parseError().errorCode, 0);
    const Node r = doc.documentElement();
    EXPECT_EQ(r.nodeName(), "p:r");
    std::vector<std::string> names;
    dom::AttributeMap map = r.attributes();
    for (Node a = map.nextNode(); a; a = map.nextNode())
        names.push_back(std::string(a.nodeName()) + "=" + std::string(a.nodeValue()));
    EXPECT_EQ(names, (std::vector<std::string>{"xmlns:p=urn:p", "xmlns=urn:d", "p:a=1", "b=2"}));
    EXPECT_EQ(kindsAndNames(r), (std::vector<std::string>{"1:p:c", "1:d"}));
}

TEST(DomLoad, ParseErrorsGiveLineAndPosition)
{
    Document doc = Document::create();
    const HRESULT result = doc.loadXML("<a>\n<b>\n<c></b>\n</a>\n", "memory.xml");
    EXPECT_NE(result, 0);
    const dom::ParseError &error = doc.parseError();
    EXPECT_NE(error.errorCode, 0);
    // <c> is left open on line 3: the error stands just after the end tag that does not match.
    EXPECT_EQ(error.line, 3);
    EXPECT_EQ(error.linepos, 8);
    EXPECT_EQ(error.reason, "Opening and ending tag mismatch: c line 3 and b\n");
    EXPECT_EQ(error.url, "memory.xml");
    EXPECT_FALSE(doc.hasChildNodes()); // a failed load leaves nothing half-built

    // From a file with CR LF line ends, counted as one line end each.
    TempDir dir;
    const std::string path = dir.write("open.xml", "<r>\r\n<a>\r\n  <b>text</a>\r\n</r>");
    EXPECT_NE(doc.load(path), S_OK);
    EXPECT_EQ(doc.parseError().line, 3);
    EXPECT_EQ(doc.parseError().linepos, 14);

    // A later good load on the same document clears the error.
    EXPECT_EQ(doc.loadXML("<ok/>"), S_OK);
    EXPECT_EQ(doc.parseError().errorCode, 0);
    EXPECT_EQ(doc.documentElement().nodeName(), "ok");
}

// A source that cannot be read fails at once with line 0 and what the system said.
TEST(DomLoad, UnreadableSourcesSayWhyWithoutALine)
{
    Document doc = Document::create();
    EXPECT_EQ(doc.load("/no/such/file.xml"), DOM_E_RESOURCE_NOT_FOUND);
    EXPECT_EQ(doc.parseError().line, 0);
    EXPECT_EQ(doc.parseError().reason, "No such file or directory\n");
    EXPECT_EQ(doc.parseError().url, "/no/such/file.xml");

    TempDir dir;
    EXPECT_EQ(doc.load(dir.path().string()), DOM_E_RESOURCE_NOT_FOUND);
    EXPECT_EQ(doc.parseError().reason, "It is a folder.\n");

    // Only regular files are read: a FIFO with no writer would block, a device reads as
    // nothing or forever.
    const UnwrittenFifo fifo(dir.file("fifo"));
    for (const std::string &path :
         {fifo.path(), std::string("/dev/null"), std::string("/dev/zero")}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(doc.load(path), DOM_E_RESOURCE_NOT_FOUND) << path;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << path;
        EXPECT_EQ(doc.parseError().line, 0) << path;
        EXPECT_EQ(doc.parseError().reason, "It is not a regular file.\n") << path;
    }

    const std::string refused =
        "http://127.0.0.1:" + std::to_string(LocalHttpServer::ClosedPort()) + "/x.xml";
    EXPECT_EQ(doc.load(refused), DOM_E_RESOURCE_NOT_FOUND);
    EXPECT_EQ(doc.parseError().line, 0);
    EXPECT_EQ(doc.parseError().reason, "Could not connect to server\n");
}

TEST(DomLoad, FileAndHttpUrls)
{
    TempDir dir;
    const std::string path = dir.write("my file.xml", "<fromfile/>");
    Document doc = Document::create();
    ASSERT_EQ(doc.load("file://" + dir.path().string() + "/my%20file.xml"), S_OK);
    EXPECT_EQ(doc.documentElement().nodeName(), "fromfile");

    LocalHttpServer server("<?xml version=\"1.0\"?><served n=\"1\"/>");
    ASSERT_EQ(doc.load(server.url()), S_OK) << doc.parseError().reason;
    EXPECT_EQ(doc.documentElement().nodeName(), "served");
    EXPECT_EQ(doc.parseError().url, server.url());

    LocalHttpServer missing("not here", "404 Not Found");
    EXPECT_EQ(doc.load(missing.url()), DOM_E_RESOURCE_NOT_FOUND);
    EXPECT_EQ(doc.parseError().line, 0);
    EXPECT_EQ(doc.parseError().reason, "HTTP 404 Not Found\n");
    EXPECT_FALSE(doc.hasChildNodes());
}

TEST(DomLoad, EncodingsBecomeUtf8)
{
    Document latin =
        load(std::string("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xE9</a>"));
    ASSERT_EQ(latin.parseError().errorCode, 0) << latin.parseError().reason;
    EXPECT_EQ(latin.documentElement().firstChild().nodeValue(), "caf\xC3\xA9");
    EXPECT_EQ(latin.firstChild().nodeValue(), "version=\"1.0\" encoding=\"ISO-8859-1\"");

    Document wide = load(utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><u>x</u>"));
    ASSERT_EQ(wide.parseError().errorCode, 0) << wide.parseError().reason;
    EXPECT_EQ(wide.firstChild().nodeValue(), "version=\"1.0\" encoding=\"UTF-16\"");
    EXPECT_EQ(wide.documentElement().nodeName(), "u");
}

TEST(DomLoad, NothingExternalIsFetchedAndAReferenceToItRefusesTheLoad)
{
    TempDir dir;
    const std::string secret = dir.write("secret.txt", "SECRET");
    LocalHttpServer server("<!ENTITY remote \"REMOTE\">");
    const std::string text =
        "<!DOCTYPE r SYSTEM \"" + server.url("/dtd") + "\" [<!ENTITY file SYSTEM \"file://" +
        secret + "\"><!ENTITY % ext SYSTEM \"" + server.url("/pe") + "\"> %ext;]>\n<r>&file;</r>";
    Document doc = load(text);
    EXPECT_NE(doc.parseError().errorCode, 0);
    EXPECT_EQ(doc.parseError().line, 2);
    EXPECT_NE(doc.parseError().reason.find("'file'"), std::string::npos) << doc.parseError().reason;
    EXPECT_FALSE(doc.hasChildNodes());
    EXPECT_EQ(server.requests(), 0);
}

// With an external DTD (never read) an undeclared reference is only a warning to libxml2; the
// content would silently lose it, so the load fails instead.
TEST(DomLoad, UndeclaredEntitiesRefuseTheLoad)
{
    const std::string xhtml = "<!DOCTYPE r SYSTEM \"x.dtd\">\n";
    for (const std::string body :
         {"<r>a&nbsp;b</r>", "<r t='a&nbsp;b'/>",
          "<!DOCTYPE r SYSTEM 'x.dtd' [<!ENTITY e 'x&nbsp;y'>]><r>a&e;</r>"}) {
        const std::string text = body.starts_with("<!") ? body : xhtml + body;
        Document doc = load(text);
        EXPECT_NE(doc.parseError().errorCode, 0) << text;
        EXPECT_EQ(doc.parseError().reason, "Entity 'nbsp' not defined\n") << text;
        EXPECT_GT(doc.parseError().line, 0) << text;
        EXPECT_FALSE(doc.hasChildNodes()) << text;
    }
    Document plain = load(xhtml + "<r>\n  a&nbsp;b</r>");
    EXPECT_EQ(plain.parseError().line, 3);
    EXPECT_EQ(plain.parseError().linepos, 10);

    // What the document declares, the predefined entities and character references still work.
    Document declared = load("<!DOCTYPE r SYSTEM 'x.dtd' [<!ENTITY nbsp '&#160;'>]>"
                             "<r t='&nbsp;'>&nbsp;&amp;&#65;</r>");
    ASSERT_EQ(declared.parseError().errorCode, 0) << declared.parseError().reason;
    EXPECT_EQ(declared.documentElement().firstChild().nodeValue(), "\xC2\xA0&A");
    EXPECT_EQ(declared.documentElement().attributes().item(0).nodeValue(), "\xC2\xA0");
}

TEST(DomLoad, EntityExpansionIsBounded)
{
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        bomb += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k)
            bomb += "&lol" + (i == 1 ? std::string() : std::to_string(i - 1)) + ";";
        bomb += "\">";
    }
    bomb += "]><lolz>&lol9;</lolz>";
    const auto start = std::chrono::steady_clock::now();
    Document doc = load(bomb);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    EXPECT_NE(doc.parseError().errorCode, 0);
    EXPECT_LT(seconds.count(), 5.0);
    EXPECT_LT(doc.memoryUsed(), std::size_t{200} << 20);
}

// Nothing may be thrown through libxml2's frames: a source that runs out of memory half-way is
// a failed load without a line.
TEST(DomLoad, MemoryExhaustionIsAFailedLoadAndAFailedLoadGivesItsMemoryBack)
{
    dom::DocumentStore store;
    int reads = 0;
    const dom::SourceRead read = [&reads](char *buffer, int size) {
        if (++reads > 1)
            throw std::bad_alloc();
        const std::string_view head = "<r><a/>";
        EXPECT_GE(size, static_cast<int>(head.size()));
        std::memcpy(buffer, head.data(), head.size());
        return static_cast<int>(head.size());
    };
    EXPECT_EQ(dom::ParseIntoStore(store, read, 0), E_OUTOFMEMORY);
    EXPECT_EQ(store.parseError.errorCode, E_OUTOFMEMORY);
    EXPECT_EQ(store.parseError.line, 0);
    EXPECT_EQ(store.parseError.reason, "Not enough memory to load the document.\n");

    // A failed load gives back the nodes and text it made before it reports.
    Document doc = Document::create();
    ASSERT_EQ(doc.loadXML("<kept>value</kept>"), S_OK);
    const Node kept = doc.documentElement();
    const std::size_t nodes = doc.nodeCount();
    const std::size_t bytes = doc.memoryUsed();
    std::string text = "<r>";
    for (int i = 0; i < 100000; ++i)
        text += "<a>text " + std::to_string(i) + "</a>";
    EXPECT_NE(doc.loadXML(text + "<oops"), S_OK);
    EXPECT_EQ(doc.nodeCount(), nodes);
    EXPECT_LT(doc.memoryUsed(), bytes + 1024);         // only the new names stay
    EXPECT_EQ(kept.firstChild().nodeValue(), "value"); // older nodes are untouched
    ASSERT_EQ(doc.loadXML("<again a='1'>t</again>"), S_OK);
    EXPECT_EQ(doc.documentElement().firstChild().nodeValue(), "t");
    EXPECT_EQ(doc.documentElement().attributes().item(0).nodeValue(), "1");
}

TEST(DomLoad, BigTextAndDeepNesting)
{
    std::string big = "<r>";
    big.append(12 * 1000 * 1000, 'x');
    big += "&amp;</r>";
    Document doc = load(big);
    ASSERT_EQ(doc.parseError().errorCode, 0) << doc.parseError().reason;
    EXPECT_EQ(doc.documentElement().firstChild().nodeValue().size(), 12u * 1000 * 1000 + 1);

    for (int depth : {1000, 20000}) {
        std::string deep;
        for (int i = 0; i < depth; ++i)
            deep += "<d>";
        deep += "bottom";
        for (int i = 0; i < depth; ++i)
            deep += "</d>";
        Document nested = load(deep);
        ASSERT_EQ(nested.parseError().errorCode, 0) << depth << ": " << nested.parseError().reason;
        Node walk = nested.documentElement();
        int levels = 1;
        while (walk.firstChild().nodeType() == dom::NODE_ELEMENT) {
            walk = walk.firstChild();
            ++levels;
        }
        EXPECT_EQ(levels, depth);
        EXPECT_EQ(walk.firstChild().nodeValue(), "bottom");
    }
}

namespace
{
std::string elementWithAttributes(int count)
{
    std::string text = "<?xml version=\"1.0\"?>\n<root>\n<e";
    for (int i = 0; i < count; ++i)
        text += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    return text + "/>\n</root>\n";
}
} // namespace

// libxml2 checks every attribute of an element against every other: half a million attributes
// took minutes. Such an element is refused while it is being read.
TEST(DomLoad, ElementsWithTooManyAttributesAreRefusedQuickly)
{
    const int limit = dom::kMaxAttributesPerElement;
    Document below = load(elementWithAttributes(limit - 1));
    ASSERT_EQ(below.parseError().errorCode, 0) << below.parseError().reason;
    const dom::AttributeMap attributes = below.documentElement().firstChild().attributes();
    ASSERT_EQ(attributes.length(), limit - 1);
    EXPECT_EQ(attributes.item(limit - 2).nodeValue(), std::to_string(limit - 2));

    for (const int count : {limit, 300000}) {
        const auto start = std::chrono::steady_clock::now();
        Document refused = load(elementWithAttributes(count));
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(refused.parseError().errorCode, DOM_E_TOO_MANY_ATTRIBUTES) << count;
        EXPECT_EQ(refused.parseError().line, 3) << count;
        EXPECT_EQ(refused.parseError().reason,
                  "An element has 20000 attributes or more; such documents are not opened.\n");
        EXPECT_TRUE(refused.firstChild().isNull()) << count;
        EXPECT_LT(seconds.count(), 3.0) << count;
    }
}

// Short values that repeat share one copy; each node still reads its own value, a change to one
// leaves the others alone, and a store past several pages reads back whole.
TEST(DomLoad, RepeatedValuesAreSharedButEachNodeKeepsItsOwn)
{
    const int records = 150000; // three pages of nodes and more
    // Twenty characters each: the same few, or a different one for every record.
    const auto catalog = [records](bool repeated) {
        std::string text = "<r>";
        for (int i = 0; i < records; ++i) {
            std::string status = std::to_string(repeated ? i % 3 : i);
            status = "status-" + std::string(13 - status.size(), '0') + status;
            text += "<a id=\"" + std::to_string(i) + "\" status=\"" + status + "\">" +
                    std::to_string(i % 7) + "</a>";
        }
        return text + "</r>";
    };
    Document doc = load(catalog(true));
    ASSERT_EQ(doc.parseError().errorCode, 0) << doc.parseError().reason;
    int checked = 0;
    Node first;
    for (Node a = doc.documentElement().firstChild(); a; a = a.nextSibling(), ++checked) {
        if (checked == 0)
            first = a;
        const dom::AttributeMap map = a.attributes();
        ASSERT_EQ(map.item(0).nodeValue(), std::to_string(checked));
        ASSERT_EQ(map.item(1).nodeValue(), "status-000000000000" + std::to_string(checked % 3));
        ASSERT_EQ(a.firstChild().nodeValue(), std::to_string(checked % 7));
    }
    EXPECT_EQ(checked, records);
    Document unique = load(catalog(false));
    ASSERT_EQ(unique.parseError().errorCode, 0) << unique.parseError().reason;
    EXPECT_GE(unique.memoryUsed(), doc.memoryUsed() + records * 20 * 2 / 3);

    ASSERT_EQ(first.attributes().item(1).setNodeValue("gone"), S_OK);
    const Node fourth = first.nextSibling().nextSibling().nextSibling();
    EXPECT_EQ(first.attributes().item(1).nodeValue(), "gone");
    EXPECT_EQ(fourth.attributes().item(1).nodeValue(), "status-0000000000000");
    EXPECT_EQ(doc.createTextNode("gone").nodeValue(), "gone");
}

namespace
{
// A loopback port that takes connections (the kernel completes them) but never answers.
class SilentServer
{
public:
    SilentServer() : m_socket(ListenOnLoopback(&m_port)) {}
    ~SilentServer() { ::close(m_socket); }
    SilentServer(const SilentServer &) = delete;
    SilentServer &operator=(const SilentServer &) = delete;
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/slow.xml"; }

private:
    int m_port = 0; // set while m_socket is made
    int m_socket = -1;
};
} // namespace

// A load hears how far it has come and stops when told to, leaving the document as empty as a
// failed load does.
TEST(DomLoad, ProgressIsToldAndACancelledLoadLeavesNothing)
{
    TempDir dir;
    std::string text = "<r>";
    while (text.size() < (std::size_t{5} << 20))
        text += "<a b=\"value\">text</a>";
    text += "</r>";
    const std::string path = dir.write("big.xml", text);

    Document doc = Document::create();
    std::vector<std::uint64_t> done;
    ASSERT_EQ(doc.load(path,
                       [&](std::uint64_t nDone, std::uint64_t nTotal) {
                           EXPECT_EQ(nTotal, text.size());
                           done.push_back(nDone);
                           return true;
                       }),
              S_OK);
    ASSERT_GE(done.size(), 4u);
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
    EXPECT_LE(done.back(), text.size());
    const std::size_t nodes = doc.nodeCount();

    Document cancelled = Document::create();
    int calls = 0;
    EXPECT_EQ(cancelled.load(path, [&](std::uint64_t, std::uint64_t) { return ++calls < 3; }),
              DOM_E_CANCELLED);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(cancelled.parseError().errorCode, DOM_E_CANCELLED);
    EXPECT_EQ(cancelled.parseError().line, 0);
    EXPECT_EQ(cancelled.parseError().reason, "The load was cancelled.\n");
    EXPECT_TRUE(cancelled.firstChild().isNull());
    EXPECT_LT(cancelled.nodeCount(), nodes / 100);
}

// An answer past the limit is refused with a message naming it; a server that never answers
// can be given up at once.
TEST(DomLoad, UrlFetchesAreBoundedAndCanBeCancelled)
{
    const std::size_t limit = std::size_t{1} << 20;
    LocalHttpServer big("<r>" + std::string(2 * limit, 'x') + "</r>");
    std::string body;
    std::string error;
    EXPECT_FALSE(dom::FetchUrl(big.url(), &body, &error, 30, {}, limit));
    EXPECT_EQ(error, "The document is larger than 1 MB, the most Pellix reads from a URL");
    EXPECT_TRUE(body.empty());
    EXPECT_EQ(dom::kMaxUrlBytes, std::size_t{1} << 30);

    const SilentServer silent;
    const auto start = std::chrono::steady_clock::now();
    int calls = 0;
    Document doc = Document::create();
    EXPECT_EQ(doc.load(silent.url(),
                       [&](std::uint64_t, std::uint64_t) {
                           return ++calls < 2 || std::chrono::steady_clock::now() - start <
                                                     std::chrono::milliseconds(300);
                       }),
              DOM_E_CANCELLED);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    EXPECT_LT(seconds.count(), 5.0);
    EXPECT_EQ(doc.parseError().line, 0);
    EXPECT_TRUE(doc.firstChild().isNull());
}

// libxml2 reads "1." as a version; a declaration the writer could not write back must not load
// (fuzzed load and save).
TEST(DomLoad, AnXmlDeclarationVersionIsOneDotAndDigits)
{
    for (const char *text :
         {"<?xml version=\"1.\"?><r/>", "<?xml version='1.' encoding='UTF-8'?>\n<r/>"}) {
        const Document doc = load(text);
        EXPECT_NE(doc.parseError().errorCode, 0) << text;
        EXPECT_NE(doc.parseError().reason.find("followed by digits"), std::string::npos) << text;
        EXPECT_FALSE(doc.hasChildNodes()) << text;
    }
    for (const char *text : {"<?xml version=\"1.0\"?><r/>", "<?xml version=\"1.1\"?><r/>", "<r/>"})
        EXPECT_EQ(load(text).parseError().errorCode, 0) << text;
}
