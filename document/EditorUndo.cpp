#include "EditorUndo.h"

#include "CmdUI.h"
#include "MenuTables.h"
#include "Resource.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

void EditorUndoCommand(QWidget *pEditor, int nID, CCmdUI *pUpdate)
{
    const bool bRedo = nID == ID_EDIT_REDO;
    if (auto *pCombo = qobject_cast<QComboBox *>(pEditor))
        pEditor = pCombo->lineEdit();
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
