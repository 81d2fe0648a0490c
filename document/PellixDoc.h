#pragma once

#include "Document.h"
#include "DocumentBase.h"
#include "DocumentEditor.h"
#include "EditContext.h"
#include "UndoHistory.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

// The XML document: owns one DOM for its whole life, loads files and URLs into it and saves it
// through the XML writer. Every change a user makes goes through its editor; each window
// shows the DOM through its own edit context, and the document commits them all before a
// save or close.
class CPellixDoc : public CDocument
{
    Q_OBJECT

public:
    CPellixDoc();
    ~CPellixDoc() override;

    // The DOM; a null handle while the document has none (an empty file was opened).
    const dom::Document &GetXMLDocument() const { return m_pXMLDoc; }

    // The edit API every user change to the DOM goes through.
    CDocumentEditor *GetEditor() { return &m_editor; }
    // The steps Undo and Redo take; the modified flag follows its save point.
    CUndoHistory *GetHistory() { return &m_history; }

    // Edit > Undo and Redo from the tree or the grid (a cell editor and the text pane answer
    // them first for their own text). Both commit the edited rows of every window first, so
    // the rows typed last are the step Undo takes back. False when there was nothing to take.
    bool OnEditUndo();
    bool OnEditRedo();

    // A new edit context for a window, owned by `pOwner` (the window); the document forgets it
    // when it is destroyed.
    CEditContext *CreateEditContext(QObject *pOwner);
    // The contexts of the open windows, in the order they were made.
    std::vector<CEditContext *> GetEditContexts() const;
    // The context of the window the user works in; a window makes its own active when it
    // becomes active. Null when none is.
    void SetActiveEditContext(CEditContext *pContext) { m_pActiveContext = pContext; }
    CEditContext *GetActiveEditContext() const { return m_pActiveContext; }

    // A copy of the DOM as it is now (see dom::Document::snapshot) with the rows of every window
    // written in that are not in the DOM yet, an open cell editor's text included: what the
    // user sees, for a recovery copy. Neither the DOM, nor the rows, nor an editor change.
    dom::Document SnapshotWithUnwrittenRows() const;
    // True when some window holds rows or editor text not in the DOM yet.
    bool HasUnwrittenRows() const;

    // Ends open cell editors and writes the edited rows of every window into their nodes;
    // refused rows are reported, one message each.
    void CommitPendingEdits() override;

    // Replaces the DOM by what `strPath` (file path or URL) holds and rebuilds the tree; after
    // a load error the document holds a new document's content. A load that runs long shows
    // its progress and may be cancelled (no message then). True when it loaded.
    bool OpenXMLDocument(const QString &strPath);
    // What went wrong in the last OpenXMLDocument (errorCode 0 when it loaded,
    // DOM_E_CANCELLED when the user stopped it); line 0 when the source could not be read at
    // all.
    const dom::ParseError &GetLastLoadError() const { return m_lastLoadError; }
    // Commits the rows of every window and writes the DOM to `strPath`; true when every byte
    // was written (the modified flag is then cleared).
    bool SaveXMLDocument(const QString &strPath);

    // Open URL: runs the dialog the application installed.
    void OnOpenURL();
    static void SetOpenURLHandler(std::function<void()> handler);

    bool OnNewDocument() override;
    bool OnSaveDocument(const QString &strPathName) override;
    // A file that failed to load keeps its name as the title but gives no path, so that
    // Save asks for a name instead of overwriting it.
    void SetPathName(const QString &strPathName, bool bAddToMRU = true) override;

signals:
    // The DOM is about to be replaced: views drop everything that names its nodes.
    void domAboutToBeReplaced();
    // A new DOM is in place (loaded, or a new document's content): views show it.
    void domReplaced();
    // The rows or an open cell editor of a window changed: what the user sees is not the DOM.
    void unwrittenRowsChanged();

protected:
    bool LoadFromPath(const QString &strPathName) override;

private:
    // Creates a DOM holding the declaration.
    bool CreateNewDOM();
    void ReplaceDOM(dom::Document document);
    void InsertRow(dom::NodeType kind);
    void RegisterUndoCommands();
    // True when a window holds edited rows not yet committed.
    bool HasEditedRows() const;
    void SetStatusText(int nID);

    dom::Document m_pXMLDoc;
    CDocumentEditor m_editor;
    // Built after the editor it listens to.
    CUndoHistory m_history{&m_editor};
    // Contexts belong to their windows, which may close before the document.
    std::vector<QPointer<CEditContext>> m_contexts;
    QPointer<CEditContext> m_pActiveContext;
    bool m_bLoadFailed = false;
    dom::ParseError m_lastLoadError;
};
