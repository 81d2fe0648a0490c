#include "ScreenshotRun.h"

#include "MDIFrameWnd.h"
#include "UnattendedRun.h"
#include "WinApp.h"

#include <QCoreApplication>
#include <QPixmap>
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
} // namespace

void PrepareScreenshotRun(const QString &strFile)
{
    PrepareUnattendedRun();
    // The first timer runs once the event loop has started, after the start-up.
    QTimer::singleShot(0, [strFile] {
        QTimer::singleShot(kSettleMilliseconds, [strFile] { SaveMainWindow(strFile); });
    });
}
