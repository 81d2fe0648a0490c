#pragma once

// The recovery copies of modified documents: each one the writer's bytes of a document, with a
// small side file naming the document's source path and title, in a per-user folder. A running
// Pellix holds a lock for its own copies; the copies of a run that was killed or crashed are
// those whose lock no one holds, and the next run offers them.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <atomic>
#include <vector>

// One recovery copy.
struct CRecoveryEntry {
    QString strKey;        // names the copy's files in the folder
    QString strSourcePath; // the document's file; "" for a document that had none
    QString strTitle;      // the document's title when the copy was written
    QDateTime written;     // when the copy was written (UTC)
    QString strDataPath;   // the copy itself
};

class CRecoveryStore
{
public:
    // Copies go into `strFolder`, made (for the user alone) by Open.
    explicit CRecoveryStore(QString strFolder = DefaultFolder());
    // Releases the lock: copies still in the folder are offered to the next run.
    ~CRecoveryStore();
    CRecoveryStore(const CRecoveryStore &) = delete;
    CRecoveryStore &operator=(const CRecoveryStore &) = delete;

    // "pellix/recovery" in the user's data folder ($XDG_DATA_HOME, else ~/.local/share).
    static QString DefaultFolder();
    const QString &GetFolder() const { return m_strFolder; }

    // Makes the folder and takes this run's lock. False when either fails; nothing is
    // written then.
    bool Open();
    bool IsOpen() const { return m_nLockFd >= 0; }

    // A key for a new copy of this run; unique in the folder.
    QString NewKey();

    // Writes (or replaces) copy `strKey`: the data first, then the side file, each through a
    // temporary file renamed into place, so a copy that is listed is complete. Returns "" or
    // the reason it failed. May run on any one thread at a time.
    QString Write(const QString &strKey, const QByteArray &bytes, const QString &strSourcePath,
                  const QString &strTitle);
    // Removes copy `strKey` (nothing when there is none).
    void Remove(const QString &strKey);
    // Removes this run's copies and its lock: the run ends cleanly.
    void RemoveAll();

    // The copies of runs that ended without removing them, oldest first. A run still going
    // holds its lock, so its copies are not among them. What an ended run left that is no
    // complete copy (a write it was killed in, a lock with no copy) is removed.
    std::vector<CRecoveryEntry> FindOrphans();
    // Deletes an orphan, and the lock file of its run once the run has no copies left.
    void Discard(const CRecoveryEntry &entry);
    // Makes an orphan copy `strKey` of this run (the document opened from it now owns it).
    // False when its files could not be moved.
    bool Adopt(const CRecoveryEntry &entry, const QString &strKey);

private:
    QString PathOf(const QString &strKey, const char *pszSuffix) const;
    // The names of the files of run `strRun` in the folder, its lock not included.
    QStringList FilesOf(const QString &strRun) const;
    // Removes what is left of `strRun`, a run that ended, once none of its copies is left.
    void ForgetRunIfEmpty(const QString &strRun) const;

    const QString m_strFolder;
    QString m_strRun;
    int m_nLockFd = -1;
    std::atomic<int> m_nNextKey{1};
};
