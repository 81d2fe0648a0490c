#pragma once

// Finds the element behind a line and column of a text the writer wrote, from the offsets of
// the elements' start tags in document order (see XmlSink::setElementStarts), and back.

#include "Document.h"

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CElementLocator
{
public:
    static constexpr std::size_t npos = std::numeric_limits<std::size_t>::max();

    // `text` must outlive the locator; `starts` ascend.
    CElementLocator(std::string_view text, std::vector<std::size_t> starts);

    // The index of the element whose start tag begins last before line nLine, column nColumn
    // (1-based, columns in characters). With column 0 (none known): the first element that
    // begins on the line, else the last before it. npos when no element begins before.
    std::size_t ElementAt(long nLine, long nColumn) const;
    // Line and column (1-based, in characters) of the "<" of element nIndex.
    std::pair<long, long> PositionOf(std::size_t nIndex) const;
    // The element an error reported at line nLine, column nColumn (0: none given) is about,
    // when its message names `name` (may be empty): with a column, ElementAt; without, the
    // first element of that name that begins on the line, else the first that begins there,
    // else the last before the line (an end tag's line: see Refine).
    std::size_t ElementFor(long nLine, long nColumn, std::string_view name) const;
    // The qualified name of element nIndex, as its start tag in the text has it.
    std::string_view NameAt(std::size_t nIndex) const;
    std::size_t ElementCount() const { return m_starts.size(); }

    // The elements of `document` with the indices given (ascending; npos stays a null node),
    // found in one walk in document order.
    static std::vector<dom::Node> NodesAt(const dom::Document &document,
                                          const std::vector<std::size_t> &indices);
    // The element a libxml2 message is about ("Element 'x': ...", "Element x failed ...",
    // "Did not expect element x there"), without prefix or namespace; empty when none.
    static std::string NamedElement(std::string_view message);
    // The nearest of `element` and its ancestors whose local name is `name`; `element` itself
    // when there is none or `name` is empty. An error reported at an end tag points past the
    // last element started inside; its message names the element it is about.
    static dom::Node Refine(const dom::Node &element, std::string_view name);

private:
    std::size_t LineStart(long nLine) const;
    // Finds the line starts the first time they are needed: a valid document needs none.
    const std::vector<std::size_t> &LineStarts() const;
    // Offset of the character nColumn (1-based) of the line starting at nStart.
    std::size_t ColumnOffset(std::size_t nStart, long nColumn) const;

    std::string_view m_text;
    std::vector<std::size_t> m_starts;
    // Offsets after each line feed; line n starts at m_lineStarts[n - 2] (line 1 at 0).
    mutable std::vector<std::size_t> m_lineStarts;
    mutable bool m_bLinesFound = false;
};
