#include "Node.h"

#include "Document.h"
#include "NodeStore.h"
#include "XmlName.h"

namespace dom
{

Node Node::make(std::uint32_t index) const
{
    return index == kNoNode ? Node() : Node(m_store, index);
}

NodeType Node::nodeType() const
{
    return isNull() ? NODE_INVALID : m_store->at(m_index).kind;
}

std::string_view Node::nodeName() const
{
    return isNull() ? std::string_view() : m_store->name(m_store->at(m_index).name);
}

bool Node::hasValue() const
{
    if (isNull())
        return false;
    const NodeType kind = nodeType();
    return !HasChildList(kind) && kind != NODE_DOCUMENT_TYPE;
}

std::string_view Node::nodeValue() const
{
    return isNull() ? std::string_view() : m_store->value(m_store->at(m_index));
}

HRESULT Node::setNodeValue(std::string_view value)
{
    if (isNull())
        return E_POINTER;
    if (!hasValue())
        return E_FAIL;
    m_store->setValue(m_index, value);
    return S_OK;
}

Node Node::parentNode() const
{
    if (isNull() || nodeType() == NODE_ATTRIBUTE)
        return Node();
    return make(m_store->at(m_index).parent);
}

Node Node::ownerElement() const
{
    if (isNull() || nodeType() != NODE_ATTRIBUTE)
        return Node();
    return make(m_store->at(m_index).parent);
}

Node Node::firstChild() const
{
    if (isNull() || !HasChildList(nodeType()))
        return Node();
    return make(m_store->at(m_index).children.first);
}

Node Node::lastChild() const
{
    if (isNull() || !HasChildList(nodeType()))
        return Node();
    return make(m_store->lastOf(m_store->at(m_index).children.first));
}

Node Node::nextSibling() const
{
    if (isNull() || nodeType() == NODE_ATTRIBUTE)
        return Node();
    return make(m_store->at(m_index).next);
}

Node Node::previousSibling() const
{
    if (isNull() || nodeType() == NODE_ATTRIBUTE)
        return Node();
    const NodeRecord &record = m_store->at(m_index);
    if (record.parent == kNoNode)
        return Node();
    // The first child's back link names the last child, not a previous sibling.
    if (m_store->at(record.parent).children.first == m_index)
        return Node();
    return make(record.prev);
}

Document Node::ownerDocument() const
{
    return isNull() ? Document() : Document(m_store);
}

AttributeMap Node::attributes() const
{
    return nodeType() == NODE_ELEMENT ? AttributeMap(*this) : AttributeMap();
}

HRESULT Node::checkInsert(const Node &child) const
{
    if (isNull() || child.isNull())
        return E_POINTER;
    if (!sameDocument(child))
        return E_FAIL;
    const NodeType parentKind = nodeType();
    const NodeType childKind = child.nodeType();
    if (!HasChildList(parentKind))
        return E_FAIL;
    if (childKind == NODE_ATTRIBUTE || childKind == NODE_DOCUMENT || childKind == NODE_INVALID)
        return E_FAIL;
    if (m_store->isAncestorOrSelf(child.m_index, m_index))
        return E_FAIL;
    if (parentKind == NODE_DOCUMENT) {
        if (childKind == NODE_TEXT || childKind == NODE_CDATA_SECTION)
            return E_FAIL;
        if (childKind == NODE_ELEMENT || childKind == NODE_DOCUMENT_TYPE) {
            for (Node c = firstChild(); c; c = c.nextSibling()) {
                if (c.nodeType() == childKind && !(c == child))
                    return E_FAIL;
            }
        }
    } else if (childKind == NODE_DOCUMENT_TYPE) {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT Node::appendChild(const Node &child)
{
    return insertBefore(child, Node());
}

HRESULT Node::insertBefore(const Node &child, const Node &reference)
{
    if (const HRESULT hr = checkInsert(child); FAILED(hr))
        return hr;
    if (!reference.isNull() && (!sameDocument(reference) || reference.parentNode() != *this))
        return E_FAIL;
    if (reference == child)
        return S_OK;
    m_store->unlink(child.m_index, false);
    m_store->linkBefore(m_index, child.m_index, reference.m_index, false);
    return S_OK;
}

HRESULT Node::removeChild(const Node &child)
{
    if (isNull() || child.isNull())
        return E_POINTER;
    if (!sameDocument(child) || child.parentNode() != *this)
        return E_FAIL;
    m_store->unlink(child.m_index, false);
    return S_OK;
}

HRESULT Node::replaceChild(const Node &newChild, const Node &oldChild)
{
    if (isNull() || newChild.isNull() || oldChild.isNull())
        return E_POINTER;
    if (!sameDocument(oldChild) || oldChild.parentNode() != *this)
        return E_FAIL;
    if (newChild == oldChild)
        return S_OK;
    // Check as if the old child were gone: replacing the document element by another element
    // is allowed.
    const NodeType kind = newChild.nodeType();
    if (nodeType() == NODE_DOCUMENT && kind == oldChild.nodeType() &&
        (kind == NODE_ELEMENT || kind == NODE_DOCUMENT_TYPE)) {
        if (!sameDocument(newChild) || m_store->isAncestorOrSelf(newChild.m_index, m_index))
            return E_FAIL;
    } else if (const HRESULT hr = checkInsert(newChild); FAILED(hr)) {
        return hr;
    }
    m_store->unlink(newChild.m_index, false);
    m_store->linkBefore(m_index, newChild.m_index, oldChild.m_index, false);
    m_store->unlink(oldChild.m_index, false);
    return S_OK;
}

Node Node::cloneNode(bool deep) const
{
    if (isNull() || nodeType() == NODE_DOCUMENT)
        return Node();
    return make(m_store->deepClone(m_index, deep));
}

namespace
{

// A reader gives an element's namespace declarations before its other attributes, whatever
// order the file wrote them in: here too they go first, so that a saved element reads back with
// its attributes in their order.
void LinkNewAttribute(DocumentStore &store, NodeIndex element, NodeIndex attribute)
{
    NodeIndex before = kNoNode;
    if (IsNamespaceDeclaration(store.name(store.at(attribute).name))) {
        for (NodeIndex a = store.at(element).children.firstAttribute; a != kNoNode && !before;
             a = store.at(a).next) {
            if (!IsNamespaceDeclaration(store.name(store.at(a).name)))
                before = a;
        }
    }
    store.linkBefore(element, attribute, before, true);
}

} // namespace

HRESULT Node::setAttribute(std::string_view name, std::string_view value)
{
    if (isNull())
        return E_POINTER;
    if (nodeType() != NODE_ELEMENT || !IsQualifiedXmlName(name))
        return E_FAIL;
    const NameId id = m_store->intern(name);
    const NodeIndex first = m_store->at(m_index).children.firstAttribute;
    for (NodeIndex a = first; a != kNoNode; a = m_store->at(a).next) {
        if (m_store->at(a).name == id) {
            m_store->setValue(a, value);
            return S_OK;
        }
    }
    const NodeIndex attribute = m_store->newNode(NODE_ATTRIBUTE, id);
    if (attribute == kNoNode)
        return E_OUTOFMEMORY;
    m_store->setValue(attribute, value);
    LinkNewAttribute(*m_store, m_index, attribute);
    return S_OK;
}

HRESULT Node::getAttribute(std::string_view name, std::string *value) const
{
    if (isNull() || value == nullptr)
        return E_POINTER;
    const Node attribute = attributes().getNamedItem(name);
    if (attribute.isNull())
        return S_FALSE;
    *value = attribute.nodeValue();
    return S_OK;
}

HRESULT Node::removeAttribute(std::string_view name)
{
    if (isNull())
        return E_POINTER;
    const Node attribute = attributes().getNamedItem(name);
    if (attribute.isNull())
        return S_FALSE;
    m_store->unlink(attribute.m_index, true);
    return S_OK;
}

HRESULT Node::setAttributeNode(const Node &attribute)
{
    if (isNull() || attribute.isNull())
        return E_POINTER;
    if (nodeType() != NODE_ELEMENT || attribute.nodeType() != NODE_ATTRIBUTE ||
        !sameDocument(attribute))
        return E_FAIL;
    const NodeIndex owner = m_store->at(attribute.m_index).parent;
    if (owner == m_index)
        return S_OK;
    if (owner != kNoNode)
        return E_FAIL;
    const Node existing = attributes().getNamedItem(attribute.nodeName());
    if (!existing.isNull()) {
        m_store->linkBefore(m_index, attribute.m_index, existing.m_index, true);
        m_store->unlink(existing.m_index, true);
    } else {
        LinkNewAttribute(*m_store, m_index, attribute.m_index);
    }
    return S_OK;
}

HRESULT Node::removeAttributeNode(const Node &attribute)
{
    if (isNull() || attribute.isNull())
        return E_POINTER;
    if (!sameDocument(attribute) || attribute.ownerElement() != *this)
        return E_FAIL;
    m_store->unlink(attribute.m_index, true);
    return S_OK;
}

NodeView Node::view() const
{
    return isNull() ? NodeView() : NodeView(m_store.get(), m_index);
}

NodeType NodeView::nodeType() const
{
    return isNull() ? NODE_INVALID : m_store->at(m_index).kind;
}

std::string_view NodeView::nodeName() const
{
    return isNull() ? std::string_view() : m_store->name(m_store->at(m_index).name);
}

std::string_view NodeView::nodeValue() const
{
    return isNull() ? std::string_view() : m_store->value(m_store->at(m_index));
}

NodeView NodeView::parentNode() const
{
    if (isNull() || nodeType() == NODE_ATTRIBUTE)
        return NodeView();
    return NodeView(m_store, m_store->at(m_index).parent);
}

NodeView NodeView::firstChild() const
{
    if (isNull() || !HasChildList(nodeType()))
        return NodeView();
    return NodeView(m_store, m_store->at(m_index).children.first);
}

NodeView NodeView::nextSibling() const
{
    return isNull() ? NodeView() : NodeView(m_store, m_store->at(m_index).next);
}

bool NodeView::mayHaveTextChild() const
{
    return !isNull() && (m_store->at(m_index).flags & FLAG_MAY_HAVE_TEXT) != 0;
}

NodeView NodeView::firstAttribute() const
{
    if (nodeType() != NODE_ELEMENT)
        return NodeView();
    return NodeView(m_store, m_store->at(m_index).children.firstAttribute);
}

NodeView NodeView::nextAttribute() const
{
    if (nodeType() != NODE_ATTRIBUTE)
        return NodeView();
    return NodeView(m_store, m_store->at(m_index).next);
}

Node NodeView::node(const Node &anyHandleOfTheDocument) const
{
    if (isNull() || anyHandleOfTheDocument.m_store.get() != m_store)
        return Node();
    return anyHandleOfTheDocument.make(m_index);
}

AttributeMap::AttributeMap(const Node &element) : m_element(element) {}

long AttributeMap::length() const
{
    long count = 0;
    if (isNull())
        return 0;
    const DocumentStore &store = *m_element.m_store;
    for (NodeIndex a = store.at(m_element.m_index).children.firstAttribute; a != kNoNode;
         a = store.at(a).next)
        ++count;
    return count;
}

Node AttributeMap::item(long index) const
{
    if (isNull() || index < 0)
        return Node();
    const DocumentStore &store = *m_element.m_store;
    for (NodeIndex a = store.at(m_element.m_index).children.firstAttribute; a != kNoNode;
         a = store.at(a).next) {
        if (index-- == 0)
            return m_element.make(a);
    }
    return Node();
}

Node AttributeMap::getNamedItem(std::string_view name) const
{
    if (isNull())
        return Node();
    const DocumentStore &store = *m_element.m_store;
    for (NodeIndex a = store.at(m_element.m_index).children.firstAttribute; a != kNoNode;
         a = store.at(a).next) {
        if (store.name(store.at(a).name) == name)
            return m_element.make(a);
    }
    return Node();
}

Node AttributeMap::nextNode()
{
    if (isNull())
        return Node();
    const DocumentStore &store = *m_element.m_store;
    NodeIndex next = kNoNode;
    if (!m_started) {
        next = store.at(m_element.m_index).children.firstAttribute;
        m_started = true;
    } else if (!m_cursor.isNull() && m_cursor.ownerElement() == m_element) {
        next = store.at(m_cursor.m_index).next;
    }
    m_cursor = m_element.make(next);
    return m_cursor;
}

} // namespace dom
