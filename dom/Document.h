#pragma once

#include "Node.h"
#include "ParseError.h"
#include "SaxLoader.h"

#include <cstddef>
#include <functional>
#include <string_view>

namespace dom
{

// The handle of a document node. It owns the store of all its nodes; handles of its nodes
// keep it alive. A default-constructed Document is null.
// Elements with this many attributes or more are refused on load: libxml2 compares every
// attribute of an element with every other, which takes minutes long before memory runs out.
// Ten thousand still load in a blink.
constexpr int kMaxAttributesPerElement = 20000;

class Document : public Node
{
public:
    Document() = default;

    // A new, empty document (no children, white space dropped on load).
    static Document create();

    // Replaces the content by what `source` holds: a file path, a file:// URL or an http:// or
    // https:// URL, read synchronously. Returns S_OK, or the failure also found in
    // parseError(): a parse error (with line and position), DOM_E_RESOURCE_NOT_FOUND (line 0)
    // for a source that cannot be read (anything but a regular file or an http(s) URL, too),
    // DOM_E_EXPANSION_LIMIT for runaway entities, DOM_E_TOO_MANY_ATTRIBUTES for an element with
    // kMaxAttributesPerElement attributes or more, E_OUTOFMEMORY (line 0) when memory runs out.
    // On failure the document is left empty. Nothing a document refers to is ever fetched, and
    // nothing is thrown.
    HRESULT load(std::string_view source);
    // The same, telling `progress` how far it has come (bytes of the file, or of the URL's
    // body as it arrives and then as it is read); when `progress` returns false the load stops
    // and fails with DOM_E_CANCELLED (line 0), leaving the document empty.
    HRESULT load(std::string_view source, const LoadProgress &progress);
    // The same from text in memory; `url` only names it in parseError().
    HRESULT loadXML(std::string_view text, std::string_view url = {});
    const ParseError &parseError() const;

    // Keep text nodes made only of white space on load (they are dropped unless xml:space
    // asks to preserve them).
    void setPreserveWhiteSpace(bool preserve);
    bool preserveWhiteSpace() const;

    // Creates a detached node of `type` in this document. Elements, attributes and processing
    // instructions need a name passing the XML Name rule; text, CDATA and comment ignore it.
    // E_FAIL (out null) for a bad name; E_INVALIDARG for kinds that cannot be created.
    HRESULT createNode(NodeType type, std::string_view name, Node *out) const;
    // Shorthands; each returns a null handle where createNode fails.
    Node createElement(std::string_view name) const;
    Node createAttribute(std::string_view name) const;
    Node createTextNode(std::string_view text) const;
    Node createComment(std::string_view text) const;
    Node createCDATASection(std::string_view text) const;
    Node createProcessingInstruction(std::string_view target, std::string_view data) const;
    // A detached document type named `name` (the XML Name rule) whose value is `declaration`,
    // the whole declaration from "<!DOCTYPE" through its closing ">" as the writer writes it.
    // Null for a bad name.
    Node createDocumentType(std::string_view name, std::string_view declaration) const;

    // A detached copy in this document of `node`, which may belong to another document: with
    // its attributes, and with its subtree when `deep`. Null for a null node or a document
    // node, and when this document cannot hold more nodes.
    Node importNode(const Node &node, bool deep) const;

    // A copy of this document as it is now, which another thread may read (write, say) while
    // this one is edited: the pages of nodes are shared until either side changes one, the
    // text is shared. Handles of this document do not reach into it. Null for a null document.
    Document snapshot() const;
    // The node of this snapshot that stands where `node`, a node of the document the snapshot
    // was taken from, stood then. Null for a null node and for nodes made after the snapshot.
    Node nodeOf(const Node &node) const;

    // The element child of the document, or null.
    Node documentElement() const;
    // Number of nodes ever created in this document (removed ones included).
    std::size_t nodeCount() const;
    // Bytes held by the node store.
    std::size_t memoryUsed() const;

private:
    friend class Node;
    explicit Document(std::shared_ptr<DocumentStore> store);
    void clearChildren();
    // Empties the document and runs `parse`; a failure, running out of memory included, leaves
    // it empty and gives back what the failed load made.
    HRESULT runLoad(std::string_view url, const std::function<HRESULT(DocumentStore &)> &parse);
};

} // namespace dom
