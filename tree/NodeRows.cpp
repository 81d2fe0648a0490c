#include "NodeRows.h"

#include "Document.h"
#include "DomFunctions.h"
#include "MessageBox.h"
#include "Resource.h"
#include "StringTable.h"

#include <optional>
#include <string>

namespace
{

bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void RemoveTrailingCommas(std::string &text)
{
    while (!text.empty() && text.back() == ',')
        text.pop_back();
}

void RemoveOldParts(dom::Node &node)
{
    std::vector<dom::Node> doomed;
    for (dom::Node child = node.firstChild(); child; child = child.nextSibling()) {
        if (child.nodeType() != dom::NODE_ELEMENT)
            doomed.push_back(child);
    }
    for (const dom::Node &child : doomed)
        node.removeChild(child);
    doomed.clear();
    dom::AttributeMap attributes = node.attributes();
    for (dom::Node attribute = attributes.nextNode(); attribute; attribute = attributes.nextNode())
        doomed.push_back(attribute);
    for (const dom::Node &attribute : doomed)
        node.removeAttributeNode(attribute);
}

void ReportRow(int nRow, const GridRow &row, const QString &strWhy)
{
    const QString strKind = NodeKindText(static_cast<dom::NodeType>(row.nKind));
    AfxMessageBox(QStringLiteral("%1\n%2 row %3 (\"%4\") was not written.")
                      .arg(strWhy, strKind.isEmpty() ? QStringLiteral("The") : strKind)
                      .arg(nRow + 1)
                      .arg(row.strName));
}

QString NameRuleText()
{
    return LoadResString(IDS_INVALID_XMLNAME);
}

// Why the DOM refused a child of `parent` of the row's kind.
QString RefusedChildText(const dom::Node &parent, const GridRow &row)
{
    if (parent.nodeType() == dom::NODE_DOCUMENT &&
        (row.nKind == dom::NODE_TEXT || row.nKind == dom::NODE_CDATA_SECTION))
        return QStringLiteral("A document holds no text outside its root element.");
    return QStringLiteral("The node cannot hold this kind of child.");
}

// Why a character-data row cannot be written, or nothing when it can.
std::optional<QString> CheckCharacterData(const GridRow &row)
{
    if (row.nKind == dom::NODE_COMMENT &&
        (row.strValue.contains(QStringLiteral("--")) || row.strValue.endsWith(QLatin1Char('-'))))
        return QStringLiteral("A comment cannot contain \"--\" or end with \"-\".");
    if (row.nKind == dom::NODE_PROCESSING_INSTRUCTION) {
        if (!IsValidXMLName(row.strName))
            return NameRuleText();
        if (row.strValue.contains(QStringLiteral("?>")))
            return QStringLiteral("The data of a processing instruction cannot contain \"?>\".");
    }
    return std::nullopt;
}

class RowWriter
{
public:
    explicit RowWriter(const dom::Node &node)
        : m_node(node), m_document(node.ownerDocument()), m_reference(node.firstChild())
    {
    }

    void Write(int nRow, const GridRow &row)
    {
        if (row.nKind == dom::NODE_ATTRIBUTE)
            WriteAttribute(nRow, row);
        else if (row.nKind == dom::NODE_TEXT || row.nKind == dom::NODE_CDATA_SECTION ||
                 row.nKind == dom::NODE_COMMENT || row.nKind == dom::NODE_PROCESSING_INSTRUCTION)
            WriteChild(nRow, row);
        else
            ReportRow(nRow, row, QStringLiteral("The row has no known node type."));
    }

    QString TipText()
    {
        RemoveTrailingCommas(m_tip);
        return QString::fromStdString(m_tip);
    }

private:
    void WriteAttribute(int nRow, const GridRow &row)
    {
        if (row.strName.isEmpty())
            return;
        if (!IsValidXMLName(row.strName)) {
            ReportRow(nRow, row, NameRuleText());
            return;
        }
        const std::string strName = row.strName.toStdString();
        const std::string strValue = row.strValue.toStdString();
        if (m_node.nodeType() != dom::NODE_ELEMENT) {
            ReportRow(nRow, row, QStringLiteral("Only elements have attributes."));
            return;
        }
        if (FAILED(SetElementAttribute(m_node, strName, strValue))) {
            ReportRow(nRow, row, QStringLiteral("The name is not a valid XML name."));
            return;
        }
        m_tip += strName + '=' + strValue + ',';
    }

    void WriteChild(int nRow, const GridRow &row)
    {
        if (row.strValue.isEmpty() && row.nKind != dom::NODE_PROCESSING_INSTRUCTION)
            return;
        if (const auto why = CheckCharacterData(row)) {
            ReportRow(nRow, row, *why);
            return;
        }
        dom::Node child = CreateChild(row);
        if (child.isNull()) {
            ReportRow(nRow, row, QStringLiteral("The name is not a valid XML name."));
            return;
        }
        if (FAILED(m_node.insertBefore(child, m_reference)))
            ReportRow(nRow, row, RefusedChildText(m_node, row));
    }

    dom::Node CreateChild(const GridRow &row) const
    {
        const std::string strValue = row.strValue.toStdString();
        if (row.nKind == dom::NODE_PROCESSING_INSTRUCTION)
            return m_document.createProcessingInstruction(row.strName.toStdString(), strValue);
        dom::Node child =
            CreateDOMNode(m_document, static_cast<dom::NodeType>(row.nKind), std::string_view());
        if (!child.isNull())
            child.setNodeValue(strValue);
        return child;
    }

    dom::Node m_node;
    const dom::Document m_document;
    // Character data goes before the first child element, or last when there is none.
    const dom::Node m_reference;
    std::string m_tip;
};

} // namespace

std::string_view TrimXmlSpace(std::string_view text)
{
    while (!text.empty() && IsXmlSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsXmlSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

void ForEachNodeRow(dom::NodeView node,
                    const std::function<void(int, std::string_view, std::string_view)> &fnRow)
{
    for (dom::NodeView attribute = node.firstAttribute(); attribute;
         attribute = attribute.nextAttribute())
        fnRow(dom::NODE_ATTRIBUTE, attribute.nodeName(), TrimXmlSpace(attribute.nodeValue()));
    for (dom::NodeView child = node.firstChild(); child; child = child.nextSibling()) {
        const dom::NodeType kind = child.nodeType();
        if (kind == dom::NODE_TEXT || kind == dom::NODE_CDATA_SECTION ||
            kind == dom::NODE_COMMENT || kind == dom::NODE_PROCESSING_INSTRUCTION)
            fnRow(kind, child.nodeName(), TrimXmlSpace(child.nodeValue()));
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

QString WriteRowsIntoNode(const dom::Node &node, const std::vector<GridRow> &rows)
{
    if (node.isNull())
        return {};
    dom::Node target = node;
    RemoveOldParts(target);
    RowWriter writer(target);
    for (std::size_t i = 0; i < rows.size(); ++i)
        writer.Write(static_cast<int>(i), rows[i]);
    return writer.TipText();
}
