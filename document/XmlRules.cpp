#include "XmlRules.h"

#include "XmlName.h"

#include <cstdint>

namespace
{

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Reads one pseudo-attribute `name="value"` (or with single quotes) at the start of `text`,
// after optional white space. Returns false when there is none.
bool ReadPseudoAttribute(std::string_view &text, std::string_view &name, std::string_view &value)
{
    std::size_t pos = 0;
    while (pos < text.size() && dom::IsXmlSpace(text[pos]))
        ++pos;
    const std::size_t nameStart = pos;
    while (pos < text.size() && text[pos] != '=' && !dom::IsXmlSpace(text[pos]))
        ++pos;
    name = text.substr(nameStart, pos - nameStart);
    while (pos < text.size() && dom::IsXmlSpace(text[pos]))
        ++pos;
    if (name.empty() || pos >= text.size() || text[pos] != '=')
        return false;
    ++pos;
    while (pos < text.size() && dom::IsXmlSpace(text[pos]))
        ++pos;
    if (pos >= text.size() || (text[pos] != '"' && text[pos] != '\''))
        return false;
    const char quote = text[pos++];
    const std::size_t end = text.find(quote, pos);
    if (end == std::string_view::npos)
        return false;
    value = text.substr(pos, end - pos);
    text.remove_prefix(end + 1);
    return true;
}

bool IsVersion(std::string_view value)
{
    if (value.size() < 3 || value.substr(0, 2) != "1.")
        return false;
    for (const char c : value.substr(2)) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool IsEncodingName(std::string_view value)
{
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (value.empty() || !letter(value.front()))
        return false;
    for (const char c : value) {
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '.' && c != '_' && c != '-')
            return false;
    }
    return true;
}

} // namespace

bool IsReservedPiTarget(std::string_view target)
{
    return EqualsIgnoringAsciiCase(target, "xml");
}

std::optional<std::string> CheckXmlDeclaration(std::string_view data)
{
    std::string_view rest = data;
    std::string_view name;
    std::string_view value;
    if (!ReadPseudoAttribute(rest, name, value) || name != "version" || !IsVersion(value))
        return "An XML declaration starts with version=\"1.0\".";
    bool bEncoding = false;
    bool bStandalone = false;
    while (true) {
        std::size_t nSpace = 0;
        while (nSpace < rest.size() && dom::IsXmlSpace(rest[nSpace]))
            ++nSpace;
        if (nSpace == rest.size())
            break;
        if (nSpace == 0 || !ReadPseudoAttribute(rest, name, value))
            return "The XML declaration holds something other than version, encoding and "
                   "standalone.";
        if (name == "encoding" && !bEncoding && !bStandalone) {
            if (!IsEncodingName(value))
                return "The encoding of the XML declaration is not a valid encoding name.";
            bEncoding = true;
        } else if (name == "standalone" && !bStandalone) {
            if (value != "yes" && value != "no")
                return "standalone in the XML declaration must be \"yes\" or \"no\".";
            bStandalone = true;
        } else {
            return "The XML declaration holds something other than version, encoding and "
                   "standalone, in that order.";
        }
    }
    return std::nullopt;
}

std::optional<std::string> CheckXmlChars(std::string_view utf8)
{
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = p + utf8.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                return "The text holds a control character that XML cannot hold.";
            ++p;
            continue;
        }
        int nMore = 0;
        std::uint32_t code = 0;
        if ((c & 0xE0) == 0xC0) {
            nMore = 1;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            nMore = 2;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            nMore = 3;
            code = c & 0x07;
        } else {
            return "The text is not valid UTF-8.";
        }
        if (end - p <= nMore)
            return "The text is not valid UTF-8.";
        for (int i = 1; i <= nMore; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return "The text is not valid UTF-8.";
            code = (code << 6) | (p[i] & 0x3F);
        }
        static constexpr std::uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[nMore] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return "The text is not valid UTF-8.";
        if (code == 0xFFFE || code == 0xFFFF)
            return "The text holds a character that XML cannot hold.";
        p += nMore + 1;
    }
    return std::nullopt;
}

std::optional<std::string> CheckCommentText(std::string_view text)
{
    if (text.find("--") != std::string_view::npos || (!text.empty() && text.back() == '-'))
        return "A comment cannot contain \"--\" or end with \"-\".";
    return std::nullopt;
}

std::optional<std::string> CheckPiData(std::string_view data)
{
    if (data.find("?>") != std::string_view::npos)
        return "The data of a processing instruction cannot contain \"?>\".";
    return std::nullopt;
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}
