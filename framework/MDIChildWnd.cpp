#include "MDIChildWnd.h"

#include "CommandRouter.h"
#include "DocumentBase.h"
#include "FrameworkIds.h"
#include "MDIFrameWnd.h"
#include "View.h"
#include "WindowTitle.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMdiArea>
#include <QMenu>
#include <algorithm>

namespace
{
constexpr int kMinimumWidth = 320;
constexpr int kMinimumHeight = 240;

// New windows take three quarters of the area, as document windows usually open.
QSize DefaultFrameSize(const QMdiArea *pArea)
{
    const QSize sizeArea = pArea->viewport()->size();
    return QSize(std::max(sizeArea.width() * 3 / 4, kMinimumWidth),
                 std::max(sizeArea.height() * 3 / 4, kMinimumHeight));
}
} // namespace

CMDIChildWnd::CMDIChildWnd(QWidget *pParent) : QMdiSubWindow(pParent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    AddCloseKey();
    OnCommand(StdId::NextPane, [this] { ActivateNextPane(true); });
    OnCommand(StdId::PrevPane, [this] { ActivateNextPane(false); });
}

CMDIChildWnd::~CMDIChildWnd()
{
    DetachFromDocument();
}

void CMDIChildWnd::AddCloseKey()
{
    // Ctrl+F4 closes a document window in every MDI program; the window's own menu answers
    // only the platform's close key (Ctrl+W on Linux), so Ctrl+F4 joins that key there. Close
    // is the last entry of that menu and the one that carries those keys.
    const QList<QKeySequence> platformKeys = QKeySequence::keyBindings(QKeySequence::Close);
    const QKeySequence mdiKey(Qt::CTRL | Qt::Key_F4);
    const QMenu *pMenu = systemMenu();
    QAction *pClose =
        pMenu != nullptr && !pMenu->actions().isEmpty() ? pMenu->actions().last() : nullptr;
    if (pClose != nullptr && pClose->shortcuts() == platformKeys && !platformKeys.contains(mdiKey))
        pClose->setShortcuts(QList<QKeySequence>{mdiKey} + platformKeys);
}

bool CMDIChildWnd::LoadFrame(CDocument *pDocument, CMDIFrameWnd *pMainFrame)
{
    m_pDocument = pDocument;
    m_pMDIFrame = pMainFrame;
    QMdiArea *pArea = pMainFrame->GetMDIArea();
    const QSize sizeFrame = DefaultFrameSize(pArea);
    QWidget *pClient = OnCreateClient(sizeFrame);
    if (pClient == nullptr) {
        m_pDocument = nullptr;
        return false;
    }
    setWidget(pClient);
    resize(sizeFrame);
    pArea->addSubWindow(this);
    hide();
    const std::vector<CView *> views = GetViews();
    if (!views.empty())
        m_pActiveView = views.front()->GetWidget();
    pDocument->AddFrame(this);
    connect(pDocument, &CDocument::modifiedChanged, this, &CMDIChildWnd::OnUpdateFrameTitle);
    OnUpdateFrameTitle();
    return true;
}

CDocument *CMDIChildWnd::GetActiveDocument() const
{
    return m_pDocument;
}

CMDIFrameWnd *CMDIChildWnd::GetMDIFrame() const
{
    return m_pMDIFrame;
}

CView *CMDIChildWnd::GetActiveView() const
{
    return m_pActiveView != nullptr ? CView::FromWidget(m_pActiveView) : nullptr;
}

void CMDIChildWnd::SetActiveView(CView *pView, bool bFocus)
{
    CView *pOld = GetActiveView();
    if (pView != pOld) {
        m_pActiveView = pView != nullptr ? pView->GetWidget() : nullptr;
        if (pOld != nullptr)
            pOld->OnActivateView(false);
        if (pView != nullptr)
            pView->OnActivateView(true);
        if (m_pMDIFrame != nullptr)
            m_pMDIFrame->GetRouter()->Update();
    }
    if (bFocus && pView != nullptr)
        pView->GetWidget()->setFocus(Qt::OtherFocusReason);
}

std::vector<CView *> CMDIChildWnd::GetViews() const
{
    std::vector<CView *> views;
    if (m_pDocument == nullptr)
        return views;
    for (CView *pView : m_pDocument->GetViews()) {
        if (pView->GetParentFrame() == this)
            views.push_back(pView);
    }
    return views;
}

void CMDIChildWnd::ActivateFrame()
{
    show();
    if (m_pMDIFrame != nullptr)
        m_pMDIFrame->MDIActivate(this);
    CView *pView = GetActiveView();
    if (pView == nullptr) {
        const std::vector<CView *> views = GetViews();
        pView = views.empty() ? nullptr : views.front();
    }
    SetActiveView(pView, true);
}

void CMDIChildWnd::ActivateNextPane(bool bNext)
{
    const std::vector<CView *> views = GetViews();
    if (views.empty())
        return;
    const auto nCount = static_cast<qsizetype>(views.size());
    const auto it = std::find(views.begin(), views.end(), GetActiveView());
    const qsizetype nIndex = it == views.end() ? 0 : it - views.begin();
    const qsizetype nNext = (nIndex + (bNext ? 1 : nCount - 1)) % nCount;
    SetActiveView(views[static_cast<size_t>(nNext)], true);
}

void CMDIChildWnd::SetWindowNumber(int nWindow)
{
    m_nWindow = nWindow;
    OnUpdateFrameTitle();
}

void CMDIChildWnd::OnUpdateFrameTitle()
{
    if (m_pDocument == nullptr)
        return;
    QString strTitle = EscapeTitleMark(m_pDocument->GetTitle());
    if (m_nWindow > 0)
        strTitle += QStringLiteral(":%1").arg(m_nWindow);
    // Unsaved changes show as "*" after the name, here, in the main window and the Window menu.
    setWindowTitle(strTitle + QStringLiteral("[*]"));
    setWindowModified(m_pDocument->IsModified());
    if (m_pMDIFrame != nullptr)
        m_pMDIFrame->OnUpdateFrameTitle();
}

void CMDIChildWnd::CloseForDocument()
{
    m_bClosingForDocument = true;
    close();
}

void CMDIChildWnd::DetachFromMainFrame()
{
    m_pMDIFrame = nullptr;
}

void CMDIChildWnd::closeEvent(QCloseEvent *pEvent)
{
    CDocument *pDocument = m_pDocument;
    if (!m_bClosingForDocument && pDocument != nullptr && !pDocument->CanCloseFrame(this)) {
        pEvent->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(pEvent);
    if (!pEvent->isAccepted())
        return;
    const bool bLastFrame = !m_bClosingForDocument && pDocument != nullptr &&
                            pDocument->GetFrames() == std::vector<CMDIChildWnd *>{this};
    DetachFromDocument();
    if (bLastFrame)
        pDocument->OnCloseDocument();
}

void CMDIChildWnd::changeEvent(QEvent *pEvent)
{
    QMdiSubWindow::changeEvent(pEvent);
    if (pEvent->type() == QEvent::WindowStateChange && m_pMDIFrame != nullptr)
        m_pMDIFrame->OnUpdateFrameTitle();
}

void CMDIChildWnd::DetachFromDocument()
{
    if (m_pDocument != nullptr) {
        CDocument *pDocument = m_pDocument;
        m_pDocument = nullptr;
        disconnect(pDocument, nullptr, this, nullptr);
        pDocument->RemoveFrame(this);
    }
}
