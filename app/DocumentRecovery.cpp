#include "DocumentRecovery.h"

#include "DocTemplate.h"
#include "MessageBox.h"
#include "PellixDoc.h"
#include "RecoveryDlg.h"
#include "WinApp.h"
#include "XmlWriter.h"

#include <QFileInfo>
#include <string>

namespace
{

std::vector<CPellixDoc *> OpenDocuments()
{
    std::vector<CPellixDoc *> documents;
    if (CWinApp *pApp = AfxGetApp()) {
        for (const std::unique_ptr<CDocTemplate> &pTemplate : pApp->GetDocTemplates()) {
            for (CDocument *pDoc : pTemplate->GetDocuments()) {
                if (auto *pPellixDoc = qobject_cast<CPellixDoc *>(pDoc))
                    documents.push_back(pPellixDoc);
            }
        }
    }
    return documents;
}

QString RecoveredTitle(const CRecoveryEntry &entry)
{
    const QString strName =
        entry.strSourcePath.isEmpty() ? entry.strTitle : QFileInfo(entry.strSourcePath).fileName();
    return QStringLiteral("Recovered %1").arg(strName);
}

} // namespace

CDocumentRecovery::CDocumentRecovery(QString strFolder, int nIntervalMs, QObject *pParent)
    : QObject(pParent), m_store(std::move(strFolder))
{
    m_timer.setInterval(nIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CDocumentRecovery::WriteCopies);
    m_worker.setMaxThreadCount(1);
}

CDocumentRecovery::~CDocumentRecovery()
{
    WaitForWriter();
}

bool CDocumentRecovery::Start()
{
    if (!m_store.Open())
        return false;
    m_timer.start();
    return true;
}

void CDocumentRecovery::Shutdown()
{
    m_timer.stop();
    WaitForWriter();
    m_store.RemoveAll();
    m_tracked.clear();
}

void CDocumentRecovery::WaitForWriter()
{
    m_worker.waitForDone();
}

CDocumentRecovery::Tracked &CDocumentRecovery::Track(CPellixDoc *pDoc)
{
    if (const auto it = m_tracked.find(pDoc); it != m_tracked.end())
        return it->second;
    Tracked &tracked = m_tracked[pDoc];
    tracked.strKey = m_store.NewKey();
    const auto changed = [this, pDoc] { m_tracked[pDoc].bChanged = true; };
    connect(pDoc->GetEditor(), &CDocumentEditor::edited, this, changed);
    connect(pDoc, &CPellixDoc::domReplaced, this, changed);
    connect(pDoc, &CPellixDoc::unwrittenRowsChanged, this, changed);
    // Saved: the file holds what the copy held.
    connect(pDoc, &CDocument::modifiedChanged, this, [this, pDoc](bool bModified) {
        if (!bModified)
            RemoveCopy(m_tracked[pDoc]);
    });
    // Closed without saving: the user dropped the changes.
    connect(pDoc, &QObject::destroyed, this, [this, pDoc] {
        RemoveCopy(m_tracked[pDoc]);
        m_tracked.erase(pDoc);
    });
    return tracked;
}

void CDocumentRecovery::RemoveCopy(Tracked &tracked)
{
    if (!tracked.bHasCopy)
        return;
    tracked.bHasCopy = false;
    // Queued behind any write of the same copy, which would otherwise bring it back.
    m_worker.start([this, strKey = tracked.strKey] { m_store.Remove(strKey); });
}

void CDocumentRecovery::WriteCopies()
{
    if (!m_store.IsOpen())
        return;
    for (CPellixDoc *pDoc : OpenDocuments()) {
        Tracked &tracked = Track(pDoc);
        if (!tracked.bChanged)
            continue;
        // Text typed into a cell editor of an unmodified document counts: it is the user's
        // work. Once it is dropped (the editor cancelled), the copy holding it goes.
        if (!pDoc->IsModified() && !pDoc->HasUnwrittenRows()) {
            RemoveCopy(tracked);
            continue;
        }
        tracked.bChanged = false;
        tracked.bHasCopy = true;
        // The snapshot costs the UI thread a copy of the page table; the writer's pass over the
        // nodes and the disk are the worker's.
        m_worker.start([this, strKey = tracked.strKey, snapshot = pDoc->SnapshotWithUnwrittenRows(),
                        strSource = pDoc->GetPathName(), strTitle = pDoc->GetTitle()] {
            std::string error;
            const std::string bytes = WriteXMLString(snapshot, &error);
            // A document the writer refuses cannot be saved either; the last copy stays.
            const QString strError =
                !error.empty()
                    ? QString::fromStdString(error)
                    : m_store.Write(strKey,
                                    QByteArray::fromRawData(bytes.data(),
                                                            static_cast<qsizetype>(bytes.size())),
                                    strSource, strTitle);
            if (!strError.isEmpty())
                qWarning("Pellix: no recovery copy of %s: %s", qPrintable(strTitle),
                         qPrintable(strError));
        });
    }
}

void CDocumentRecovery::OfferRecovery(QWidget *pParent)
{
    const std::vector<CRecoveryEntry> entries = m_store.FindOrphans();
    if (entries.empty())
        return;
    CRecoveryDlg dialog(entries, pParent);
    dialog.exec();
    const std::vector<std::size_t> checked = dialog.GetChecked();
    if (checked.empty())
        return;
    switch (dialog.GetChoice()) {
    case CRecoveryDlg::Open:
        for (const std::size_t i : checked)
            OpenCopy(entries[i]);
        break;
    case CRecoveryDlg::Discard:
        if (AfxMessageBoxYesNoCancel(QStringLiteral("Discard the checked documents? Their "
                                                    "unsaved changes will be lost.")) !=
            MessageBoxResult::Yes)
            break;
        for (const std::size_t i : checked)
            m_store.Discard(entries[i]);
        break;
    case CRecoveryDlg::Later:
        break;
    }
}

CPellixDoc *CDocumentRecovery::OpenCopy(const CRecoveryEntry &entry)
{
    CWinApp *pApp = AfxGetApp();
    CDocTemplate *pTemplate = pApp != nullptr ? pApp->GetFirstDocTemplate() : nullptr;
    auto *pDoc = pTemplate != nullptr
                     ? qobject_cast<CPellixDoc *>(pTemplate->OpenDocumentFile(QString()))
                     : nullptr;
    if (pDoc == nullptr)
        return nullptr;
    // The load reports why a copy cannot be read; the copy stays for another try.
    if (!pDoc->OpenXMLDocument(entry.strDataPath)) {
        pDoc->OnCloseDocument();
        return nullptr;
    }
    // A new document: Save asks for a name, so nothing is written over the source unasked.
    pDoc->SetTitle(RecoveredTitle(entry));
    pDoc->SetModifiedFlag(true);
    Tracked &tracked = Track(pDoc);
    tracked.bChanged = false;
    if (m_store.IsOpen() && m_store.Adopt(entry, tracked.strKey))
        tracked.bHasCopy = true;
    else
        tracked.bChanged = true;
    return pDoc;
}
