// The writer's bytes, its escaping round trips and its failure handling.

#include "DomFunctions.h"
#include "MessageRecorder.h"
#include "NodeRows.h"
#include "TempDir.h"
#include "XmlWriter.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using dom::Document;
using dom::Node;

namespace
{

Document parse(const std::string &text)
{
    Document doc = Document::create();
    EXPECT_EQ(doc.loadXML(text), S_OK) << doc.parseError().reason;
    return doc;
}

std::string rewrite(const std::string &text)
{
    return WriteXMLString(parse(text));
}

// A new document holding the element <r>.
Document withRoot()
{
    Document doc = Document::create();
    doc.appendChild(doc.createElement("r"));
    return doc;
}

} // namespace

TEST(Writer, LayoutOfTheFiveLineExample)
{
    Document doc = Document::create();
    AddXMLDeclaration(doc);
    Node root = doc.createElement("root");
    root.setAttribute("a", "1");
    doc.appendChild(root);
    Node item = doc.createElement("item");
    item.appendChild(doc.createTextNode("x"));
    root.appendChild(item);
    root.appendChild(doc.createComment(" c "));
    EXPECT_EQ(WriteXMLString(doc), "<?xml version=\"1.0\"?>\r\n"
                                   "<root a=\"1\">\t<item>x</item>\r\n"
                                   "\t<!-- c -->\r\n"
                                   "</root>\r\n"
                                   "\r\n");
}

TEST(Writer, NewDocumentAndSmallForms)
{
    Document doc = Document::create();
    AddXMLDeclaration(doc);
    EXPECT_EQ(WriteXMLString(doc), "<?xml version=\"1.0\"?>\r\n\r\n");

    // Never an empty-element tag; attributes in map order with one blank before each; depth
    // d >= 2 indented by d - 1 tabs; a PI with empty data keeps its blank.
    EXPECT_EQ(rewrite("<r b=\"1\" a=\"2\"><x><y><z/></y></x><?t?></r>"),
              "<r b=\"1\" a=\"2\">\t<x>\t\t<y>\t\t\t<z></z>\r\n"
              "</y>\r\n</x>\r\n\t<?t ?>\r\n</r>\r\n\r\n");
    EXPECT_EQ(WriteXMLString(Node()), "");
}

TEST(Writer, ASubtreeIsWrittenAsItsDocumentWouldWriteItAsRoot)
{
    const Document doc = parse("<r><x a=\"1\"><y><z/></y>t<!--c--></x><w><v/></w></r>");
    const Node w = doc.documentElement().lastChild();
    EXPECT_EQ(WriteXMLString(w), "<w>\t<v></v>\r\n</w>\r\n");
    // Mixed content stays inline, wherever the subtree stood.
    EXPECT_EQ(WriteXMLString(doc.documentElement().firstChild()),
              "<x a=\"1\"><y><z></z></y>t<!--c--></x>\r\n");
    std::string error;
    Node bad = doc.createComment("a--b");
    EXPECT_EQ(WriteXMLString(bad, &error), "");
    EXPECT_FALSE(error.empty());
}

TEST(Writer, EscapingReadsBackToTheSameDom)
{
    Document doc = withRoot();
    Node root = doc.documentElement();
    const std::string attributeValue = "q\"uote' <tag> & tab\there\nline\r\nend";
    const std::string textValue = "a < b && c > d ]]> \"quoted\" \r cr";
    const std::string cdataValue = "one ]]> two ]]]]> three";
    const std::string unicode = "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x8D";
    root.setAttribute("v", attributeValue);
    root.setAttribute("u", unicode);
    root.appendChild(doc.createTextNode(textValue));
    Node cdataHolder = doc.createElement("c");
    root.appendChild(cdataHolder);
    cdataHolder.appendChild(doc.createCDATASection(cdataValue));
    root.appendChild(doc.createProcessingInstruction("pi", ""));

    const std::string bytes = WriteXMLString(doc);
    Document again = parse(bytes);
    const Node r = again.documentElement();
    std::string value;
    r.getAttribute("v", &value);
    EXPECT_EQ(value, attributeValue);
    r.getAttribute("u", &value);
    EXPECT_EQ(value, unicode);
    EXPECT_EQ(r.firstChild().nodeValue(), textValue);
    std::string cdata;
    for (Node n = r.firstChild().nextSibling().firstChild(); n; n = n.nextSibling())
        cdata += n.nodeValue();
    EXPECT_EQ(cdata, cdataValue);
    EXPECT_EQ(r.lastChild().nodeName(), "pi");
    EXPECT_EQ(r.lastChild().nodeValue(), "");
    EXPECT_EQ(WriteXMLString(again), bytes);
}

