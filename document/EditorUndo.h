#pragma once

// Undo and Redo while an editor of text has the focus (the text pane, a cell editor, a label
// editor): the commands act on that editor's own text, as they always have, not on the
// document.

class CCmdUI;
class QWidget;

// With pUpdate null runs ID_EDIT_UNDO or ID_EDIT_REDO (nID) on `pEditor`; otherwise enables
// the command when the editor has something to take back (or make again) and gives it its
// plain menu text. An editor with no text of its own (a list-only choice) has nothing to undo.
void EditorUndoCommand(QWidget *pEditor, int nID, CCmdUI *pUpdate);
