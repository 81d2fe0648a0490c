#include "UndoHistory.h"

#include "DocumentEditor.h"
#include "Resource.h"

#include <algorithm>

namespace
{
// The name of a step made of this one edit.
int NameOf(CDocumentEdit::Kind kind)
{
    switch (kind) {
    case CDocumentEdit::Kind::Insert:
        return IDS_STEP_INSERT;
    case CDocumentEdit::Kind::Remove:
        return IDS_STEP_DELETE;
    case CDocumentEdit::Kind::Replace:
        return IDS_STEP_RENAME;
    case CDocumentEdit::Kind::SetRows:
        return IDS_STEP_EDIT;
    case CDocumentEdit::Kind::Move:
        return IDS_STEP_MOVE;
    }
    return IDS_STEP_EDIT;
}
} // namespace

CUndoHistory::CUndoHistory(CDocumentEditor *pEditor, QObject *pParent)
    : QObject(pParent), m_pEditor(pEditor)
{
    connect(m_pEditor, &CDocumentEditor::edited, this, &CUndoHistory::OnEdited);
    connect(m_pEditor, &CDocumentEditor::stepEnded, this, &CUndoHistory::OnStepEnded);
}

CUndoHistory::~CUndoHistory() = default;

int CUndoHistory::GetUndoName() const
{
    return CanUndo() ? m_steps[m_nDone - 1].nName : 0;
}

int CUndoHistory::GetRedoName() const
{
    return CanRedo() ? m_steps[m_nDone].nName : 0;
}

std::size_t CUndoHistory::RecordBytes(const CDocumentEdit &edit)
{
    const std::size_t nHandles = edit.oldParts.capacity() + edit.newParts.capacity() +
                                 edit.oldAnchors.capacity() + edit.newAnchors.capacity();
    return sizeof(CDocumentEdit) + nHandles * sizeof(dom::Node);
}

void CUndoHistory::SetLimits(std::size_t nMaxSteps, std::size_t nMaxRecordBytes)
{
    m_nMaxSteps = std::max<std::size_t>(nMaxSteps, 1);
    m_nMaxRecordBytes = nMaxRecordBytes;
}

void CUndoHistory::OnEdited(const CDocumentEdit &edit)
{
    // A replayed edit is a step already recorded.
    if (m_pEditor->IsReplaying())
        return;
    if (!m_bGathering) {
        DropUndoneSteps();
        const int nOpenStep = m_pEditor->GetOpenStepName();
        m_steps.push_back(Step{nOpenStep != 0 ? nOpenStep : NameOf(edit.kind),
                               std::make_shared<std::vector<CDocumentEdit>>(), 0});
        ++m_nDone;
        m_bGathering = nOpenStep != 0;
    }
    Step &step = m_steps.back();
    step.pEdits->push_back(edit);
    const std::size_t nBytes = RecordBytes(edit);
    step.nBytes += nBytes;
    m_nRecordBytes += nBytes;
    if (!m_bGathering)
        FinishStep();
}

void CUndoHistory::OnStepEnded()
{
    if (!m_bGathering)
        return;
    m_bGathering = false;
    FinishStep();
}

void CUndoHistory::DropUndoneSteps()
{
    while (m_steps.size() > m_nDone) {
        m_nRecordBytes -= m_steps.back().nBytes;
        m_steps.pop_back();
    }
    if (m_nSavePoint != kNoSavePoint && m_nSavePoint > m_nDone)
        m_nSavePoint = kNoSavePoint;
}

void CUndoHistory::FinishStep()
{
    while (m_steps.size() > 1 &&
           (m_steps.size() > m_nMaxSteps || m_nRecordBytes > m_nMaxRecordBytes)) {
        m_nRecordBytes -= m_steps.front().nBytes;
        m_steps.pop_front();
        --m_nDone;
        m_nSavePoint =
            m_nSavePoint == 0 || m_nSavePoint == kNoSavePoint ? kNoSavePoint : m_nSavePoint - 1;
    }
    emit changed();
}

bool CUndoHistory::Undo()
{
    return CanUndo() && Replay(m_nDone - 1, true);
}

bool CUndoHistory::Redo()
{
    return CanRedo() && Replay(m_nDone, false);
}

bool CUndoHistory::Replay(std::size_t nStep, bool bBackwards)
{
    // The position moves first: whatever a view does on hearing of the replay (a commit of
    // rows it still held) is recorded after it.
    m_nDone = bBackwards ? nStep : nStep + 1;
    const std::shared_ptr<const std::vector<CDocumentEdit>> pEdits = m_steps[nStep].pEdits;
    if (FAILED(m_pEditor->Replay(*pEdits, bBackwards))) {
        // The DOM changed behind the editor's back: no step can be trusted to fit it.
        m_steps.clear();
        m_nDone = m_nRecordBytes = 0;
        m_nSavePoint = kNoSavePoint;
        emit changed();
        return false;
    }
    emit changed();
    return true;
}

void CUndoHistory::Clear()
{
    m_steps.clear();
    m_nDone = m_nRecordBytes = 0;
    m_nSavePoint = 0;
    m_bGathering = false;
    emit changed();
}

void CUndoHistory::SetSavePoint()
{
    m_nSavePoint = m_nDone;
    emit changed();
}
