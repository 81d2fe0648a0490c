#include "DomFunctions.h"

#include "MessageBox.h"

#include <vector>

QString NodeKindText(dom::NodeType kind)
{
    switch (kind) {
    case dom::NODE_ATTRIBUTE:
        return QStringLiteral("Attribute");
    case dom::NODE_TEXT:
        return QStringLiteral("Text");
    case dom::NODE_CDATA_SECTION:
        return QStringLiteral("CDATASection");
    case dom::NODE_PROCESSING_INSTRUCTION:
        return QStringLiteral("ProcessInstruction");
    case dom::NODE_COMMENT:
        return QStringLiteral("Comment");
    default:
        return QString();
    }
}

HRESULT CreateDOMNode(const dom::Document &document, dom::NodeType kind, std::string_view name,
                      dom::Node *node)
{
    dom::Node created;
    const HRESULT result = document.createNode(kind, name, &created);
    if (FAILED(result)) {
        AfxMessageBox(QStringLiteral("CreateDOMNode Failed!"));
        if (node != nullptr)
            *node = dom::Node();
        return E_FAIL;
    }
    if (node != nullptr)
        *node = created;
    return S_OK;
}

dom::Node CreateDOMNode(const dom::Document &document, dom::NodeType kind, std::string_view name)
{
    dom::Node node;
    CreateDOMNode(document, kind, name, &node);
    return node;
}

HRESULT SetElementAttribute(const dom::Node &node, std::string_view name, std::string_view value)
{
    if (node.nodeType() != dom::NODE_ELEMENT)
        return E_FAIL;
    return node.isNull() ? E_POINTER : dom::Node(node).setAttribute(name, value);
}

bool HasDocumentType(const dom::Node &document)
{
    for (dom::Node child = document.firstChild(); child; child = child.nextSibling()) {
        if (child.nodeType() == dom::NODE_DOCUMENT_TYPE)
            return true;
    }
    return false;
}

HRESULT AddXMLDeclaration(const dom::Document &document)
{
    const dom::Node declaration = document.createProcessingInstruction("xml", "version=\"1.0\"");
    if (declaration.isNull())
        return E_FAIL;
    return dom::Document(document).appendChild(declaration);
}

HRESULT ReplaceDOMNode(const dom::Node &oldNode, const dom::Node &newNode)
{
    if (oldNode.isNull() || newNode.isNull())
        return E_FAIL;
    dom::Node parent = oldNode.parentNode();
    if (parent.isNull())
        return E_FAIL;
    dom::Node target = newNode;
    std::vector<dom::Node> children;
    for (dom::Node child = oldNode.firstChild(); child; child = child.nextSibling())
        children.push_back(child);
    for (const dom::Node &child : children)
        target.appendChild(child);
    dom::AttributeMap attributes = oldNode.attributes();
    for (dom::Node attribute = attributes.nextNode(); attribute; attribute = attributes.nextNode())
        target.setAttribute(attribute.nodeName(), attribute.nodeValue());
    if (parent.nodeType() == dom::NODE_DOCUMENT)
        return parent.replaceChild(target, oldNode);
    if (const HRESULT result = parent.insertBefore(target, oldNode); FAILED(result))
        return result;
    return parent.removeChild(oldNode);
}

bool IsValidXMLName(const QString &name)
{
    if (name.isEmpty())
        return true;
    const QChar first = name.at(0);
    return (first >= QLatin1Char('A') && first <= QLatin1Char('Z')) ||
           (first >= QLatin1Char('a') && first <= QLatin1Char('z'));
}
