#pragma once

#include <string>
#include <string_view>

namespace dom
{

// True when `name` (UTF-8) matches the XML 1.0 Name production: a NameStartChar followed by
// NameChars. Empty names and malformed UTF-8 are refused.
bool IsXmlName(std::string_view name);

// True when `name` is an XML Name that a namespace-aware reader takes as an element or
// attribute name: no colon, or one colon between two names without colons ("p:a", not
// "p:", ":a" or "a:b:c"). Pellix's own loader reads namespaces, so only such names can be
// saved and read back.
bool IsQualifiedXmlName(std::string_view name);

// True for the four XML white-space characters (space, tab, CR, LF).
constexpr bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// True when `text` holds nothing but XML white space (also for an empty text).
bool IsXmlWhiteSpace(std::string_view text);

// True when `text` starts with `lower` (ASCII, lower case) in any case of its letters.
constexpr bool StartsWithNoCase(std::string_view text, std::string_view lower)
{
    if (text.size() < lower.size())
        return false;
    for (std::size_t i = 0; i < lower.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lower[i])
            return false;
    }
    return true;
}

// Appends `text` with its line ends read as XML reads them: CR LF and a lone CR become LF.
void AppendNormalisedLineEnds(std::string &out, std::string_view text);

// The data of an XML declaration from the text between "<?xml" and "?>": without its outer
// white space, line ends normalised.
std::string XmlDeclarationData(std::string_view between);

// True for an attribute that declares a namespace: "xmlns", or "xmlns:" and a prefix.
inline bool IsNamespaceDeclaration(std::string_view name)
{
    return name == "xmlns" || name.starts_with("xmlns:");
}

} // namespace dom
