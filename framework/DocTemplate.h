#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class CDocument;
class CMDIChildWnd;
class CMDIFrameWnd;

// A kind of document: its strings, how to make its documents and windows, and the list of
// its open documents. Documents belong to their template until they close themselves.
class CDocTemplate
{
public:
    // Fields of the document string, separated by "\n".
    enum DocStringIndex {
        windowTitle,
        docName, // new documents are titled <docName>1, <docName>2, ...
        fileNewName,
        filterName, // "XML Files (*.xml)"
        filterExt,  // ".xml"
        regFileTypeId,
        regFileTypeName,
    };
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    // Constructs a child window; the framework then builds its panes
    // (CMDIChildWnd::OnCreateClient).
    using FrameFactory = std::function<CMDIChildWnd *()>;

    CDocTemplate(const QString &strDocStrings, DocumentFactory fnCreateDocument,
                 FrameFactory fnCreateFrame);
    virtual ~CDocTemplate();
    CDocTemplate(const CDocTemplate &) = delete;
    CDocTemplate &operator=(const CDocTemplate &) = delete;

    // The field, or "" when the document string has none.
    QString GetDocString(DocStringIndex eIndex) const;
    // The icon of the document windows (none: the application's window icon).
    void SetDocIcon(const QIcon &icon) { m_docIcon = icon; }
    const QIcon &GetDocIcon() const { return m_docIcon; }

    // The Qt name filter of the file dialogs: the template's filter, then all files.
    QString GetFileFilter() const;
    static QString AllFilesFilter();

    const std::vector<CDocument *> &GetDocuments() const { return m_documents; }
    // The open document whose file is `strPath` (compared as absolute paths), or null.
    CDocument *FindOpenDocument(const QString &strPath) const;
    void AddDocument(CDocument *pDocument);
    void RemoveDocument(CDocument *pDocument);

    // Opens `strPath`, or with "" makes a new untitled document, in a new child window.
    // A file that is already open is activated instead. Returns null on failure (nothing
    // is left behind).
    virtual CDocument *OpenDocumentFile(const QString &strPath, bool bMakeVisible = true) = 0;
    // A further child window on `pDocument` (Window > New Window); null on failure.
    virtual CMDIChildWnd *CreateNewFrame(CDocument *pDocument) = 0;
    // Gives the new window's views their initial update and shows and activates it.
    virtual void InitialUpdateFrame(CMDIChildWnd *pFrame, CDocument *pDocument,
                                    bool bMakeVisible = true) = 0;

    // Asks each modified document; false as soon as one answer keeps it open.
    bool SaveAllModified();
    // Closes every document without asking.
    void CloseAllDocuments();

protected:
    // A new document registered with this template, or null when the factory made none.
    CDocument *CreateNewDocument();
    static CMDIFrameWnd *MainFrame();

    FrameFactory m_fnCreateFrame;

private:
    QStringList m_docStrings;
    QIcon m_docIcon;
    DocumentFactory m_fnCreateDocument;
    std::vector<CDocument *> m_documents;
};

// Documents shown in child windows of the main window, several documents at once.
class CMultiDocTemplate : public CDocTemplate
{
public:
    using CDocTemplate::CDocTemplate;

    CDocument *OpenDocumentFile(const QString &strPath, bool bMakeVisible = true) override;
    CMDIChildWnd *CreateNewFrame(CDocument *pDocument) override;
    void InitialUpdateFrame(CMDIChildWnd *pFrame, CDocument *pDocument,
                            bool bMakeVisible = true) override;

    // Titles a new document <docName><n>, n one more than the untitled documents made so far.
    void SetDefaultTitle(CDocument *pDocument) const;

private:
    void DestroyFailed(CMDIChildWnd *pFrame, CDocument *pDocument);

    int m_nUntitledCount = 0;
};
