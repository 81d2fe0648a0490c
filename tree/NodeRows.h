#pragma once

// The rows a node yields for the grid pane, and the writing of edited rows back into it.

#include "GridRow.h"
#include "Node.h"

#include <QString>
#include <functional>
#include <string_view>
#include <vector>

// `text` without blanks, tabs, line feeds, vertical tabs, form feeds and carriage returns at
// either end (exactly those: other white space is content).
std::string_view TrimXmlSpace(std::string_view text);

// Calls fnRow(kind, name, trimmed value) for each row of `node`: its attributes in map order,
// then its text, CDATA, comment and processing-instruction children in document order. The
// views live as long as the document. The empty row for a new attribute is not included.
void ForEachNodeRow(dom::NodeView node,
                    const std::function<void(int nKind, std::string_view strName,
                                             std::string_view strValue)> &fnRow);

// The tooltip text of an element: "name=value" for each attribute in map order, joined by
// commas, trailing commas removed. Empty for other nodes.
QString AttributeTipText(dom::NodeView node);

// Rebuilds `node` from `rows`: removes its attributes and non-element children, then writes
// the rows in order, character data before the first child element. Attribute rows with an
// empty name and empty text, CDATA or comment rows are dropped silently. A row that cannot be
// written (a bad name, "--" in a comment, "?>" in a processing instruction, a kind the node
// cannot hold) is reported by a message naming the row and why, and skipped; the other rows
// are still written. Returns the tooltip text of the attributes written.
QString WriteRowsIntoNode(const dom::Node &node, const std::vector<GridRow> &rows);
