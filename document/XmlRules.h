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
