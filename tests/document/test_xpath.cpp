// XPath over our DOM through libxml2's engine on a mirror of it.

#include "LibxmlTree.h"
#include "XPathQuery.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <chrono>

#include <string>
#include <vector>

namespace
{

dom::Document Load(const std::string &text)
{
    dom::Document document = dom::Document::create();
    EXPECT_EQ(document.loadXML(text), 0) << text;
    return document;
}

const char *const kCatalog = R"(<?xml version="1.0"?>
<?xml-stylesheet href="c.css"?>
<catalog>
  <record id="1" kind="alpha"><title>Amber</title><price>3</price></record>
  <record id="2" kind="zeta"><title>Zed &amp; co</title><price>12</price></record>
  <!-- between -->
  <record id="3" kind="beta"><title>Basalt</title><note>one <em>two</em> three</note></record>
  <record id="4" kind="zeta"><title>Zinc</title></record>
</catalog>)";

std::vector<std::string> Ids(const std::vector<dom::Node> &elements)
{
    std::vector<std::string> ids;
    for (const dom::Node &element : elements) {
        std::string id;
        element.getAttribute("id", &id);
        ids.push_back(std::string(element.nodeName()) + (id.empty() ? "" : "#" + id));
    }
    return ids;
}

std::vector<std::string> Elements(const dom::Document &document, const std::string &expression,
                                  const XPathOptions &options = {})
{
    std::vector<dom::Node> elements;
    const XPathOutcome outcome = FindXPathElements(document, expression, &elements, options);
    EXPECT_TRUE(outcome.Succeeded()) << expression << ": " << outcome.error;
    return Ids(elements);
}

// Path and value of every node of a result.
std::vector<std::string> Lines(const dom::Document &document, const std::string &expression,
                               std::size_t nMaxCharacters = 200)
{
    std::vector<std::string> lines;
    const XPathOutcome outcome = EvaluateXPath(document, expression, [&](const CXPathHit &hit) {
        lines.push_back(hit.GetPath() + "\t" + hit.GetValue(nMaxCharacters));
    });
    EXPECT_TRUE(outcome.Succeeded()) << outcome.error;
    return lines;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(XPath, NamesPredicatesAndFunctionsSelectTheRightElements)
{
    const dom::Document document = Load(kCatalog);
    EXPECT_EQ(Elements(document, "//record[@kind='zeta']"), (Strings{"record#2", "record#4"}));
    EXPECT_EQ(Elements(document, "/catalog/record[2]/title"), Strings{"title"});
    EXPECT_EQ(Elements(document, "catalog/record[3]/note/em"), Strings{"em"});
    EXPECT_EQ(Elements(document, "//record[price > 5]"), Strings{"record#2"});
    EXPECT_EQ(Elements(document, "//record[starts-with(title, 'Z')][last()]"), Strings{"record#4"});
    EXPECT_EQ(Elements(document, "//record[contains(., 'three')]"), Strings{"record#3"});
    EXPECT_EQ(Elements(document, "//*[not(*)][string-length() = 4]"), Strings{"title"});
}

// Attributes and texts bring their element, once, and the list is in document order even
// where an element's text follows its child elements.
TEST(XPath, AttributeAndTextResultsNameTheirElementsOnceInDocumentOrder)
{
    const dom::Document document = Load(kCatalog);
    EXPECT_EQ(Elements(document, "//@kind[. = 'zeta'] | //record[1]/@*"),
              (Strings{"record#1", "record#2", "record#4"}));
    EXPECT_EQ(Elements(document, "//title/text()"), (Strings{"title", "title", "title", "title"}));
    EXPECT_EQ(Elements(document, "//note//text()"), (Strings{"note", "em"}));
    EXPECT_EQ(Elements(document, "//comment() | /processing-instruction()"), Strings{"catalog"});
    EXPECT_EQ(Elements(document, "/"), Strings{});
}

TEST(XPath, PathsAndValuesOfEveryKindOfNode)
{
    const dom::Document document = Load(kCatalog);
    EXPECT_EQ(Lines(document, "//record[@kind='zeta']/title"),
              (Strings{"/catalog/record[2]/title\tZed & co", "/catalog/record[4]/title\tZinc"}));
    EXPECT_EQ(Lines(document, "//record[1]/@*"),
              (Strings{"/catalog/record[1]/@id\t1", "/catalog/record[1]/@kind\talpha"}));
    EXPECT_EQ(Lines(document, "//note/text()"),
              (Strings{"/catalog/record[3]/note/text()[1]\tone ",
                       "/catalog/record[3]/note/text()[2]\t three"}));
    EXPECT_EQ(Lines(document, "//comment()"), Strings{"/catalog/comment()\t between "});
    // The declaration is no node; the style sheet instruction is.
    EXPECT_EQ(Lines(document, "/processing-instruction()"),
              Strings{"/processing-instruction('xml-stylesheet')\thref=\"c.css\""});
    EXPECT_EQ(Lines(document, "//record[3]", 8), Strings{"/catalog/record[3]\tBasalton"});
}

// Every kind of node, named and positioned as libxml2's own xmlGetNodePath does on libxml2's
// own tree of the same text.
TEST(XPath, PathsAreThoseLibxml2Writes)
{
    const std::string text =
        "<?pi one?><r xmlns:p='urn:p'><a/><b x='1' p:y='2'>t1<!--c1--><![CDATA[t2]]><?pi a?>"
        "<?pi b?><?other?><!--c2--></b><a><p:a/><p:a/><c xmlns='urn:d'><d/><d/><e/></c></a>"
        "<p:a/><a>only</a></r><!--after-->";
    const char *const expression = "//node() | //@*";
    xmlDoc *pTheirs =
        xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, 0);
    ASSERT_NE(pTheirs, nullptr);
    xmlXPathContext *pContext = xmlXPathNewContext(pTheirs);
    xmlXPathObject *pResult = xmlXPathEval(reinterpret_cast<const xmlChar *>(expression), pContext);
    ASSERT_NE(pResult, nullptr);
    Strings expected;
    for (int i = 0; i < pResult->nodesetval->nodeNr; ++i) {
        xmlChar *pPath = xmlGetNodePath(pResult->nodesetval->nodeTab[i]);
        expected.push_back(reinterpret_cast<const char *>(pPath));
        xmlFree(pPath);
    }
    xmlXPathFreeObject(pResult);
    xmlXPathFreeContext(pContext);
    xmlFreeDoc(pTheirs);

    Strings ours;
    EvaluateXPath(Load(text), expression,
                  [&](const CXPathHit &hit) { ours.push_back(hit.GetPath()); });
    EXPECT_EQ(ours, expected);
    EXPECT_EQ(ours.size(), 24u);
}

