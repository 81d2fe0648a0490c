#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the window program: the documents to open and, to look at
// the window on a machine without a display, where to save a picture of it.
//     pellix [--screenshot FILE.png] [FILE.xml ...]
class CCommandLineInfo
{
public:
    enum ShellCommand { FileNothing, FileOpen };

    // Reads `arguments` (the program itself first). An unknown option or a missing option
    // value leaves the reason in m_strError.
    void ParseCommandLine(const QStringList &arguments);

    ShellCommand m_nShellCommand = FileNothing;
    QStringList m_strFileNames;
    QString m_strScreenshotFile;
    QString m_strError;
};
