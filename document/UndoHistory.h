#pragma once

// The document's undo history: the steps of edits its editor announced, in order, and the
// position that separates the steps done from those undone. Undo and Redo replay a step
// through the same editor, so every window follows them as it follows a new edit. A step
// holds the very nodes its edits took out: undoing the delete of a subtree links it back,
// it copies nothing.
//
// Bounds: at most GetMaxSteps() steps (kMaxSteps unless set), and the oldest steps are dropped
// while the records of all steps (RecordBytes: the edits and the handles they hold) exceed
// GetMaxRecordBytes() (kMaxRecordBytes unless set). The newest step is kept whatever its size,
// so the last action can always be undone. A dropped step lets go of its nodes; their memory
// belongs to the DOM, which keeps every node until the document closes.

#include <QObject>
#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

class CDocumentEditor;
struct CDocumentEdit;

class CUndoHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr std::size_t kMaxSteps = 100;
    static constexpr std::size_t kMaxRecordBytes = std::size_t{64} << 20;

    // Records what `pEditor` announces; the editor must outlive the history.
    explicit CUndoHistory(CDocumentEditor *pEditor, QObject *pParent = nullptr);
    ~CUndoHistory() override;

    bool CanUndo() const { return m_nDone > 0; }
    bool CanRedo() const { return m_nDone < m_steps.size(); }
    // The string id naming the step Undo (Redo) would take; 0 when there is none.
    int GetUndoName() const;
    int GetRedoName() const;
    // Takes back the last step done, or makes the last step undone again. False when there
    // is none, and when the DOM no longer fits the step (it changed behind the editor's back):
    // every step is forgotten then.
    bool Undo();
    bool Redo();

    // Forgets every step: the DOM as it is now is the saved state (a new or loaded document).
    void Clear();
    // The DOM as it is now was saved.
    void SetSavePoint();
    // True when the steps done are those done when the document was last saved.
    bool IsAtSavePoint() const { return m_nSavePoint == m_nDone; }

    std::size_t GetStepCount() const { return m_steps.size(); }
    std::size_t GetRecordBytes() const { return m_nRecordBytes; }
    std::size_t GetMaxSteps() const { return m_nMaxSteps; }
    std::size_t GetMaxRecordBytes() const { return m_nMaxRecordBytes; }
    // Lower bounds take effect with the next step recorded.
    void SetLimits(std::size_t nMaxSteps, std::size_t nMaxRecordBytes);
    // The estimated memory of the record of one edit.
    static std::size_t RecordBytes(const CDocumentEdit &edit);

signals:
    // After a step was recorded, undone, redone or dropped, and after Clear and SetSavePoint.
    void changed();

private:
    struct Step {
        int nName = 0;
        // Shared, so that a replay keeps its edits even if a view's answer to it records a
        // new step and drops this one.
        std::shared_ptr<std::vector<CDocumentEdit>> pEdits;
        std::size_t nBytes = 0;
    };
    static constexpr std::size_t kNoSavePoint = static_cast<std::size_t>(-1);

    void OnEdited(const CDocumentEdit &edit);
    void OnStepEnded();
    // Drops the steps undone: a new edit leaves them nothing to be redone on.
    void DropUndoneSteps();
    // Drops the oldest steps while the bounds are exceeded, then says so.
    void FinishStep();
    // Replays step nStep; on failure forgets every step.
    bool Replay(std::size_t nStep, bool bBackwards);

    CDocumentEditor *const m_pEditor;
    std::deque<Step> m_steps;
    // The steps done are m_steps[0, m_nDone).
    std::size_t m_nDone = 0;
    // m_nDone when the document was saved; kNoSavePoint once that state cannot come back.
    std::size_t m_nSavePoint = 0;
    std::size_t m_nRecordBytes = 0;
    std::size_t m_nMaxSteps = kMaxSteps;
    std::size_t m_nMaxRecordBytes = kMaxRecordBytes;
    // True while the edits of an open step of the editor are gathered into m_steps.back().
    bool m_bGathering = false;
};
