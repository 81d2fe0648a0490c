#pragma once

#include "FrameworkTestKit.h"
#include "MainFrame.h"
#include "MessageRecorder.h"
#include "PellixApp.h"
#include "TempDir.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class CChildFrame;
class CPellixDoc;

class QTextBrowser;

// The browsers of the help windows that show.
QList<QTextBrowser *> HelpBrowsers();

// Runs `fnHandle` on the next modal dialog once it shows, then closes the dialog if it is
// still open; fails the test when none shows within a few seconds.
void WhenModalShows(std::function<void(QWidget *pDialog)> fnHandle);

// Opens the editor of cell (nRow in fill order, column id nCol) of `pFrame`'s grid with clicks,
// as a user does, and types `strText` over its text. The editor stays open.
void TypeIntoCell(CChildFrame *pFrame, int nRow, int nCol, const QString &strText);

// A started Pellix application with its profile in a folder of the test. The splash picture
// is closed at once so that it swallows no input, and the tool bar's idle update is off:
// update states are computed when a test asks.
class PellixTest : public ::testing::Test
{
protected:
    PellixTest();
    ~PellixTest() override;

    // Makes and starts the application on the command line `arguments` (program first);
    // returns what InitInstance returned.
    bool StartApp(const QStringList &arguments = {QStringLiteral("pellix")});
    // Ends the application and starts a fresh one on the same profile.
    bool RestartApp();
    void StopApp();

    CPellixApp &App() { return *m_pApp; }
    CMainFrame &Main();
    bool IsEnabled(int nID);
    bool Execute(int nID);

    QString WriteFile(const std::string &name, const std::string &bytes) const;
    CPellixDoc *NewDoc();
    CPellixDoc *OpenDoc(const QString &strPath);
    // The documents of the template, in the order they were made.
    std::vector<CPellixDoc *> Documents() const;
    static CChildFrame *FrameOf(CPellixDoc *pDoc, size_t nIndex = 0);
    int VisibleChildCount();
    // Runs deferred deletions, as the event loop would.
    static void FlushDeletes();

    TempDir m_dir;
    // Prompts and file dialogs are scripted; the recorder, made after the script, takes the
    // messages.
    DialogScript m_script;
    MessageRecorder m_messages;

private:
    std::unique_ptr<CPellixApp> m_pApp;
};