// Positions among many siblings are counted on, not afresh for each node.
TEST(XPath, PathsOfManySiblingsTakeLinearTime)
{
    std::string text = "<r>";
    for (int i = 0; i < 50000; ++i)
        text += "<e/><f/>";
    const dom::Document document = Load(text + "</r>");
    const auto start = std::chrono::steady_clock::now();
    std::string last;
    const XPathOutcome outcome = EvaluateXPath(document, "//e | //f/text()",
                                               [&](const CXPathHit &hit) { last = hit.GetPath(); });
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(outcome.nCount, 50000u);
    EXPECT_EQ(last, "/r/e[50000]");
    // Counting afresh would take 1.25 billion steps.
    EXPECT_LT(took, std::chrono::seconds(5));
}

TEST(XPath, ValuesAreCutByCharactersNotBytes)
{
    const dom::Document document = Load("<a>\xC3\xA9t\xC3\xA9 \xE2\x82\xAC</a>");
    EXPECT_EQ(Lines(document, "/a", 3), Strings{"/a\t\xC3\xA9t\xC3\xA9"});
    EXPECT_EQ(Lines(document, "/a", 5), Strings{"/a\t\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"});
    EXPECT_EQ(Lines(document, "/a", 0), Strings{"/a\t"});
}

TEST(XPath, OtherResultsGiveTheirValueAndNoElements)
{
    const dom::Document document = Load(kCatalog);
    std::vector<dom::Node> elements;
    XPathOutcome outcome = FindXPathElements(document, "count(//record)", &elements);
    EXPECT_EQ(outcome.kind, XPathKind::Number);
    EXPECT_EQ(outcome.value, "4");
    EXPECT_TRUE(elements.empty());
    outcome = FindXPathElements(document, "boolean(//missing)", &elements);
    EXPECT_EQ(outcome.kind, XPathKind::Boolean);
    EXPECT_EQ(outcome.value, "false");
    outcome = FindXPathElements(document, "concat(//record[4]/@kind, '!')", &elements);
    EXPECT_EQ(outcome.kind, XPathKind::String);
    EXPECT_EQ(outcome.value, "zeta!");
    outcome = FindXPathElements(document, "//missing", &elements);
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_EQ(outcome.kind, XPathKind::Nodes);
    EXPECT_EQ(outcome.nCount, 0u);
}

// Prefixes declared anywhere in the document can be used; the default namespace cannot be
// named in XPath 1.0, and an element in it is no match for a name without prefix.
TEST(XPath, PrefixesDeclaredInTheDocumentAreKnown)
{
    const dom::Document document = Load(R"(<c xmlns="urn:default" xmlns:p="urn:p">
      <p:item p:a="1"/><item/>
      <deep xmlns:q="urn:q"><q:x/><p:item xmlns:p="urn:other"/></deep>
      <plain xmlns=""><item/></plain>
    </c>)");
    EXPECT_EQ(Elements(document, "//p:item"), Strings{"p:item"});
    EXPECT_EQ(Elements(document, "//q:x"), Strings{"q:x"});
    EXPECT_EQ(Elements(document, "//item"), Strings{"item"});
    EXPECT_EQ(Elements(document, "//*[local-name() = 'item']").size(), 4u);
    EXPECT_EQ(Elements(document, "//@p:a"), Strings{"p:item"});
    EXPECT_EQ(Elements(document, "//*[namespace-uri() = 'urn:other']"), Strings{"p:item"});
    EXPECT_EQ(Lines(document, "//@p:a"), Strings{"/*/p:item/@p:a\t1"});
    // Declarations are namespaces, not attributes.
    EXPECT_EQ(Elements(document, "//@*"), Strings{"p:item"});
}

