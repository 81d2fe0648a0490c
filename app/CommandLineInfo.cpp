#include "CommandLineInfo.h"

void CCommandLineInfo::ParseCommandLine(const QStringList &arguments)
{
    bool bOptionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &strArg = arguments.at(i);
        if (bOptionsEnded || !strArg.startsWith(u'-') || strArg == QStringLiteral("-")) {
            m_strFileNames << strArg;
            continue;
        }
        if (strArg == QStringLiteral("--")) {
            bOptionsEnded = true;
        } else if (strArg == QStringLiteral("--screenshot")) {
            if (i + 1 >= arguments.size()) {
                m_strError = QStringLiteral("--screenshot needs a file name");
                return;
            }
            m_strScreenshotFile = arguments.at(++i);
        } else {
            m_strError = QStringLiteral("unknown option %1").arg(strArg);
            return;
        }
    }
    m_nShellCommand = m_strFileNames.isEmpty() ? FileNothing : FileOpen;
}
