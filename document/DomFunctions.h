#pragma once

// The small set of DOM functions shared by the document and the panes.

#include "Document.h"
#include "HResult.h"

#include <QString>
#include <string_view>

// Display text of a node kind in the grid's Type column ("Attribute", "Text", "CDATASection",
// "ProcessInstruction", "Comment"); empty for kinds that have none.
QString NodeKindText(dom::NodeType kind);

// Creates a detached node of `kind` named `name` (ignored for text, CDATA and comments).
// On failure shows "CreateDOMNode Failed!" and returns a null node.
dom::Node CreateDOMNode(const dom::Document &document, dom::NodeType kind, std::string_view name);
// The same, storing the node in *node; S_OK, or E_FAIL after the message with *node null.
HRESULT CreateDOMNode(const dom::Document &document, dom::NodeType kind, std::string_view name,
                      dom::Node *node);

// Sets attribute `name` of an element. Returns the failure for a node that is not an element
// and for a name the DOM refuses (nothing changes then).
HRESULT SetElementAttribute(const dom::Node &node, std::string_view name, std::string_view value);

// Shown once for a loaded document that has a document type declaration: Pellix keeps the
// declaration but reads nothing it declares.
inline constexpr const char *kDtdNotSupported = "DTD Reference is not supported in this version!";
// True when `document` has a document type declaration.
bool HasDocumentType(const dom::Node &document);

// Appends the declaration <?xml version="1.0"?> to a document.
HRESULT AddXMLDeclaration(const dom::Document &document);

// Puts `newNode` in the place of `oldNode`, moving all of old's children (in order) and
// copying its attributes (in order) to it. A node without a parent is refused with E_FAIL
// before anything moves.
HRESULT ReplaceDOMNode(const dom::Node &oldNode, const dom::Node &newNode);

// The editor's first-letter rule for element and attribute names typed by the user: the empty
// name is accepted; otherwise the first character must be an ASCII letter. Only the first
// character is examined; the DOM applies the full XML Name rule afterwards.
bool IsValidXMLName(const QString &name);
