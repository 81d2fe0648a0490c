#pragma once

#include <QStringList>

// Headless conversion: "--convert IN OUT" loads IN (path or URL) and writes OUT in the editor's
// layout; "--check IN" only loads. "--xpath" and "--validate" are described in BatchQueries.h
// and have exit statuses of their own. Messages a window would show go to stderr, one per line.
// Returns the process exit status: 0 on success, 1 when loading failed, 2 when writing
// failed, 64 for a bad command line.
int RunBatchMode(const QStringList &arguments);

// True when the arguments ask for the batch mode rather than a window.
bool IsBatchCommand(const QStringList &arguments);
