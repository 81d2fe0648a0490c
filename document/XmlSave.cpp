// Saving a document to a file: through a temporary file beside the target, renamed over it only
// when every byte was written.

#include "XmlWriter.h"

#include "MessageBox.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
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

// Writes into a temporary file beside `target` and renames it over the target. Returns an
// empty string on success, else the reason.
std::string writeReplacing(const dom::Node &document, const QByteArray &target)
{
    const QFileInfo info(QFile::decodeName(target));
    QByteArray temporary =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return std::strerror(errno);
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
    if (!document.isNull())
        WriteXMLNode(document, sink, 0);
    sink.flush();
    std::string reason = sink.error();
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

std::string SaveXMLFile(const dom::Node &document, const QString &path)
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
            reason = writeReplacing(document, name);
    }
    if (reason.empty())
        return {};
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
