#include "CommandRouter.h"

#include "CmdUI.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

namespace
{
constexpr int kDefaultIdleInterval = 250;
} // namespace

CCommandRouter::CCommandRouter(QWidget *pWindow, RouteProvider fnRoute)
    : QObject(pWindow), m_pWindow(pWindow), m_fnRoute(std::move(fnRoute)),
      m_pIdleTimer(new QTimer(this))
{
    connect(m_pIdleTimer, &QTimer::timeout, this, &CCommandRouter::OnIdle);
    m_pIdleTimer->start(kDefaultIdleInterval);
}

CCommandRouter::~CCommandRouter() = default;

QAction *CCommandRouter::Action(int nID)
{
    if (QAction *pExisting = FindAction(nID))
        return pExisting;
    auto *pAction = new QAction(m_pWindow);
    pAction->setEnabled(false);
    m_pWindow->addAction(pAction);
    connect(pAction, &QAction::triggered, this, [this, nID] { Execute(nID); });
    m_actions.emplace(nID, pAction);
    ApplyPrompt(nID, pAction);
    return pAction;
}

QAction *CCommandRouter::FindAction(int nID) const
{
    const auto it = m_actions.find(nID);
    return it == m_actions.end() ? nullptr : it->second;
}

void CCommandRouter::SetPromptProvider(PromptProvider fnPrompt)
{
    m_fnPrompt = std::move(fnPrompt);
    for (const auto &[nID, pAction] : m_actions)
        ApplyPrompt(nID, pAction);
}

void CCommandRouter::ApplyPrompt(int nID, QAction *pAction) const
{
    if (!m_fnPrompt)
        return;
    const QString strPrompt = m_fnPrompt(nID);
    pAction->setStatusTip(strPrompt.section(u'\n', 0, 0));
    // Without a tip of its own an action's tool tip stays its (stripped) text.
    const QString strTip = strPrompt.section(u'\n', 1);
    if (!strTip.isEmpty())
        pAction->setToolTip(strTip);
}

CCmdUI CCommandRouter::QueryState(int nID) const
{
    CCmdUI cmdUI(nID);
    RouteUpdateState(m_fnRoute(), cmdUI);
    return cmdUI;
}

bool CCommandRouter::Execute(int nID)
{
    if (!QueryState(nID).IsEnabled())
        return false;
    const bool bHandled = RouteCommand(m_fnRoute(), nID);
    // The command may have opened or closed windows; show the new states at once.
    Update();
    return bHandled;
}

void CCommandRouter::Update()
{
    // An update handler that shows a message would re-enter through the idle timer.
    if (m_bUpdating)
        return;
    m_bUpdating = true;
    emit aboutToUpdate();
    const CmdRoute route = m_fnRoute();
    for (const auto &[nID, pAction] : m_actions) {
        CCmdUI cmdUI(nID);
        RouteUpdateState(route, cmdUI);
        cmdUI.ApplyTo(pAction);
    }
    m_bUpdating = false;
}

void CCommandRouter::WatchMenu(QMenu *pMenu)
{
    connect(pMenu, &QMenu::aboutToShow, this, &CCommandRouter::Update);
}

void CCommandRouter::SetIdleInterval(int nMilliseconds)
{
    if (nMilliseconds <= 0) {
        m_pIdleTimer->stop();
        return;
    }
    m_pIdleTimer->start(nMilliseconds);
}

void CCommandRouter::OnIdle()
{
    // Handlers must not run while a modal dialog or a message box holds the user.
    if (QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr)
        return;
    Update();
}
