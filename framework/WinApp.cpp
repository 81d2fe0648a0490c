#include "WinApp.h"

#include "CmdUI.h"
#include "DocTemplate.h"
#include "DocumentBase.h"
#include "FileDialog.h"
#include "FrameworkIds.h"
#include "MDIFrameWnd.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>

namespace
{
CWinApp *s_pApp = nullptr;
}

CWinApp *AfxGetApp()
{
    return s_pApp;
}

CWinApp::CWinApp(const QString &strAppName, QObject *pParent)
    : QObject(pParent), m_strAppName(strAppName),
      m_pRecentFileList(std::make_unique<CRecentFileList>(0))
{
    s_pApp = this;
    OnCommand(StdId::FileNew, [this] { OnFileNew(); });
    OnCommand(StdId::FileOpen, [this] { OnFileOpen(); });
    OnCommand(StdId::FilePrintSetup, [this] { OnFilePrintSetup(); });
    OnCommand(StdId::AppExit, [this] { OnAppExit(); });
    OnCommandRange(StdId::FileMruFirst, StdId::FileMruLast,
                   [this](int nID) { OnOpenRecentFile(nID); });
    OnUpdateCommandUIRange(StdId::FileMruFirst, StdId::FileMruLast, [this](CCmdUI *pCmdUI) {
        pCmdUI->Enable(pCmdUI->m_nID - StdId::FileMruFirst < m_pRecentFileList->GetCount());
    });
}

CWinApp::~CWinApp()
{
    m_pMainFrame.reset();
    m_templates.clear();
    if (s_pApp == this)
        s_pApp = nullptr;
}

bool CWinApp::InitInstance()
{
    return true;
}

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return 0;
}

int CWinApp::Run()
{
    if (!InitInstance()) {
        ExitInstance();
        return 1;
    }
    const int nResult = QCoreApplication::exec();
    const int nExit = ExitInstance();
    return nResult != 0 ? nResult : nExit;
}

void CWinApp::SetMainFrame(std::unique_ptr<CMDIFrameWnd> pMainFrame)
{
    m_pMainFrame = std::move(pMainFrame);
}

void CWinApp::AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate)
{
    m_templates.push_back(std::move(pTemplate));
}

CDocTemplate *CWinApp::GetFirstDocTemplate() const
{
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

CDocument *CWinApp::OpenDocumentFile(const QString &strPath)
{
    CDocTemplate *pTemplate = GetFirstDocTemplate();
    for (const std::unique_ptr<CDocTemplate> &pOpenIn : m_templates) {
        if (pOpenIn->FindOpenDocument(strPath) != nullptr) {
            pTemplate = pOpenIn.get();
            break;
        }
    }
    CDocument *pDocument = pTemplate != nullptr ? pTemplate->OpenDocumentFile(strPath) : nullptr;
    // A file that opened as a new document (it did not load) still names the folder the user
    // is working in.
    if (pDocument != nullptr && !strPath.isEmpty())
        m_strLastOpened = CRecentFileList::MakeAbsolute(strPath);
    return pDocument;
}

QString CWinApp::GetLastOpenFolder() const
{
    QStringList candidates = m_pRecentFileList->GetEntries();
    if (!m_strLastOpened.isEmpty())
        candidates.prepend(m_strLastOpened);
    for (const QString &strPath : std::as_const(candidates)) {
        const QFileInfo folder(QFileInfo(strPath).absolutePath());
        if (folder.isDir())
            return folder.absoluteFilePath();
    }
    return {};
}

void CWinApp::OnFileNew()
{
    if (CDocTemplate *pTemplate = GetFirstDocTemplate())
        pTemplate->OpenDocumentFile(QString());
}

void CWinApp::OnFileOpen()
{
    CDocTemplate *pTemplate = GetFirstDocTemplate();
    const QString strFilter =
        pTemplate != nullptr ? pTemplate->GetFileFilter() : CDocTemplate::AllFilesFilter();
    const QString strExt =
        pTemplate != nullptr ? pTemplate->GetDocString(CDocTemplate::filterExt) : QString();
    const QString strPath =
        AfxPromptFileName(FileDialogMode::Open, GetLastOpenFolder(), strFilter, strExt);
    if (!strPath.isEmpty())
        OpenDocumentFile(strPath);
}

void CWinApp::OnFilePrintSetup()
{
    QPageSetupDialog dialog(GetPrinter(), m_pMainFrame.get());
    dialog.exec();
}

void CWinApp::OnAppExit()
{
    if (m_pMainFrame != nullptr)
        m_pMainFrame->close();
}

void CWinApp::OnOpenRecentFile(int nID)
{
    const int nIndex = nID - StdId::FileMruFirst;
    const QString strPath = m_pRecentFileList->GetEntry(nIndex);
    if (strPath.isEmpty())
        return;
    // A file that can no longer be opened leaves the list.
    if (OpenDocumentFile(strPath) == nullptr) {
        m_pRecentFileList->Remove(nIndex);
        SaveStdProfileSettings();
    }
}

bool CWinApp::SaveAllModified()
{
    for (const std::unique_ptr<CDocTemplate> &pTemplate : m_templates) {
        if (!pTemplate->SaveAllModified())
            return false;
    }
    return true;
}

void CWinApp::CloseAllDocuments()
{
    for (const std::unique_ptr<CDocTemplate> &pTemplate : m_templates)
        pTemplate->CloseAllDocuments();
}

void CWinApp::SetRegistryKey(const QString &strKey)
{
    m_strRegistryKey = strKey;
    m_pProfile.reset();
}

QSettings &CWinApp::GetProfile()
{
    if (m_pProfile == nullptr)
        m_pProfile = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                 m_strRegistryKey, m_strAppName);
    return *m_pProfile;
}

QString CWinApp::GetProfileString(const QString &strSection, const QString &strEntry,
                                  const QString &strDefault)
{
    return GetProfile().value(strSection + u'/' + strEntry, strDefault).toString();
}

void CWinApp::WriteProfileString(const QString &strSection, const QString &strEntry,
                                 const QString &strValue)
{
    GetProfile().setValue(strSection + u'/' + strEntry, strValue);
}

int CWinApp::GetProfileInt(const QString &strSection, const QString &strEntry, int nDefault)
{
    bool bOk = false;
    const int nValue = GetProfile().value(strSection + u'/' + strEntry).toInt(&bOk);
    return bOk ? nValue : nDefault;
}

void CWinApp::WriteProfileInt(const QString &strSection, const QString &strEntry, int nValue)
{
    GetProfile().setValue(strSection + u'/' + strEntry, nValue);
}

void CWinApp::LoadStdProfileSettings(int nMaxMRU)
{
    m_pRecentFileList = std::make_unique<CRecentFileList>(nMaxMRU);
    m_pRecentFileList->ReadList(GetProfile());
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList->GetSize() <= 0)
        return;
    m_pRecentFileList->WriteList(GetProfile());
    GetProfile().sync();
}

void CWinApp::AddToRecentFileList(const QString &strPath)
{
    m_pRecentFileList->Add(strPath);
    SaveStdProfileSettings();
}

QPrinter *CWinApp::GetPrinter()
{
    if (m_pPrinter == nullptr)
        m_pPrinter = std::make_unique<QPrinter>();
    return m_pPrinter.get();
}
