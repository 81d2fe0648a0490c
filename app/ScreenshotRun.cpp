#include "ScreenshotRun.h"

#include "MDIFrameWnd.h"
#include "UnattendedRun.h"
#include "WinApp.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QThread>
#include <QTimer>
#include <cstdio>

namespace
{
// Long enough for the window to be laid out and painted once.
constexpr int kSettleMilliseconds = 1000;

void SaveMainWindow(const QString &strFile)
{
    CWinApp *pApp = AfxGetApp();
    QWidget *pMainFrame = pApp != nullptr ? pApp->GetMainFrame() : nullptr;
    const bool bSaved = pMainFrame != nullptr && pMainFrame->grab().save(strFile, "PNG");
    if (bSaved)
        std::fprintf(stderr, "saved %s\n", strFile.toUtf8().constData());
    else
        std::fprintf(stderr, "could not write %s\n", strFile.toUtf8().constData());
    QCoreApplication::exit(bSaved ? 0 : 1);
}

// The settling time starts once the start-up, documents opened from the command line
// included, is over and the event loop runs: the start-up may let events through before that
// (the splash window paints), and a settle that overlapped the loading would grab too early.
void StartSettleOnceRunning(const QString &strFile)
{
    QTimer::singleShot(0, [strFile] {
        if (QThread::currentThread()->loopLevel() == 0)
            StartSettleOnceRunning(strFile);
        else
            QTimer::singleShot(kSettleMilliseconds, [strFile] { SaveMainWindow(strFile); });
    });
}
} // namespace

void PrepareScreenshotRun(const QString &strFile)
{
    PrepareUnattendedRun();
    StartSettleOnceRunning(strFile);
}
