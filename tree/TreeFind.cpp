// Search and replace in the tree pane: one pass over the items, and the elements of items not
// made yet, collects every element whose name, attribute names, attribute values or child
// values hold the search text, making only the items it finds; each Find Next then selects the
// next collected item (Replace renames it too), and Replace All renames them all at once.

#include "TreeFind.h"

#include "DocumentEditor.h"
#include "MessageBox.h"
#include "PellixTreeView.h"
#include "Resource.h"

#include <QChar>
#include <algorithm>
#include <vector>

namespace
{

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Lower case as the search compares it: ASCII byte by byte (the common case, and fast), any
// other text through Unicode's case mapping.
void ToLower(std::string_view text, std::string &out)
{
    if (IsAscii(text)) {
        out.assign(text);
        for (char &c : out) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return;
    }
    out =
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toLower().toStdString();
}

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The code point of the UTF-8 sequence that starts at nPos.
char32_t CodePointAt(std::string_view text, std::size_t nPos)
{
    std::size_t nEnd = nPos + 1;
    while (nEnd < text.size() && IsContinuationByte(text[nEnd]))
        ++nEnd;
    const QString decoded =
        QString::fromUtf8(text.data() + nPos, static_cast<qsizetype>(nEnd - nPos));
    return decoded.isEmpty() ? U'\0' : decoded.toUcs4().value(0);
}

// Letters (of any script) and "_" make words; digits and everything else separate them.
bool IsWordCharacter(char32_t c)
{
    return c == U'_' || QChar::isLetter(c);
}

} // namespace

CTextMatcher::CTextMatcher(const QString &strText, bool bMatchCase, bool bWholeText)
    : m_bMatchCase(bMatchCase), m_bWholeText(bWholeText)
{
    const std::string text = strText.toStdString();
    if (bMatchCase)
        m_pattern = text;
    else
        ToLower(text, m_pattern);
}

bool CTextMatcher::IsWholeAt(std::string_view text, std::size_t nPos, std::size_t nStart) const
{
    if (nPos > nStart) {
        std::size_t nBefore = nPos - 1;
        while (nBefore > 0 && IsContinuationByte(text[nBefore]))
            --nBefore;
        if (IsWordCharacter(CodePointAt(text, nBefore)))
            return false;
    }
    const std::size_t nAfter = nPos + m_pattern.size();
    return nAfter >= text.size() || !IsWordCharacter(CodePointAt(text, nAfter));
}

bool CTextMatcher::Matches(std::string_view candidate)
{
    if (m_pattern.empty())
        return false;
    std::string_view text = candidate;
    if (!m_bMatchCase) {
        ToLower(candidate, m_lowered);
        text = m_lowered;
    }
    for (std::size_t nStart = 0;;) {
        const std::size_t nPos = text.find(m_pattern, nStart);
        if (nPos == std::string_view::npos)
            return false;
        if (!m_bWholeText || IsWholeAt(text, nPos, nStart))
            return true;
        nStart = nPos + m_pattern.size();
    }
}

int CPellixTreeView::CountMatches(CTreeItemModel::ItemId id, dom::NodeView node,
                                  CTextMatcher &matcher, const CFindOptions &options) const
{
    int nMatches = 0;
    if (options.bElement) {
        // The label, which is the node's name unless the item was given another text.
        const QString *pLabel = id != CTreeItemModel::kRootId ? m_pModel->StoredLabel(id) : nullptr;
        const bool bMatch = pLabel != nullptr ? matcher.Matches(pLabel->toStdString())
                                              : matcher.Matches(node.nodeName());
        nMatches += bMatch ? 1 : 0;
    }
    if (options.bAttrName || options.bAttrValue) {
        for (dom::NodeView a = node.firstAttribute(); a; a = a.nextAttribute()) {
            nMatches += options.bAttrName && matcher.Matches(a.nodeName()) ? 1 : 0;
            nMatches += options.bAttrValue && matcher.Matches(a.nodeValue()) ? 1 : 0;
        }
    }
    if (options.bText || options.bComment) {
        for (dom::NodeView child = node.firstChild(); child; child = child.nextSibling()) {
            switch (child.nodeType()) {
            case dom::NODE_TEXT:
            case dom::NODE_CDATA_SECTION:
            case dom::NODE_COMMENT:
            case dom::NODE_PROCESSING_INSTRUCTION:
                nMatches += matcher.Matches(child.nodeValue()) ? 1 : 0;
                break;
            default:
                break;
            }
        }
    }
    return nMatches;
}

CTreeItemRef CPellixTreeView::CollectMatches(std::vector<CFoundItem> &arrFound,
                                             const CTreeItemRef &start, const QString &strFind,
                                             const CFindOptions &options) const
{
    CTextMatcher matcher(strFind, options.bMatchCase, options.bWholeText);
    if (matcher.IsEmpty() || start.IsNull() || start.GetModel() != m_pModel)
        return start;
    for (CTreeItemWalk walk(m_pModel, start.GetId()); walk.Next();) {
        // An item that matches several ways is listed once per way, in a row.
        const int nMatches = CountMatches(walk.Item(), walk.Node(), matcher, options);
        if (nMatches <= 0)
            continue;
        AddFound(arrFound, walk);
        arrFound.insert(arrFound.end(), static_cast<std::size_t>(nMatches - 1), arrFound.back());
    }
    return start;
}

void CPellixTreeView::AddFound(std::vector<CFoundItem> &arrFound, CTreeItemWalk &walk) const
{
    const CTreeItemModel::ItemId id = walk.MakeItem();
    arrFound.push_back({id, m_pModel->GenerationOf(id)});
}

