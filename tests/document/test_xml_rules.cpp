// The rules of what XML can hold, checked against libxml2 where it decides the same thing.

#include "Document.h"
#include "XmlName.h"
#include "XmlRules.h"

#include <gtest/gtest.h>

namespace
{

bool parses(const std::string &text)
{
    dom::Document doc = dom::Document::create();
    return doc.loadXML(text) == S_OK;
}

// Whether the parser keeps the attribute `name`="`value`" on the element it stands on.
bool keepsAttribute(const std::string &name, const std::string &value)
{
    dom::Document doc = dom::Document::create();
    if (doc.loadXML("<r " + name + "=\"" + value + "\"/>") != S_OK)
        return false;
    std::string kept;
    return doc.documentElement().getAttribute(name, &kept) == S_OK && kept == value;
}

} // namespace

TEST(XmlRules, NamespaceDeclarationsAgreeWithTheParser)
{
    const std::pair<const char *, const char *> kept[] = {
        {"xmlns", ""},
        {"xmlns", "urn:x"},
        {"xmlns:d", "urn:x"},
        {"xmlns:d", "a b"},
        {"xmlns:xmlnsx", "urn:x"},
        {"xml:space", ""},
        {"a", "http://www.w3.org/XML/1998/namespace"},
    };
    const std::pair<const char *, const char *> dropped[] = {
        {"xmlns:d", ""},
        {"xmlns:xml", "urn:x"},
        {"xmlns:xml", "http://www.w3.org/XML/1998/namespace"},
        {"xmlns:xmlns", "urn:x"},
        {"xmlns:d", "http://www.w3.org/XML/1998/namespace"},
        {"xmlns:d", "http://www.w3.org/2000/xmlns/"},
        {"xmlns", "http://www.w3.org/XML/1998/namespace"},
        {"xmlns", "http://www.w3.org/2000/xmlns/"},
    };
    for (const auto &[name, value] : kept) {
        EXPECT_TRUE(keepsAttribute(name, value)) << name << "=" << value;
        EXPECT_EQ(CheckNamespaceDeclaration(name, value), std::nullopt) << name << "=" << value;
    }
    for (const auto &[name, value] : dropped) {
        EXPECT_FALSE(keepsAttribute(name, value)) << name << "=" << value;
        EXPECT_NE(CheckNamespaceDeclaration(name, value), std::nullopt) << name << "=" << value;
    }
    EXPECT_TRUE(dom::IsNamespaceDeclaration("xmlns") && dom::IsNamespaceDeclaration("xmlns:d"));
    EXPECT_FALSE(dom::IsNamespaceDeclaration("xmlnsd") || dom::IsNamespaceDeclaration("d:xmlns"));
}

// The parser drops the blanks that separate a target from its data, and reads the rest as
// written.
TEST(XmlRules, ProcessingInstructionDataAgreesWithTheParser)
{
    for (const char *data : {"x", "x  ", "a ? > b", "", "x\ty"}) {
        EXPECT_EQ(CheckPiData(data), std::nullopt) << data;
        dom::Document doc = dom::Document::create();
        ASSERT_EQ(doc.loadXML(std::string("<r><?t ") + data + "?></r>"), S_OK) << data;
        EXPECT_EQ(doc.documentElement().firstChild().nodeValue(), data);
    }
    for (const char *data : {" x", "\tx", "\nx", "x?>y"})
        EXPECT_NE(CheckPiData(data), std::nullopt) << data;
}

TEST(XmlRules, ReservedPiTargets)
{
    for (const char *target : {"xml", "XML", "xMl", "Xml"})
        EXPECT_TRUE(IsReservedPiTarget(target)) << target;
    for (const char *target : {"xml-stylesheet", "xm", "xmlx", "x", "", "yml", "xm1"})
        EXPECT_FALSE(IsReservedPiTarget(target)) << target;
}

