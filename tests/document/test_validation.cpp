// Validation against XML Schema, RELAX NG and DTD, of files and of the document as edited.

#include "ElementLocator.h"
#include "LocalHttpServer.h"
#include "SchemaValidation.h"
#include "TempDir.h"
#include "XmlWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

const char *const kXsd = R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:element name="catalog"><xs:complexType><xs:sequence>
    <xs:element name="record" maxOccurs="unbounded"><xs:complexType><xs:sequence>
      <xs:element name="title" type="xs:string"/>
      <xs:element name="price" type="xs:decimal"/>
      <xs:element name="note" minOccurs="0"><xs:complexType mixed="true"><xs:sequence>
        <xs:element name="em" type="xs:integer" minOccurs="0"/>
      </xs:sequence></xs:complexType></xs:element>
    </xs:sequence><xs:attribute name="kind" type="xs:string" use="required"/>
    </xs:complexType></xs:element>
  </xs:sequence></xs:complexType></xs:element>
</xs:schema>)";

const char *const kRng = R"(<element name="catalog" xmlns="http://relaxng.org/ns/structure/1.0"
    datatypeLibrary="http://www.w3.org/2001/XMLSchema-datatypes">
  <oneOrMore><element name="record"><attribute name="kind"/>
    <element name="title"><text/></element>
    <element name="price"><data type="decimal"/></element>
    <optional><element name="note"><mixed><optional>
      <element name="em"><data type="integer"/></element>
    </optional></mixed></element></optional>
  </element></oneOrMore>
</element>)";

