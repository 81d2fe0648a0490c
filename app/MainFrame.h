#pragma once

#include "MDIFrameWnd.h"

// The main window of Pellix: menus, shortcuts, tool bar and status bar from the resources,
// Open URL while no document window is active, and help.
class CMainFrame : public CMDIFrameWnd
{
    Q_OBJECT

public:
    explicit CMainFrame(QWidget *pParent = nullptr);
    ~CMainFrame() override;

    // Shows string `nID` in the message pane of the status bar.
    void SetStatusText(int nID);

    // Open URL with no document window active: the dialog, owned by this window.
    void OnOpenURL();
    // Help > Contents: the help file at its start page.
    void OnHelpContents();
    // Context help: the help file at the topic of the active window's help context.
    void OnHelp();
    // Opens the help file with HH_DISPLAY_TOPIC or HH_HELP_CONTEXT and `nData`; a missing
    // file shows nothing.
    void WinHelp(int nData, int nCommand);
    // The help context of what the user works in: the document type while a document window
    // is active, else the main window.
    int GetHelpContextID() const;

private:
    void CreateBars();
    void RegisterCommands();
};
