#include "PellixDoc.h"

#include "CmdUI.h"
#include "DomFunctions.h"
#include "InsertRowCommands.h"
#include "Loading.h"
#include "LongOperation.h"
#include "MDIFrameWnd.h"
#include "MenuTables.h"
#include "MessageBox.h"
#include "Resource.h"
#include "StringTable.h"
#include "WaitCursor.h"
#include "WinApp.h"
#include "XmlWriter.h"

#include <QFileInfo>
#include <algorithm>
#include <new>

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
        const dom::NodeType kind = insert.nKind;
        OnCommand(insert.nID, [this, kind] { InsertRow(kind); });
        // Rows typed while no node is shown would be thrown away.
        OnUpdateCommandUI(insert.nID, [this](CCmdUI *pCmdUI) {
            pCmdUI->Enable(m_pActiveContext != nullptr && m_pActiveContext->IsShowingNode());
        });
    }
    RegisterUndoCommands();
    // Only a change that happened marks the document (the editor announces nothing it was
    // refused, and the history records what it announces); undoing back to the saved state
    // clears the mark.
    connect(&m_history, &CUndoHistory::changed, this,
            [this] { SetModifiedFlag(!m_history.IsAtSavePoint()); });
}

void CPellixDoc::RegisterUndoCommands()
{
    OnCommand(ID_EDIT_UNDO, [this] { OnEditUndo(); });
    OnCommand(ID_EDIT_REDO, [this] { OnEditRedo(); });
    OnUpdateCommandUI(ID_EDIT_UNDO, [this](CCmdUI *pCmdUI) {
        // Rows typed and not yet committed are the step an Undo takes first.
        const int nName = HasEditedRows() ? IDS_STEP_EDIT : m_history.GetUndoName();
        pCmdUI->Enable(nName != 0);
        pCmdUI->SetText(StepCommandText(ID_EDIT_UNDO, nName != 0 ? LoadResString(nName) : ""));
    });
    OnUpdateCommandUI(ID_EDIT_REDO, [this](CCmdUI *pCmdUI) {
        // Committing typed rows would leave nothing to redo.
        const int nName = HasEditedRows() ? 0 : m_history.GetRedoName();
        pCmdUI->Enable(nName != 0);
        pCmdUI->SetText(StepCommandText(ID_EDIT_REDO, nName != 0 ? LoadResString(nName) : ""));
    });
}

bool CPellixDoc::HasEditedRows() const
{
    const std::vector<CEditContext *> contexts = GetEditContexts();
    return std::any_of(contexts.begin(), contexts.end(),
                       [](const CEditContext *pContext) { return pContext->AreRowsEdited(); });
}

bool CPellixDoc::OnEditUndo()
{
    CommitPendingEdits();
    return m_history.Undo();
}

bool CPellixDoc::OnEditRedo()
{
    CommitPendingEdits();
    return m_history.Redo();
}

CPellixDoc::~CPellixDoc() = default;

void CPellixDoc::SetOpenURLHandler(std::function<void()> handler)
{
    openUrlHandler() = std::move(handler);
}

CEditContext *CPellixDoc::CreateEditContext(QObject *pOwner)
{
    auto *pContext = new CEditContext(&m_editor, pOwner);
    connect(pContext, &CEditContext::rowsEdited, this, [this] {
        SetModifiedFlag(true);
        emit unwrittenRowsChanged();
    });
    connect(pContext, &CEditContext::draftChanged, this, &CPellixDoc::unwrittenRowsChanged);
    std::erase_if(m_contexts, [](const QPointer<CEditContext> &p) { return p.isNull(); });
    m_contexts.emplace_back(pContext);
    if (m_pActiveContext == nullptr)
        m_pActiveContext = pContext;
    return pContext;
}

dom::Document CPellixDoc::SnapshotWithUnwrittenRows() const
{
    dom::Document snapshot = m_pXMLDoc.snapshot();
    for (const CEditContext *pContext : GetEditContexts()) {
        const std::optional<std::vector<GridRow>> rows = pContext->UnwrittenRows();
        const dom::Node node = rows ? snapshot.nodeOf(pContext->GetNode()) : dom::Node();
        // Rows a commit would refuse are left out here too.
        if (!node.isNull())
            WriteRowsIntoNode(node, *rows);
    }
    return snapshot;
}

bool CPellixDoc::HasUnwrittenRows() const
{
    const std::vector<CEditContext *> contexts = GetEditContexts();
    return std::any_of(contexts.begin(), contexts.end(), [](const CEditContext *pContext) {
        return pContext->UnwrittenRows().has_value();
    });
}

