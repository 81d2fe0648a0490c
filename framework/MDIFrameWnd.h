#pragma once

#include "CmdTarget.h"
#include "FrameStatusBar.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

class CCommandRouter;
class CDocument;
class CFocusFrame;
class CMDIChildWnd;
class CView;
class QAction;
class QIcon;
class QMdiArea;
class QToolBar;

// One item of a menu: a command (nID, text), a separator (nID 0, no text, no children) or
// a popup (text and children). The item with the id StdId::FileMruFirst is the recent-file
// placeholder: it shows its own text, greyed, while the list is empty and the entries
// "&1 path" ... otherwise. The popup holding StdId::WindowNew lists the open child windows
// at its end ("&1 Pellix1", the active one checked) whenever it opens.
struct CMenuItemDef {
    CMenuItemDef() = default;
    CMenuItemDef(int nItemID, QString strText, std::vector<CMenuItemDef> items = {})
        : nID(nItemID), text(std::move(strText)), children(std::move(items))
    {
    }

    int nID = 0;
    QString text;
    std::vector<CMenuItemDef> children;
};

// A shortcut key of a command. A command may have several.
struct CAccelDef {
    QKeySequence key;
    int nID = 0;
};

// The main window: an MDI area of child windows, the command routing (active view, its
// document, the active child window, this window, the application), the menus, tool bar and
// shortcuts built from the caller's tables, and the status bar with its fly-by help.
class CMDIFrameWnd : public QMainWindow, public CCmdTarget
{
    Q_OBJECT

public:
    explicit CMDIFrameWnd(QWidget *pParent = nullptr);
    ~CMDIFrameWnd() override;

    // Commands
    CCommandRouter *GetRouter() const { return m_pRouter; }
    // The action of command nID (created on first use).
    QAction *Action(int nID);
    // The targets a command is offered to now, in order.
    virtual CmdRoute GetCommandRoute() const;

    // Child windows
    QMdiArea *GetMDIArea() const { return m_pMDIArea; }
    // The active child window, or null when none is open.
    CMDIChildWnd *MDIGetActive() const;
    void MDIActivate(CMDIChildWnd *pFrame);
    void MDICascade();
    void MDITile();
    // Lines the minimised child windows up along the bottom of the area.
    void MDIIconArrange();
    // Window > New Window: another child window on the active document.
    void OnWindowNew();
    // The ring around the pane that has the keyboard, or null before any pane had it.
    CFocusFrame *GetFocusFrame() const;
    // The active child window's document and active view, or null.
    CDocument *GetActiveDocument() const;
    CView *GetActiveView() const;

    // Menus, tool bar, shortcuts
    void LoadMenuBar(const std::vector<CMenuItemDef> &menus);
    // A popup (for context menus) whose items run through the command routing.
    QMenu *CreatePopupMenu(const CMenuItemDef &popup, QWidget *pParent);
    // Buttons for the ids in order, 0 for a separator; `fnIcon` draws each button.
    QToolBar *CreateToolBar(const std::vector<int> &buttons,
                            const std::function<QIcon(int nID)> &fnIcon);
    QToolBar *GetToolBar() const { return m_pToolBar; }
    void SetAccelerators(const std::vector<CAccelDef> &accelerators);

    // Status bar
    CFrameStatusBar *GetStatusBar() const { return m_pStatusBar; }
    void SetIndicators(const std::vector<CIndicatorDef> &indicators);
    // The prompt string of a command id: status text, "\n", tool tip. Used for fly-by help
    // and SetMessageText(int).
    void SetPromptProvider(std::function<QString(int nID)> fnPrompt);
    void SetMessageText(const QString &strText);
    // Shows the prompt of nID (its text before "\n").
    void SetMessageText(int nID);
    QString GetMessageText() const;
    // The text shown when nothing else is ("Ready"); shown at once.
    void SetIdleText(const QString &strText);

    // Title: "<title>" alone, or "<title> - <active child title>".
    void SetTitle(const QString &strTitle);
    const QString &GetTitle() const { return m_strTitle; }
    virtual void OnUpdateFrameTitle();

    // Opens a file dropped on the window; the default asks the application.
    virtual CDocument *OpenDocumentFile(const QString &strPath);

protected:
    bool event(QEvent *pEvent) override;
    void closeEvent(QCloseEvent *pEvent) override;
    void dragEnterEvent(QDragEnterEvent *pEvent) override;
    void dropEvent(QDropEvent *pEvent) override;

private:
    void RegisterWindowCommands();
    void RegisterBarCommands();
    void OnFocusChanged(QWidget *pOld, QWidget *pNow);
    QMenu *BuildPopup(const CMenuItemDef &popup, QWidget *pParent);
    void AddRecentFileItems(QMenu *pMenu, const QString &strPlaceholder);
    void UpdateRecentFileItems();
    void UpdateWindowList();

    QMdiArea *m_pMDIArea;
    CCommandRouter *m_pRouter;
    CFrameStatusBar *m_pStatusBar;
    QToolBar *m_pToolBar = nullptr;
    QString m_strTitle;
    QString m_strIdleText;
    std::function<QString(int)> m_fnPrompt;
    QString m_strRecentPlaceholder;
    int m_nRecentItems = 0;
    QPointer<QMenu> m_pWindowMenu;
    // Lives in the pane it rings, which may be destroyed first.
    QPointer<CFocusFrame> m_pFocusFrame;
    std::vector<QPointer<QAction>> m_windowListActions;
};
