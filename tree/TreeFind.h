#pragma once

#include "TreeItemModel.h"

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

// What a search looks at and how it compares, as the find dialog sets it.
struct CFindOptions {
    bool bMatchCase = false;
    // 0 up (the matches in reverse order), 1 down.
    int nDirection = 1;
    bool bWholeText = false;
    bool bElement = true;
    bool bAttrName = false;
    bool bAttrValue = false;
    // Either of the two admits the value of every child that has one: text, CDATA, comment
    // and processing instruction alike.
    bool bComment = false;
    bool bText = false;
    // The text is an XPath expression evaluated from the document; the options above do not
    // apply then.
    bool bXPath = false;
};

// One entry of a match list: an item by slot and generation, so that a deleted item is known
// as deleted and a later item in its slot is not taken for it. Eight bytes, for lists of
// millions.
struct CFoundItem {
    CTreeItemModel::ItemId id = CTreeItemModel::kRootId;
    std::uint32_t nGeneration = 0;
};

// A search text ready to be looked for in candidates (UTF-8). Without Match Case the text and
// every candidate are compared in lower case. With Match Whole Text an occurrence counts only
// where neither the character before it nor the one after it is a letter or "_"; after an
// occurrence that does not count the search goes on in the rest of the candidate, whose start
// has no character before it.
class CTextMatcher
{
public:
    CTextMatcher(const QString &strText, bool bMatchCase, bool bWholeText);

    bool IsEmpty() const { return m_pattern.empty(); }
    bool Matches(std::string_view candidate);

private:
    bool IsWholeAt(std::string_view text, std::size_t nPos, std::size_t nStart) const;

    std::string m_pattern;
    bool m_bMatchCase;
    bool m_bWholeText;
    // The lower-case copy of the candidate being compared.
    std::string m_lowered;
};
