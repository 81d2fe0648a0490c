#pragma once

#include "HResult.h"
#include "NodeType.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace dom
{

class DocumentStore;
class AttributeMap;
class Document;

class NodeView;

// A counted handle to one node. Copies are cheap; every handle keeps its whole document alive,
// and nodes stay owned by the document after removal, so no handle ever dangles. A default
// handle is null: its queries return null handles, empty strings or NODE_INVALID, and its
// operations return E_POINTER.
class Node
{
public:
    Node() = default;

    bool isNull() const { return m_store == nullptr || m_index == 0; }
    explicit operator bool() const { return !isNull(); }
    friend bool operator==(const Node &a, const Node &b)
    {
        return a.m_store == b.m_store && a.m_index == b.m_index;
    }

    NodeType nodeType() const;
    // The qualified name, or "#document", "#text", "#cdata-section", "#comment". The view lives
    // as long as the document.
    std::string_view nodeName() const;
    // False for elements and the document, which have no string value, and for the document
    // type, whose value cannot be set.
    bool hasValue() const;
    // The value of an attribute, text, CDATA section, comment or processing instruction (its
    // data), or the document type's whole declaration as the file wrote it (in UTF-8, line ends
    // read as LF); empty otherwise. The view lives as long as the document.
    std::string_view nodeValue() const;
    // E_FAIL for nodes whose value cannot be set (hasValue() is false).
    HRESULT setNodeValue(std::string_view value);

    // Navigation; null at the ends. An attribute has no parent (see ownerElement).
    Node parentNode() const;
    Node firstChild() const;
    Node lastChild() const;
    Node nextSibling() const;
    Node previousSibling() const;
    Node ownerElement() const;
    Document ownerDocument() const;
    bool hasChildNodes() const { return !firstChild().isNull(); }

    // The attributes of an element in document order; an empty map for any other node.
    AttributeMap attributes() const;

    // Tree changes. A node that already has a parent is moved. Refused (E_FAIL, nothing
    // changed): nodes of another document, attributes, documents, inserting a node into itself
    // or its own subtree, children under nodes that cannot have any, a second element or any
    // text under the document node, and a reference node that is not a child of this node.
    HRESULT appendChild(const Node &child);
    HRESULT insertBefore(const Node &child, const Node &reference);
    HRESULT removeChild(const Node &child);
    HRESULT replaceChild(const Node &newChild, const Node &oldChild);
    // A detached copy (with its attributes; with its subtree when deep). Null on failure.
    Node cloneNode(bool deep) const;

    // Element attributes. Names must pass the XML Name rule (E_FAIL otherwise). An existing
    // attribute keeps its place when its value changes; a new one goes last, but a new namespace
    // declaration ("xmlns", "xmlns:p") last among the declarations, which lead the attributes
    // (as the loader reads them, whatever the file's order).
    HRESULT setAttribute(std::string_view name, std::string_view value);
    // S_FALSE (value untouched) when there is no such attribute.
    HRESULT getAttribute(std::string_view name, std::string *value) const;
    HRESULT removeAttribute(std::string_view name);
    // Adds a detached attribute node, replacing one of the same name in its place (else placed
    // as setAttribute places a new one). An attribute owned by another element is refused.
    HRESULT setAttributeNode(const Node &attribute);
    HRESULT removeAttributeNode(const Node &attribute);

    // A borrowed, uncounted view of this node for fast read-only walks; valid while this
    // handle (or another of the same document) lives.
    NodeView view() const;

protected:
    friend class AttributeMap;
    friend class Document;
    friend class NodeView;
    Node(std::shared_ptr<DocumentStore> store, std::uint32_t index)
        : m_store(std::move(store)), m_index(index)
    {
    }
    Node make(std::uint32_t index) const;
    bool sameDocument(const Node &other) const
    {
        return !other.isNull() && other.m_store == m_store;
    }
    HRESULT checkInsert(const Node &child) const;

    std::shared_ptr<DocumentStore> m_store;
    std::uint32_t m_index = 0;
};

// A read-only node reference without a count, for walks over large documents (the writer,
// the tree builder). It must not outlive the handles of its document. A null view has kind
// NODE_INVALID and null neighbours.
class NodeView
{
public:
    NodeView() = default;
    // Views of one node are equal.
    bool operator==(const NodeView &) const = default;
    bool isNull() const { return m_index == 0; }
    explicit operator bool() const { return !isNull(); }
    NodeType nodeType() const;
    std::string_view nodeName() const;
    std::string_view nodeValue() const;
    NodeView parentNode() const;
    NodeView firstChild() const;
    NodeView nextSibling() const;
    // False when the node surely has no non-empty text child and no CDATA child; true when it
    // may have one.
    bool mayHaveTextChild() const;
    // Attributes of an element in map order; the first one's nextAttribute() walks on.
    NodeView firstAttribute() const;
    NodeView nextAttribute() const;
    // A counted handle to the same node.
    Node node(const Node &anyHandleOfTheDocument) const;

private:
    friend class Node;
    NodeView(const DocumentStore *store, std::uint32_t index) : m_store(store), m_index(index) {}
    const DocumentStore *m_store = nullptr;
    std::uint32_t m_index = 0;
};

// The attribute list of an element, read by index or walked with nextNode().
class AttributeMap
{
public:
    AttributeMap() = default;
    explicit AttributeMap(const Node &element);

    bool isNull() const { return m_element.isNull(); }
    long length() const;
    Node item(long index) const;
    Node getNamedItem(std::string_view name) const;
    // The attribute after the last one returned (the first after reset()); null at the end.
    Node nextNode();
    void reset()
    {
        m_cursor = Node();
        m_started = false;
    }

private:
    Node m_element;
    Node m_cursor;
    bool m_started = false;
};

} // namespace dom