CTreeItemRef CPellixTreeView::FoundItem(std::size_t nIndex) const
{
    if (nIndex >= m_arrFound.size())
        return {};
    const CFoundItem &found = m_arrFound[nIndex];
    // Deleted items never come back out of the list.
    if (!m_pModel->IsLive(found.id, found.nGeneration, m_nFoundEpoch))
        return {};
    return CTreeItemRef(m_pModel, found.id);
}

std::vector<CTreeItemRef> CPellixTreeView::GetMatches() const
{
    std::vector<CTreeItemRef> matches;
    for (std::size_t nIndex = 0; nIndex < m_arrFound.size(); ++nIndex) {
        if (const CTreeItemRef item = FoundItem(nIndex))
            matches.push_back(item);
    }
    return matches;
}

void CPellixTreeView::ClearMatches()
{
    m_arrFound.clear();
    m_nFoundPos = 0;
    m_itemLastReplaced = CTreeItemRef();
}

void CPellixTreeView::FindInTree(const CTreeItemRef &start, const QString &strFind, bool bReplace,
                                 const QString &strReplace, const CFindOptions &options)
{
    // The search sees, and a rename keeps, the edits of the rows shown.
    CommitShownItem();
    if (strFind != m_strLastFind || options.bXPath != m_bLastXPath || m_arrFound.empty()) {
        // An expression the engine refuses changes nothing.
        std::vector<CFoundItem> found;
        if (!CollectMatchList(found, start, strFind, options))
            return;
        ClearMatches();
        m_arrFound = std::move(found);
        m_strLastFind = strFind;
        m_bLastXPath = options.bXPath;
        m_nFoundEpoch = m_pModel->Epoch();
        // The first match in the direction chosen is selected; nothing is renamed yet.
        const bool bUp = options.nDirection == 0;
        m_nFoundPos = bUp ? static_cast<int>(m_arrFound.size()) : 0;
        if (!m_arrFound.empty())
            SelectItem(FoundItem(bUp ? m_arrFound.size() - 1 : 0));
        return;
    }
    VisitNextMatch(bReplace, strReplace, options.nDirection == 0);
}

void CPellixTreeView::VisitNextMatch(bool bReplace, const QString &strReplace, bool bUp)
{
    // A click always moves on: past the selected item when finding, past the item just
    // renamed when replacing, and past deleted items.
    const CTreeItemRef passed = bReplace ? m_itemLastReplaced : GetSelectedItem();
    const auto isSkipped = [&](int nIndex) {
        const CTreeItemRef item = FoundItem(static_cast<std::size_t>(nIndex));
        return item.IsNull() || item == passed;
    };
    const int nCount = static_cast<int>(m_arrFound.size());
    int nIndex = bUp ? m_nFoundPos - 1 : m_nFoundPos;
    while (nIndex >= 0 && nIndex < nCount && isSkipped(nIndex))
        nIndex += bUp ? -1 : 1;
    if (nIndex < 0 || nIndex >= nCount) {
        AfxMessageBox(QStringLiteral("Finished Searching the Document"));
        SelectItem(GetRootItem());
        m_nFoundPos = bUp ? nCount : 0;
        m_itemLastReplaced = CTreeItemRef();
        return;
    }
    const CTreeItemRef item = FoundItem(static_cast<std::size_t>(nIndex));
    SelectItem(item);
    m_itemCurrent = item;
    if (bReplace) {
        const CEditStep step(m_pEditor, IDS_STEP_REPLACE);
        ReplaceCurrentName(strReplace);
        m_itemLastReplaced = item;
    }
    m_nFoundPos = bUp ? nIndex : nIndex + 1;
}

bool CPellixTreeView::ReplaceCurrentName(const QString &strName)
{
    // The document item never takes a name, and an element already so named keeps its node.
    const dom::Node node = m_itemCurrent.GetNode();
    if (node.nodeType() != dom::NODE_ELEMENT || node.nodeName() == strName.toStdString())
        return false;
    return RenameNode(strName);
}

int CPellixTreeView::ReplaceAll(const CTreeItemRef &start, const QString &strFind,
                                const QString &strReplace, const CFindOptions &options)
{
    CommitShownItem();
    std::vector<CFoundItem> matches;
    if (!CollectMatchList(matches, start, strFind, options))
        return 0;
    ClearMatches();
    const dom::Document document = start.GetNode().ownerDocument();
    if (matches.empty() || document.isNull())
        return 0;
    // A name the DOM refuses is reported once, not once per match.
    if (document.createElement(strReplace.toStdString()).isNull()) {
        AfxMessageBox(QStringLiteral("\"%1\" is not a valid XML name: the elements keep their "
                                     "names.")
                          .arg(strReplace));
        return 0;
    }
    const std::uint32_t nEpoch = m_pModel->Epoch();
    // Every rename is taken back by one Undo.
    const CEditStep step(m_pEditor, IDS_STEP_REPLACE_ALL);
    int nRenamed = 0;
    for (const CFoundItem &found : matches) {
        if (!m_pModel->IsLive(found.id, found.nGeneration, nEpoch))
            continue;
        // RenameNode acts on the current item, where the announced rename finds it at once.
        m_itemCurrent = CTreeItemRef(m_pModel, found.id);
        nRenamed += ReplaceCurrentName(strReplace) ? 1 : 0;
    }
    m_itemCurrent = GetSelectedItem();
    return nRenamed;
}
