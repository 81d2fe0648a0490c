#include "PellixDoc.h"

#include "CmdUI.h"
#include "DomFunctions.h"
#include "InsertRowCommands.h"
#include "Loading.h"
#include "MDIFrameWnd.h"
#include "Resource.h"
#include "StringTable.h"
#include "WaitCursor.h"
#include "WinApp.h"
#include "XmlWriter.h"

#include <QFileInfo>

namespace
{
std::function<void()> &openUrlHandler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

CPellixDoc::CPellixDoc()
{
    OnCommand(ID_FILE_OPENURL, [this] { OnOpenURL(); });
    for (const CInsertRowCommand &insert : kInsertRowCommands) {
        const int nKind = insert.nKind;
        OnCommand(insert.nID, [this, nKind] { InsertRow(nKind); });
        // Rows typed while no node is shown would be thrown away.
        OnUpdateCommandUI(insert.nID, [this](CCmdUI *pCmdUI) {
            pCmdUI->Enable(GetGridView() != nullptr && GetGridView()->IsShowingNode());
        });
    }
}

CPellixDoc::~CPellixDoc() = default;

void CPellixDoc::SetOpenURLHandler(std::function<void()> handler)
{
    openUrlHandler() = std::move(handler);
}

void CPellixDoc::SetPanes(CTreePaneLink *pTree, QWidget *pTreeWidget, CGridPaneLink *pGrid,
                          QWidget *pGridWidget, QWidget *pTextWidget)
{
    m_pTreeView = pTree;
    m_pTreeWidget = pTreeWidget;
    m_pGridView = pGrid;
    m_pGridWidget = pGridWidget;
    m_pTextWidget = pTextWidget;
}

void CPellixDoc::SetStatusText(int nID)
{
    if (CWinApp *pApp = AfxGetApp(); pApp != nullptr && pApp->GetMainFrame() != nullptr)
        pApp->GetMainFrame()->SetMessageText(LoadResString(nID));
}

bool CPellixDoc::CreateNewDOM()
{
    m_pXMLDoc = dom::Document::create();
    m_pXMLDoc.setPreserveWhiteSpace(true);
    if (FAILED(AddXMLDeclaration(m_pXMLDoc)))
        return false;
    if (CTreePaneLink *pTree = GetTreeView())
        pTree->AddDocumentItem(QString::fromUtf8(m_pXMLDoc.nodeName()), m_pXMLDoc);
    return true;
}

bool CPellixDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_bLoadFailed = false;
    if (CTreePaneLink *pTree = GetTreeView())
        pTree->DeleteAllTreeItems();
    CreateNewDOM();
    return true;
}

void CPellixDoc::LoadFromPath(const QString &strPathName)
{
    m_bLoadFailed = !OpenXMLDocument(strPathName);
}

bool CPellixDoc::OpenXMLDocument(const QString &strPath)
{
    CWaitCursor wait;
    CTreePaneLink *pTree = GetTreeView();
    if (!m_pXMLDoc.isNull()) {
        m_pXMLDoc = dom::Document();
        if (pTree != nullptr)
            pTree->DeleteAllTreeItems();
        SetTitle(strPath);
    }
    m_pXMLDoc = dom::Document::create();
    SetStatusText(IDS_LOADING_DOCUMENT);
    const bool bLoaded = LoadDOM(m_pXMLDoc, strPath) == 0;
    if (bLoaded) {
        if (pTree != nullptr)
            pTree->BuildTreeFromDocument(m_pXMLDoc);
    } else {
        // The window shows a new document's content.
        m_pXMLDoc = dom::Document();
        if (pTree != nullptr)
            pTree->DeleteAllTreeItems();
        CreateNewDOM();
    }
    SetStatusText(AFX_IDS_IDLEMESSAGE);
    return bLoaded;
}

void CPellixDoc::SetPathName(const QString &strPathName, bool bAddToMRU)
{
    // Only the name of a file that just failed to load is kept from it: it is never the
    // target of a plain Save.
    if (!m_bLoadFailed) {
        CDocument::SetPathName(strPathName, bAddToMRU);
        return;
    }
    m_bLoadFailed = false;
    SetTitle(QFileInfo(strPathName).fileName());
}

bool CPellixDoc::OnSaveDocument(const QString &strPathName)
{
    return SaveXMLDocument(strPathName);
}

bool CPellixDoc::SaveXMLDocument(const QString &strPath)
{
    CWaitCursor wait;
    SetStatusText(IDS_SAVING_DOCUMENT);
    if (CTreePaneLink *pTree = GetTreeView())
        pTree->CommitShownItem();
    const bool bSaved = SUCCEEDED(WriteXMLFile(m_pXMLDoc, strPath));
    if (bSaved)
        SetModifiedFlag(false);
    SetStatusText(AFX_IDS_IDLEMESSAGE);
    return bSaved;
}

void CPellixDoc::OnOpenURL()
{
    if (openUrlHandler())
        openUrlHandler()();
}

void CPellixDoc::InsertRow(int nKind)
{
    if (CGridPaneLink *pGrid = GetGridView())
        pGrid->InsertEmptyRow(nKind);
}
