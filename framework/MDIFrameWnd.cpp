#include "MDIFrameWnd.h"

#include "CmdUI.h"
#include "CommandRouter.h"
#include "DocTemplate.h"
#include "DocumentBase.h"
#include "FocusFrame.h"
#include "FrameworkIds.h"
#include "MDIChildWnd.h"
#include "View.h"
#include "WinApp.h"
#include "WindowTitle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMimeData>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>

CMDIFrameWnd::CMDIFrameWnd(QWidget *pParent)
    : QMainWindow(pParent), m_pMDIArea(new QMdiArea(this)),
      m_pRouter(new CCommandRouter(this, [this] { return GetCommandRoute(); })),
      m_pStatusBar(new CFrameStatusBar(this))
{
    setCentralWidget(m_pMDIArea);
    setStatusBar(m_pStatusBar);
    setAcceptDrops(true);
    connect(m_pMDIArea, &QMdiArea::subWindowActivated, this, [this] {
        OnUpdateFrameTitle();
        m_pRouter->Update();
    });
    connect(qApp, &QApplication::focusChanged, this, &CMDIFrameWnd::OnFocusChanged);
    // A maximised child window writes its own title into the main window's; ours wins.
    connect(this, &QWidget::windowTitleChanged, this, &CMDIFrameWnd::OnUpdateFrameTitle);
    connect(m_pRouter, &CCommandRouter::aboutToUpdate, this, &CMDIFrameWnd::UpdateRecentFileItems);
    RegisterWindowCommands();
    RegisterBarCommands();
}

CMDIFrameWnd::~CMDIFrameWnd()
{
    // The child windows die with the MDI area, after the derived window's members: they
    // must not call back into it, nor must the area's or the application's signals.
    disconnect(qApp, nullptr, this, nullptr);
    m_pMDIArea->disconnect(this);
    for (CMDIChildWnd *pChild : m_pMDIArea->findChildren<CMDIChildWnd *>())
        pChild->DetachFromMainFrame();
}

void CMDIFrameWnd::RegisterWindowCommands()
{
    OnCommand(StdId::WindowNew, [this] { OnWindowNew(); });
    OnCommand(StdId::WindowCascade, [this] { MDICascade(); });
    OnCommand(StdId::WindowTileHorz, [this] { MDITile(); });
    OnCommand(StdId::WindowTileVert, [this] { MDITile(); });
    OnCommand(StdId::WindowArrange, [this] { MDIIconArrange(); });
    OnUpdateCommandUIRange(StdId::WindowNew, StdId::WindowTileVert,
                           [this](CCmdUI *pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); });
}

void CMDIFrameWnd::RegisterBarCommands()
{
    OnCommand(StdId::ViewToolbar, [this] {
        if (m_pToolBar != nullptr)
            m_pToolBar->setVisible(m_pToolBar->isHidden());
    });
    OnUpdateCommandUI(StdId::ViewToolbar, [this](CCmdUI *pCmdUI) {
        pCmdUI->Enable(m_pToolBar != nullptr);
        pCmdUI->SetCheck(m_pToolBar != nullptr && !m_pToolBar->isHidden());
    });
    OnCommand(StdId::ViewStatusBar, [this] { m_pStatusBar->setVisible(m_pStatusBar->isHidden()); });
    OnUpdateCommandUI(StdId::ViewStatusBar,
                      [this](CCmdUI *pCmdUI) { pCmdUI->SetCheck(!m_pStatusBar->isHidden()); });
}

QAction *CMDIFrameWnd::Action(int nID)
{
    return m_pRouter->Action(nID);
}

CmdRoute CMDIFrameWnd::GetCommandRoute() const
{
    CmdRoute route;
    if (CMDIChildWnd *pChild = MDIGetActive()) {
        CView *pView = pChild->GetActiveView();
        if (pView != nullptr)
            route.push_back(pView);
        CDocument *pDocument =
            pView != nullptr ? pView->GetDocument() : pChild->GetActiveDocument();
        if (pDocument != nullptr)
            route.push_back(pDocument);
        route.push_back(pChild);
    }
    route.push_back(const_cast<CMDIFrameWnd *>(this));
    if (CWinApp *pApp = AfxGetApp())
        route.push_back(pApp);
    return route;
}

CMDIChildWnd *CMDIFrameWnd::MDIGetActive() const
{
    // The current window stays current while the main window itself is inactive.
    auto *pChild = qobject_cast<CMDIChildWnd *>(m_pMDIArea->currentSubWindow());
    return pChild != nullptr && !pChild->isHidden() ? pChild : nullptr;
}

void CMDIFrameWnd::MDIActivate(CMDIChildWnd *pFrame)
{
    m_pMDIArea->setActiveSubWindow(pFrame);
    OnUpdateFrameTitle();
    m_pRouter->Update();
}

void CMDIFrameWnd::MDICascade()
{
    m_pMDIArea->cascadeSubWindows();
}

void CMDIFrameWnd::MDITile()
{
    m_pMDIArea->tileSubWindows();
}

void CMDIFrameWnd::MDIIconArrange()
{
    const QSize sizeArea = m_pMDIArea->viewport()->size();
    int x = 0;
    int y = sizeArea.height();
    int nRowHeight = 0;
    for (QMdiSubWindow *pWindow : m_pMDIArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!pWindow->isMinimized() || pWindow->isHidden())
            continue;
        const QSize size = pWindow->size();
        if (x > 0 && x + size.width() > sizeArea.width()) {
            x = 0;
            y -= nRowHeight;
            nRowHeight = 0;
        }
        nRowHeight = std::max(nRowHeight, size.height());
        pWindow->move(x, y - size.height());
        x += size.width();
    }
}

