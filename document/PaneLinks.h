#pragma once

// What the document asks of the panes of its active window. The panes implement these; the
// document never includes the pane classes, which build on it.

#include "Document.h"

#include <QString>

class CTreePaneLink
{
public:
    virtual ~CTreePaneLink() = default;
    // Deletes every item, forgetting any handle that named one.
    virtual void DeleteAllTreeItems() = 0;
    // Adds the document item (top level, image 0) labelled `label` for the document node.
    virtual void AddDocumentItem(const QString &label, const dom::Document &document) = 0;
    // Walks the DOM into the document item and one item per element.
    virtual void BuildTreeFromDocument(const dom::Document &document) = 0;
    // Ends an open cell edit and writes the rows the grid shows back into their node when
    // they were edited since they were filled.
    virtual void CommitShownItem() = 0;
};

class CGridPaneLink
{
public:
    virtual ~CGridPaneLink() = default;
    // Appends an empty row of node kind `nKind` (attribute, text, comment, processing
    // instruction, CDATA section); does nothing while no node is shown.
    virtual void InsertEmptyRow(int nKind) = 0;
    // True while the grid shows the rows of a node.
    virtual bool IsShowingNode() const = 0;
};
