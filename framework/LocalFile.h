#pragma once

#include <QString>

// What a local path holds, found without blocking: a FIFO, device or socket is never opened,
// and at most one byte is read.
enum class LocalFileKind {
    Unreadable, // missing, not readable, or a folder
    NotRegular, // a FIFO, device or socket
    Empty,      // a regular file that holds no byte
    HasContent, // a regular file with something in it (files under /proc say size 0)
};
LocalFileKind ProbeLocalFile(const QString &strPath);

// "Cannot open <path>:\nIt is not a regular file."
QString NotRegularFileMessage(const QString &strPath);
