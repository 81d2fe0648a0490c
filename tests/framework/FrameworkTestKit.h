#pragma once

#include "DocTemplate.h"
#include "DocumentBase.h"
#include "FileDialog.h"
#include "MDIChildWnd.h"
#include "MDIFrameWnd.h"
#include "MessageBox.h"
#include "View.h"
#include "WinApp.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

// A focusable pane.
class CTestView : public QWidget, public CView
{
public:
    CTestView(CDocument *pDocument, QWidget *pParent);
    int m_nInitialUpdates = 0;
    void OnInitialUpdate() override { ++m_nInitialUpdates; }
};

// A document that records what the framework asks of it and saves by writing a marker file.
class CTestDoc : public CDocument
{
public:
    bool OnNewDocument() override;
    bool OnOpenDocument(const QString &strPathName) override;
    bool OnSaveDocument(const QString &strPathName) override;

    bool m_bOpenSucceeds = true;
    bool m_bSaveSucceeds = true;
    size_t m_nViewsAtNew = 0;
    QStringList m_loadedPaths;
    QStringList m_savedPaths;

protected:
    bool LoadFromPath(const QString &strPathName) override
    {
        m_loadedPaths << strPathName;
        return true;
    }
};

// A child window of two panes side by side, like a splitter of two views.
class CTestFrame : public CMDIChildWnd
{
public:
    CTestView *m_pLeft = nullptr;
    CTestView *m_pRight = nullptr;
    QSize m_sizeAtCreate;

protected:
    QWidget *OnCreateClient(const QSize &sizeClient) override;
};

// Stand-ins for the modal dialogs: answers are scripted, questions are recorded. An
// unscripted question fails the test and is answered Cancel.
class DialogScript
{
public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript &) = delete;
    DialogScript &operator=(const DialogScript &) = delete;

    std::deque<MessageBoxResult> answers;
    std::deque<QString> fileNames;
    QStringList prompts;
    QStringList messages;
    QStringList fileDialogInitials;
    QStringList fileDialogFilters;

private:
    MessageBoxHandler m_previousMessage;
    YesNoCancelHandler m_previousPrompt;
    FileDialogHandler m_previousFile;
};

inline const QString kDocString = QStringLiteral(
    "\"\nPellix\nPellix\nXML Files (*.xml)\n.xml\nPellix.Document\nXML Document\"\n");

// An application with a main window and the Pellix-like template, its profile in a
// temporary folder.
class FrameworkTest : public ::testing::Test
{
protected:
    FrameworkTest();
    ~FrameworkTest() override;

    CWinApp &App() { return *m_pApp; }
    CMDIFrameWnd &Main() { return *m_pApp->GetMainFrame(); }
    CMultiDocTemplate &Template() { return *m_pTemplate; }

    // Makes a fresh application object on the same profile.
    void RestartApp();
    QString WriteFile(const QString &strName, const QByteArray &bytes) const;
    CTestDoc *NewDoc();
    CTestDoc *OpenDoc(const QString &strPath);
    static CTestFrame *FrameOf(CDocument *pDoc, size_t nIndex = 0);
    int VisibleChildCount() const;
    // Runs deferred deletions, as the event loop would.
    static void FlushDeletes();

    QTemporaryDir m_dir;
    DialogScript m_script;

private:
    void MakeApp();

    std::unique_ptr<CWinApp> m_pApp;
    CMultiDocTemplate *m_pTemplate = nullptr;
};

class QMenu;
// The visible items of a menu as their texts, "-" for a separator.
QStringList MenuTexts(const QMenu *pMenu);
