#pragma once

// The rows a node yields for the grid, and the writing of edited rows back into it.

#include "GridRow.h"
#include "Node.h"

#include <QString>
#include <functional>
#include <string_view>
#include <vector>

// A row the commit could not write, with the reason.
struct CRefusedRow {
    int nRow = 0;
    GridRow row;
    QString strReason;
};

// What a commit did: the tooltip text of the attributes written and the rows refused.
struct CRowsCommit {
    QString strTip;
    std::vector<CRefusedRow> refused;
};

// The message that reports a refused row: the reason, then the row's kind, position (from 1)
// and name.
QString RefusedRowMessage(const CRefusedRow &refused);

// Calls fnRow(kind, name, trimmed value) for each row of `node`: its attributes in map order,
// then its text, CDATA, comment and processing-instruction children in document order. The
// views live as long as the document. The empty row for a new attribute is not included.
void ForEachNodeRow(dom::NodeView node,
                    const std::function<void(dom::NodeType nKind, std::string_view strName,
                                             std::string_view strValue)> &fnRow);

// The tooltip text of an element: "name=value" for each attribute in map order, joined by
// commas, trailing commas removed. Empty for other nodes.
QString AttributeTipText(dom::NodeView node);

// The parts of `node` that rows stand for: its attributes, then its text, CDATA, comment and
// processing-instruction children, in order.
std::vector<dom::Node> NodeRowParts(const dom::Node &node);

// For each part NodeRowParts(node) lists, the child that is no part (an element, a document
// type) which the part stands before; null for attributes and for parts after the last such
// child. With these the parts can be put back exactly where they stood.
std::vector<dom::Node> RowPartAnchors(const dom::Node &node);
// Takes the parts NodeRowParts(node) lists out of `node`; they stay intact, detached.
void RemoveRowParts(const dom::Node &node);

// Rebuilds `node` from `rows`: removes the parts rows stand for (other children, a document
// type among them, stay), then writes the rows in order, namespace declarations before the other
// attributes (as a reader orders them) and character data before the first remaining child.
// Dropped silently: attribute rows with an empty name, empty text, CDATA or comment rows, and
// what a reader would drop, text rows of XML white space only where xml:space does not preserve
// it, the blanks before a processing instruction's data and after a declaration's. A row XML cannot
// hold (a bad name, "--" in a comment, "?>" in a processing instruction, a reserved target, an
// invalid declaration, a character XML forbids, a namespace declaration a reader drops, a kind the
// node cannot hold) is skipped and returned with its reason; the other rows are still written.
CRowsCommit WriteRowsIntoNode(const dom::Node &node, const std::vector<GridRow> &rows);
