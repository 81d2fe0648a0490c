#pragma once

#include <string_view>

namespace dom
{

// True when `name` (UTF-8) matches the XML 1.0 Name production: a NameStartChar followed by
// NameChars. Empty names and malformed UTF-8 are refused.
bool IsXmlName(std::string_view name);

// True for the four XML white-space characters (space, tab, CR, LF).
constexpr bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// True when `text` holds nothing but XML white space (also for an empty text).
bool IsXmlWhiteSpace(std::string_view text);

} // namespace dom
