#include "XmlName.h"

#include <cstdint>

namespace dom
{
namespace
{

bool isNameStartChar(std::uint32_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ':' || c == '_' ||
           (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0xEFFFF);
}

bool isNameChar(std::uint32_t c)
{
    return isNameStartChar(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// Decodes one UTF-8 sequence at `pos`; returns false for malformed or overlong input.
bool decodeUtf8(std::string_view s, std::size_t &pos, std::uint32_t &out)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    int extra = 0;
    std::uint32_t min = 0;
    if (lead < 0x80) {
        out = lead;
        ++pos;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, out = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, out = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, out = lead & 0x07, min = 0x10000;
    } else {
        return false;
    }
    if (pos + extra >= s.size())
        return false;
    for (int i = 1; i <= extra; ++i) {
        const unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80)
            return false;
        out = (out << 6) | (b & 0x3F);
    }
    pos += extra + 1;
    return out >= min && out <= 0x10FFFF && !(out >= 0xD800 && out <= 0xDFFF);
}

} // namespace

bool IsXmlName(std::string_view name)
{
    std::size_t pos = 0;
    bool first = true;
    while (pos < name.size()) {
        std::uint32_t c = 0;
        if (!decodeUtf8(name, pos, c))
            return false;
        if (first ? !isNameStartChar(c) : !isNameChar(c))
            return false;
        first = false;
    }
    return !first;
}

bool IsXmlWhiteSpace(std::string_view text)
{
    for (char c : text) {
        if (!IsXmlSpace(c))
            return false;
    }
    return true;
}

bool IsQualifiedXmlName(std::string_view name)
{
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos)
        return IsXmlName(name);
    const std::string_view prefix = name.substr(0, colon);
    const std::string_view local = name.substr(colon + 1);
    return local.find(':') == std::string_view::npos && IsXmlName(prefix) && IsXmlName(local);
}

void AppendNormalisedLineEnds(std::string &out, std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out.push_back(text[i]);
        } else {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        }
    }
}

std::string XmlDeclarationData(std::string_view between)
{
    while (!between.empty() && IsXmlSpace(between.front()))
        between.remove_prefix(1);
    while (!between.empty() && IsXmlSpace(between.back()))
        between.remove_suffix(1);
    std::string data;
    AppendNormalisedLineEnds(data, between);
    return data;
}

} // namespace dom