// Rows that declare namespaces after other attributes (a fuzzed commit): the file read back
// has the attributes in the order the document holds them.
TEST(Writer, NamespaceDeclarationsCommittedAfterAttributesReadBackInOrder)
{
    Document doc = withRoot();
    const Node root = doc.documentElement();
    const CRowsCommit result = WriteRowsIntoNode(root, {{dom::NODE_ATTRIBUTE, "a", "1"},
                                                        {dom::NODE_ATTRIBUTE, "xmlns", ""},
                                                        {dom::NODE_ATTRIBUTE, "p:b", "2"},
                                                        {dom::NODE_ATTRIBUTE, "xmlns:p", "urn:p"}});
    EXPECT_TRUE(result.refused.empty());
    const auto names = [](const Node &element) {
        std::vector<std::string> list;
        for (dom::NodeView a = element.view().firstAttribute(); a; a = a.nextAttribute())
            list.emplace_back(a.nodeName());
        return list;
    };
    EXPECT_EQ(names(root), (std::vector<std::string>{"xmlns", "xmlns:p", "a", "p:b"}));
    const std::string bytes = WriteXMLString(doc);
    EXPECT_EQ(names(parse(bytes).documentElement()), names(root)) << bytes;
}

// A declaration the loader would refuse (a prefix bound to nothing, from a fuzzed row) is
// refused at the commit, and the writer names it should a document hold one all the same.
TEST(Writer, ANamespaceDeclarationTheLoaderRefusesIsNeitherCommittedNorWritten)
{
    Document doc = withRoot();
    Node root = doc.documentElement();
    const CRowsCommit result = WriteRowsIntoNode(
        root, {{dom::NODE_ATTRIBUTE, "xmlns:p", ""}, {dom::NODE_ATTRIBUTE, "a", "1"}});
    ASSERT_EQ(result.refused.size(), 1u);
    EXPECT_EQ(result.refused[0].nRow, 0);
    EXPECT_TRUE(result.refused[0].strReason.contains("empty namespace"))
        << result.refused[0].strReason.toStdString();
    EXPECT_EQ(root.attributes().length(), 1);

    ASSERT_EQ(root.setAttribute("xmlns:p", ""), S_OK);
    std::string error;
    EXPECT_EQ(WriteXMLString(doc, &error), "");
    EXPECT_EQ(error.rfind("/r/@xmlns:p: ", 0), 0u) << error;
}

TEST(Writer, MixedContentIsStableAcrossSaves)
{
    const std::string source = "<?xml version=\"1.0\"?>\n<doc>\n  <p>Some <b>bold</b> and "
                               "<i>italic <u>under</u></i> text<!--n-->.</p>\n"
                               "  <pre xml:space=\"preserve\">  a  <k> </k>\n  b</pre>\n</doc>";
    const std::string first = rewrite(source);
    const std::string second = rewrite(first);
    const std::string third = rewrite(second);
    EXPECT_EQ(first, second);
    EXPECT_EQ(second, third);
    EXPECT_NE(first.find("<p>Some <b>bold</b> and <i>italic <u>under</u></i> text<!--n-->.</p>"),
              std::string::npos)
        << first;
    const Document reread = parse(third);
    const Node pre = reread.documentElement().lastChild();
    std::string text;
    for (Node n = pre.firstChild(); n; n = n.nextSibling())
        text += n.nodeType() == dom::NODE_TEXT ? std::string(n.nodeValue()) : "|";
    EXPECT_EQ(text, "  a  |\n  b");
    EXPECT_EQ(pre.firstChild().nextSibling().firstChild().nodeValue(), " ");
}

