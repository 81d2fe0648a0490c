#include "UnattendedRun.h"

#include "FileDialog.h"
#include "MessageBox.h"

#include <QString>
#include <cstdio>

namespace
{
void PrintLine(const QString &strText)
{
    QString strLine = strText;
    while (strLine.endsWith(u'\n'))
        strLine.chop(1);
    std::fprintf(stderr, "%s\n", strLine.toUtf8().constData());
}
} // namespace

void PrepareUnattendedRun()
{
    SetMessageBoxHandler(PrintLine);
    SetYesNoCancelHandler([](const QString &strText) {
        PrintLine(strText + QStringLiteral(" (no)"));
        return MessageBoxResult::No;
    });
    SetFileDialogHandler(
        [](FileDialogMode, const QString &, const QString &) { return QString(); });
}
