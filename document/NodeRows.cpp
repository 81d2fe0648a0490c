#include "NodeRows.h"

#include "Document.h"
#include "DomFunctions.h"
#include "Resource.h"
#include "StringTable.h"
#include "XmlName.h"
#include "XmlRules.h"

#include <algorithm>
#include <optional>
#include <string>

namespace
{

void RemoveTrailingCommas(std::string &text)
{
    while (!text.empty() && text.back() == ',')
        text.pop_back();
}

bool IsRowKind(dom::NodeType kind)
{
    return kind == dom::NODE_TEXT || kind == dom::NODE_CDATA_SECTION || kind == dom::NODE_COMMENT ||
           kind == dom::NODE_PROCESSING_INSTRUCTION;
}

QString Reason(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Why the DOM refused a child of `parent` of the row's kind.
QString RefusedChildText(const dom::Node &parent, const GridRow &row)
{
    if (parent.nodeType() == dom::NODE_DOCUMENT &&
        (row.nKind == dom::NODE_TEXT || row.nKind == dom::NODE_CDATA_SECTION))
        return QStringLiteral("A document holds no text outside its root element.");
    return QStringLiteral("The node cannot hold this kind of child.");
}

// What xml:space="preserve" or "default" says of blanks inside `node` once its rows are
// written: the value its rows give it, else the nearest ancestor's, as a reader decides.
bool PreservesSpace(const dom::Node &node, const std::vector<GridRow> &rows)
{
    const auto says = [](std::string_view value) -> std::optional<bool> {
        if (value == "preserve")
            return true;
        if (value == "default")
            return false;
        return std::nullopt;
    };
    // A later row of the same name replaces an earlier one's value.
    std::optional<bool> own;
    for (const GridRow &row : rows) {
        if (row.nKind == dom::NODE_ATTRIBUTE && row.strName == QLatin1String("xml:space"))
            own = says(row.strValue.toStdString());
    }
    if (own)
        return *own;
    for (dom::Node up = node.parentNode(); up.nodeType() == dom::NODE_ELEMENT;
         up = up.parentNode()) {
        std::string value;
        if (up.getAttribute("xml:space", &value) == S_OK) {
            if (const std::optional<bool> said = says(value))
                return *said;
        }
    }
    return false;
}

class RowWriter
{
public:
    RowWriter(const dom::Node &node, bool bPreserveSpace)
        : m_node(node), m_document(node.ownerDocument()), m_reference(node.firstChild()),
          m_bPreserveSpace(bPreserveSpace)
    {
    }

    void Write(int nRow, const GridRow &row)
    {
        std::optional<QString> why;
        if (row.nKind == dom::NODE_ATTRIBUTE)
            why = WriteAttribute(row);
        else if (IsRowKind(row.nKind))
            why = WriteChild(row);
        else
            why = QStringLiteral("The row has no known node type.");
        if (why)
            m_result.refused.push_back({nRow, row, *why});
    }

    CRowsCommit Finish()
    {
        // Reported in the order the rows stand, whichever was written first.
        std::stable_sort(
            m_result.refused.begin(), m_result.refused.end(),
            [](const CRefusedRow &a, const CRefusedRow &b) { return a.nRow < b.nRow; });
        RemoveTrailingCommas(m_tip);
        m_result.strTip = QString::fromStdString(m_tip);
        return std::move(m_result);
    }

private:
    std::optional<QString> WriteAttribute(const GridRow &row)
    {
        if (row.strName.isEmpty())
            return std::nullopt;
        if (!IsValidXMLName(row.strName))
            return LoadResString(IDS_INVALID_XMLNAME);
        const std::string strName = row.strName.toStdString();
        const std::string strValue = row.strValue.toStdString();
        if (m_node.nodeType() != dom::NODE_ELEMENT)
            return QStringLiteral("Only elements have attributes.");
        if (const auto why = CheckXmlChars(strValue))
            return Reason(*why);
        if (const auto why = CheckNamespaceDeclaration(strName, strValue))
            return Reason(*why);
        if (FAILED(SetElementAttribute(m_node, strName, strValue)))
            return Reason(kNotAnXmlName);
        m_tip += strName + '=' + strValue + ',';
        return std::nullopt;
    }

    std::optional<QString> WriteChild(const GridRow &row)
    {
        if (row.strValue.isEmpty() && row.nKind != dom::NODE_PROCESSING_INSTRUCTION)
            return std::nullopt;
        const std::string strName = row.strName.toStdString();
        std::string strValue = row.strValue.toStdString();
        // Blanks between a target and its data only separate them, and those that end a
        // declaration are layout: a reader drops both.
        if (row.nKind == dom::NODE_PROCESSING_INSTRUCTION) {
            strValue.erase(0, std::min(strValue.find_first_not_of(" \t\r\n"), strValue.size()));
            if (IsReservedPiTarget(strName))
                strValue.erase(strValue.find_last_not_of(" \t\r\n") + 1);
        }
        // A reader drops a text of blanks only where they are not content: so does the commit,
        // or the file would not read back as saved.
        if (row.nKind == dom::NODE_TEXT && !m_bPreserveSpace && dom::IsXmlWhiteSpace(strValue))
            return std::nullopt;
        if (const auto why = CheckRow(row, strName, strValue))
            return why;
        dom::Node child = CreateChild(row.nKind, strName, strValue);
        if (child.isNull())
            return Reason(kNotAnXmlName);
        if (FAILED(m_node.insertBefore(child, m_reference)))
            return RefusedChildText(m_node, row);
        m_bWroteChild = true;
        return std::nullopt;
    }

    // Why a character-data row cannot be written, or nothing when it can.
    std::optional<QString> CheckRow(const GridRow &row, const std::string &strName,
                                    const std::string &strValue) const
    {
        if (const auto why = CheckXmlChars(strValue))
            return Reason(*why);
        if (row.nKind != dom::NODE_TEXT) {
            if (const auto why = CheckMarkupLineEnds(strValue))
                return Reason(*why);
        }
        if (row.nKind == dom::NODE_COMMENT) {
            if (const auto why = CheckCommentText(strValue))
                return Reason(*why);
        }
        if (row.nKind != dom::NODE_PROCESSING_INSTRUCTION)
            return std::nullopt;
        if (!IsValidXMLName(row.strName))
            return LoadResString(IDS_INVALID_XMLNAME);
        if (!dom::IsXmlName(strName))
            return Reason(kNotAnXmlName);
        if (const auto why = CheckPiData(strValue))
            return Reason(*why);
        if (!IsReservedPiTarget(strName))
            return std::nullopt;
        // Only the document's leading declaration may carry the reserved target.
        if (strName != "xml" || m_node.nodeType() != dom::NODE_DOCUMENT || m_bWroteChild)
            return QStringLiteral("The target \"xml\" is reserved for the declaration at the "
                                  "start of the document.");
        if (const auto why = CheckXmlDeclaration(strValue))
            return Reason(*why);
        return std::nullopt;
    }

    dom::Node CreateChild(dom::NodeType kind, const std::string &strName,
                          const std::string &strValue) const
    {
        if (kind == dom::NODE_PROCESSING_INSTRUCTION)
            return m_document.createProcessingInstruction(strName, strValue);
        dom::Node child = CreateDOMNode(m_document, kind, std::string_view());
        if (!child.isNull())
            child.setNodeValue(strValue);
        return child;
    }

    dom::Node m_node;
    const dom::Document m_document;
    // Character data goes before the first remaining child (an element or a document type),
    // or last when there is none.
    const dom::Node m_reference;
    const bool m_bPreserveSpace;
    std::string m_tip;
    bool m_bWroteChild = false;
    CRowsCommit m_result;
};

} // namespace

QString RefusedRowMessage(const CRefusedRow &refused)
{
    const QString strKind = NodeKindText(refused.row.nKind);
    return QStringLiteral("%1\n%2 row %3 (\"%4\") was not written.")
        .arg(refused.strReason, strKind.isEmpty() ? QStringLiteral("The") : strKind)
        .arg(refused.nRow + 1)
        .arg(refused.row.strName);
}

void ForEachNodeRow(
    dom::NodeView node,
    const std::function<void(dom::NodeType, std::string_view, std::string_view)> &fnRow)
{
    for (dom::NodeView attribute = node.firstAttribute(); attribute;
         attribute = attribute.nextAttribute())
        fnRow(dom::NODE_ATTRIBUTE, attribute.nodeName(), TrimBlanks(attribute.nodeValue()));
    for (dom::NodeView child = node.firstChild(); child; child = child.nextSibling()) {
        const dom::NodeType kind = child.nodeType();
        if (IsRowKind(kind))
            fnRow(kind, child.nodeName(), TrimBlanks(child.nodeValue()));
    }
}

QString AttributeTipText(dom::NodeView node)
{
    std::string text;
    for (dom::NodeView attribute = node.firstAttribute(); attribute;
         attribute = attribute.nextAttribute()) {
        text += attribute.nodeName();
        text += '=';
        text += attribute.nodeValue();
        text += ',';
    }
    RemoveTrailingCommas(text);
    return QString::fromStdString(text);
}

std::vector<dom::Node> NodeRowParts(const dom::Node &node)
{
    std::vector<dom::Node> parts;
    dom::AttributeMap attributes = node.attributes();
    for (dom::Node attribute = attributes.nextNode(); attribute; attribute = attributes.nextNode())
        parts.push_back(attribute);
    for (dom::Node child = node.firstChild(); child; child = child.nextSibling()) {
        if (IsRowKind(child.nodeType()))
            parts.push_back(child);
    }
    return parts;
}

std::vector<dom::Node> RowPartAnchors(const dom::Node &node)
{
    std::vector<dom::Node> anchors(static_cast<std::size_t>(node.attributes().length()));
    std::size_t nWaiting = 0;
    for (dom::Node child = node.firstChild(); child; child = child.nextSibling()) {
        if (IsRowKind(child.nodeType())) {
            anchors.emplace_back();
            ++nWaiting;
            continue;
        }
        std::fill(anchors.end() - static_cast<std::ptrdiff_t>(nWaiting), anchors.end(), child);
        nWaiting = 0;
    }
    return anchors;
}

void RemoveRowParts(const dom::Node &node)
{
    dom::Node target = node;
    for (const dom::Node &part : NodeRowParts(target)) {
        if (part.nodeType() == dom::NODE_ATTRIBUTE)
            target.removeAttributeNode(part);
        else
            target.removeChild(part);
    }
}

CRowsCommit WriteRowsIntoNode(const dom::Node &node, const std::vector<GridRow> &rows)
{
    if (node.isNull())
        return {};
    const bool bPreserveSpace = PreservesSpace(node, rows);
    RemoveRowParts(node);
    RowWriter writer(node, bPreserveSpace);
    // A reader gives an element its namespace declarations before its other attributes: they
    // are written first, so that the file reads back with the attributes in the node's order.
    const auto isDeclaration = [](const GridRow &row) {
        return row.nKind == dom::NODE_ATTRIBUTE &&
               dom::IsNamespaceDeclaration(row.strName.toStdString());
    };
    for (const bool bDeclarations : {true, false}) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (isDeclaration(rows[i]) == bDeclarations)
                writer.Write(static_cast<int>(i), rows[i]);
        }
    }
    return writer.Finish();
}
