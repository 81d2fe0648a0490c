#pragma once

#include "FindItemsDlg.h"
#include "MDIFrameWnd.h"

#include <QPointer>

// The main window of Pellix: menus, shortcuts, tool bar and status bar from the resources,
// the find dialog, Open URL while no document window is active, and help.
class CMainFrame : public CMDIFrameWnd
{
    Q_OBJECT

public:
    explicit CMainFrame(QWidget *pParent = nullptr);
    ~CMainFrame() override;

    // Shows string `nID` in the message pane of the status bar.
    void SetStatusText(int nID);

    // Find and Replace: open the find dialog in that mode unless one is open already (it is
    // then left as it is).
    void OnEditFindReplace(bool bReplaceMode);
    // The open find dialog, or null.
    CFindItemsDlg *GetFindDialog() const { return m_pFindDlg; }

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

    // Deletes itself when closed. In find mode it has no parent: this window deletes it.
    QPointer<CFindItemsDlg> m_pFindDlg;
};
