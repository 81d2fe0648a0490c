#include "XmlRules.h"

#include "XmlName.h"

#include <cstdio>

namespace
{

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Reads the pseudo-attributes of an XML declaration one by one.
class DeclarationReader
{
public:
    explicit DeclarationReader(std::string_view data) : m_data(data) {}

    // Skips white space; true when there was some.
    bool skipSpace()
    {
        const std::size_t start = m_pos;
        while (m_pos < m_data.size() && dom::IsXmlSpace(m_data[m_pos]))
            ++m_pos;
        return m_pos > start;
    }
    bool atEnd() const { return m_pos == m_data.size(); }
    // Reads `name` Eq quoted-value when `name` comes next; false (nothing read) otherwise.
    bool readNamed(std::string_view name)
    {
        if (m_data.substr(m_pos, name.size()) != name)
            return false;
        m_pos += name.size();
        skipSpace();
        return true;
    }
    // After a name: '=' and a value in matching quotes; nothing when they are not there.
    std::optional<std::string_view> readValue()
    {
        if (m_pos >= m_data.size() || m_data[m_pos] != '=')
            return std::nullopt;
        ++m_pos;
        skipSpace();
        if (m_pos >= m_data.size() || (m_data[m_pos] != '"' && m_data[m_pos] != '\''))
            return std::nullopt;
        const std::size_t close = m_data.find(m_data[m_pos], m_pos + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        const std::string_view value = m_data.substr(m_pos + 1, close - m_pos - 1);
        m_pos = close + 1;
        return value;
    }

private:
    std::string_view m_data;
    std::size_t m_pos = 0;
};

bool isVersionNumber(std::string_view value)
{
    if (value.size() < 3 || value.substr(0, 2) != "1.")
        return false;
    for (const char c : value.substr(2)) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

bool isEncodingName(std::string_view value)
{
    if (value.empty() || !isAsciiLetter(value.front()))
        return false;
    for (const char c : value) {
        if (!isAsciiLetter(c) && !isDigit(c) && c != '.' && c != '_' && c != '-')
            return false;
    }
    return true;
}

std::string hexByte(unsigned char byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

std::string codePoint(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", value);
    return text;
}

} // namespace

bool IsReservedPiTarget(std::string_view target)
{
    return target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
           (target[2] | 0x20) == 'l';
}

std::optional<std::string> CheckXmlDeclaration(std::string_view data)
{
    DeclarationReader reader(data);
    reader.skipSpace();
    if (!reader.readNamed("version"))
        return "an XML declaration must begin with version=\"1.0\"";
    const std::optional<std::string_view> version = reader.readValue();
    if (!version || !isVersionNumber(*version))
        return "the version of an XML declaration must be \"1.\" followed by digits";

    bool space = reader.skipSpace();
    if (space && reader.readNamed("encoding")) {
        const std::optional<std::string_view> encoding = reader.readValue();
        if (!encoding || !isEncodingName(*encoding))
            return "the encoding of the XML declaration is not a valid encoding name";
        space = reader.skipSpace();
    }
    if (space && reader.readNamed("standalone")) {
        const std::optional<std::string_view> standalone = reader.readValue();
        if (!standalone || (*standalone != "yes" && *standalone != "no"))
            return "standalone in the XML declaration must be \"yes\" or \"no\"";
        reader.skipSpace();
    }
    if (!reader.atEnd())
        return "an XML declaration holds only version, encoding and standalone, in that order";
    return std::nullopt;
}

std::size_t XmlCharLength(std::string_view text)
{
    if (text.empty())
        return 0;
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    const unsigned char lead = s[0];
    if (lead < 0x80)
        return lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r' ? 1 : 0;
    // C0 and C1 could only start overlong forms of ASCII.
    if (lead < 0xC2)
        return 0;
    if (lead < 0xE0)
        return text.size() >= 2 && isContinuation(s[1]) ? 2 : 0;
    if (lead < 0xF0) {
        if (text.size() < 3 || !isContinuation(s[1]) || !isContinuation(s[2]))
            return 0;
        if (lead == 0xE0 && s[1] < 0xA0) // overlong
            return 0;
        if (lead == 0xED && s[1] >= 0xA0) // U+D800..U+DFFF, surrogates
            return 0;
        if (lead == 0xEF && s[1] == 0xBF && s[2] >= 0xBE) // U+FFFE, U+FFFF
            return 0;
        return 3;
    }
    if (lead < 0xF5) {
        if (text.size() < 4 || !isContinuation(s[1]) || !isContinuation(s[2]) ||
            !isContinuation(s[3]))
            return 0;
        if ((lead == 0xF0 && s[1] < 0x90) || (lead == 0xF4 && s[1] >= 0x90))
            return 0; // overlong, or beyond U+10FFFF
        return 4;
    }
    return 0;
}

std::optional<std::string> CheckXmlChars(std::string_view utf8)
{
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte >= 0x20 && byte < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = XmlCharLength(utf8.substr(i));
        if (length == 0)
            return XmlCharRefusal(utf8.substr(i));
        i += length;
    }
    return std::nullopt;
}

std::string XmlCharRefusal(std::string_view text)
{
    if (text.empty())
        return "a character is missing";
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    if (s[0] < 0x20)
        return "the control character " + std::to_string(s[0]) + " is not allowed in XML";
    if (text.size() >= 3 && isContinuation(s[1]) && isContinuation(s[2])) {
        const unsigned value = ((s[0] & 0x0Fu) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
        if (s[0] == 0xED && s[1] >= 0xA0)
            return "the lone surrogate " + codePoint(value) + " is not allowed in XML";
        if (s[0] == 0xEF && s[1] == 0xBF && s[2] >= 0xBE)
            return "the character " + codePoint(value) + " is not allowed in XML";
    }
    return "the text is not valid UTF-8 (byte " + hexByte(s[0]) + ")";
}

std::optional<std::string> CheckCommentText(std::string_view text)
{
    if (text.find("--") != std::string_view::npos || (!text.empty() && text.back() == '-'))
        return "a comment cannot contain \"--\" or end with \"-\"";
    return std::nullopt;
}

std::optional<std::string> CheckPiData(std::string_view data)
{
    if (data.find("?>") != std::string_view::npos)
        return "the data of a processing instruction cannot contain \"?>\"";
    if (!data.empty() && dom::IsXmlSpace(data.front()))
        return "the data of a processing instruction cannot start with white space: a reader "
               "takes it for the blanks after the target";
    return std::nullopt;
}

std::optional<std::string> CheckNamespaceDeclaration(std::string_view name, std::string_view value)
{
    if (!dom::IsNamespaceDeclaration(name))
        return std::nullopt;
    const std::string_view prefix = name.size() > 6 ? name.substr(6) : std::string_view();
    if (prefix == "xml" || prefix == "xmlns")
        return "the prefix \"" + std::string(prefix) + "\" cannot be declared";
    if (value == "http://www.w3.org/XML/1998/namespace" || value == "http://www.w3.org/2000/xmlns/")
        return "the namespace \"" + std::string(value) + "\" belongs to a reserved prefix";
    if (!prefix.empty() && value.empty())
        return "the prefix \"" + std::string(prefix) + "\" cannot be bound to an empty namespace";
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

std::optional<std::string> CheckMarkupLineEnds(std::string_view text)
{
    if (text.find('\r') != std::string_view::npos)
        return "a carriage return cannot be kept here: XML reads it back as a line end";
    return std::nullopt;
}