// Where xml:space keeps white space, indentation would read back as text: content there is
// written inline, all the way down.
TEST(Writer, PreservedSpaceGetsNoIndentation)
{
    const std::string bytes = rewrite("<r><p xml:space=\"preserve\"><a/><d xml:space=\"default\">"
                                      "<e/></d></p><q><c/></q></r>");
    EXPECT_EQ(bytes,
              "<r>\t<p xml:space=\"preserve\"><a></a><d xml:space=\"default\"><e></e></d></p>"
              "\r\n\t<q>\t\t<c></c>\r\n</q>\r\n</r>\r\n\r\n");
    const Node p = parse(bytes).documentElement().firstChild();
    EXPECT_EQ(p.firstChild().nodeName(), "a");
    EXPECT_EQ(p.firstChild().nextSibling().nodeName(), "d");
    EXPECT_TRUE(p.firstChild().nextSibling().nextSibling().isNull());
    EXPECT_EQ(rewrite(bytes), bytes);
}

TEST(Writer, DeclarationSaysUtf8)
{
    const Document latin = parse("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xE9</a>");
    const std::string bytes = WriteXMLString(latin);
    EXPECT_EQ(bytes, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a>caf\xC3\xA9</a>\r\n\r\n");
    // The DOM keeps what it had.
    EXPECT_EQ(latin.firstChild().nodeValue(), "version=\"1.0\" encoding=\"ISO-8859-1\"");
    EXPECT_EQ(rewrite("<?xml version='1.0' encoding='utf-8' standalone='yes'?><a/>"),
              "<?xml version='1.0' encoding='utf-8' standalone='yes'?>\r\n<a></a>\r\n\r\n");
}

TEST(Writer, FileIsReplacedOnlyWhenComplete)
{
    MessageRecorder recorder;
    TempDir dir;
    const std::string path = dir.write("out.xml", "old content");
    ::chmod(path.c_str(), 0640);
    Document doc = parse("<a>new</a>");
    ASSERT_EQ(WriteXMLFile(doc, QString::fromStdString(path)), S_OK);
    EXPECT_EQ(ReadBytes(path), "<a>new</a>\r\n\r\n");
    struct stat info = {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u); // the file keeps its permissions

    // Content that cannot be written leaves the old file and no temporary file behind. The
    // message comes back from SaveXMLFile, and only WriteXMLFile shows it.
    doc.documentElement().appendChild(doc.createComment("--"));
    const std::string message =
        "Cannot save " + path +
        ":\n/a/comment(): a comment cannot contain \"--\" or end with \"-\"";
    EXPECT_EQ(SaveXMLFile(doc, QString::fromStdString(path)), message);
    EXPECT_TRUE(recorder.messages().isEmpty());
    EXPECT_EQ(WriteXMLFile(doc, QString::fromStdString(path)), E_FAIL);
    EXPECT_EQ(ReadBytes(path), "<a>new</a>\r\n\r\n");
    EXPECT_EQ(recorder.messages(), QStringList{QString::fromStdString(message)});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);

    // No document (an empty file was opened): an empty file.
    ASSERT_EQ(WriteXMLFile(Node(), QString::fromStdString(path)), S_OK);
    EXPECT_EQ(ReadBytes(path), "");
}

TEST(Writer, SavingThroughALinkReplacesItsTarget)
{
    TempDir dir;
    const std::string target = dir.write("target.xml", "old");
    const std::string link = dir.file("link.xml");
    std::filesystem::create_symlink(target, link);
    ASSERT_EQ(WriteXMLFile(parse("<l/>"), QString::fromStdString(link)), S_OK);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "<l></l>\r\n\r\n");
}

TEST(Writer, UnwritableFolderKeepsTheOldFile)
{
    MessageRecorder recorder;
    TempDir dir;
    const std::filesystem::path folder = dir.path() / "locked";
    std::filesystem::create_directory(folder);
    const std::string path = (folder / "keep.xml").string();
    {
        std::ofstream(path) << "precious";
    }
    // Root ignores permission bits; an immutable folder stops it too where the file system
    // supports the flag.
    bool locked = false;
    if (::geteuid() != 0) {
        locked = ::chmod(folder.c_str(), 0555) == 0;
    } else {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            locked = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0)
            ::close(fd);
    }
    if (!locked)
        GTEST_SKIP() << "this file system lets " << (::geteuid() == 0 ? "root" : "this user")
                     << " neither drop write permission nor set the immutable flag";
    {
        EXPECT_EQ(WriteXMLFile(parse("<new/>"), QString::fromStdString(path)), E_FAIL);
        EXPECT_EQ(ReadBytes(path), "precious");
        ASSERT_EQ(recorder.messages().size(), 1);
        EXPECT_TRUE(recorder.messages().first().contains(QString::fromStdString(path)));
        // Unlock so the folder can be removed.
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (::geteuid() == 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
        ::chmod(folder.c_str(), 0755);
    }
}

