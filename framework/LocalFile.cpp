#include "LocalFile.h"

#include <QFile>
#include <QScopeGuard>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

LocalFileKind ProbeLocalFile(const QString &strPath)
{
    const QByteArray path = QFile::encodeName(strPath);
    struct stat info = {};
    if (::stat(path.constData(), &info) != 0 || S_ISDIR(info.st_mode))
        return LocalFileKind::Unreadable;
    if (!S_ISREG(info.st_mode))
        return LocalFileKind::NotRegular;
    // The path may have changed since: the open file is checked again, and O_NONBLOCK keeps
    // the open itself from waiting on a FIFO.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return LocalFileKind::Unreadable;
    const auto closer = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))
        return LocalFileKind::Unreadable;
    if (!S_ISREG(info.st_mode))
        return LocalFileKind::NotRegular;
    if (info.st_size > 0)
        return LocalFileKind::HasContent;
    char byte = 0;
    ssize_t count = 0;
    do {
        count = ::read(fd, &byte, 1);
    } while (count < 0 && errno == EINTR);
    if (count < 0)
        return LocalFileKind::Unreadable;
    return count == 0 ? LocalFileKind::Empty : LocalFileKind::HasContent;
}

QString NotRegularFileMessage(const QString &strPath)
{
    return QStringLiteral("Cannot open %1:\nIt is not a regular file.").arg(strPath);
}