const char *const kDtd = R"(<!ELEMENT catalog (record+)>
<!ELEMENT record (title, price, note?)>
<!ATTLIST record kind CDATA #REQUIRED>
<!ELEMENT title (#PCDATA)>
<!ELEMENT price (#PCDATA)>
<!ELEMENT note (#PCDATA | em)*>
<!ELEMENT em (#PCDATA)>
)";

const char *const kValid = "<catalog>\n"
                           "  <record kind=\"a\"><title>A</title><price>1.5</price></record>\n"
                           "  <record kind=\"b\"><title>B</title><price>2</price>"
                           "<note>x <em>3</em> y</note></record>\n"
                           "</catalog>\n";

// Record 2 lacks its kind, record 3 its price; record 1's price is no number.
const char *const kInvalid = "<catalog>\n"
                             "  <record kind=\"a\">\n"
                             "    <title>A</title>\n"
                             "    <price>abc</price>\n"
                             "  </record>\n"
                             "  <record>\n"
                             "    <title>B</title>\n"
                             "    <price>2</price>\n"
                             "  </record>\n"
                             "  <record kind=\"c\">\n"
                             "    <title>C</title>\n"
                             "  </record>\n"
                             "</catalog>\n";

struct Schemas {
    TempDir dir;
    std::string xsd = dir.write("s.xsd", kXsd);
    std::string rng = dir.write("s.rng", kRng);
    std::string dtd = dir.write("s.dtd", kDtd);
    std::vector<std::string> all() const { return {xsd, rng, dtd}; }
};

dom::Document Load(const std::string &text)
{
    dom::Document document = dom::Document::create();
    EXPECT_EQ(document.loadXML(text), 0);
    return document;
}

dom::Node Record(const dom::Document &document, int nIndex)
{
    dom::Node record = document.documentElement().firstChild();
    for (int i = 1; i < nIndex; ++i)
        record = record.nextSibling();
    return record;
}

// The 1-based line of the writer's text on which the nth occurrence of `tag` starts.
long WrittenLine(const dom::Document &document, const std::string &tag, int nOccurrence)
{
    const std::string text = WriteXMLString(document);
    std::size_t nPos = 0;
    for (int i = 0; i < nOccurrence; ++i)
        nPos = text.find(tag, i == 0 ? 0 : nPos + 1);
    return 1 + static_cast<long>(std::count(text.begin(), text.begin() + nPos, '\n'));
}

} // namespace

TEST(Validation, ValidAndInvalidFilesAgainstEachKindOfSchema)
{
    Schemas schemas;
    const std::string valid = schemas.dir.write("valid.xml", kValid);
    const std::string invalid = schemas.dir.write("invalid.xml", kInvalid);
    for (const std::string &schema : schemas.all()) {
        const ValidationReport good = ValidateFile(schema, valid);
        EXPECT_EQ(good.status, ValidationReport::Valid) << schema;
        EXPECT_TRUE(good.errors.empty()) << schema << ": " << good.errors.front().message;
        const ValidationReport bad = ValidateFile(schema, invalid);
        EXPECT_EQ(bad.status, ValidationReport::Invalid) << schema;
        ASSERT_FALSE(bad.errors.empty()) << schema;
        // Lines are the file's: every error lies on a line of a faulty record.
        for (const ValidationError &error : bad.errors)
            EXPECT_TRUE(error.nLine == 4 || (error.nLine >= 6 && error.nLine <= 12))
                << schema << ": " << error.nLine << " " << error.message;
    }
    // The line of the bad price, as xmllint --schema gives it.
    const ValidationReport xsd = ValidateFile(schemas.xsd, invalid);
    EXPECT_EQ(xsd.errors.front().nLine, 4);
    EXPECT_NE(xsd.errors.front().message.find("'abc'"), std::string::npos);
}

// Each error names the element it is about, whatever line libxml2 reports it on: a missing
// attribute at the start tag, a missing child at the end tag, a bad value inside.
TEST(Validation, ErrorsOfTheDocumentPointAtTheirElements)
{
    Schemas schemas;
    const dom::Document document = Load(kInvalid);
    for (const std::string &schema : schemas.all()) {
        const ValidationReport report = ValidateDocument(document, schema);
        ASSERT_EQ(report.status, ValidationReport::Invalid) << schema;
        bool bRecord2 = false;
        bool bRecord3 = false;
        for (const ValidationError &error : report.errors) {
            ASSERT_FALSE(error.element.isNull()) << schema << ": " << error.message;
            bRecord2 = bRecord2 || error.element == Record(document, 2);
            // The missing price: the record itself, or the title after which it is missing.
            bRecord3 = bRecord3 || error.element == Record(document, 3) ||
                       error.element.parentNode() == Record(document, 3);
            if (error.message.find("abc") != std::string::npos) {
                EXPECT_EQ(error.element.nodeName(), "price") << schema;
                EXPECT_EQ(error.element.parentNode(), Record(document, 1)) << schema;
                EXPECT_EQ(error.nLine, WrittenLine(document, "<price>abc", 1)) << schema;
                // The price's start tag, after two tabs.
                EXPECT_EQ(error.nColumn, 3) << schema;
            }
        }
        EXPECT_TRUE(bRecord2) << schema;
        EXPECT_TRUE(bRecord3) << schema;
    }
    // The DTD's errors carry the start tag's own line and column.
    const ValidationReport dtd = ValidateDocument(document, schemas.dtd);
    for (const ValidationError &error : dtd.errors) {
        if (error.element == Record(document, 2)) {
            EXPECT_EQ(error.nLine, WrittenLine(document, "<record>", 1));
            EXPECT_EQ(error.nColumn, 2);
        }
    }
}

// Elements written inline with their mixed content share a line; the message tells them apart.
TEST(Validation, ErrorsInsideMixedContentNameTheInnerElement)
{
    Schemas schemas;
    const dom::Document document = Load("<catalog><record kind='a'><title>A</title>"
                                        "<price>1</price><note>x <em>many</em> y</note>"
                                        "</record></catalog>");
    for (const std::string &schema : {schemas.xsd, schemas.rng}) {
        const ValidationReport report = ValidateDocument(document, schema);
        ASSERT_EQ(report.status, ValidationReport::Invalid) << schema;
        bool bEm = false;
        for (const ValidationError &error : report.errors) {
            const std::string_view name = error.element.nodeName();
            // "Element note has extra content: em" is about the note.
            EXPECT_EQ(name, error.message.find("Element note") != std::string::npos ? "note" : "em")
                << schema << ": " << error.message;
            bEm = bEm || name == "em";
        }
        // RELAX NG reports the bad em only as the note's extra content.
        EXPECT_EQ(bEm, schema == schemas.xsd) << schema;
    }
}

// What is validated is the DOM as it is now: an edit that repairs or breaks it counts.
TEST(Validation, TheDocumentIsValidatedAsEdited)
{
    Schemas schemas;
    dom::Document document = Load(kInvalid);
    dom::Node first = Record(document, 1);
    first.lastChild().firstChild().setNodeValue("4.5");
    Record(document, 2).setAttribute("kind", "b");
    dom::Node third = Record(document, 3);
    dom::Node price = document.createElement("price");
    price.appendChild(document.createTextNode("7"));
    third.appendChild(price);
    for (const std::string &schema : schemas.all())
        EXPECT_EQ(ValidateDocument(document, schema).status, ValidationReport::Valid) << schema;
    first.removeAttribute("kind");
    for (const std::string &schema : schemas.all()) {
        const ValidationReport report = ValidateDocument(document, schema);
        ASSERT_EQ(report.status, ValidationReport::Invalid) << schema;
        EXPECT_EQ(report.errors.front().element, first) << schema;
    }
}

TEST(Validation, SchemasThatCannotBeReadAreReported)
{
    TempDir dir;
    const std::string source = dir.write("doc.xml", kValid);
    const dom::Document document = Load(kValid);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {dir.file("missing.xsd"), "Cannot open"},
        {dir.write("broken.xsd", "<xs:schema"), "Cannot read the schema"},
        {dir.write("notschema.rng", "<catalog/>"), "Cannot read the schema"},
        {dir.write("broken.dtd", "<!ELEMENT catalog"), "Cannot read the schema"},
        {dir.write("schema.txt", kXsd), "Cannot tell the kind of schema"},
        {dir.path().string() + "/", "Cannot tell the kind of schema"},
    };
    for (const auto &[schema, expected] : cases) {
        for (const ValidationReport &report :
             {ValidateFile(schema, source), ValidateDocument(document, schema)}) {
            EXPECT_EQ(report.status, ValidationReport::SchemaFailed) << schema;
            EXPECT_NE(report.reason.find(expected), std::string::npos) << report.reason;
            EXPECT_TRUE(report.errors.empty());
        }
    }
}

TEST(Validation, SourcesThatCannotBeReadAreReported)
{
    Schemas schemas;
    const std::string broken = schemas.dir.write("broken.xml", "<catalog>\n<record></catalog>");
    for (const std::string &schema : schemas.all()) {
        ValidationReport report = ValidateFile(schema, broken);
        EXPECT_EQ(report.status, ValidationReport::SourceFailed) << schema;
        EXPECT_NE(report.reason.find("line 2"), std::string::npos) << report.reason;
        report = ValidateFile(schema, schemas.dir.file("missing.xml"));
        EXPECT_EQ(report.status, ValidationReport::SourceFailed) << schema;
        EXPECT_NE(report.reason.find("missing.xml"), std::string::npos) << report.reason;
        EXPECT_EQ(ValidateDocument(dom::Document(), schema).status, ValidationReport::SourceFailed);
    }
}

// Nothing is fetched from the network, neither for the schema nor for the document; what lies
// next to the schema is read.
TEST(Validation, NothingIsFetchedFromTheNetworkButLocalIncludesAreRead)
{
    LocalHttpServer server(kXsd);
    TempDir dir;
    dir.write("types.xsd", R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
      <xs:simpleType name="kindType"><xs:restriction base="xs:string">
        <xs:enumeration value="a"/></xs:restriction></xs:simpleType></xs:schema>)");
    const std::string schema = dir.write("main.xsd", R"(<xs:schema
        xmlns:xs="http://www.w3.org/2001/XMLSchema">
      <xs:include schemaLocation="types.xsd"/>
      <xs:import namespace="urn:remote" schemaLocation=")" +
                                                         server.url("/remote.xsd") + R"("/>
      <xs:element name="r"><xs:complexType>
        <xs:attribute name="kind" type="kindType"/></xs:complexType></xs:element>
    </xs:schema>)");
    const std::string dtd =
        dir.write("remote.dtd", "<!ENTITY % r SYSTEM \"" + server.url("/r.ent") +
                                    "\">\n%r;\n<!ELEMENT r EMPTY>\n");
    const std::string rng = dir.write(
        "remote.rng", "<externalRef xmlns=\"http://relaxng.org/ns/structure/1.0\" href=\"" +
                          server.url("/r.rng") + "\"/>");
    const std::string good = dir.write(
        "good.xml", "<!DOCTYPE r SYSTEM \"" + server.url("/doc.dtd") + "\"><r kind=\"a\"/>");
    const std::string bad = dir.write("bad.xml", "<r kind=\"b\"/>");
    EXPECT_EQ(ValidateFile(schema, good).status, ValidationReport::Valid);
    EXPECT_EQ(ValidateFile(schema, bad).status, ValidationReport::Invalid);
    ValidateFile(dtd, good);
    ValidateFile(rng, good);
    ValidateDocument(Load("<r kind='a'/>"), dtd);
    EXPECT_EQ(server.requests(), 0);
}

TEST(Validation, SchemaKindFollowsTheExtension)
{
    EXPECT_EQ(SchemaKindOf("/a/b.xsd"), SchemaKind::Xsd);
    EXPECT_EQ(SchemaKindOf("B.XSD"), SchemaKind::Xsd);
    EXPECT_EQ(SchemaKindOf("x.Rng"), SchemaKind::RelaxNg);
    EXPECT_EQ(SchemaKindOf("x.dtd"), SchemaKind::Dtd);
    EXPECT_EQ(SchemaKindOf("x.rnc"), SchemaKind::Unknown);
    EXPECT_EQ(SchemaKindOf("dir.xsd/schema"), SchemaKind::Unknown);
    EXPECT_EQ(SchemaKindOf("xsd"), SchemaKind::Unknown);
}

TEST(ElementLocator, PositionsAndElementsMapBothWays)
{
    // "<a>" at 0; "<b>" on line 2 after a tab; "<c>" after a two-byte character; "<d>" on line 3.
    const std::string text = "<a>\r\n\t<b>\xC3\xA9<c/></b>\r\n\t<d/>\r\n</a>";
    const std::vector<std::size_t> starts = {0, 6, 11, 22};
    const CElementLocator locator(text, starts);
    EXPECT_EQ(locator.PositionOf(0), std::make_pair(1L, 1L));
    EXPECT_EQ(locator.PositionOf(1), std::make_pair(2L, 2L));
    EXPECT_EQ(locator.PositionOf(2), std::make_pair(2L, 6L));
    EXPECT_EQ(locator.PositionOf(3), std::make_pair(3L, 2L));
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const auto [nLine, nColumn] = locator.PositionOf(i);
        EXPECT_EQ(locator.ElementAt(nLine, nColumn + 1), i);
    }
    EXPECT_EQ(locator.ElementAt(1, 1), CElementLocator::npos);
    EXPECT_EQ(locator.ElementAt(2, 0), 1u);
    EXPECT_EQ(locator.ElementAt(4, 0), 3u);
    EXPECT_EQ(locator.ElementFor(2, 0, "c"), 2u);
    EXPECT_EQ(locator.ElementFor(2, 0, "x"), 1u);
    EXPECT_EQ(locator.NameAt(2), "c");
    EXPECT_EQ(locator.NameAt(9), "");
}

