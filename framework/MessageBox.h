#pragma once

#include <QString>
#include <functional>

// OK-only message boxes. Everything the user is told goes through here, so tests and the
// headless batch mode can install a handler that records or prints the text instead.
using MessageBoxHandler = std::function<void(const QString &text)>;

// Shows `text` in a modal OK-only box captioned with the application title, or hands it to
// the installed handler. Without a GUI application object the text goes to stderr.
void AfxMessageBox(const QString &text);

// Installs `handler` (an empty one restores the default); returns the handler it replaced.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// Yes/No/Cancel questions, such as the prompt to save a modified document.
enum class MessageBoxResult { Yes, No, Cancel };
using YesNoCancelHandler = std::function<MessageBoxResult(const QString &text)>;

// Asks `text` in a modal box with Yes, No and Cancel, or asks the installed handler.
// Without a GUI application object the answer is Cancel, so nothing is lost unasked.
MessageBoxResult AfxMessageBoxYesNoCancel(const QString &text);

// Installs `handler` (an empty one restores the default); returns the handler it replaced.
YesNoCancelHandler SetYesNoCancelHandler(YesNoCancelHandler handler);
