#pragma once

#include "Document.h"
#include "DocumentBase.h"
#include "PaneLinks.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

// The XML document: owns one DOM for its whole life, knows the panes of its active window,
// loads files and URLs into the DOM and saves it through the XML writer.
class CPellixDoc : public CDocument
{
    Q_OBJECT

public:
    CPellixDoc();
    ~CPellixDoc() override;

    // The DOM; a null handle while the document has none (an empty file was opened).
    const dom::Document &GetXMLDocument() const { return m_pXMLDoc; }

    // The panes of the window the user works in. A child frame sets its panes when it is
    // created and whenever it becomes active; a destroyed pane reads back as null.
    void SetPanes(CTreePaneLink *pTree, QWidget *pTreeWidget, CGridPaneLink *pGrid,
                  QWidget *pGridWidget, QWidget *pTextWidget);
    CTreePaneLink *GetTreeView() const { return m_pTreeWidget ? m_pTreeView : nullptr; }
    CGridPaneLink *GetGridView() const { return m_pGridWidget ? m_pGridView : nullptr; }
    QWidget *GetTextView() const { return m_pTextWidget; }

    // Replaces the DOM by what `strPath` (file path or URL) holds and rebuilds the tree; after
    // a load error the document holds a new document's content. True when it loaded.
    bool OpenXMLDocument(const QString &strPath);
    // Commits the shown rows and writes the DOM to `strPath`; true when every byte was
    // written (the modified flag is then cleared).
    bool SaveXMLDocument(const QString &strPath);

    // Open URL: runs the dialog the application installed.
    void OnOpenURL();
    static void SetOpenURLHandler(std::function<void()> handler);

    bool OnNewDocument() override;
    bool OnSaveDocument(const QString &strPathName) override;
    // A file that failed to load keeps its name as the title but gives no path, so that
    // Save asks for a name instead of overwriting it.
    void SetPathName(const QString &strPathName, bool bAddToMRU = true) override;

protected:
    void LoadFromPath(const QString &strPathName) override;

private:
    // Creates a DOM holding the declaration and shows its document item.
    bool CreateNewDOM();
    void InsertRow(int nKind);
    void SetStatusText(int nID);

    dom::Document m_pXMLDoc;
    // The panes belong to their child frame, which may close before the document.
    QPointer<QWidget> m_pTreeWidget;
    QPointer<QWidget> m_pGridWidget;
    QPointer<QWidget> m_pTextWidget;
    CTreePaneLink *m_pTreeView = nullptr;
    CGridPaneLink *m_pGridView = nullptr;
    bool m_bLoadFailed = false;
};
