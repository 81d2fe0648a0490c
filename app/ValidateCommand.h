#pragma once

class CChildFrame;

// Edit > Validate in a document window: asks for a schema file (XML Schema, RELAX NG or DTD by
// its extension), commits the edited rows of every window of the document and validates the
// document as it is then. A valid document is said so; errors show in a list whose entries
// select their elements in this window's tree; a schema or document that cannot be used is
// reported.
void RunValidateCommand(CChildFrame *pFrame);

// Whether the window's document has content to validate.
bool CanValidate(const CChildFrame *pFrame);
