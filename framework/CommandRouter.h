#pragma once

#include "CmdTarget.h"

#include <QObject>
#include <QString>
#include <functional>
#include <map>

class CCmdUI;
class QAction;
class QMenu;
class QTimer;
class QWidget;

// Owns one QAction per command id, runs the command along the current route when the
// action is triggered, and keeps the actions' enabled, checked and text states up to date:
// before a watched menu shows, when Update() is called (the frames call it when the active
// pane or child window changes) and on a short idle timer for the tool bar.
class CCommandRouter : public QObject
{
    Q_OBJECT

public:
    using RouteProvider = std::function<CmdRoute()>;
    using PromptProvider = std::function<QString(int nID)>;

    // Actions are parented to and added to `pWindow`, so their shortcuts work anywhere in it.
    CCommandRouter(QWidget *pWindow, RouteProvider fnRoute);
    ~CCommandRouter() override;

    // The action of nID, created on first use (disabled until an update pass enables it).
    QAction *Action(int nID);
    // The action of nID, or null when none was created yet.
    QAction *FindAction(int nID) const;

    // Status and tool tips of actions: the text before "\n" of the prompt is the status bar
    // text, the text after it the tool tip. Applies to existing and future actions.
    void SetPromptProvider(PromptProvider fnPrompt);

    // Runs nID along the route if the update pass enables it; returns true when a handler ran.
    bool Execute(int nID);
    // The state the route gives nID now, without touching any action.
    CCmdUI QueryState(int nID) const;
    // Updates every action created so far.
    void Update();

    // Updates all actions whenever `pMenu` is about to show.
    void WatchMenu(QMenu *pMenu);
    // Interval of the idle update in milliseconds; 0 stops it.
    void SetIdleInterval(int nMilliseconds);

signals:
    // Emitted at the start of every update pass, before the handlers run.
    void aboutToUpdate();

private:
    void ApplyPrompt(int nID, QAction *pAction) const;
    void OnIdle();

    QWidget *const m_pWindow;
    RouteProvider m_fnRoute;
    PromptProvider m_fnPrompt;
    std::map<int, QAction *> m_actions;
    QTimer *m_pIdleTimer;
    bool m_bUpdating = false;
};
