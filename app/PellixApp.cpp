#include "PellixApp.h"

#include "AboutDialog.h"
#include "ChildFrame.h"
#include "CmdUI.h"
#include "DesktopEntry.h"
#include "DocTemplate.h"
#include "DocumentRecovery.h"
#include "HelpLauncher.h"
#include "Images.h"
#include "MainFrame.h"
#include "OpenURLDlg.h"
#include "PellixDoc.h"
#include "Resource.h"
#include "SplashWindow.h"
#include "StringTable.h"

#include <QApplication>
#include <QLayout>
#include <QMdiArea>
#include <QResizeEvent>
#include <QScreen>

namespace
{
constexpr int kRecentFiles = 4;
// The main window takes this share of the screen's free area in each direction.
constexpr double kMainWindowShare = 0.8;
} // namespace

CPellixApp *PellixApp()
{
    return qobject_cast<CPellixApp *>(AfxGetApp());
}

CPellixApp::CPellixApp(CCommandLineInfo cmdInfo, QObject *pParent)
    : CWinApp(LoadResString(AFX_IDS_APP_TITLE), pParent), m_cmdInfo(std::move(cmdInfo))
{
    OnCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommand(ID_FILE_SAVE_ALL, [this] { OnFileSaveAll(); });
    OnUpdateCommandUI(ID_FILE_SAVE_ALL,
                      [this](CCmdUI *pCmdUI) { pCmdUI->Enable(AnyDocumentModified()); });
}

CPellixApp::~CPellixApp()
{
    CPellixDoc::SetOpenURLHandler({});
    delete m_pSplashWindow.data();
}

bool CPellixApp::InitInstance()
{
    auto pSplash = std::make_unique<CSplashWindow>();
    // Once shown, the picture deletes itself when it goes.
    if (pSplash->Create())
        m_pSplashWindow = pSplash.release();

    SetRegistryKey(QStringLiteral("Local AppWizard-Generated Applications"));
    LoadStdProfileSettings(kRecentFiles);

    auto pTemplate = std::make_unique<CMultiDocTemplate>(
        LoadResString(IDR_PELLIXTYPE), [] { return std::make_unique<CPellixDoc>(); },
        [] { return new CChildFrame; });
    pTemplate->SetDocIcon(DocIcon());
    AddDocTemplate(std::move(pTemplate));
    CPellixDoc::SetOpenURLHandler([] {
        COpenURLDlg dialog(nullptr);
        dialog.exec();
    });

    auto pMainFrame = std::make_unique<CMainFrame>();
    pMainFrame->setAcceptDrops(true);
    SetMainFrame(std::move(pMainFrame));

    RegisterDesktopEntry(QCoreApplication::applicationFilePath());
    m_pRecovery = std::make_unique<CDocumentRecovery>(CRecoveryStore::DefaultFolder(),
                                                      m_cmdInfo.m_nRecoverySeconds * 1000);
    m_pRecovery->Start();

    PlaceMainWindow();
    if (!ProcessShellCommand(m_cmdInfo))
        return false;
    m_strHelpFilePath = HelpFilePath();
    GetMainFrame()->show();
    GetMainFrame()->activateWindow();
    // No one would answer the dialog; the copies wait for a run that has someone.
    if (!m_cmdInfo.IsUnattended())
        m_pRecovery->OfferRecovery(GetMainFrame());
    if (m_cmdInfo.m_bTestEdit)
        ApplyTestEdit();
    return true;
}

int CPellixApp::ExitInstance()
{
    if (m_pRecovery != nullptr)
        m_pRecovery->Shutdown();
    return CWinApp::ExitInstance();
}

void CPellixApp::ApplyTestEdit()
{
    for (const std::unique_ptr<CDocTemplate> &pTemplate : GetDocTemplates()) {
        for (CDocument *pDoc : pTemplate->GetDocuments()) {
            auto *pPellixDoc = qobject_cast<CPellixDoc *>(pDoc);
            const dom::Node root = pPellixDoc != nullptr
                                       ? pPellixDoc->GetXMLDocument().documentElement()
                                       : dom::Node();
            if (!root.isNull())
                pPellixDoc->GetEditor()->InsertNode(
                    root, root.ownerDocument().createElement("pellixTestEdit"), dom::Node());
        }
    }
}

bool CPellixApp::ProcessShellCommand(const CCommandLineInfo &cmdInfo)
{
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileNothing)
        return true;
    return std::all_of(
        cmdInfo.m_strFileNames.begin(), cmdInfo.m_strFileNames.end(),
        [this](const QString &strFile) { return OpenDocumentFile(strFile) != nullptr; });
}

void CPellixApp::PlaceMainWindow()
{
    CMDIFrameWnd *pMainFrame = GetMainFrame();
    if (const QScreen *pScreen = QGuiApplication::primaryScreen()) {
        const QRect rectFree = pScreen->availableGeometry();
        pMainFrame->resize((rectFree.size().toSizeF() * kMainWindowShare).toSize());
        pMainFrame->move(rectFree.center() - pMainFrame->rect().center());
    }
    // The window is still hidden, and a hidden widget's resize only takes effect when it is
    // shown; the document windows opened from the command line are sized from the window
    // area, so the area is laid out now.
    pMainFrame->layout()->activate();
    QMdiArea *pArea = pMainFrame->GetMDIArea();
    QResizeEvent resize(pArea->size(), QSize());
    QCoreApplication::sendEvent(pArea, &resize);
}

void CPellixApp::OnAppAbout()
{
    CAboutDialog dialog(GetMainFrame());
    dialog.exec();
}

bool CPellixApp::AnyDocumentModified() const
{
    for (const std::unique_ptr<CDocTemplate> &pTemplate : GetDocTemplates()) {
        const std::vector<CDocument *> &documents = pTemplate->GetDocuments();
        if (std::any_of(documents.begin(), documents.end(),
                        [](const CDocument *pDoc) { return pDoc->IsModified(); }))
            return true;
    }
    return false;
}

bool CPellixApp::OnFileSaveAll()
{
    for (const std::unique_ptr<CDocTemplate> &pTemplate : GetDocTemplates()) {
        // A save may add the document to the recent files but never opens or closes one;
        // the copy keeps the walk safe all the same.
        const std::vector<CDocument *> documents = pTemplate->GetDocuments();
        for (CDocument *pDoc : documents) {
            pDoc->CommitPendingEdits();
            if (pDoc->IsModified() && !pDoc->DoFileSave())
                return false;
        }
    }
    return true;
}