std::vector<CEditContext *> CPellixDoc::GetEditContexts() const
{
    std::vector<CEditContext *> contexts;
    for (const QPointer<CEditContext> &pContext : m_contexts) {
        if (pContext != nullptr)
            contexts.push_back(pContext);
    }
    return contexts;
}

void CPellixDoc::CommitPendingEdits()
{
    for (CEditContext *pContext : GetEditContexts()) {
        const std::optional<CRowsCommit> result = pContext->Commit();
        if (!result)
            continue;
        for (const CRefusedRow &refused : result->refused)
            AfxMessageBox(RefusedRowMessage(refused));
    }
}

void CPellixDoc::ReplaceDOM(dom::Document document)
{
    emit domAboutToBeReplaced();
    for (CEditContext *pContext : GetEditContexts())
        pContext->Clear();
    m_pXMLDoc = std::move(document);
    m_history.Clear();
    emit domReplaced();
}

void CPellixDoc::SetStatusText(int nID)
{
    if (CWinApp *pApp = AfxGetApp(); pApp != nullptr && pApp->GetMainFrame() != nullptr)
        pApp->GetMainFrame()->SetMessageText(LoadResString(nID));
}

bool CPellixDoc::CreateNewDOM()
{
    dom::Document document = dom::Document::create();
    document.setPreserveWhiteSpace(true);
    const bool bDeclared = SUCCEEDED(AddXMLDeclaration(document));
    ReplaceDOM(std::move(document));
    return bDeclared;
}

bool CPellixDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_bLoadFailed = false;
    CreateNewDOM();
    return true;
}

bool CPellixDoc::LoadFromPath(const QString &strPathName)
{
    m_bLoadFailed = !OpenXMLDocument(strPathName);
    return m_lastLoadError.errorCode != DOM_E_CANCELLED;
}

bool CPellixDoc::OpenXMLDocument(const QString &strPath)
{
    CWaitCursor wait;
    if (!m_pXMLDoc.isNull()) {
        // The old DOM goes before the new one loads: both need not fit in memory at once.
        ReplaceDOM(dom::Document());
        SetTitle(strPath);
    }
    SetStatusText(IDS_LOADING_DOCUMENT);
    dom::Document document;
    bool bLoaded = false;
    m_lastLoadError = dom::ParseError();
    CLongOperation progress(LoadResString(IDS_LOADING_DOCUMENT));
    try {
        document = dom::Document::create();
        bLoaded =
            LoadDOM(document, strPath, [&progress](std::uint64_t nDone, std::uint64_t nTotal) {
                return progress.Step(nDone, nTotal);
            }) == 0;
        m_lastLoadError = document.parseError();
    } catch (const std::bad_alloc &) {
        // Out of memory is a failed load: this window shows a new document, the others stay.
        document = dom::Document();
        m_lastLoadError.errorCode = E_OUTOFMEMORY;
        AfxMessageBox(QStringLiteral("Cannot open %1:\nNot enough memory to load the document.")
                          .arg(strPath));
    }
    if (bLoaded) {
        if (HasDocumentType(document))
            AfxMessageBox(QString::fromLatin1(kDtdNotSupported));
        ReplaceDOM(std::move(document));
    } else {
        // The window shows a new document's content.
        document = dom::Document();
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
    CommitPendingEdits();
    CLongOperation progress(LoadResString(IDS_SAVING_DOCUMENT));
    // The writer says why it failed; the command that saved shows it. A save the user stopped
    // left the file as it was and needs no message; the document stays modified.
    const std::string strFailure =
        SaveXMLFile(m_pXMLDoc, strPath,
                    [&progress](std::uint64_t nWritten) { return progress.Step(nWritten, 0); });
    if (!strFailure.empty() && strFailure != kSaveCancelled)
        AfxMessageBox(QString::fromStdString(strFailure));
    const bool bSaved = strFailure.empty();
    if (bSaved)
        m_history.SetSavePoint();
    SetStatusText(AFX_IDS_IDLEMESSAGE);
    return bSaved;
}

void CPellixDoc::OnOpenURL()
{
    if (openUrlHandler())
        openUrlHandler()();
}

void CPellixDoc::InsertRow(dom::NodeType kind)
{
    if (m_pActiveContext != nullptr && m_pActiveContext->IsShowingNode())
        m_pActiveContext->AppendRow(kind);
}
