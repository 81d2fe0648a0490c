#pragma once

#include <QString>
#include <functional>

// The file dialogs of Open and Save As, replaceable so tests never block on a modal dialog.
enum class FileDialogMode { Open, Save };

// Receives the mode, the suggested path (Save: the proposed file name) and the Qt name
// filter ("XML Files (*.xml);;All Files (*)"); returns the chosen path or "" for Cancel.
using FileDialogHandler = std::function<QString(FileDialogMode eMode, const QString &strInitial,
                                                const QString &strFilter)>;

// Asks for a file name; returns "" when the user cancelled. `strDefaultExt` (".xml") is
// added by the dialog to a saved name typed without an extension.
QString AfxPromptFileName(FileDialogMode eMode, const QString &strInitial, const QString &strFilter,
                          const QString &strDefaultExt);

// Installs `handler` (an empty one restores the real dialogs); returns the one it replaced.
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);
