#pragma once

// The one road by which a user's change reaches the DOM. Every operation is kept as a value
// (CDocumentEdit) that says what changed and holds what was taken out, so it can be reversed;
// every window of the document hears of it through `edited`. Undo and Redo come back through
// here too (Replay), so the windows follow them as they follow a new edit.

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
    // SetRows: where each part stood (see RowPartAnchors), so either set goes back in place.
    std::vector<dom::Node> oldAnchors;
    std::vector<dom::Node> newAnchors;
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

    // The edits made between BeginStep and the matching EndStep are one step of the document's
    // history (one Undo takes them all back), named by the string id the outermost BeginStep
    // gave. CEditStep opens one for a scope. An edit made outside a step is a step of its own.
    void BeginStep(int nNameID);
    void EndStep();
    // The name of the open step; 0 when none is open.
    int GetOpenStepName() const { return m_nStepDepth > 0 ? m_nStepName : 0; }

    // Makes the edits of one recorded step again, in order, or with bBackwards their inverses
    // in reverse order (an undo). Each is announced through `edited` like a new edit, while
    // IsReplaying() is true; then `replayed` names the node the step leaves the user at. Stops
    // at the first edit the DOM no longer matches (it changed behind the editor's back) and
    // returns its failure; the edits before it stay made and announced.
    HRESULT Replay(const std::vector<CDocumentEdit> &edits, bool bBackwards);
    bool IsReplaying() const { return m_bReplaying; }
    // The edit that takes `edit` back.
    static CDocumentEdit Inverse(const CDocumentEdit &edit);

private:
    // Inserts edit.node under edit.parent before `before` and announces `edit`.
    HRESULT InsertAndAnnounce(CDocumentEdit edit, const dom::Node &before);
    // Makes the change `edit` describes, the DOM being in the state the edit starts from;
    // refused (nothing changed) when it is not.
    static HRESULT Apply(const CDocumentEdit &edit);

    int m_nStepDepth = 0;
    int m_nStepName = 0;
    bool m_bReplaying = false;

signals:
    // After every change; the views of all windows bring themselves up to date.
    void edited(const CDocumentEdit &edit);
    // The outermost open step was closed.
    void stepEnded();
    // After a replayed step: `focus` is the node to select (the restored one, or the parent of
    // one taken away again).
    void replayed(const dom::Node &focus);
};

// Makes the edits of its scope one step of the history, named by string id nNameID. A null
// editor is allowed (nothing happens).
class CEditStep
{
public:
    CEditStep(CDocumentEditor *pEditor, int nNameID) : m_pEditor(pEditor)
    {
        if (m_pEditor != nullptr)
            m_pEditor->BeginStep(nNameID);
    }
    ~CEditStep()
    {
        if (m_pEditor != nullptr)
            m_pEditor->EndStep();
    }
    CEditStep(const CEditStep &) = delete;
    CEditStep &operator=(const CEditStep &) = delete;

private:
    CDocumentEditor *const m_pEditor;
};
