#pragma once

#include "TreeItemRef.h"

#include <QPointer>

class CPellixTreeView;

// The mark of the last Cut or Copy in any tree pane. There is one for the whole program, so a
// subtree marked in one window pastes into any window, of its own document or another. The
// mark never dangles: once its item or pane is gone it reads as null and pastes nothing.
struct CTreeClipboard {
    // The modes of the mark.
    enum ClipMode { CLIP_COPY = 0, CLIP_CUT = 1, CLIP_NONE = 2 };

    CTreeItemRef m_itemClipSource;
    int m_nClipMode = CLIP_NONE;
    // The pane of the marked item: it removes a cut item that was pasted into another document.
    QPointer<CPellixTreeView> m_pSourcePane;

    // Marks `item` of `pPane` in `nMode`; an earlier cut item that was not pasted loses its
    // cut image.
    void Mark(CPellixTreeView *pPane, const CTreeItemRef &item, int nMode);
    // Ends a pending cut: the item shows its own image again and the mode is CLIP_NONE.
    void EndCut();
};

// The program's one tree clipboard.
CTreeClipboard &TreeClipboard();
