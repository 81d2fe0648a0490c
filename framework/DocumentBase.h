#pragma once

#include "CmdTarget.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

class CDocTemplate;
class CMDIChildWnd;
class CView;

// A document: its title, file, modified flag, views and windows, and the File commands
// Close, Save and Save As. A document is created by its template, lives as long as one of
// its child windows is open and deletes itself (deferred) when it is closed.
class CDocument : public QObject, public CCmdTarget
{
    Q_OBJECT

public:
    explicit CDocument(QObject *pParent = nullptr);
    ~CDocument() override;

    const QString &GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString &strTitle);
    // The absolute path of the document's file, "" while it has none.
    const QString &GetPathName() const { return m_strPathName; }
    // Makes the path absolute, titles the document with the file name and, when asked,
    // puts the file at the top of the application's recent-file list.
    virtual void SetPathName(const QString &strPathName, bool bAddToMRU = true);

    bool IsModified() const { return m_bModified; }
    virtual void SetModifiedFlag(bool bModified = true);

    CDocTemplate *GetDocTemplate() const { return m_pDocTemplate; }

    // Views register themselves on construction and leave on destruction.
    void AddView(CView *pView);
    void RemoveView(CView *pView);
    const std::vector<CView *> &GetViews() const { return m_views; }
    // The first view still registered, or null.
    CView *GetFirstView() const;

    // The open child windows of this document, in the order they were opened.
    std::vector<CMDIChildWnd *> GetFrames() const;
    // Renumbers the windows ("Pellix1:1", "Pellix1:2") and retitles them.
    void UpdateFrameCounts();

    // New: empties the document and clears path and modified flag.
    virtual bool OnNewDocument();
    // Open: fails with "Failed to open document." when the file cannot be read, and with
    // NotRegularFileMessage() at once for a FIFO, device or socket; otherwise empties the
    // document, loads a non-empty file through LoadFromPath and clears the flag; fails when the
    // user stopped the load.
    virtual bool OnOpenDocument(const QString &strPathName);
    // Save: writes the document to the path; returns true on success. A document that saves
    // must override it and clear the modified flag itself. The default saves nothing.
    virtual bool OnSaveDocument(const QString &strPathName);
    // Closes every window of the document without asking, then deletes it (deferred).
    virtual void OnCloseDocument();
    // Drops the content; called before a document is reused or loaded.
    virtual void DeleteContents();
    // Writes edits the views still hold (an open cell editor, edited rows) into the document,
    // so that the modified flag and a save see them. Called before every modified check and
    // save; the default has nothing to write.
    virtual void CommitPendingEdits();
    // Asks "Save changes to <name>?" when modified (after committing pending edits). Yes saves, No
    // drops the changes, Cancel (or a failed save) returns false: the caller then keeps the
    // document open.
    virtual bool SaveModified();
    // True when `pFrame` is not the document's last window, otherwise SaveModified().
    virtual bool CanCloseFrame(CMDIChildWnd *pFrame);

    // The folder Save As starts in: the file's own, else the one the document was opened from
    // (a file that did not load keeps no path), else the application's last open folder; ""
    // when none of them exists.
    QString GetSaveFolder() const;
    // Saves to `strPathName`; "" asks for a name first (the title plus the template's
    // extension is proposed, in GetSaveFolder()). With bReplace the saved name becomes the
    // document's path.
    bool DoSave(const QString &strPathName, bool bReplace = true);
    // Save: asks for a name when the document has no path or the file is not writable.
    bool DoFileSave();

    void OnFileClose();
    void OnFileSave() { DoFileSave(); }
    void OnFileSaveAs() { DoSave(QString()); }

signals:
    void titleChanged(const QString &strTitle);
    void modifiedChanged(bool bModified);

protected:
    // Reads a non-empty file opened by OnOpenDocument; the default reads nothing. False only
    // when the user stopped the load: the open is then abandoned.
    virtual bool LoadFromPath(const QString &strPathName);

private:
    friend class CDocTemplate;
    friend class CMDIChildWnd;
    void AddFrame(CMDIChildWnd *pFrame);
    void RemoveFrame(CMDIChildWnd *pFrame);

    CDocTemplate *m_pDocTemplate = nullptr;
    QString m_strTitle;
    QString m_strPathName;
    // The folder of the file OnOpenDocument last read.
    QString m_strOpenedFolder;
    bool m_bModified = false;
    std::vector<CView *> m_views;
    std::vector<QPointer<CMDIChildWnd>> m_frames;
};
