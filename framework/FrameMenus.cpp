// The menu bar, popup menus, tool bar and shortcuts of the main window, built from the
// caller's tables; every item is the routed action of its command id.
#include "MDIFrameWnd.h"

#include "CommandRouter.h"
#include "FrameworkIds.h"
#include "MDIChildWnd.h"
#include "RecentFileList.h"
#include "WinApp.h"
#include "WindowTitle.h"

#include <QAction>
#include <QIcon>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <map>

void CMDIFrameWnd::LoadMenuBar(const std::vector<CMenuItemDef> &menus)
{
    QMenuBar *pMenuBar = menuBar();
    pMenuBar->clear();
    for (const CMenuItemDef &popup : menus)
        pMenuBar->addMenu(BuildPopup(popup, pMenuBar));
}

QMenu *CMDIFrameWnd::CreatePopupMenu(const CMenuItemDef &popup, QWidget *pParent)
{
    return BuildPopup(popup, pParent);
}

QMenu *CMDIFrameWnd::BuildPopup(const CMenuItemDef &popup, QWidget *pParent)
{
    auto *pMenu = new QMenu(popup.text, pParent);
    m_pRouter->WatchMenu(pMenu);
    for (const CMenuItemDef &item : popup.children) {
        if (!item.children.empty()) {
            pMenu->addMenu(BuildPopup(item, pMenu));
        } else if (item.nID == 0) {
            pMenu->addSeparator();
        } else if (item.nID == StdId::FileMruFirst) {
            AddRecentFileItems(pMenu, item.text);
        } else {
            QAction *pAction = Action(item.nID);
            pAction->setText(item.text);
            pMenu->addAction(pAction);
            if (item.nID == StdId::WindowNew)
                m_pWindowMenu = pMenu;
        }
    }
    if (pMenu == m_pWindowMenu)
        connect(pMenu, &QMenu::aboutToShow, this, &CMDIFrameWnd::UpdateWindowList);
    return pMenu;
}

void CMDIFrameWnd::UpdateWindowList()
{
    constexpr int kMaxListed = 9;
    for (const QPointer<QAction> &pAction : m_windowListActions)
        delete pAction.data();
    m_windowListActions.clear();
    std::vector<CMDIChildWnd *> frames;
    for (QMdiSubWindow *pWindow : m_pMDIArea->subWindowList(QMdiArea::CreationOrder)) {
        auto *pFrame = qobject_cast<CMDIChildWnd *>(pWindow);
        if (pFrame != nullptr && !pFrame->isHidden() && frames.size() < kMaxListed)
            frames.push_back(pFrame);
    }
    if (frames.empty() || m_pWindowMenu == nullptr)
        return;
    m_windowListActions.push_back(m_pWindowMenu->addSeparator());
    CMDIChildWnd *pActive = MDIGetActive();
    for (size_t i = 0; i < frames.size(); ++i) {
        QString strTitle = ShownWindowTitle(frames[i]);
        strTitle.replace(u'&', QStringLiteral("&&"));
        QAction *pAction =
            m_pWindowMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(strTitle));
        pAction->setCheckable(true);
        pAction->setChecked(frames[i] == pActive);
        connect(pAction, &QAction::triggered, this, [pFrame = QPointer<CMDIChildWnd>(frames[i])] {
            if (pFrame != nullptr)
                pFrame->ActivateFrame();
        });
        m_windowListActions.push_back(pAction);
    }
}

QToolBar *CMDIFrameWnd::CreateToolBar(const std::vector<int> &buttons,
                                      const std::function<QIcon(int)> &fnIcon)
{
    delete m_pToolBar;
    m_pToolBar = new QToolBar(tr("Toolbar"), this);
    m_pToolBar->setObjectName(QStringLiteral("ToolBar"));
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    // A bar added to a window that is already shown stays hidden unless told otherwise.
    m_pToolBar->show();
    for (const int nID : buttons) {
        if (nID == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction *pAction = Action(nID);
        if (fnIcon) {
            pAction->setIcon(fnIcon(nID));
            // Menus show texts only, as they always have.
            pAction->setIconVisibleInMenu(false);
        }
        m_pToolBar->addAction(pAction);
    }
    return m_pToolBar;
}

void CMDIFrameWnd::SetAccelerators(const std::vector<CAccelDef> &accelerators)
{
    std::map<int, QList<QKeySequence>> keysById;
    for (const CAccelDef &accel : accelerators)
        keysById[accel.nID].append(accel.key);
    for (const auto &[nID, keys] : keysById)
        Action(nID)->setShortcuts(keys);
}

void CMDIFrameWnd::AddRecentFileItems(QMenu *pMenu, const QString &strPlaceholder)
{
    m_strRecentPlaceholder = strPlaceholder;
    CWinApp *pApp = AfxGetApp();
    m_nRecentItems = pApp != nullptr ? std::max(pApp->GetRecentFileList().GetSize(), 1) : 1;
    for (int i = 0; i < m_nRecentItems; ++i)
        pMenu->addAction(Action(StdId::FileMruFirst + i));
    UpdateRecentFileItems();
}

void CMDIFrameWnd::UpdateRecentFileItems()
{
    CWinApp *pApp = AfxGetApp();
    const int nCount = pApp != nullptr ? pApp->GetRecentFileList().GetCount() : 0;
    for (int i = 0; i < m_nRecentItems; ++i) {
        QAction *pAction = Action(StdId::FileMruFirst + i);
        if (i < nCount)
            pAction->setText(pApp->GetRecentFileList().GetMenuText(i));
        else if (i == 0)
            pAction->setText(m_strRecentPlaceholder);
        pAction->setVisible(i == 0 || i < nCount);
    }
}