// A folder that is really a file cannot hold anything, for anyone.
TEST(Writer, AFileInPlaceOfAFolderKeepsTheFile)
{
    MessageRecorder recorder;
    TempDir dir;
    const std::string path = dir.write("keep.xml", "precious");
    const std::string underFile = path + "/inner.xml";
    EXPECT_EQ(WriteXMLFile(parse("<new/>"), QString::fromStdString(underFile)), E_FAIL);
    ASSERT_EQ(recorder.messages().size(), 1);
    EXPECT_TRUE(
        recorder.messages().first().startsWith("Cannot save " + QString::fromStdString(underFile)));
    EXPECT_TRUE(recorder.messages().first().contains("Not a directory"));
    EXPECT_EQ(ReadBytes(path), "precious");
}

// The writer is the last check before the file: a refusal says which node it met.
TEST(Writer, RefusalNamesTheNode)
{
    Document doc = parse("<catalog><note/><record/><record/><record/><record/>"
                         "<record><!--a--><?p x?><!--b--></record><record/></catalog>");
    Node record = doc.documentElement().lastChild().previousSibling();
    record.lastChild().setNodeValue("b--");
    std::string error;
    EXPECT_EQ(WriteXMLString(doc, &error), "");
    EXPECT_EQ(error.rfind("/catalog/record[5]/comment()[2]: ", 0), 0u) << error;
    EXPECT_NE(error.find("--"), std::string::npos) << error;
    record.lastChild().setNodeValue("ends with -");
    EXPECT_EQ(WriteXMLString(doc, &error), "");

    record.lastChild().setNodeValue("b");
    record.firstChild().nextSibling().setNodeValue("x ?> y");
    EXPECT_EQ(WriteXMLString(doc, &error), "");
    EXPECT_EQ(error.rfind("/catalog/record[5]/processing-instruction('p'): ", 0), 0u) << error;

    record.firstChild().nextSibling().setNodeValue("x");
    doc.documentElement().firstChild().setAttribute("c", "bell\x07");
    EXPECT_EQ(WriteXMLString(doc, &error), "");
    EXPECT_EQ(error.rfind("/catalog/note/@c: ", 0), 0u) << error;
    EXPECT_NE(error.find("control character 7"), std::string::npos) << error;

    doc.documentElement().firstChild().setAttribute("c", "\xEF\xBF\xBF");
    EXPECT_EQ(WriteXMLString(doc, &error), "");
    EXPECT_NE(error.find("U+FFFF"), std::string::npos) << error;

    doc.documentElement().firstChild().setAttribute("c", "ok");
    record.appendChild(doc.createTextNode("broken \xC3("));
    EXPECT_EQ(WriteXMLString(doc, &error), "");
    EXPECT_EQ(error.rfind("/catalog/record[5]/text(): ", 0), 0u) << error;
}

// "xml" names only the declaration at the very start, and a declaration must be one.
TEST(Writer, ReservedTargetAndDeclarationAreChecked)
{
    std::string error;
    for (const char *target : {"xml", "XML", "xMl"}) {
        Document doc = parse("<?xml version='1.0'?><r/>");
        doc.documentElement().appendChild(doc.createProcessingInstruction(target, "a='b'"));
        EXPECT_EQ(WriteXMLString(doc, &error), "") << target;
        EXPECT_EQ(error.rfind(std::string("/r/processing-instruction('") + target + "'): ", 0), 0u)
            << error;
    }

    // Only the first child of the document is the declaration.
    Document late = parse("<!--first--><r/>");
    late.insertBefore(late.createProcessingInstruction("xml", "version='1.0'"),
                      late.documentElement());
    EXPECT_EQ(WriteXMLString(late, &error), "");
    EXPECT_EQ(error.rfind("/processing-instruction('xml'): ", 0), 0u) << error;

    Document upper = Document::create();
    upper.appendChild(upper.createProcessingInstruction("XML", "version='1.0'"));
    upper.appendChild(upper.createElement("r"));
    EXPECT_EQ(WriteXMLString(upper, &error), "");

    Document doc = parse("<?xml version='1.0'?><r/>");
    for (const char *data :
         {"", "encoding='UTF-8'", "version='1.0' standalone='maybe'", "version='1.0' other='x'"}) {
        doc.firstChild().setNodeValue(data);
        error.clear();
        EXPECT_EQ(WriteXMLString(doc, &error), "") << data;
        EXPECT_EQ(error.rfind("/processing-instruction('xml'): ", 0), 0u) << error;
    }
    doc.firstChild().setNodeValue("version='1.1' encoding='ISO-8859-1' standalone='no'");
    EXPECT_EQ(WriteXMLString(doc),
              "<?xml version='1.1' encoding='UTF-8' standalone='no'?>\r\n<r></r>\r\n\r\n");
}

