#include "ElementLocator.h"

#include <algorithm>
#include <cstring>

namespace
{

bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string_view LocalName(std::string_view name)
{
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

} // namespace

CElementLocator::CElementLocator(std::string_view text, std::vector<std::size_t> starts)
    : m_text(text), m_starts(std::move(starts))
{
}

const std::vector<std::size_t> &CElementLocator::LineStarts() const
{
    if (m_bLinesFound)
        return m_lineStarts;
    const char *const begin = m_text.data();
    const char *const end = begin + m_text.size();
    const auto next = [end](const char *p) {
        return static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    };
    std::size_t nLines = 0;
    for (const char *p = begin; (p = next(p)) != nullptr; ++p)
        ++nLines;
    m_lineStarts.reserve(nLines);
    for (const char *p = begin; (p = next(p)) != nullptr;)
        m_lineStarts.push_back(static_cast<std::size_t>(++p - begin));
    m_bLinesFound = true;
    return m_lineStarts;
}

std::size_t CElementLocator::LineStart(long nLine) const
{
    if (nLine <= 1)
        return 0;
    const auto nIndex = static_cast<std::size_t>(nLine - 2);
    const std::vector<std::size_t> &lineStarts = LineStarts();
    return nIndex < lineStarts.size() ? lineStarts[nIndex] : m_text.size();
}

std::size_t CElementLocator::ColumnOffset(std::size_t nStart, long nColumn) const
{
    std::size_t nOffset = nStart;
    for (long nCharacters = 1;
         nCharacters < nColumn && nOffset < m_text.size() && m_text[nOffset] != '\n';
         ++nCharacters) {
        ++nOffset;
        while (nOffset < m_text.size() && IsContinuation(m_text[nOffset]))
            ++nOffset;
    }
    return nOffset;
}

std::size_t CElementLocator::ElementAt(long nLine, long nColumn) const
{
    const std::size_t nStart = LineStart(nLine);
    if (nColumn <= 0) {
        const std::size_t nEnd = LineStart(nLine + 1);
        const auto first = std::lower_bound(m_starts.begin(), m_starts.end(), nStart);
        if (first != m_starts.end() && *first < nEnd)
            return static_cast<std::size_t>(first - m_starts.begin());
        return first == m_starts.begin() ? npos
                                         : static_cast<std::size_t>(first - m_starts.begin()) - 1;
    }
    const std::size_t nOffset = ColumnOffset(nStart, nColumn);
    const auto after = std::lower_bound(m_starts.begin(), m_starts.end(), nOffset);
    return after == m_starts.begin() ? npos
                                     : static_cast<std::size_t>(after - m_starts.begin()) - 1;
}

std::size_t CElementLocator::ElementFor(long nLine, long nColumn, std::string_view name) const
{
    if (nColumn > 0 || name.empty())
        return ElementAt(nLine, nColumn);
    const std::size_t nStart = LineStart(nLine);
    const std::size_t nEnd = LineStart(nLine + 1);
    const auto first = std::lower_bound(m_starts.begin(), m_starts.end(), nStart);
    for (auto start = first; start != m_starts.end() && *start < nEnd; ++start) {
        const auto nIndex = static_cast<std::size_t>(start - m_starts.begin());
        if (LocalName(NameAt(nIndex)) == name)
            return nIndex;
    }
    return ElementAt(nLine, 0);
}

std::string_view CElementLocator::NameAt(std::size_t nIndex) const
{
    if (nIndex >= m_starts.size())
        return {};
    const std::size_t nStart = m_starts[nIndex] + 1;
    const std::size_t nEnd = m_text.find_first_of(" \t\r\n>/", nStart);
    return m_text.substr(nStart,
                         nEnd == std::string_view::npos ? std::string_view::npos : nEnd - nStart);
}

std::pair<long, long> CElementLocator::PositionOf(std::size_t nIndex) const
{
    if (nIndex >= m_starts.size())
        return {0, 0};
    const std::size_t nOffset = m_starts[nIndex];
    const std::vector<std::size_t> &lineStarts = LineStarts();
    const auto line = std::upper_bound(lineStarts.begin(), lineStarts.end(), nOffset);
    const std::size_t nLineStart = line == lineStarts.begin() ? 0 : *(line - 1);
    long nColumn = 1;
    for (std::size_t i = nLineStart; i < nOffset; ++i)
        nColumn += IsContinuation(m_text[i]) ? 0 : 1;
    return {static_cast<long>(line - lineStarts.begin()) + 1, nColumn};
}

std::vector<dom::Node> CElementLocator::NodesAt(const dom::Document &document,
                                                const std::vector<std::size_t> &indices)
{
    std::vector<dom::Node> nodes(indices.size());
    if (document.isNull())
        return nodes;
    auto wanted = std::find_if(indices.begin(), indices.end(),
                               [](std::size_t nIndex) { return nIndex != npos; });
    // The writer numbers the elements in the order of this walk.
    std::size_t nElement = 0;
    for (dom::NodeView node = document.view().firstChild();
         node && wanted != indices.end() && *wanted != npos;) {
        if (node.nodeType() == dom::NODE_ELEMENT) {
            for (; wanted != indices.end() && *wanted == nElement; ++wanted)
                nodes[static_cast<std::size_t>(wanted - indices.begin())] = node.node(document);
            ++nElement;
            if (const dom::NodeView first = node.firstChild()) {
                node = first;
                continue;
            }
        }
        while (node && !node.nextSibling())
            node = node.parentNode();
        if (node)
            node = node.nextSibling();
    }
    return nodes;
}

std::string CElementLocator::NamedElement(std::string_view message)
{
    // XML Schema: "Element 'x': ..." or "Element '{uri}x': ...".
    if (message.substr(0, 9) == "Element '") {
        const std::size_t nEnd = message.find('\'', 9);
        if (nEnd == std::string_view::npos)
            return {};
        std::string_view name = message.substr(9, nEnd - 9);
        if (const std::size_t nBrace = name.rfind('}'); nBrace != std::string_view::npos)
            name.remove_prefix(nBrace + 1);
        return std::string(LocalName(name));
    }
    // RELAX NG and DTD: "Element x ...", "... element x there", "No declaration for element x".
    for (const std::string_view key :
         {std::string_view("Element "), std::string_view("element ")}) {
        const std::size_t nKey = message.find(key);
        if (nKey == std::string_view::npos)
            continue;
        const std::size_t nStart = nKey + key.size();
        const std::size_t nEnd = message.find_first_of(" ,\n", nStart);
        return std::string(LocalName(message.substr(
            nStart, nEnd == std::string_view::npos ? std::string_view::npos : nEnd - nStart)));
    }
    return {};
}

dom::Node CElementLocator::Refine(const dom::Node &element, std::string_view name)
{
    if (name.empty())
        return element;
    for (dom::Node node = element; node && node.nodeType() == dom::NODE_ELEMENT;
         node = node.parentNode()) {
        if (LocalName(node.nodeName()) == name)
            return node;
    }
    return element;
}
