#pragma once

#include <QString>

// The desktop entry that offers Pellix for XML files in the user's applications folder
// ($XDG_DATA_HOME/applications, else ~/.local/share/applications). It only adds Pellix to
// the programs that can open XML; the user's default application stays what it was.

// The path of the entry, "<applications folder>/pellix.desktop".
QString DesktopEntryPath();

// The program's icon in the user's icon theme folder, named "pellix" as the entry's Icon key.
QString DesktopIconPath();

// The entry's text for the program at the absolute path `strProgram`.
QString DesktopEntryText(const QString &strProgram);

// Writes the entry for `strProgram` and the icon it names, each unless it already holds exactly
// that. Returns false when either could not be written.
bool RegisterDesktopEntry(const QString &strProgram);
