#pragma once

// What XML 1.0 can hold, checked before anything is written: the writer checks every node with
// these, and an edit can refuse a value before it reaches the document. No Qt, no messages:
// each check returns the reason, the caller says where.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// True for a processing-instruction target XML keeps for its own declaration: "xml" in any
// letter case.
bool IsReservedPiTarget(std::string_view target);

// Checks the data of an XML declaration (what follows "<?xml" up to "?>"): version="1.x" first,
// then optionally encoding="name" and standalone="yes" or "no", in that order, with single or
// double quotes. Returns the reason it is not a valid declaration, or nothing.
std::optional<std::string> CheckXmlDeclaration(std::string_view data);

// The length of the UTF-8 sequence at the start of `text` when it encodes a character XML 1.0
// can hold; 0 for invalid UTF-8 (overlong, truncated, beyond U+10FFFF), a surrogate, U+FFFE,
// U+FFFF, a control character other than tab, LF and CR, or an empty text.
std::size_t XmlCharLength(std::string_view text);

// Checks that `utf8` holds only characters XML 1.0 can hold (see XmlCharLength). Returns the
// reason for the first one it cannot, or nothing.
std::optional<std::string> CheckXmlChars(std::string_view utf8);

// The reason XmlCharLength refused the character at the start of `text`.
std::string XmlCharRefusal(std::string_view text);

// Why a comment cannot hold `text` ("--" inside, "-" at the end); nothing when it can.
std::optional<std::string> CheckCommentText(std::string_view text);

// Why a processing instruction cannot hold `data` ("?>" inside, white space at the start);
// nothing when it can.
std::optional<std::string> CheckPiData(std::string_view data);

// Why a comment, processing instruction or CDATA section cannot keep `text` as it is: a
// carriage return there reads back as a line end. Nothing when it can.
std::optional<std::string> CheckMarkupLineEnds(std::string_view text);

// Why a reader would drop the namespace declaration `name`="`value`": the prefixes xml and xmlns
// are bound for good, a prefix cannot be undeclared, and no other prefix may take their
// namespace names. Nothing when it is kept, and for an attribute that declares no namespace.
std::optional<std::string> CheckNamespaceDeclaration(std::string_view name, std::string_view value);

// The white space that trimming removes from the rows of a node and from the text pane's text:
// blank, tab, line feed, vertical tab, form feed and carriage return, exactly those (no-break
// and other Unicode spaces are content). XML's own white space (dom::IsXmlSpace) is narrower.
constexpr bool IsBlank(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// `text` without blanks at either end.
std::string_view TrimBlanks(std::string_view text);

// The reason given for a name the DOM refuses.
inline constexpr std::string_view kNotAnXmlName = "The name is not a valid XML name.";