void CMDIFrameWnd::OnWindowNew()
{
    CMDIChildWnd *pActive = MDIGetActive();
    CDocument *pDocument = pActive != nullptr ? pActive->GetActiveDocument() : nullptr;
    CDocTemplate *pTemplate = pDocument != nullptr ? pDocument->GetDocTemplate() : nullptr;
    if (pTemplate == nullptr)
        return;
    // The new window shows the document as the open windows have it, open cell editors included.
    pDocument->CommitPendingEdits();
    if (CMDIChildWnd *pFrame = pTemplate->CreateNewFrame(pDocument))
        pTemplate->InitialUpdateFrame(pFrame, pDocument);
}

CDocument *CMDIFrameWnd::GetActiveDocument() const
{
    CMDIChildWnd *pChild = MDIGetActive();
    return pChild != nullptr ? pChild->GetActiveDocument() : nullptr;
}

CView *CMDIFrameWnd::GetActiveView() const
{
    CMDIChildWnd *pChild = MDIGetActive();
    return pChild != nullptr ? pChild->GetActiveView() : nullptr;
}

CFocusFrame *CMDIFrameWnd::GetFocusFrame() const
{
    return m_pFocusFrame;
}

void CMDIFrameWnd::OnFocusChanged(QWidget *, QWidget *pNow)
{
    CView *pView = pNow != nullptr && pNow->window() == this ? CView::FromWidget(pNow) : nullptr;
    CMDIChildWnd *pFrame = pView != nullptr ? pView->GetParentFrame() : nullptr;
    if (pFrame == nullptr || pFrame->GetMDIFrame() != this) {
        // No pane of this window has the keyboard (it is elsewhere, or the window is inactive).
        if (m_pFocusFrame != nullptr)
            m_pFocusFrame->hide();
        return;
    }
    pFrame->SetActiveView(pView, false);
    if (m_pFocusFrame == nullptr)
        m_pFocusFrame = new CFocusFrame(pView->GetWidget());
    else
        m_pFocusFrame->SetPane(pView->GetWidget());
}

void CMDIFrameWnd::SetIndicators(const std::vector<CIndicatorDef> &indicators)
{
    m_pStatusBar->SetIndicators(indicators);
}

void CMDIFrameWnd::SetPromptProvider(std::function<QString(int)> fnPrompt)
{
    m_fnPrompt = fnPrompt;
    m_pRouter->SetPromptProvider(std::move(fnPrompt));
}

void CMDIFrameWnd::SetMessageText(const QString &strText)
{
    m_pStatusBar->SetMessage(strText);
}

void CMDIFrameWnd::SetMessageText(int nID)
{
    SetMessageText(m_fnPrompt ? m_fnPrompt(nID).section(u'\n', 0, 0) : QString());
}

QString CMDIFrameWnd::GetMessageText() const
{
    return m_pStatusBar->GetMessage();
}

void CMDIFrameWnd::SetIdleText(const QString &strText)
{
    m_strIdleText = strText;
    SetMessageText(strText);
}

void CMDIFrameWnd::SetTitle(const QString &strTitle)
{
    m_strTitle = strTitle;
    OnUpdateFrameTitle();
}

void CMDIFrameWnd::OnUpdateFrameTitle()
{
    CMDIChildWnd *pActive = MDIGetActive();
    QString strTitle = EscapeTitleMark(m_strTitle);
    if (pActive != nullptr) {
        // The child's title carries its modified mark, which this window shows too.
        const QString strChild = pActive->windowTitle();
        strTitle += pActive->isMaximized() ? QStringLiteral(" - [%1]").arg(strChild)
                                           : QStringLiteral(" - ") + strChild;
    }
    if (windowTitle() != strTitle)
        setWindowTitle(strTitle);
    setWindowModified(pActive != nullptr && pActive->isWindowModified());
}

CDocument *CMDIFrameWnd::OpenDocumentFile(const QString &strPath)
{
    CWinApp *pApp = AfxGetApp();
    return pApp != nullptr ? pApp->OpenDocumentFile(strPath) : nullptr;
}

bool CMDIFrameWnd::event(QEvent *pEvent)
{
    if (pEvent->type() == QEvent::StatusTip) {
        // Fly-by help: the hovered command's prompt, and the idle text once it is left.
        const QString strTip = static_cast<QStatusTipEvent *>(pEvent)->tip();
        SetMessageText(strTip.isEmpty() ? m_strIdleText : strTip);
        return true;
    }
    return QMainWindow::event(pEvent);
}

void CMDIFrameWnd::closeEvent(QCloseEvent *pEvent)
{
    CWinApp *pApp = AfxGetApp();
    if (pApp != nullptr && pApp->GetMainFrame() == this) {
        if (!pApp->SaveAllModified()) {
            pEvent->ignore();
            return;
        }
        pApp->CloseAllDocuments();
    }
    QMainWindow::closeEvent(pEvent);
}

void CMDIFrameWnd::dragEnterEvent(QDragEnterEvent *pEvent)
{
    const QList<QUrl> urls = pEvent->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); }))
        pEvent->acceptProposedAction();
}

void CMDIFrameWnd::dropEvent(QDropEvent *pEvent)
{
    const QList<QUrl> urls = pEvent->mimeData()->urls();
    pEvent->acceptProposedAction();
    activateWindow();
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            OpenDocumentFile(url.toLocalFile());
    }
}
