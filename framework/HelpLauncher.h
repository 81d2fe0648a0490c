#pragma once

#include <QString>

class QWidget;

// Commands of ShowHelp: the help file's start page, or the topic of a help context id.
inline constexpr int HH_DISPLAY_TOPIC = 0;
inline constexpr int HH_HELP_CONTEXT = 15;

// Shows `strHelpFile` (HTML) in Pellix's help window, a non-modal window owned by `pOwner`'s
// top-level window and reused by later calls. HH_HELP_CONTEXT scrolls to the anchor named
// "context-<nData>" when the page has one. Returns false, and shows nothing and says nothing,
// when the file does not exist or cannot be read.
bool ShowHelp(QWidget *pOwner, const QString &strHelpFile, int nCommand, int nData);

// The help file of this program: "<program base name>.html" beside the program, else in
// ../share/pellix/help/ relative to the program's folder. When neither exists the path
// beside the program is returned (and ShowHelp on it returns false).
QString HelpFilePath();
