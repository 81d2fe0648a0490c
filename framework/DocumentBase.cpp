#include "DocumentBase.h"

#include "DocTemplate.h"
#include "FileDialog.h"
#include "FrameworkIds.h"
#include "LocalFile.h"
#include "MDIChildWnd.h"
#include "MessageBox.h"
#include "RecentFileList.h"
#include "WaitCursor.h"
#include "WinApp.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

CDocument::CDocument(QObject *pParent) : QObject(pParent)
{
    OnCommand(StdId::FileClose, [this] { OnFileClose(); });
    OnCommand(StdId::FileSave, [this] { OnFileSave(); });
    OnCommand(StdId::FileSaveAs, [this] { OnFileSaveAs(); });
}

CDocument::~CDocument()
{
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const QString &strTitle)
{
    if (strTitle == m_strTitle)
        return;
    m_strTitle = strTitle;
    UpdateFrameCounts();
    emit titleChanged(m_strTitle);
}

void CDocument::SetPathName(const QString &strPathName, bool bAddToMRU)
{
    m_strPathName = CRecentFileList::MakeAbsolute(strPathName);
    SetTitle(QFileInfo(m_strPathName).fileName());
    if (bAddToMRU) {
        if (CWinApp *pApp = AfxGetApp())
            pApp->AddToRecentFileList(m_strPathName);
    }
}

void CDocument::SetModifiedFlag(bool bModified)
{
    if (bModified == m_bModified)
        return;
    m_bModified = bModified;
    emit modifiedChanged(m_bModified);
}

void CDocument::AddView(CView *pView)
{
    if (std::find(m_views.begin(), m_views.end(), pView) == m_views.end())
        m_views.push_back(pView);
}

void CDocument::RemoveView(CView *pView)
{
    std::erase(m_views, pView);
}

CView *CDocument::GetFirstView() const
{
    return m_views.empty() ? nullptr : m_views.front();
}

std::vector<CMDIChildWnd *> CDocument::GetFrames() const
{
    std::vector<CMDIChildWnd *> frames;
    for (const QPointer<CMDIChildWnd> &pFrame : m_frames) {
        if (pFrame != nullptr)
            frames.push_back(pFrame);
    }
    return frames;
}

void CDocument::AddFrame(CMDIChildWnd *pFrame)
{
    m_frames.emplace_back(pFrame);
    UpdateFrameCounts();
}

void CDocument::RemoveFrame(CMDIChildWnd *pFrame)
{
    std::erase_if(m_frames, [pFrame](const QPointer<CMDIChildWnd> &p) { return p == pFrame; });
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts()
{
    const std::vector<CMDIChildWnd *> frames = GetFrames();
    int nWindow = frames.size() > 1 ? 1 : 0;
    for (CMDIChildWnd *pFrame : frames) {
        pFrame->SetWindowNumber(nWindow);
        if (nWindow > 0)
            ++nWindow;
    }
}

void CDocument::DeleteContents() {}

bool CDocument::LoadFromPath(const QString &)
{
    return true;
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    m_strOpenedFolder.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const QString &strPathName)
{
    // Never a plain QFile open here: opening a FIFO waits for a writer.
    const LocalFileKind kind = ProbeLocalFile(strPathName);
    if (kind == LocalFileKind::NotRegular) {
        AfxMessageBox(NotRegularFileMessage(strPathName));
        return false;
    }
    if (kind == LocalFileKind::Unreadable) {
        AfxMessageBox(QStringLiteral("Failed to open document."));
        return false;
    }
    m_strOpenedFolder = QFileInfo(CRecentFileList::MakeAbsolute(strPathName)).absolutePath();
    DeleteContents();
    // An empty file opens as a document with no content: loading is skipped.
    if (kind == LocalFileKind::HasContent && !LoadFromPath(strPathName))
        return false;
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const QString &)
{
    return false;
}

void CDocument::OnCloseDocument()
{
    for (CMDIChildWnd *pFrame : GetFrames())
        pFrame->CloseForDocument();
    m_frames.clear();
    DeleteContents();
    if (m_pDocTemplate != nullptr) {
        m_pDocTemplate->RemoveDocument(this);
        m_pDocTemplate = nullptr;
    }
    // Deferred: a handler of this document may be running.
    deleteLater();
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::CommitPendingEdits() {}

bool CDocument::SaveModified()
{
    CommitPendingEdits();
    if (!IsModified())
        return true;
    QString strName = m_strPathName.isEmpty() ? m_strTitle : QFileInfo(m_strPathName).fileName();
    if (strName.isEmpty())
        strName = QStringLiteral("Untitled");
    switch (AfxMessageBoxYesNoCancel(QStringLiteral("Save changes to %1?").arg(strName))) {
    case MessageBoxResult::Cancel:
        return false;
    case MessageBoxResult::Yes:
        return DoFileSave();
    case MessageBoxResult::No:
        break;
    }
    return true;
}

bool CDocument::CanCloseFrame(CMDIChildWnd *pFrame)
{
    // The edits of a window that closes while others stay open are kept in the document.
    CommitPendingEdits();
    const std::vector<CMDIChildWnd *> frames = GetFrames();
    const bool bOtherFrame = std::any_of(frames.begin(), frames.end(),
                                         [pFrame](CMDIChildWnd *p) { return p != pFrame; });
    return bOtherFrame || SaveModified();
}

QString CDocument::GetSaveFolder() const
{
    for (const QString &strFolder :
         {m_strPathName.isEmpty() ? QString() : QFileInfo(m_strPathName).absolutePath(),
          m_strOpenedFolder}) {
        if (!strFolder.isEmpty() && QFileInfo(strFolder).isDir())
            return strFolder;
    }
    const CWinApp *pApp = AfxGetApp();
    return pApp != nullptr ? pApp->GetLastOpenFolder() : QString();
}

bool CDocument::DoFileSave()
{
    const QFileInfo info(m_strPathName);
    if (m_strPathName.isEmpty() || !info.exists() || !info.isWritable())
        return DoSave(QString());
    return DoSave(m_strPathName);
}

bool CDocument::DoSave(const QString &strPathName, bool bReplace)
{
    QString strNewName = strPathName;
    if (strNewName.isEmpty()) {
        const QString strExt = m_pDocTemplate != nullptr
                                   ? m_pDocTemplate->GetDocString(CDocTemplate::filterExt)
                                   : QString();
        strNewName = m_strPathName;
        if (bReplace && strNewName.isEmpty()) {
            // Propose the title as the file name, cut at anything that cannot be in one.
            strNewName = m_strTitle;
            const qsizetype nBad =
                strNewName.indexOf(QRegularExpression(QStringLiteral("[:/\\\\]")));
            if (nBad >= 0)
                strNewName.truncate(nBad);
            if (!strExt.isEmpty() && !strNewName.endsWith(strExt, Qt::CaseInsensitive))
                strNewName += strExt;
        }
        // The dialog starts in the document's folder rather than the working folder.
        const QString strFolder = GetSaveFolder();
        if (!strFolder.isEmpty() && QFileInfo(strNewName).isRelative())
            strNewName = QDir(strFolder).filePath(strNewName);
        const QString strFilter = m_pDocTemplate != nullptr ? m_pDocTemplate->GetFileFilter()
                                                            : CDocTemplate::AllFilesFilter();
        strNewName = AfxPromptFileName(FileDialogMode::Save, strNewName, strFilter, strExt);
        if (strNewName.isEmpty())
            return false;
    }
    CWaitCursor wait;
    CommitPendingEdits();
    if (!OnSaveDocument(strNewName))
        return false;
    if (bReplace)
        SetPathName(strNewName);
    return true;
}