TEST(XPath, InvalidExpressionsReportLibxml2sMessageAndVisitNothing)
{
    const dom::Document document = Load(kCatalog);
    for (const std::string expression :
         {"//record[", "//z:record", "nosuch(1)", "$undefined", "//record/", "1 +"}) {
        int nVisits = 0;
        const XPathOutcome outcome =
            EvaluateXPath(document, expression, [&](const CXPathHit &) { ++nVisits; });
        EXPECT_FALSE(outcome.Succeeded()) << expression;
        EXPECT_TRUE(outcome.bExpressionFailed) << expression;
        EXPECT_EQ(nVisits, 0) << expression;
    }
    std::vector<dom::Node> elements;
    EXPECT_EQ(FindXPathElements(document, "//record[", &elements).error,
              "Invalid expression at character 10 of //record[");
    EXPECT_NE(FindXPathElements(document, "//z:record", &elements).error.find("namespace"),
              std::string::npos);
}

// The mirror is built from the DOM as it is now, not from the file.
TEST(XPath, EvaluatesTheDocumentAsEdited)
{
    dom::Document document = Load(kCatalog);
    dom::Node first = document.documentElement().firstChild();
    ASSERT_EQ(first.setAttribute("kind", "zeta"), S_OK);
    dom::Node last = document.documentElement().lastChild();
    ASSERT_EQ(document.documentElement().removeChild(last), S_OK);
    dom::Node added = document.createElement("record");
    ASSERT_EQ(added.setAttribute("kind", "zeta"), S_OK);
    ASSERT_EQ(document.documentElement().insertBefore(added, first), S_OK);
    std::vector<dom::Node> elements;
    ASSERT_TRUE(FindXPathElements(document, "//record[@kind='zeta']", &elements).Succeeded());
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0], added);
    EXPECT_EQ(elements[1], first);
    EXPECT_EQ(Ids({elements[2]}), Strings{"record#2"});
}

TEST(XPath, TooLargeADocumentIsRefusedBeforeAnythingIsBuilt)
{
    const dom::Document document = Load(kCatalog);
    const std::size_t nEstimate = CLibxmlTree::EstimateBytes(document);
    std::string error;
    const std::unique_ptr<CLibxmlTree> pTree = CLibxmlTree::Build(document, nEstimate, &error);
    ASSERT_NE(pTree, nullptr) << error;
    // The estimate bounds what is built.
    EXPECT_LE(pTree->GetBytesUsed(), nEstimate);
    EXPECT_EQ(CLibxmlTree::Build(document, nEstimate - 1, &error), nullptr);
    EXPECT_NE(error.find("too large"), std::string::npos) << error;

    XPathOptions options;
    options.nMemoryLimit = 1000;
    std::vector<dom::Node> elements;
    const XPathOutcome outcome = FindXPathElements(document, "//record", &elements, options);
    EXPECT_FALSE(outcome.Succeeded());
    EXPECT_FALSE(outcome.bExpressionFailed);
    EXPECT_TRUE(elements.empty());
    EXPECT_EQ(CLibxmlTree::Build(dom::Document(), 0, &error), nullptr);
}

// An expression of quadratic cost ends with a message instead of running for hours.
TEST(XPath, OperationLimitStopsRunawayExpressions)
{
    std::string text = "<r>";
    for (int i = 0; i < 300; ++i)
        text += "<e/>";
    const dom::Document document = Load(text + "</r>");
    XPathOptions options;
    options.nOperationLimit = 20000;
    std::vector<dom::Node> elements;
    const std::string expression = "//e[count(//e) > 1]";
    XPathOutcome outcome = FindXPathElements(document, expression, &elements, options);
    EXPECT_FALSE(outcome.Succeeded());
    EXPECT_TRUE(outcome.bExpressionFailed);
    outcome = FindXPathElements(document, expression, &elements);
    EXPECT_TRUE(outcome.Succeeded()) << outcome.error;
    EXPECT_EQ(elements.size(), 300u);
}

TEST(XPath, DeepDocumentsAreMirroredWithoutRecursion)
{
    constexpr int kDepth = 20000;
    std::string text;
    for (int i = 0; i < kDepth; ++i)
        text += "<d>";
    text += "bottom";
    for (int i = 0; i < kDepth; ++i)
        text += "</d>";
    const dom::Document document = Load(text);
    std::vector<dom::Node> elements;
    const XPathOutcome outcome = FindXPathElements(document, "//d[text()='bottom']", &elements);
    ASSERT_TRUE(outcome.Succeeded()) << outcome.error;
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_TRUE(elements[0].firstChild().nodeType() == dom::NODE_TEXT);
}