// Every verdict agrees with the parser that will read the file back.
TEST(XmlRules, DeclarationAgreesWithTheParser)
{
    const char *valid[] = {
        "version=\"1.0\"",
        "version='1.0'",
        " version = '1.1' ",
        "version='1.0' encoding='ISO-8859-1'",
        "version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"",
        "version='1.0'\n\tstandalone='yes'",
        "version='1.0' encoding=\"UTF-8\" standalone='yes'\n",
    };
    const char *invalid[] = {
        "",
        "encoding='UTF-8'",
        "version='2.0'",
        "version='1.0a'",
        "version=1.0",
        "version='1.0\"",
        "version='1.0'encoding='UTF-8'",
        "version='1.0' standalone='yes' encoding='UTF-8'",
        "version='1.0' encoding='8bit'",
        "version='1.0' encoding=''",
        "version='1.0' standalone='maybe'",
        "version='1.0' foo='bar'",
        "version='1.0' version='1.0'",
        "version",
        "standalone='yes' version='1.0'",
    };
    for (const char *data : valid) {
        EXPECT_EQ(CheckXmlDeclaration(data), std::nullopt) << data;
        EXPECT_TRUE(parses(std::string("<?xml ") + data + "?><a/>")) << data;
    }
    for (const char *data : invalid) {
        const std::optional<std::string> reason = CheckXmlDeclaration(data);
        EXPECT_TRUE(reason && !reason->empty()) << data;
        EXPECT_FALSE(parses(std::string("<?xml ") + data + "?><a/>")) << data;
    }
    EXPECT_NE(CheckXmlDeclaration("version='1.0' standalone='sure'")->find("standalone"),
              std::string::npos);
    // libxml2 reads a version without a minor number; other readers need the digit.
    EXPECT_TRUE(CheckXmlDeclaration("version='1.'").has_value());
}

TEST(XmlRules, CharactersXmlCannotHold)
{
    const std::string allowed[] = {
        "",
        "plain ascii with \t tab \n lf \r cr",
        "\xC2\x80\xC2\x9F",         // C1 controls are characters in XML 1.0
        "\xED\x9F\xBF",             // U+D7FF
        "\xEE\x80\x80",             // U+E000
        "\xEF\xBF\xBD",             // U+FFFD
        "\xF0\x90\x80\x80",         // U+10000
        "\xF4\x8F\xBF\xBF",         // U+10FFFF
        "caf\xC3\xA9 \xE2\x82\xAC", // café €
    };
    for (const std::string &text : allowed) {
        EXPECT_EQ(CheckXmlChars(text), std::nullopt) << text;
        if (!text.empty() && text.find('\r') == std::string::npos) {
            EXPECT_TRUE(parses("<a>" + text + "</a>")) << text;
        }
    }

    const std::pair<std::string, const char *> refused[] = {
        {"bell\x07", "control character 7"},
        {std::string("nul\0", 4), "control character 0"},
        {"\x1F", "control character 31"},
        {"x\xEF\xBF\xBE", "U+FFFE"},
        {"\xEF\xBF\xBF", "U+FFFF"},
        {"\xED\xA0\x80", "surrogate U+D800"},
        {"\xED\xBF\xBF", "surrogate U+DFFF"},
        {"\xC0\x80", "UTF-8"},             // overlong NUL
        {"\xE0\x80\xAF", "UTF-8"},         // overlong '/'
        {"\xF0\x8F\xBF\xBF", "UTF-8"},     // overlong U+FFFF
        {"\xF4\x90\x80\x80", "UTF-8"},     // beyond U+10FFFF
        {"\xE2\x82", "UTF-8"},             // cut short
        {"\x80", "UTF-8"},                 // stray continuation byte
        {"\xF8\x88\x80\x80\x80", "UTF-8"}, // five-byte form
        {"ok \xC3(", "UTF-8"},
    };
    for (const auto &[text, reason] : refused) {
        const std::optional<std::string> found = CheckXmlChars(text);
        ASSERT_TRUE(found.has_value()) << text;
        EXPECT_NE(found->find(reason), std::string::npos) << *found;
        EXPECT_FALSE(parses("<a>" + text + "</a>")) << text;
    }
}
