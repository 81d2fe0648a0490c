#include "GuiTestKit.h"

#include "ChildFrame.h"
#include "CmdUI.h"
#include "CommandLineInfo.h"
#include "CommandRouter.h"
#include "DocTemplate.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "SplashWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMdiArea>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

QList<QTextBrowser *> HelpBrowsers()
{
    QList<QTextBrowser *> browsers;
    for (QWidget *pWidget : QApplication::topLevelWidgets()) {
        if (!pWidget->isVisible())
            continue;
        for (QTextBrowser *pBrowser : pWidget->findChildren<QTextBrowser *>()) {
            if (!browsers.contains(pBrowser))
                browsers << pBrowser;
        }
    }
    return browsers;
}

void WhenModalShows(std::function<void(QWidget *)> fnHandle)
{
    constexpr int kPollMilliseconds = 10;
    constexpr int kMaxPolls = 500;
    auto *pTimer = new QTimer(qApp);
    auto nPolls = std::make_shared<int>(0);
    QObject::connect(pTimer, &QTimer::timeout, pTimer, [pTimer, nPolls, fnHandle] {
        QPointer<QWidget> pModal = QApplication::activeModalWidget();
        if (pModal == nullptr) {
            if (++*nPolls >= kMaxPolls) {
                ADD_FAILURE() << "no modal dialog showed";
                pTimer->deleteLater();
            }
            return;
        }
        pTimer->stop();
        pTimer->deleteLater();
        fnHandle(pModal);
        if (pModal != nullptr && pModal->isVisible())
            pModal->close();
    });
    pTimer->start(kPollMilliseconds);
}

PellixTest::PellixTest()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(m_dir.file("profile")));
}

PellixTest::~PellixTest()
{
    StopApp();
}

bool PellixTest::StartApp(const QStringList &arguments)
{
    CCommandLineInfo cmdInfo;
    cmdInfo.ParseCommandLine(arguments);
    m_pApp = std::make_unique<CPellixApp>(cmdInfo);
    const bool bStarted = m_pApp->InitInstance();
    if (CSplashWindow *pSplash = m_pApp->GetSplashWindow())
        pSplash->close();
    if (m_pApp->GetMainFrame() != nullptr)
        Main().GetRouter()->SetIdleInterval(0);
    return bStarted;
}

bool PellixTest::RestartApp()
{
    StopApp();
    return StartApp();
}

void PellixTest::StopApp()
{
    if (m_pApp != nullptr)
        m_pApp->ExitInstance();
    m_pApp.reset();
    FlushDeletes();
}

CMainFrame &PellixTest::Main()
{
    return *static_cast<CMainFrame *>(m_pApp->GetMainFrame());
}

bool PellixTest::IsEnabled(int nID)
{
    return Main().GetRouter()->QueryState(nID).IsEnabled();
}

bool PellixTest::Execute(int nID)
{
    return Main().GetRouter()->Execute(nID);
}

QString PellixTest::WriteFile(const std::string &name, const std::string &bytes) const
{
    return QString::fromStdString(m_dir.write(name, bytes));
}

CPellixDoc *PellixTest::NewDoc()
{
    return qobject_cast<CPellixDoc *>(m_pApp->GetFirstDocTemplate()->OpenDocumentFile(QString()));
}

CPellixDoc *PellixTest::OpenDoc(const QString &strPath)
{
    return qobject_cast<CPellixDoc *>(m_pApp->OpenDocumentFile(strPath));
}

std::vector<CPellixDoc *> PellixTest::Documents() const
{
    std::vector<CPellixDoc *> documents;
    for (CDocument *pDoc : m_pApp->GetFirstDocTemplate()->GetDocuments())
        documents.push_back(qobject_cast<CPellixDoc *>(pDoc));
    return documents;
}

CChildFrame *PellixTest::FrameOf(CPellixDoc *pDoc, size_t nIndex)
{
    const std::vector<CMDIChildWnd *> frames = pDoc->GetFrames();
    return nIndex < frames.size() ? qobject_cast<CChildFrame *>(frames[nIndex]) : nullptr;
}

int PellixTest::VisibleChildCount()
{
    int nCount = 0;
    for (QMdiSubWindow *pWindow : Main().GetMDIArea()->subWindowList())
        nCount += pWindow->isHidden() ? 0 : 1;
    return nCount;
}

void PellixTest::FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TypeIntoCell(CChildFrame *pFrame, int nRow, int nCol, const QString &strText)
{
    CPellixGridView *pGrid = pFrame->GetGridPane();
    QRect rect;
    ASSERT_TRUE(pGrid->GetCellRect(pGrid->ItemOfRow(nRow), pGrid->FindColumn(nCol), rect));
    for (int nClick = 0; nClick < 2 && !pGrid->IsEditingCell(); ++nClick)
        QTest::mouseClick(pGrid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    ASSERT_TRUE(pGrid->IsEditingCell());
    QWidget *pEditor = pGrid->GetCellEditor();
    ASSERT_NE(pEditor, nullptr);
    QTest::keyClick(pEditor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(pEditor, strText);
}