TEST(ElementLocator, MessagesNameTheirElements)
{
    EXPECT_EQ(CElementLocator::NamedElement("Element 'price': 'abc' is not a valid value"),
              "price");
    EXPECT_EQ(CElementLocator::NamedElement("Element '{urn:x}p:item': Missing child"), "item");
    EXPECT_EQ(CElementLocator::NamedElement("Element record failed to validate attributes"),
              "record");
    EXPECT_EQ(CElementLocator::NamedElement("Did not expect element em there"), "em");
    EXPECT_EQ(CElementLocator::NamedElement("No declaration for element x:extra"), "extra");
    EXPECT_EQ(CElementLocator::NamedElement("Extra content"), "");

    const dom::Document document = Load("<r><p:a xmlns:p='u'><b><c/></b></p:a></r>");
    const dom::Node c = document.documentElement().firstChild().firstChild().firstChild();
    EXPECT_EQ(CElementLocator::Refine(c, "a"), document.documentElement().firstChild());
    EXPECT_EQ(CElementLocator::Refine(c, "zz"), c);
    EXPECT_EQ(CElementLocator::Refine(c, ""), c);
    const std::vector<dom::Node> nodes =
        CElementLocator::NodesAt(document, {0, 1, 3, CElementLocator::npos});
    EXPECT_EQ(nodes[0], document.documentElement());
    EXPECT_EQ(nodes[1], document.documentElement().firstChild());
    EXPECT_EQ(nodes[2], c);
    EXPECT_TRUE(nodes[3].isNull());
}
