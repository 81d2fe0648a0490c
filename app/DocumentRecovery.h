#pragma once

#include "RecoveryStore.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <map>
#include <memory>

class CPellixDoc;
class QWidget;

// Keeps a recovery copy of every modified document, so that a killed or crashed run loses
// nothing the user had not saved, and offers at the next start what such a run left.
//
// A copy is the writer's bytes of a snapshot of the DOM. The UI thread only takes the snapshot
// (the DOM shares its pages of nodes with it and copies a page before changing it); one worker
// thread writes the snapshot's bytes to disk, in order with the removals. The DOM itself is not
// safe to read from another thread while the UI thread edits it, so the worker never sees it.
class CDocumentRecovery : public QObject
{
    Q_OBJECT

public:
    // The standard interval: at most one copy a minute of each document.
    static constexpr int kDefaultIntervalMs = 60 * 1000;

    // Copies go to `strFolder`, each modified document's every `nIntervalMs` at most.
    CDocumentRecovery(QString strFolder, int nIntervalMs, QObject *pParent = nullptr);
    // Waits for the worker; the copies stay (Shutdown removes them).
    ~CDocumentRecovery() override;

    // Opens the folder and starts the timer; false (and no copies) when the folder cannot
    // be used.
    bool Start();
    // Clean exit: waits for the worker, then removes every copy of this run.
    void Shutdown();

    // What the timer runs: a copy of each document changed since its last copy and still
    // modified.
    void WriteCopies();
    // Returns once the worker has done what was asked of it so far.
    void WaitForWriter();

    // The copies a killed or crashed run left, offered in the recovery dialog over `pParent`:
    // the checked ones opened as new documents or discarded, or all kept for later.
    void OfferRecovery(QWidget *pParent);
    // Opens `entry` in a new untitled document titled "Recovered <name>", modified, with no
    // file: the copy becomes that document's own. Null when the copy could not be read (it
    // stays in the folder).
    CPellixDoc *OpenCopy(const CRecoveryEntry &entry);

    CRecoveryStore &GetStore() { return m_store; }

private:
    struct Tracked {
        QString strKey;
        bool bChanged = true; // since its last copy
        bool bHasCopy = false;
    };
    Tracked &Track(CPellixDoc *pDoc);
    void RemoveCopy(Tracked &tracked);

    // Declared first, destroyed last: the worker's jobs use it.
    CRecoveryStore m_store;
    QTimer m_timer;
    std::map<CPellixDoc *, Tracked> m_tracked;
    // One thread: writes and removals happen in the order they were asked for.
    QThreadPool m_worker;
};
