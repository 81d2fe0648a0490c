#include "RecoveryStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace
{

constexpr const char *kDataSuffix = ".xml";
constexpr const char *kSideSuffix = ".json";
constexpr const char *kLockSuffix = ".lock";

// The run a file of the folder belongs to: "<run>.lock", "<run>-<n>.xml", "<run>-<n>.json", and
// the temporary files of a write ("<run>-<n>.xml.XXXXXX").
QString RunOfFile(const QString &strName)
{
    if (strName.endsWith(QLatin1String(kLockSuffix)))
        return strName.chopped(static_cast<qsizetype>(std::strlen(kLockSuffix)));
    const QString strKey = strName.section(u'.', 0, 0);
    const qsizetype nDash = strKey.lastIndexOf(u'-');
    return nDash > 0 ? strKey.left(nDash) : QString();
}

// True while the run that made `strLockPath` holds it: a lock taken with flock goes with the
// process, however it ended.
bool IsHeld(const QString &strLockPath)
{
    const int fd = ::open(QFile::encodeName(strLockPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool bHeld = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return bHeld;
}

QString WriteAtomically(const QString &strPath, const QByteArray &bytes)
{
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

} // namespace

CRecoveryStore::CRecoveryStore(QString strFolder) : m_strFolder(std::move(strFolder)) {}

CRecoveryStore::~CRecoveryStore()
{
    if (m_nLockFd >= 0)
        ::close(m_nLockFd);
}

QString CRecoveryStore::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/pellix/recovery");
}

bool CRecoveryStore::Open()
{
    if (IsOpen())
        return true;
    // The copies hold the user's documents: the folder is the user's alone.
    if (!QDir().mkpath(m_strFolder) ||
        !QFile::setPermissions(m_strFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return false;
    m_strRun = QStringLiteral("%1-%2")
                   .arg(::getpid())
                   .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QByteArray lockPath = QFile::encodeName(PathOf(m_strRun, kLockSuffix));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_nLockFd = fd;
    return true;
}

QString CRecoveryStore::NewKey()
{
    return m_strRun + u'-' + QString::number(m_nNextKey++);
}

QString CRecoveryStore::PathOf(const QString &strKey, const char *pszSuffix) const
{
    return m_strFolder + u'/' + strKey + QLatin1String(pszSuffix);
}

QStringList CRecoveryStore::FilesOf(const QString &strRun) const
{
    return QDir(m_strFolder).entryList({strRun + QStringLiteral("-*")}, QDir::Files | QDir::Hidden);
}

QString CRecoveryStore::Write(const QString &strKey, const QByteArray &bytes,
                              const QString &strSourcePath, const QString &strTitle)
{
    if (!IsOpen())
        return QStringLiteral("The recovery folder is not open.");
    if (QString strError = WriteAtomically(PathOf(strKey, kDataSuffix), bytes); !strError.isEmpty())
        return strError;
    QJsonObject side;
    side[QLatin1String("source")] = strSourcePath;
    side[QLatin1String("title")] = strTitle;
    side[QLatin1String("written")] = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    return WriteAtomically(PathOf(strKey, kSideSuffix), QJsonDocument(side).toJson());
}

void CRecoveryStore::Remove(const QString &strKey)
{
    // The side file goes first: a copy that is listed always has its data.
    QFile::remove(PathOf(strKey, kSideSuffix));
    QFile::remove(PathOf(strKey, kDataSuffix));
}

void CRecoveryStore::RemoveAll()
{
    if (!IsOpen())
        return;
    for (const QString &strName : FilesOf(m_strRun))
        QFile::remove(m_strFolder + u'/' + strName);
    QFile::remove(PathOf(m_strRun, kLockSuffix));
    ::close(m_nLockFd);
    m_nLockFd = -1;
}

std::vector<CRecoveryEntry> CRecoveryStore::FindOrphans()
{
    QStringList runs;
    for (const QString &strName : QDir(m_strFolder).entryList(QDir::Files | QDir::Hidden)) {
        const QString strRun = RunOfFile(strName);
        if (!strRun.isEmpty() && strRun != m_strRun && !runs.contains(strRun))
            runs << strRun;
    }
    std::vector<CRecoveryEntry> entries;
    for (const QString &strRun : std::as_const(runs)) {
        if (IsHeld(PathOf(strRun, kLockSuffix)))
            continue;
        for (const QString &strName : FilesOf(strRun)) {
            if (!strName.endsWith(QLatin1String(kSideSuffix)))
                continue;
            CRecoveryEntry entry;
            entry.strKey = strName.section(u'.', 0, 0);
            entry.strDataPath = PathOf(entry.strKey, kDataSuffix);
            QFile sideFile(PathOf(entry.strKey, kSideSuffix));
            // A side file whose data went names nothing.
            if (!QFile::exists(entry.strDataPath))
                sideFile.remove();
            if (!sideFile.exists() || !sideFile.open(QIODevice::ReadOnly))
                continue;
            const QJsonObject side = QJsonDocument::fromJson(sideFile.readAll()).object();
            entry.strSourcePath = side.value(QLatin1String("source")).toString();
            entry.strTitle = side.value(QLatin1String("title")).toString();
            entry.written = QDateTime::fromString(side.value(QLatin1String("written")).toString(),
                                                  Qt::ISODateWithMs);
            entries.push_back(std::move(entry));
        }
        ForgetRunIfEmpty(strRun);
    }
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const CRecoveryEntry &a, const CRecoveryEntry &b) { return a.written < b.written; });
    return entries;
}

void CRecoveryStore::ForgetRunIfEmpty(const QString &strRun) const
{
    const QStringList files = FilesOf(strRun);
    if (std::any_of(files.begin(), files.end(), [](const QString &strName) {
            return strName.endsWith(QLatin1String(kSideSuffix));
        }))
        return;
    for (const QString &strName : files)
        QFile::remove(m_strFolder + u'/' + strName);
    QFile::remove(PathOf(strRun, kLockSuffix));
}

void CRecoveryStore::Discard(const CRecoveryEntry &entry)
{
    Remove(entry.strKey);
    ForgetRunIfEmpty(RunOfFile(entry.strKey + QLatin1String(kSideSuffix)));
}

bool CRecoveryStore::Adopt(const CRecoveryEntry &entry, const QString &strKey)
{
    // At every moment one side file names data that exists: the data gets its second name
    // first, then the side file moves in one rename, then the old name goes.
    const QString strData = PathOf(strKey, kDataSuffix);
    if (::link(QFile::encodeName(entry.strDataPath).constData(),
               QFile::encodeName(strData).constData()) != 0 &&
        !QFile::copy(entry.strDataPath, strData))
        return false;
    if (!QFile::rename(PathOf(entry.strKey, kSideSuffix), PathOf(strKey, kSideSuffix))) {
        QFile::remove(strData);
        return false;
    }
    QFile::remove(entry.strDataPath);
    ForgetRunIfEmpty(RunOfFile(entry.strKey + QLatin1String(kSideSuffix)));
    return true;
}
