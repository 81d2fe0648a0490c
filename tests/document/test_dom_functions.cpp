// The DOM helper functions shared by the document and the panes.

#include "DomFunctions.h"
#include "MessageRecorder.h"

#include <gtest/gtest.h>

using dom::Document;
using dom::Node;

TEST(DomFunctions, CreateDOMNodeBothForms)
{
    MessageRecorder recorder;
    Document doc = Document::create();
    const Node element = CreateDOMNode(doc, dom::NODE_ELEMENT, "newElement");
    ASSERT_FALSE(element.isNull());
    EXPECT_EQ(element.nodeName(), "newElement");
    EXPECT_TRUE(element.parentNode().isNull());
    EXPECT_EQ(CreateDOMNode(doc, dom::NODE_COMMENT, {}).nodeName(), "#comment");

    Node out = element;
    EXPECT_EQ(CreateDOMNode(doc, dom::NODE_ELEMENT, "newChild", &out), S_OK);
    EXPECT_EQ(out.nodeName(), "newChild");
    EXPECT_TRUE(recorder.messages().isEmpty());

    EXPECT_EQ(CreateDOMNode(doc, dom::NODE_ELEMENT, "9lives", &out), E_FAIL);
    EXPECT_TRUE(out.isNull());
    EXPECT_TRUE(CreateDOMNode(doc, dom::NODE_PROCESSING_INSTRUCTION, "bad target").isNull());
    EXPECT_EQ(recorder.messages(), QStringList({"CreateDOMNode Failed!", "CreateDOMNode Failed!"}));
}

TEST(DomFunctions, SetElementAttributeReportsRefusals)
{
    Document doc = Document::create();
    Node element = doc.createElement("e");
    EXPECT_EQ(SetElementAttribute(element, "a", "1"), S_OK);
    EXPECT_TRUE(FAILED(SetElementAttribute(element, "b c", "2")));
    EXPECT_TRUE(FAILED(SetElementAttribute(doc.createTextNode("t"), "a", "1")));
    EXPECT_EQ(element.attributes().length(), 1);
}

TEST(DomFunctions, AddXMLDeclaration)
{
    Document doc = Document::create();
    ASSERT_EQ(AddXMLDeclaration(doc), S_OK);
    const Node only = doc.firstChild();
    EXPECT_EQ(only.nodeType(), dom::NODE_PROCESSING_INSTRUCTION);
    EXPECT_EQ(only.nodeName(), "xml");
    EXPECT_EQ(only.nodeValue(), "version=\"1.0\"");
    EXPECT_TRUE(only.nextSibling().isNull());
}

TEST(DomFunctions, ReplaceDOMNodeKeepsPlaceChildrenAndAttributes)
{
    Document doc = Document::create();
    doc.loadXML("<root><before/><old a=\"1\" b=\"2\"><x/>text<y/></old><after/></root>");
    Node old = doc.documentElement().firstChild().nextSibling();
    Node renamed = doc.createElement("renamed");
    ASSERT_EQ(ReplaceDOMNode(old, renamed), S_OK);

    const Node root = doc.documentElement();
    EXPECT_EQ(root.firstChild().nextSibling(), renamed);
    EXPECT_EQ(renamed.nextSibling().nodeName(), "after");
    EXPECT_EQ(renamed.firstChild().nodeName(), "x");
    EXPECT_EQ(renamed.firstChild().nextSibling().nodeValue(), "text");
    EXPECT_EQ(renamed.lastChild().nodeName(), "y");
    EXPECT_EQ(renamed.attributes().item(0).nodeName(), "a");
    EXPECT_EQ(renamed.attributes().item(1).nodeValue(), "2");
    EXPECT_TRUE(old.parentNode().isNull());
    EXPECT_FALSE(old.hasChildNodes());

    // The document element is replaced in the document itself.
    Node newRoot = doc.createElement("top");
    ASSERT_EQ(ReplaceDOMNode(doc.documentElement(), newRoot), S_OK);
    EXPECT_EQ(doc.documentElement(), newRoot);
    EXPECT_EQ(newRoot.firstChild().nodeName(), "before");

    // A detached node cannot be replaced, and nothing moves.
    Node detached = doc.createElement("d");
    detached.appendChild(doc.createElement("kid"));
    EXPECT_EQ(ReplaceDOMNode(detached, doc.createElement("other")), E_FAIL);
    EXPECT_EQ(detached.firstChild().nodeName(), "kid");
}

TEST(DomFunctions, FirstLetterNameRule)
{
    for (const char *good : {"", "a", "Z", "abc", "a1", "x_y", "b:c", "Q-1.2"})
        EXPECT_TRUE(IsValidXMLName(QString::fromUtf8(good))) << good;
    for (const char *bad : {"1a", "_a", ":a", " a", "\xC3\xA9t\xC3\xA9", "-", "."})
        EXPECT_FALSE(IsValidXMLName(QString::fromUtf8(bad))) << bad;
}

TEST(DomFunctions, NodeKindTexts)
{
    EXPECT_EQ(NodeKindText(dom::NODE_ATTRIBUTE), "Attribute");
    EXPECT_EQ(NodeKindText(dom::NODE_TEXT), "Text");
    EXPECT_EQ(NodeKindText(dom::NODE_CDATA_SECTION), "CDATASection");
    EXPECT_EQ(NodeKindText(dom::NODE_PROCESSING_INSTRUCTION), "ProcessInstruction");
    EXPECT_EQ(NodeKindText(dom::NODE_COMMENT), "Comment");
    EXPECT_TRUE(NodeKindText(dom::NODE_ELEMENT).isEmpty());
}
