#include "LongOperation.h"

#include "MDIFrameWnd.h"
#include "WinApp.h"

#include <QApplication>
#include <QProgressDialog>
#include <algorithm>
#include <utility>

namespace
{
LongOperationHandler &Handler()
{
    static LongOperationHandler handler;
    return handler;
}

constexpr int kScale = 1000;
} // namespace

LongOperationHandler SetLongOperationHandler(LongOperationHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

CLongOperation::CLongOperation(QString strLabel) : m_strLabel(std::move(strLabel))
{
    m_timer.start();
}

CLongOperation::~CLongOperation()
{
    if (m_bArrowCursor)
        QGuiApplication::restoreOverrideCursor();
    delete m_pDialog.data();
}

void CLongOperation::ShowDialog()
{
    // Over the main window, which outlives the command (the splash picture at start-up does
    // not, and would take the dialog with it).
    const CWinApp *pApp = AfxGetApp();
    QWidget *pParent = pApp != nullptr && pApp->GetMainFrame() != nullptr
                           ? static_cast<QWidget *>(pApp->GetMainFrame())
                           : QApplication::activeWindow();
    m_pDialog = new QProgressDialog(m_strLabel, QStringLiteral("Cancel"), 0, kScale, pParent);
    m_pDialog->setWindowModality(Qt::ApplicationModal);
    m_pDialog->setWindowTitle(QApplication::applicationName());
    m_pDialog->setAutoClose(false);
    m_pDialog->setAutoReset(false);
    m_pDialog->setMinimumDuration(0);
    // Over the wait cursor of the command: the Cancel button is there to be clicked.
    if (!m_bArrowCursor)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    m_bArrowCursor = true;
    m_pDialog->show();
}

bool CLongOperation::Step(std::uint64_t nDone, std::uint64_t nTotal)
{
    if (m_bCancelled)
        return false;
    if (const LongOperationHandler &handler = Handler()) {
        m_bCancelled = !handler(m_strLabel, nDone, nTotal);
        return !m_bCancelled;
    }
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr)
        return true;
    const qint64 nNow = m_timer.elapsed();
    if (nNow < kShowAfterMilliseconds || nNow - m_nLastUpdate < kUpdateMilliseconds)
        return true;
    m_nLastUpdate = nNow;
    if (m_pDialog == nullptr)
        ShowDialog();
    if (nTotal == 0) {
        m_pDialog->setRange(0, 0); // a busy bar: how much is to come is not known
    } else {
        m_pDialog->setRange(0, kScale);
        m_pDialog->setValue(static_cast<int>(std::min(nDone, nTotal) * kScale / nTotal));
    }
    // Paints, and takes the Cancel click or Escape; the dialog keeps every other window's
    // input away meanwhile.
    QCoreApplication::processEvents();
    // A dialog that went with its window is made again at the next step.
    m_bCancelled = m_pDialog != nullptr && m_pDialog->wasCanceled();
    return !m_bCancelled;
}
