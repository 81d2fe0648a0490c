#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the window program: the documents to open and, to look at
// the window on a machine without a display, where to save a picture of it. Two options serve
// tests of crash recovery: how often recovery copies are written, and an edit made to each
// document opened from the command line (an element appended to its root element).
//     pellix [--screenshot FILE.png] [--recovery-interval SECONDS] [--test-edit] [FILE.xml ...]
class CCommandLineInfo
{
public:
    enum ShellCommand { FileNothing, FileOpen };

    // True when no one is at the window: a picture is taken, or a test edits.
    bool IsUnattended() const { return !m_strScreenshotFile.isEmpty() || m_bTestEdit; }

    // Reads `arguments` (the program itself first). An unknown option or a missing option
    // value leaves the reason in m_strError.
    void ParseCommandLine(const QStringList &arguments);

    ShellCommand m_nShellCommand = FileNothing;
    QStringList m_strFileNames;
    QString m_strScreenshotFile;
    int m_nRecoverySeconds = 60;
    bool m_bTestEdit = false;
    QString m_strError;
};
