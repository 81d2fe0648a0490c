#include "SoakChecks.h"

#include "ChildFrame.h"
#include "Document.h"
#include "EditContext.h"
#include "NodeRows.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "PellixView.h"
#include "TempDir.h"
#include "TreeClipboard.h"
#include "XmlWriter.h"

#include <algorithm>
#include <set>

namespace
{

std::string Utf8(const QString &strText)
{
    return strText.toStdString();
}

bool IsInDocument(dom::Node node, const dom::Node &document)
{
    for (; node; node = node.parentNode()) {
        if (node == document)
            return true;
    }
    return false;
}

std::string NamesOf(const std::vector<std::string> &names)
{
    std::string text = "[";
    for (const std::string &name : names)
        text += (text.size() > 1 ? " " : "") + name;
    return text + "]";
}

// The tree makes an item's child items only when they are first asked for (the item is opened,
// a command walks down): until then its children are only in the DOM, and there is nothing to
// compare. This one function tells which items have them, without making any.
bool ChildItemsMade(const CTreeItemRef &item)
{
    return item.GetModel()->IsFilled(item.GetId());
}

// Compares the child items of `item` with the element children of its node; false after
// reporting the first difference.
bool CompareChildren(const CTreeItemRef &item, SoakProblems &problems)
{
    std::vector<std::string> itemNames;
    std::vector<std::string> domNames;
    bool bSame = true;
    CTreeItemRef child = item.GetFirstChild();
    for (dom::Node node = item.GetNode().firstChild(); node; node = node.nextSibling()) {
        if (node.nodeType() != dom::NODE_ELEMENT)
            continue;
        domNames.emplace_back(node.nodeName());
        if (child.IsNull()) {
            bSame = false;
            continue;
        }
        itemNames.push_back(Utf8(child.GetLabel()));
        bSame = bSame && child.GetNode() == node && itemNames.back() == node.nodeName() &&
                child.GetImage() != CPellixTreeView::IMG_DOCUMENT;
        child = child.GetNextSibling();
    }
    for (; child; child = child.GetNextSibling()) {
        itemNames.push_back(Utf8(child.GetLabel()));
        bSame = false;
    }
    if (!bSame)
        problems.push_back("tree items under " + ItemPath(item) + " are " + NamesOf(itemNames) +
                           ", the DOM's elements " + NamesOf(domNames));
    return bSame;
}

// One line per node, attribute and joined text, as a loader reads the tree back from the
// writer's bytes.
void DumpNode(const dom::Node &node, int nDepth, bool bPreserve, std::vector<std::string> &lines)
{
    const std::string indent(static_cast<std::size_t>(nDepth) * 2, ' ');
    const std::string head =
        indent + std::to_string(node.nodeType()) + " " + std::string(node.nodeName());
    const std::string_view value = node.nodeValue();
    if (node.nodeType() == dom::NODE_CDATA_SECTION) {
        // "]]>" cannot stand in a section: the writer splits it over two, which read back as two.
        std::size_t nStart = 0;
        for (std::size_t nEnd = value.find("]]>"); nEnd != std::string_view::npos;
             nEnd = value.find("]]>", nStart)) {
            lines.push_back(head + " = \"" + std::string(value.substr(nStart, nEnd + 2 - nStart)) +
                            "\"");
            nStart = nEnd + 2;
        }
        lines.push_back(head + " = \"" + std::string(value.substr(nStart)) + "\"");
    } else if (node.hasValue() || node.nodeType() == dom::NODE_DOCUMENT_TYPE) {
        lines.push_back(head + " = \"" + std::string(value) + "\"");
    } else {
        lines.push_back(head);
    }
    dom::AttributeMap attributes = node.attributes();
    for (dom::Node attribute = attributes.nextNode(); attribute;
         attribute = attributes.nextNode()) {
        lines.push_back(indent + "  @" + std::string(attribute.nodeName()) + " = \"" +
                        std::string(attribute.nodeValue()) + "\"");
        if (attribute.nodeName() == "xml:space")
            bPreserve = attribute.nodeValue() == "preserve";
    }
    std::string text;
    bool bInText = false;
    const auto flushText = [&] {
        const bool bBlank = text.find_first_not_of(" \t\r\n") == std::string::npos;
        if (bInText && (bPreserve || !bBlank))
            lines.push_back(indent + "  3 #text = \"" + text + "\"");
        text.clear();
        bInText = false;
    };
    for (dom::Node child = node.firstChild(); child; child = child.nextSibling()) {
        if (child.nodeType() == dom::NODE_TEXT) {
            text += child.nodeValue();
            bInText = true;
            continue;
        }
        flushText();
        DumpNode(child, nDepth + 1, bPreserve, lines);
    }
    flushText();
}

// Line ends and tabs written out, so that a message stays on one line.
std::string Escaped(const std::string &text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '\r':
            escaped += "\\r";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\t':
            escaped += "\\t";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// The first offset where two byte strings differ, with a little of each around it.
std::string ByteDifference(const std::string &a, const std::string &b)
{
    const auto [itA, itB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    const std::size_t nAt = static_cast<std::size_t>(itA - a.begin());
    const std::size_t nFrom = nAt > 20 ? nAt - 20 : 0;
    return "at byte " + std::to_string(nAt) + ": \"" + Escaped(a.substr(nFrom, 60)) +
           "\" against \"" + Escaped(b.substr(nFrom, 60)) + "\"";
}

} // namespace

std::string ItemPath(const CTreeItemRef &item)
{
    std::string path;
    for (CTreeItemRef up = item; up; up = up.GetParent())
        path = "/" + Utf8(up.GetLabel()) + path;
    return path.empty() ? "(none)" : path;
}

void ForEachMadeItem(const CTreeItemRef &top,
                     const std::function<bool(const CTreeItemRef &)> &fnVisit)
{
    std::vector<CTreeItemRef> pending{top};
    while (!pending.empty()) {
        const CTreeItemRef item = pending.back();
        pending.pop_back();
        if (item.IsNull() || !fnVisit(item) || !ChildItemsMade(item))
            continue;
        std::vector<CTreeItemRef> children;
        for (CTreeItemRef child = item.GetFirstChild(); child; child = child.GetNextSibling())
            children.push_back(child);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

void CheckTreeMatchesDom(const CPellixTreeView *pTree, const dom::Node &document,
                         SoakProblems &problems)
{
    const CTreeItemRef root = pTree->GetRootItem();
    if (root.IsNull() || !(root.GetNode() == document) || !root.GetNextSibling().IsNull()) {
        problems.push_back("the tree's top level is not one item for the document node");
        return;
    }
    std::vector<CTreeItemRef> pending{root};
    while (!pending.empty()) {
        const CTreeItemRef item = pending.back();
        pending.pop_back();
        if (!ChildItemsMade(item))
            continue;
        if (!CompareChildren(item, problems))
            return;
        for (CTreeItemRef child = item.GetFirstChild(); child; child = child.GetNextSibling())
            pending.push_back(child);
    }
}

void CheckTreeHandles(const CPellixTreeView *pTree, const dom::Node &document,
                      SoakProblems &problems)
{
    const auto check = [&](const char *what, const CTreeItemRef &item) {
        if (item.IsNull())
            return;
        if (item.GetModel() != pTree->GetItemModel())
            problems.push_back(std::string(what) + " is an item of another pane");
        else if (!IsInDocument(item.GetNode(), document))
            problems.push_back(std::string(what) + " " + ItemPath(item) +
                               " names a node that left the document");
    };
    check("the current item", pTree->GetCurrentItem());
    check("the shown item", pTree->GetShownItem());
    check("the selected item", pTree->GetSelectedItem());
    for (const CTreeItemRef &match : pTree->GetMatches())
        check("a match", match);
    // Commands act on the current item; between steps it is the one the user sees selected.
    if (!(pTree->GetCurrentItem() == pTree->GetSelectedItem()))
        problems.push_back("the current item " + ItemPath(pTree->GetCurrentItem()) +
                           " is not the selected item " + ItemPath(pTree->GetSelectedItem()));
    if (pTree->IsDragging() || !pTree->GetDropTarget().IsNull() ||
        !pTree->GetHighlightedItem().IsNull())
        problems.push_back("a drag or highlight outlived its step");
}

void CheckClipboardMark(const std::vector<const CPellixTreeView *> &panes, SoakProblems &problems)
{
    const CTreeClipboard &clipboard = TreeClipboard();
    const CTreeItemRef &mark = clipboard.m_itemClipSource;
    if (!mark.IsNull() && !IsInDocument(mark.GetNode(), mark.GetNode().ownerDocument()))
        problems.push_back("the clipboard mark " + ItemPath(mark) +
                           " names a node that left its document");
    const bool bCutPending = clipboard.m_nClipMode == CTreeClipboard::CLIP_CUT;
    for (const CPellixTreeView *pTree : panes) {
        ForEachMadeItem(pTree->GetRootItem(), [&](const CTreeItemRef &item) {
            if (item.GetImage() == CPellixTreeView::IMG_CUT && !(bCutPending && item == mark))
                problems.push_back("item " + ItemPath(item) +
                                   " shows the cut image, but no cut of it is pending");
            return true;
        });
    }
}

void CheckGridRows(const CChildFrame *pFrame, const dom::Node &document, SoakProblems &problems)
{
    const CPellixTreeView *pTree = pFrame->GetTreePane();
    const CPellixGridView *pGrid = pFrame->GetGridPane();
    const CEditContext *pContext = pFrame->GetEditContext();
    const CTreeItemRef selected = pTree->GetSelectedItem();
    if (!(pTree->GetShownItem() == selected))
        problems.push_back("the grid shows the rows of " + ItemPath(pTree->GetShownItem()) +
                           ", the selected item is " + ItemPath(selected));
    const dom::Node node = pContext->GetNode();
    if (!(node == selected.GetNode()))
        problems.push_back("the edit context holds rows of '" + std::string(node.nodeName()) +
                           "', the selected item is " + ItemPath(selected));
    if (!node.isNull() && !IsInDocument(node, document))
        problems.push_back("the edit context holds rows of a node that left the document");

    // The list shows each of the context's rows once, and nothing else.
    std::set<quintptr> rows;
    for (int nRow = 0; nRow < pContext->GetRowCount(); ++nRow)
        rows.insert(reinterpret_cast<quintptr>(pContext->GetRow(nRow)));
    std::set<quintptr> listed;
    for (int nItem = 0; nItem < pGrid->GetItemCount(); ++nItem)
        listed.insert(pGrid->GetItemData(nItem));
    if (listed != rows || pGrid->GetItemCount() != pContext->GetRowCount())
        problems.push_back("the grid lists " + std::to_string(pGrid->GetItemCount()) +
                           " rows, the edit context holds " +
                           std::to_string(pContext->GetRowCount()));

    if (!node.isNull() && !pContext->AreRowsEdited()) {
        std::vector<GridRow> expected;
        ForEachNodeRow(node.view(), [&expected](dom::NodeType kind, std::string_view name,
                                                std::string_view value) {
            expected.push_back({kind, QString::fromUtf8(name.data(), qsizetype(name.size())),
                                QString::fromUtf8(value.data(), qsizetype(value.size()))});
        });
        expected.emplace_back();
        const auto rowText = [](const GridRow *pRow) {
            return pRow == nullptr ? std::string("none")
                                   : std::to_string(pRow->nKind) + " " + Utf8(pRow->strName) +
                                         "=\"" + Utf8(pRow->strValue) + "\"";
        };
        for (std::size_t nRow = 0; nRow < std::max(expected.size(), rows.size()); ++nRow) {
            const GridRow *pRow = pContext->GetRow(static_cast<int>(nRow));
            const GridRow *pWant = nRow < expected.size() ? &expected[nRow] : nullptr;
            if (pRow != nullptr && pWant != nullptr && pRow->nKind == pWant->nKind &&
                pRow->strName == pWant->strName && pRow->strValue == pWant->strValue)
                continue;
            problems.push_back("the unedited rows of " + ItemPath(selected) +
                               " are not the node's parts: row " + std::to_string(nRow) + " is " +
                               rowText(pRow) + ", the node's " + rowText(pWant));
            break;
        }
    }

    const CPellixView *pText = pFrame->GetTextPane();
    const int nTextRow = pText->GetTargetRow();
    if (nTextRow < 0)
        return;
    const GridRow *pRow = pContext->GetRow(nTextRow);
    const int nTextCol = pText->GetTargetCol();
    if (pRow == nullptr || pText->IsLocked() ||
        (nTextCol != CPellixGridView::ColName && nTextCol != CPellixGridView::ColValue) ||
        (nTextCol == CPellixGridView::ColName && CEditContext::IsNameReadOnly(pRow->nKind)))
        problems.push_back("the text pane writes into row " + std::to_string(nTextRow) +
                           ", column " + std::to_string(nTextCol) + ", which it may not");
}

void CheckModifiedFlag(CPellixDoc *pDoc, const std::string &baseline, SoakProblems &problems)
{
    std::string error;
    const std::string bytes = WriteXMLString(pDoc->GetXMLDocument(), &error);
    if (!error.empty())
        problems.push_back("the DOM holds what cannot be written: " + error);
    if (pDoc->IsModified())
        return;
    for (const CEditContext *pContext : pDoc->GetEditContexts()) {
        if (pContext->AreRowsEdited())
            problems.emplace_back("a window holds edited rows, but the document is not modified");
    }
    if (error.empty() && bytes != baseline)
        problems.push_back("the document is not modified, but its DOM is not what was saved " +
                           ByteDifference(bytes, baseline));
}

void CheckSavedFile(const dom::Node &document, const std::string &path, SoakProblems &problems)
{
    const std::string bytes = ReadBytes(path);
    const std::string written = WriteXMLString(document);
    if (bytes != written)
        problems.push_back("the saved file is not the DOM's bytes " +
                           ByteDifference(bytes, written));
    dom::Document reloaded = dom::Document::create();
    // A parse error is S_FALSE, as the component it stands in for answers.
    if (reloaded.load(path) != S_OK) {
        const dom::ParseError &error = reloaded.parseError();
        problems.push_back("the saved file does not load: line " + std::to_string(error.line) +
                           ": " + error.reason);
        return;
    }
    if (const std::string difference = TreeDifference(document, reloaded); !difference.empty())
        problems.push_back("the saved file loads to another tree: " + difference);
    const std::string again = WriteXMLString(reloaded);
    if (again != bytes)
        problems.push_back("the reloaded file saves to other bytes " +
                           ByteDifference(again, bytes));
}

std::string TreeDifference(const dom::Node &a, const dom::Node &b)
{
    std::vector<std::string> linesA;
    std::vector<std::string> linesB;
    DumpNode(a, 0, false, linesA);
    DumpNode(b, 0, false, linesB);
    const auto [itA, itB] =
        std::mismatch(linesA.begin(), linesA.end(), linesB.begin(), linesB.end());
    if (itA == linesA.end() && itB == linesB.end())
        return {};
    const std::string before = itA != linesA.begin() ? *(itA - 1) : std::string("(start)");
    return "after '" + before + "': '" + (itA != linesA.end() ? *itA : "(end)") + "' against '" +
           (itB != linesB.end() ? *itB : "(end)") + "'";
}
