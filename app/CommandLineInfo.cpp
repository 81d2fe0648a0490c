#include "CommandLineInfo.h"

namespace
{
constexpr int kMaxRecoverySeconds = 24 * 60 * 60;
} // namespace

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
        } else if (strArg == QStringLiteral("--recovery-interval")) {
            bool bNumber = false;
            m_nRecoverySeconds = arguments.value(++i).toInt(&bNumber);
            if (!bNumber || m_nRecoverySeconds < 1 || m_nRecoverySeconds > kMaxRecoverySeconds) {
                m_strError = QStringLiteral("--recovery-interval needs a number of seconds "
                                            "from 1 to %1")
                                 .arg(kMaxRecoverySeconds);
                return;
            }
        } else if (strArg == QStringLiteral("--test-edit")) {
            m_bTestEdit = true;
        } else {
            m_strError = QStringLiteral("unknown option %1").arg(strArg);
            return;
        }
    }
    m_nShellCommand = m_strFileNames.isEmpty() ? FileNothing : FileOpen;
}