namespace
{

// True when every line feed in `bytes` is the end of a CR LF pair.
bool onlyCrLf(const std::string &bytes)
{
    for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1)) {
        if (i == 0 || bytes[i - 1] != '\r')
            return false;
    }
    return true;
}

// The character content of `element`: its text and CDATA children in order.
std::string characters(const Node &element)
{
    std::string text;
    for (Node n = element.firstChild(); n; n = n.nextSibling()) {
        if (n.nodeType() == dom::NODE_TEXT || n.nodeType() == dom::NODE_CDATA_SECTION)
            text += n.nodeValue();
    }
    return text;
}

} // namespace

// The file is a text stream: every line end in it is CR LF, values included, and the values
// read back as they were.
TEST(Writer, LineEndsInsideValuesAreCrLf)
{
    Document doc = withRoot();
    Node root = doc.documentElement();
    const std::string text = "a\nb\r\nc\rd\n";
    root.setAttribute("v", "x\ny\r\tz");
    root.appendChild(doc.createTextNode(text));
    root.appendChild(doc.createComment("one\ntwo"));
    root.appendChild(doc.createProcessingInstruction("pi", "three\nfour"));
    Node holder = doc.createElement("c");
    root.appendChild(holder);
    holder.appendChild(doc.createCDATASection("x\ny ]]> z\n"));

    const std::string bytes = WriteXMLString(doc);
    EXPECT_TRUE(onlyCrLf(bytes)) << bytes;
    EXPECT_EQ(bytes, "<r v=\"x&#10;y&#13;&#9;z\">a\r\nb&#13;\r\nc&#13;d\r\n<!--one\r\ntwo-->"
                     "<?pi three\r\nfour?><c><![CDATA[x\r\ny ]]]]><![CDATA[> z\r\n]]></c></r>"
                     "\r\n\r\n");
    const Document again = parse(bytes);
    const Node r = again.documentElement();
    std::string value;
    r.getAttribute("v", &value);
    EXPECT_EQ(value, "x\ny\r\tz");
    EXPECT_EQ(r.firstChild().nodeValue(), text);
    EXPECT_EQ(r.firstChild().nextSibling().nodeValue(), "one\ntwo");
    EXPECT_EQ(r.firstChild().nextSibling().nextSibling().nodeValue(), "three\nfour");
    EXPECT_EQ(characters(r.lastChild()), "x\ny ]]> z\n");
    EXPECT_EQ(WriteXMLString(again), bytes);
}

// A CR in markup would read back as a line end: a comment, PI or CDATA section holding one is
// refused by name; in text it is a reference.
TEST(Writer, CarriageReturnsReadBackOrAreRefused)
{
    Document doc = withRoot();
    Node root = doc.documentElement();
    root.appendChild(doc.createTextNode("one\r\ntwo\r"));
    const std::string bytes = WriteXMLString(doc);
    EXPECT_EQ(bytes, "<r>one&#13;\r\ntwo&#13;</r>\r\n\r\n");
    EXPECT_EQ(parse(bytes).documentElement().firstChild().nodeValue(), "one\r\ntwo\r");

    const std::pair<Node, const char *> refused[] = {
        {doc.createComment("a\rb"), "/r/comment(): "},
        {doc.createProcessingInstruction("p", "a\r\nb"), "/r/processing-instruction('p'): "},
        {doc.createCDATASection("a\r"), "/r/text()[2]: "},
    };
    for (const auto &[node, path] : refused) {
        root.appendChild(node);
        std::string error;
        EXPECT_EQ(WriteXMLString(doc, &error), "") << path;
        EXPECT_EQ(error.rfind(path, 0), 0u) << error;
        EXPECT_NE(error.find("carriage return"), std::string::npos) << error;
        root.removeChild(node);
    }
}

