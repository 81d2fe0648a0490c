#include "EditorUndo.h"

#include "CmdUI.h"
#include "MenuTables.h"
#include "Resource.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

void EditorUndoCommand(QWidget *pEditor, int nID, CCmdUI *pUpdate)
{
    const bool bRedo = nID == ID_EDIT_REDO;
    // A choice editor's field is its focus proxy.
    while (pEditor != nullptr && pEditor->focusProxy() != nullptr)
        pEditor = pEditor->focusProxy();
    auto *pLine = qobject_cast<QLineEdit *>(pEditor);
    auto *pText = qobject_cast<QPlainTextEdit *>(pEditor);
    bool bAvailable = false;
    if (pLine != nullptr)
        bAvailable = bRedo ? pLine->isRedoAvailable() : pLine->isUndoAvailable();
    else if (pText != nullptr)
        bAvailable =
            bRedo ? pText->document()->isRedoAvailable() : pText->document()->isUndoAvailable();
    if (pUpdate != nullptr) {
        pUpdate->Enable(bAvailable);
        pUpdate->SetText(StepCommandText(nID, QString()));
    } else if (bAvailable && pLine != nullptr) {
        bRedo ? pLine->redo() : pLine->undo();
    } else if (bAvailable) {
        bRedo ? pText->redo() : pText->undo();
    }
}
