#include "MainFrame.h"

#include "CmdUI.h"
#include "GridIconMenu.h"
#include "HelpLauncher.h"
#include "Images.h"
#include "MenuConversion.h"
#include "OpenURLDlg.h"
#include "PellixApp.h"
#include "Resource.h"
#include "StringTable.h"

#include <QToolBar>

namespace
{
// Help context ids of windows: this base plus the window's resource id.
constexpr int kHelpResourceBase = 0x20000;

QIcon ToolBarButtonIcon(int nID)
{
    return ToolBarIcon(ToolBarImageIndex(nID));
}
} // namespace

CMainFrame::CMainFrame(QWidget *pParent) : CMDIFrameWnd(pParent)
{
    setWindowIcon(AppIcon());
    SetPromptProvider(LoadResString);
    LoadMenuBar(ToFrameMenu(MainMenuDef()));
    SetAccelerators(ToFrameAccelerators(AcceleratorDef()));
    CreateBars();
    RegisterCommands();
    SetTitle(LoadResString(IDR_MAINFRAME));
    SetIdleText(LoadResString(AFX_IDS_IDLEMESSAGE));
}

CMainFrame::~CMainFrame()
{
    delete m_pFindDlg.data();
}

void CMainFrame::CreateBars()
{
    QToolBar *pToolBar = CreateToolBar(ToolBarButtonIds(ToolBarDef()), ToolBarButtonIcon);
    pToolBar->setIconSize(kToolBarImageSize);
    // The grid's cell editors show the tool bar's images beside the same commands.
    static_assert(GRID_CMD_UNDO == ID_EDIT_UNDO && GRID_CMD_CUT == ID_EDIT_CUT &&
                  GRID_CMD_COPY == ID_EDIT_COPY && GRID_CMD_PASTE == ID_EDIT_PASTE &&
                  GRID_MAIN_TOOLBAR == IDR_MAINFRAME);
    CGridIconMenu::RegisterToolBar(
        GRID_MAIN_TOOLBAR,
        {ToolBarStrip(devicePixelRatioF()), kToolBarImageSize, ToolBarButtonIds(ToolBarDef())});
    SetIndicators({
        {ID_INDICATOR_CAPS, LoadResString(ID_INDICATOR_CAPS)},
        {ID_INDICATOR_NUM, LoadResString(ID_INDICATOR_NUM)},
        {ID_INDICATOR_SCRL, LoadResString(ID_INDICATOR_SCRL)},
    });
}

void CMainFrame::RegisterCommands()
{
    OnCommand(ID_EDIT_FIND, [this] { OnEditFindReplace(false); });
    OnCommand(ID_EDIT_REPLACE, [this] { OnEditFindReplace(true); });
    for (const int nID : {ID_EDIT_FIND, ID_EDIT_REPLACE}) {
        OnUpdateCommandUI(nID, [this](CCmdUI *pCmdUI) {
            pCmdUI->Enable(MDIGetActive() != nullptr && GetActiveDocument() != nullptr);
        });
    }
    OnCommand(ID_FILE_OPENURL, [this] { OnOpenURL(); });
    OnUpdateCommandUI(ID_FILE_OPENURL, [](CCmdUI *pCmdUI) { pCmdUI->Enable(true); });
    OnCommand(ID_HELP_CONTENTS, [this] { OnHelpContents(); });
    OnCommand(ID_HELP, [this] { OnHelp(); });
}

void CMainFrame::SetStatusText(int nID)
{
    SetMessageText(LoadResString(nID));
}

void CMainFrame::OnEditFindReplace(bool bReplaceMode)
{
    if (m_pFindDlg != nullptr)
        return;
    CPellixApp *pApp = PellixApp();
    m_pFindDlg = new CFindItemsDlg(this, bReplaceMode, pApp ? &pApp->m_strFindHistory : nullptr,
                                   pApp ? &pApp->m_strReplaceHistory : nullptr);
    m_pFindDlg->show();
}

void CMainFrame::OnOpenURL()
{
    COpenURLDlg dialog(this);
    dialog.exec();
}

void CMainFrame::OnHelpContents()
{
    WinHelp(0, HH_DISPLAY_TOPIC);
}

void CMainFrame::OnHelp()
{
    WinHelp(GetHelpContextID(), HH_HELP_CONTEXT);
}

void CMainFrame::WinHelp(int nData, int nCommand)
{
    const CPellixApp *pApp = PellixApp();
    ShowHelp(this, pApp != nullptr ? pApp->GetHelpFilePath() : HelpFilePath(), nCommand, nData);
}

int CMainFrame::GetHelpContextID() const
{
    return kHelpResourceBase + (MDIGetActive() != nullptr ? IDR_PELLIXTYPE : IDR_MAINFRAME);
}
