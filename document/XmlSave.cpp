// Saving a document to a file: through a temporary file beside the target, renamed over it only
// when every byte was written.

#include "XmlWriter.h"

#include "MessageBox.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

constexpr std::size_t kTemporarySuffix = 6; // mkstemp's XXXXXX

bool isTemporarySuffix(std::string_view suffix)
{
    if (suffix.size() != kTemporarySuffix)
        return false;
    for (const char c : suffix) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// Removes the temporary files that saves of the same target left behind when they were killed
// (they can be as large as the document). Only our own regular files that match the name
// exactly, and only those no running save holds: a save locks its file while it writes.
void removeLeftovers(const QByteArray &folder, const std::string &prefix)
{
    DIR *const dir = ::opendir(folder.constData());
    if (dir == nullptr)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.substr(0, prefix.size()) != prefix ||
            !isTemporarySuffix(name.substr(std::min(prefix.size(), name.size()))))
            continue;
        const int fd =
            ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info = {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

// Writes into a temporary file beside `target` and renames it over the target. Returns an
// empty string on success, else the reason.
std::string writeReplacing(const dom::Node &document, const QByteArray &target,
                           const std::function<bool(std::uint64_t)> &progress)
{
    const QFileInfo info(QFile::decodeName(target));
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const std::string prefix =
        TemporaryFilePrefix(QFile::encodeName(info.fileName()).toStdString());
    removeLeftovers(folder, prefix);
    QByteArray temporary = folder + '/' + QByteArray::fromStdString(prefix) + "XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return std::strerror(errno);
    // Held until the file is closed: the lock tells other saves this file is not a leftover.
    ::flock(fd, LOCK_EX);
    struct stat existing = {};
    const mode_t mode =
        ::stat(target.constData(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode();
    std::FILE *file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        const std::string reason = std::strerror(errno);
        ::close(fd);
        ::unlink(temporary.constData());
        return reason;
    }
    XmlSink sink(file);
    sink.setProgress(progress);
    if (!document.isNull())
        WriteXMLNode(document, sink, 0);
    sink.flush();
    std::string reason = sink.cancelled() ? std::string(kSaveCancelled) : sink.error();
    if (reason.empty() &&
        (::fchmod(fd, mode) != 0 || std::fflush(file) != 0 || ::fdatasync(fd) != 0))
        reason = std::strerror(errno);
    if (std::fclose(file) != 0 && reason.empty())
        reason = std::strerror(errno);
    if (reason.empty() && ::rename(temporary.constData(), target.constData()) != 0)
        reason = std::strerror(errno);
    if (!reason.empty())
        ::unlink(temporary.constData());
    return reason;
}

// Only a regular file, or a name not taken yet, is replaced: a rename over a device, FIFO or
// socket would swap the system's node for a file.
std::string checkTarget(const QByteArray &target)
{
    struct stat info = {};
    if (::stat(target.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return "It is not a regular file.";
    return {};
}

} // namespace

std::string TemporaryFilePrefix(std::string_view fileName)
{
    // FNV-1a: short, and the same in every build, so a save finds what an older one left.
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : fileName) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    char text[32];
    std::snprintf(text, sizeof text, ".pellix-%016llx-", static_cast<unsigned long long>(hash));
    return text;
}

std::string SaveXMLFile(const dom::Node &document, const QString &path,
                        const std::function<bool(std::uint64_t)> &progress)
{
    // Saving through a symbolic link replaces the file it points to, not the link.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath();
    std::string reason;
    if (target.isEmpty()) {
        reason = "the link points nowhere";
    } else {
        const QByteArray name = QFile::encodeName(target);
        reason = checkTarget(name);
        if (reason.empty())
            reason = writeReplacing(document, name, progress);
    }
    if (reason.empty() || reason == kSaveCancelled)
        return reason;
    return "Cannot save " + path.toStdString() + ":\n" + reason;
}

HRESULT WriteXMLFile(const dom::Node &document, const QString &path)
{
    const std::string message = SaveXMLFile(document, path);
    if (message.empty())
        return S_OK;
    AfxMessageBox(QString::fromStdString(message));
    return E_FAIL;
}
