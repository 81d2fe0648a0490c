#pragma once

// What XML can hold, in one place: the checks the row commit and the writer share, so that
// Pellix never writes a file it cannot read back.

#include <optional>
#include <string>
#include <string_view>

// True for a processing-instruction target that XML reserves: "xml" in any letter case.
bool IsReservedPiTarget(std::string_view target);

// Why `data` is not the pseudo-attribute list of an XML declaration (version first and
// required, then encoding and standalone, each optional); nothing when it is one.
std::optional<std::string> CheckXmlDeclaration(std::string_view data);

// Why `utf8` cannot appear in an XML 1.0 document (malformed UTF-8, control characters other
// than tab, line feed and carriage return, U+FFFE, U+FFFF); nothing when it can.
std::optional<std::string> CheckXmlChars(std::string_view utf8);

// Why a comment cannot hold `text` ("--" inside, "-" at the end); nothing when it can.
std::optional<std::string> CheckCommentText(std::string_view text);

// Why a processing instruction cannot hold `data` ("?>" inside); nothing when it can.
std::optional<std::string> CheckPiData(std::string_view data);

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
