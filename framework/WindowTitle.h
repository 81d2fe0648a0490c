#pragma once

#include <QString>

class QWidget;

// Titles follow Qt's window-modified convention: "[*]" stands where the modified mark goes,
// and "[*][*]" stands for the text "[*]" itself.

// `strText` with every "[*]" doubled, so that it shows as written inside such a title.
QString EscapeTitleMark(const QString &strText);

// The title `pWindow` shows: its windowTitle() with the mark as "*" while the window is
// modified and dropped while it is not.
QString ShownWindowTitle(const QWidget *pWindow);
