#pragma once

#include "CommandLineInfo.h"
#include "SplashWindow.h"
#include "WinApp.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

class CDocumentRecovery;

// The application: start-up (splash picture, profile, the document template, the main
// window, the desktop entry, the command line), About, Save All, and the histories that the
// find and Open URL dialogs offer during the run.
class CPellixApp : public CWinApp
{
    Q_OBJECT

public:
    explicit CPellixApp(CCommandLineInfo cmdInfo = {}, QObject *pParent = nullptr);
    ~CPellixApp() override;

    // False when the main window could not be made or a document named on the command line
    // could not be opened; the program then ends. Copies of documents a killed run left are
    // offered once the main window shows.
    bool InitInstance() override;
    // A clean end: the recovery copies of this run go.
    int ExitInstance() override;

    // Opens the documents the command line names; false as soon as one cannot be opened.
    bool ProcessShellCommand(const CCommandLineInfo &cmdInfo);

    // Help > About: the modal About dialog over the main window.
    void OnAppAbout();
    // File > Save All: saves every modified document in turn (a document without a file asks
    // for a name). False when a save failed or was cancelled; the rest is then not saved.
    bool OnFileSaveAll();

    // The splash picture while it is up, else null.
    CSplashWindow *GetSplashWindow() const { return m_pSplashWindow; }

    // The recovery copies of modified documents; null before InitInstance.
    CDocumentRecovery *GetDocumentRecovery() const { return m_pRecovery.get(); }

    // The help file Help Contents and context help open.
    const QString &GetHelpFilePath() const { return m_strHelpFilePath; }
    void SetHelpFilePath(const QString &strPath) { m_strHelpFilePath = strPath; }

    // Searched texts, replacement texts and URLs entered in this run (never stored).
    QStringList m_strFindHistory;
    QStringList m_strReplaceHistory;
    QStringList m_strURLHistory;

private:
    bool AnyDocumentModified() const;
    void PlaceMainWindow();
    // --test-edit: appends an element to the root element of every open document.
    void ApplyTestEdit();

    const CCommandLineInfo m_cmdInfo;
    QString m_strHelpFilePath;
    // The splash window deletes itself when it goes.
    QPointer<CSplashWindow> m_pSplashWindow;
    std::unique_ptr<CDocumentRecovery> m_pRecovery;
};

// The running Pellix application, or null when the application object is not one.
CPellixApp *PellixApp();
