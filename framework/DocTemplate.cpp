#include "DocTemplate.h"

#include "DocumentBase.h"
#include "MDIChildWnd.h"
#include "MDIFrameWnd.h"
#include "RecentFileList.h"
#include "View.h"
#include "WaitCursor.h"
#include "WinApp.h"

#include <QApplication>
#include <algorithm>

CDocTemplate::CDocTemplate(const QString &strDocStrings, DocumentFactory fnCreateDocument,
                           FrameFactory fnCreateFrame)
    : m_fnCreateFrame(std::move(fnCreateFrame)), m_docStrings(strDocStrings.split(u'\n')),
      m_fnCreateDocument(std::move(fnCreateDocument))
{
}

CDocTemplate::~CDocTemplate()
{
    const std::vector<CDocument *> documents = std::move(m_documents);
    for (CDocument *pDocument : documents) {
        pDocument->m_pDocTemplate = nullptr;
        delete pDocument;
    }
}

QString CDocTemplate::GetDocString(DocStringIndex eIndex) const
{
    return m_docStrings.value(eIndex);
}

QString CDocTemplate::AllFilesFilter()
{
    return QStringLiteral("All Files (*)");
}

QString CDocTemplate::GetFileFilter() const
{
    const QString strFilter = GetDocString(filterName);
    return strFilter.isEmpty() ? AllFilesFilter()
                               : strFilter + QStringLiteral(";;") + AllFilesFilter();
}

CDocument *CDocTemplate::FindOpenDocument(const QString &strPath) const
{
    if (strPath.isEmpty())
        return nullptr;
    const QString strAbsolute = CRecentFileList::MakeAbsolute(strPath);
    const auto it = std::find_if(m_documents.begin(), m_documents.end(), [&](CDocument *pDoc) {
        return !pDoc->GetPathName().isEmpty() && pDoc->GetPathName() == strAbsolute;
    });
    return it == m_documents.end() ? nullptr : *it;
}

void CDocTemplate::AddDocument(CDocument *pDocument)
{
    pDocument->m_pDocTemplate = this;
    m_documents.push_back(pDocument);
}

void CDocTemplate::RemoveDocument(CDocument *pDocument)
{
    std::erase(m_documents, pDocument);
}

CDocument *CDocTemplate::CreateNewDocument()
{
    std::unique_ptr<CDocument> pDocument = m_fnCreateDocument();
    if (pDocument == nullptr)
        return nullptr;
    AddDocument(pDocument.get());
    return pDocument.release();
}

CMDIFrameWnd *CDocTemplate::MainFrame()
{
    CWinApp *pApp = AfxGetApp();
    return pApp != nullptr ? pApp->GetMainFrame() : nullptr;
}

bool CDocTemplate::SaveAllModified()
{
    const std::vector<CDocument *> documents = m_documents;
    return std::all_of(documents.begin(), documents.end(),
                       [](CDocument *pDocument) { return pDocument->SaveModified(); });
}

void CDocTemplate::CloseAllDocuments()
{
    const std::vector<CDocument *> documents = m_documents;
    for (CDocument *pDocument : documents)
        pDocument->OnCloseDocument();
}

CDocument *CMultiDocTemplate::OpenDocumentFile(const QString &strPath, bool bMakeVisible)
{
    if (CDocument *pOpen = FindOpenDocument(strPath)) {
        const std::vector<CMDIChildWnd *> frames = pOpen->GetFrames();
        if (!frames.empty())
            frames.front()->ActivateFrame();
        return pOpen;
    }
    CDocument *pDocument = CreateNewDocument();
    if (pDocument == nullptr)
        return nullptr;
    // The window and its panes exist before the document's New or Open runs.
    CMDIChildWnd *pFrame = CreateNewFrame(pDocument);
    if (pFrame == nullptr) {
        DestroyFailed(nullptr, pDocument);
        return nullptr;
    }
    if (strPath.isEmpty()) {
        SetDefaultTitle(pDocument);
        if (!pDocument->OnNewDocument()) {
            DestroyFailed(pFrame, pDocument);
            return nullptr;
        }
        ++m_nUntitledCount;
    } else {
        CWaitCursor wait;
        if (!pDocument->OnOpenDocument(strPath)) {
            DestroyFailed(pFrame, pDocument);
            return nullptr;
        }
        pDocument->SetPathName(strPath);
    }
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

void CMultiDocTemplate::DestroyFailed(CMDIChildWnd *pFrame, CDocument *pDocument)
{
    // The window goes first: its panes leave the document as they are destroyed.
    delete pFrame;
    RemoveDocument(pDocument);
    delete pDocument;
}

CMDIChildWnd *CMultiDocTemplate::CreateNewFrame(CDocument *pDocument)
{
    CMDIFrameWnd *pMainFrame = MainFrame();
    if (pMainFrame == nullptr || pDocument == nullptr)
        return nullptr;
    CMDIChildWnd *pFrame = m_fnCreateFrame ? m_fnCreateFrame() : nullptr;
    if (pFrame == nullptr)
        return nullptr;
    pFrame->setWindowIcon(GetDocIcon().isNull() ? QApplication::windowIcon() : GetDocIcon());
    if (!pFrame->LoadFrame(pDocument, pMainFrame)) {
        delete pFrame;
        return nullptr;
    }
    return pFrame;
}

void CMultiDocTemplate::InitialUpdateFrame(CMDIChildWnd *pFrame, CDocument *, bool bMakeVisible)
{
    for (CView *pView : pFrame->GetViews())
        pView->OnInitialUpdate();
    if (bMakeVisible)
        pFrame->ActivateFrame();
}

void CMultiDocTemplate::SetDefaultTitle(CDocument *pDocument) const
{
    pDocument->SetTitle(GetDocString(docName) + QString::number(m_nUntitledCount + 1));
}