// CDATA is text: an element holding one gets no indentation or line ends inside, whichever way
// the section got there.
TEST(Writer, CdataIsWrittenInline)
{
    EXPECT_EQ(rewrite("<html><script><![CDATA[if (a < b) x();]]></script><p><b/></p></html>"),
              "<html>\t<script><![CDATA[if (a < b) x();]]></script>\r\n"
              "\t<p>\t\t<b></b>\r\n</p>\r\n</html>\r\n\r\n");

    Document doc = parse("<r><a><x/></a><b><!--c--></b><c><![CDATA[]]></c><d/></r>");
    Node a = doc.documentElement().firstChild();
    Node b = a.nextSibling();
    Node c = b.nextSibling();
    Node d = c.nextSibling();
    a.insertBefore(doc.createCDATASection("i"), a.firstChild());
    b.replaceChild(doc.createCDATASection("j"), b.firstChild());
    d.appendChild(doc.createCDATASection("k"));
    doc.documentElement().appendChild(a.cloneNode(true));
    EXPECT_EQ(WriteXMLString(doc), "<r>\t<a><![CDATA[i]]><x></x></a>\r\n"
                                   "\t<b><![CDATA[j]]></b>\r\n"
                                   "\t<c><![CDATA[]]></c>\r\n"
                                   "\t<d><![CDATA[k]]></d>\r\n"
                                   "\t<a><![CDATA[i]]><x></x></a>\r\n"
                                   "</r>\r\n\r\n");
}

// Indentation stops growing at a fixed depth, so a deeply nested document writes in linear
// size and still reads back.
TEST(Writer, IndentationIsCappedForDeepDocuments)
{
    constexpr int kDepth = 20000;
    Document doc = Document::create();
    // Built from the bottom up: each insert checks the ancestors of its new parent.
    Node top = doc.createElement("e");
    for (int i = 1; i < kDepth; ++i) {
        Node parent = doc.createElement("e");
        parent.appendChild(top);
        top = parent;
    }
    doc.appendChild(top);
    const std::string bytes = WriteXMLString(doc);
    EXPECT_LT(bytes.size(), std::size_t{kDepth} * (255 + 16));
    EXPECT_NE(bytes.find(std::string(255, '\t') + "<e>"), std::string::npos);
    EXPECT_EQ(bytes.find(std::string(256, '\t')), std::string::npos);
    const Document again = parse(bytes);
    int depth = 0;
    for (Node n = again.documentElement(); n; n = n.firstChild())
        ++depth;
    EXPECT_EQ(depth, kDepth);
}

// The document type declaration is written as it was read, on its own line at its place.
TEST(Writer, DocumentTypeIsWrittenWhereItStands)
{
    Document doc = parse("<?xml version=\"1.0\"?><!--before--><note/>");
    const std::string declaration = "<!DOCTYPE note [\n  <!ENTITY sender \"Jani &amp; Co\">\n"
                                    "  <!-- subset -->\n]>";
    const Node doctype = doc.createDocumentType("note", declaration);
    ASSERT_FALSE(doctype.isNull());
    ASSERT_EQ(doc.insertBefore(doctype, doc.documentElement()), S_OK);
    doc.documentElement().appendChild(doc.createTextNode("hi"));
    const std::string bytes = WriteXMLString(doc);
    EXPECT_EQ(bytes, "<?xml version=\"1.0\"?>\r\n<!--before-->\r\n"
                     "<!DOCTYPE note [\r\n  <!ENTITY sender \"Jani &amp; Co\">\r\n"
                     "  <!-- subset -->\r\n]>\r\n<note>hi</note>\r\n\r\n");
    Document again = Document::create();
    EXPECT_EQ(again.loadXML(bytes), S_OK) << again.parseError().reason;

    // A loaded declaration is kept as written; one with no text at all writes nothing.
    Document bare = parse("<!DOCTYPE a><a/>");
    EXPECT_EQ(WriteXMLString(bare), "<!DOCTYPE a>\r\n<a></a>\r\n\r\n");
    bare.replaceChild(bare.createDocumentType("a", ""), bare.firstChild());
    EXPECT_EQ(WriteXMLString(bare), "<a></a>\r\n\r\n");

    // Text that is not a declaration is refused by name.
    doctype.ownerDocument().replaceChild(doc.createDocumentType("note", "note"), doctype);
    std::string error;
    EXPECT_EQ(WriteXMLString(doc, &error), "");
    EXPECT_EQ(error.rfind("/node()[3]: ", 0), 0u) << error;
}
