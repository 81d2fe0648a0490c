#include "BatchMode.h"
#include "CommandLineInfo.h"
#include "PellixApp.h"
#include "Resource.h"
#include "ScreenshotRun.h"
#include "StringTable.h"
#include "UnattendedRun.h"

#include <QApplication>
#include <QStringList>
#include <csignal>
#include <cstdio>

namespace
{
constexpr int kUsageStatus = 64;

int Usage(const QString &strError)
{
    std::fprintf(stderr,
                 "pellix: %s\n"
                 "usage: pellix [--screenshot FILE.png] [--recovery-interval SECONDS] "
                 "[--test-edit] [FILE.xml ...]\n"
                 "       pellix --convert IN OUT | --check IN\n"
                 "       pellix --xpath EXPR IN | --validate SCHEMA IN\n",
                 strError.toUtf8().constData());
    return kUsageStatus;
}
} // namespace

int main(int argc, char *argv[])
{
    // Past a file-size limit the write fails (EFBIG) and the save says so; the signal's default
    // would kill the program half-way through a save.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (IsBatchCommand(arguments))
        return RunBatchMode(arguments);

    QApplication application(argc, argv);
    QApplication::setApplicationName(LoadResString(AFX_IDS_APP_TITLE));
    CCommandLineInfo cmdInfo;
    // Qt has taken the options that were its own.
    cmdInfo.ParseCommandLine(QApplication::arguments());
    if (!cmdInfo.m_strError.isEmpty())
        return Usage(cmdInfo.m_strError);
    if (!cmdInfo.m_strScreenshotFile.isEmpty())
        PrepareScreenshotRun(cmdInfo.m_strScreenshotFile);
    else if (cmdInfo.IsUnattended())
        PrepareUnattendedRun();
    CPellixApp theApp(cmdInfo);
    return theApp.Run();
}
