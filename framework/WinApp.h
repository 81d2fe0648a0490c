#pragma once

#include "CmdTarget.h"
#include "RecentFileList.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class CDocTemplate;
class CDocument;
class CMDIFrameWnd;
class QPrinter;
class QSettings;

// The application object: one per process, made after the QApplication. It owns the main
// window and the document templates, answers New, Open, the recent files, Print Setup and
// Exit, and keeps the profile (an INI file through QSettings) and the recent-file list.
class CWinApp : public QObject, public CCmdTarget
{
    Q_OBJECT

public:
    explicit CWinApp(const QString &strAppName = QStringLiteral("Pellix"),
                     QObject *pParent = nullptr);
    ~CWinApp() override;

    // Start-up of the application; returning false ends the program. The default does nothing.
    virtual bool InitInstance();
    // Stores the profile settings (recent files); returns the exit code.
    virtual int ExitInstance();
    // InitInstance, the event loop, ExitInstance; returns the process exit code.
    int Run();

    const QString &GetAppName() const { return m_strAppName; }

    // Takes ownership of the main window.
    void SetMainFrame(std::unique_ptr<CMDIFrameWnd> pMainFrame);
    CMDIFrameWnd *GetMainFrame() const { return m_pMainFrame.get(); }

    void AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate);
    // The first template, or null when none was added.
    CDocTemplate *GetFirstDocTemplate() const;
    const std::vector<std::unique_ptr<CDocTemplate>> &GetDocTemplates() const
    {
        return m_templates;
    }

    // Opens the file in a new window, or activates the window of the file when it is open
    // already; null when the file could not be opened.
    virtual CDocument *OpenDocumentFile(const QString &strPath);
    // The folder File Open starts in: that of the file last opened in this run, else that of
    // the most recent file on the list; "" when none of them is an existing folder.
    QString GetLastOpenFolder() const;
    // File New: a new untitled document of the first template.
    void OnFileNew();
    // File Open: the file dialog with the first template's filter and all files.
    void OnFileOpen();
    void OnFilePrintSetup();
    // Exit: closes the main window, which asks to save modified documents first.
    void OnAppExit();

    // Asks every modified document; false when the user kept one open.
    bool SaveAllModified();
    void CloseAllDocuments();

    // The profile lives under the organisation `strKey` and the application name.
    void SetRegistryKey(const QString &strKey);
    QSettings &GetProfile();
    QString GetProfileString(const QString &strSection, const QString &strEntry,
                             const QString &strDefault = QString());
    void WriteProfileString(const QString &strSection, const QString &strEntry,
                            const QString &strValue);
    int GetProfileInt(const QString &strSection, const QString &strEntry, int nDefault);
    void WriteProfileInt(const QString &strSection, const QString &strEntry, int nValue);

    // Reads the recent-file list of nMaxMRU entries from the profile.
    void LoadStdProfileSettings(int nMaxMRU = 4);
    void SaveStdProfileSettings();
    const CRecentFileList &GetRecentFileList() const { return *m_pRecentFileList; }
    // Puts the file first in the recent-file list and stores the list.
    virtual void AddToRecentFileList(const QString &strPath);

    // The printer that Print Setup configures and the panes print on.
    QPrinter *GetPrinter();

private:
    void OnOpenRecentFile(int nID);

    const QString m_strAppName;
    QString m_strRegistryKey;
    std::unique_ptr<QSettings> m_pProfile;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    std::unique_ptr<QPrinter> m_pPrinter;
    QString m_strLastOpened;
    // Declared before the main window so that the window (and the panes in it) is destroyed
    // first, while the documents the panes refer to still exist.
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::unique_ptr<CMDIFrameWnd> m_pMainFrame;
};

// The application object, or null when none exists.
CWinApp *AfxGetApp();
