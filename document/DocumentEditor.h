#pragma once

// The one road by which a user's change reaches the DOM. Every operation is kept as a value
// (CDocumentEdit) that says what changed and holds what was taken out, so it can be reversed;
// every window of the document hears of it through `edited`.

#include "GridRow.h"
#include "HResult.h"
#include "Node.h"
#include "NodeRows.h"

#include <QObject>
#include <vector>

struct CDocumentEdit {
    enum class Kind {
        Insert,  // `node` went under `parent`, before `reference` (null: last)
        Remove,  // `node` left `parent`, where it stood before `reference`
        Replace, // `node` took the place, children and attributes of `oldNode`
        SetRows, // the row parts of `node` were rebuilt: `oldParts` out, `newParts` in
        Move,    // `node` left `oldParent` (before `oldReference`) for `parent`, before `reference`
    };
    Kind kind = Kind::Insert;
    dom::Node parent;
    dom::Node node;
    dom::Node reference;
    dom::Node oldNode;
    dom::Node oldParent;
    dom::Node oldReference;
    std::vector<dom::Node> oldParts;
    std::vector<dom::Node> newParts;
};

class CDocumentEditor : public QObject
{
    Q_OBJECT

public:
    explicit CDocumentEditor(QObject *pParent = nullptr);
    ~CDocumentEditor() override;

    // Each operation returns the DOM's failure when it refused the change; nothing changed
    // then and nothing is announced.
    HRESULT InsertNode(const dom::Node &parent, const dom::Node &node, const dom::Node &before);
    // Removes `node` (and its subtree) from its parent.
    HRESULT RemoveNode(const dom::Node &node);
    // Moves `node`, which has a parent, with its subtree under `parent` before `before` (null:
    // last). The DOM refuses a move into the node's own subtree.
    HRESULT MoveNode(const dom::Node &node, const dom::Node &parent, const dom::Node &before);
    // Puts `newNode` in the place of `oldNode`, moving old's children and copying its
    // attributes (a rename).
    HRESULT ReplaceNode(const dom::Node &oldNode, const dom::Node &newNode);
    // Rebuilds the attributes and character-data children of `node` from `rows`; refused rows
    // come back with their reasons (see WriteRowsIntoNode).
    CRowsCommit SetRows(const dom::Node &node, const std::vector<GridRow> &rows);

private:
    // Inserts edit.node under edit.parent before `before` and announces `edit`.
    HRESULT InsertAndAnnounce(CDocumentEdit edit, const dom::Node &before);

signals:
    // After every change; the views of all windows bring themselves up to date.
    void edited(const CDocumentEdit &edit);
};
