#include "DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace
{
// Per the desktop entry rules a relative XDG_DATA_HOME is ignored.
QString DataHome()
{
    const QString strHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!strHome.isEmpty() && QDir::isAbsolutePath(strHome))
        return strHome;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

// The program as one argument of an Exec line: quoted when it holds anything the launcher
// would otherwise split or expand. The value is a desktop-file string, so every backslash
// the launcher should see is written twice.
QString ExecProgram(const QString &strProgram)
{
    QString strEscaped = strProgram;
    strEscaped.replace(u'%', QStringLiteral("%%"));
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool bQuote = std::any_of(strEscaped.begin(), strEscaped.end(),
                                    [](QChar ch) { return kReserved.contains(ch); });
    if (!bQuote)
        return strEscaped;
    QString strQuoted;
    for (const QChar ch : strEscaped) {
        if (ch == u'\\')
            strQuoted += QStringLiteral("\\\\\\\\");
        else if (ch == u'"' || ch == u'`' || ch == u'$')
            strQuoted += QStringLiteral("\\\\") + ch;
        else
            strQuoted += ch;
    }
    return u'"' + strQuoted + u'"';
}

// Writes `bytes` to `strPath` unless the file already holds exactly them.
bool WriteIfChanged(const QString &strPath, const QByteArray &bytes)
{
    QFile existing(strPath);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return true;
    existing.close();
    if (!QDir().mkpath(QFileInfo(strPath).absolutePath()))
        return false;
    QSaveFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
} // namespace

QString DesktopEntryPath()
{
    return DataHome() + QStringLiteral("/applications/pellix.desktop");
}

QString DesktopIconPath()
{
    return DataHome() + QStringLiteral("/icons/hicolor/scalable/apps/pellix.svg");
}

QString DesktopEntryText(const QString &strProgram)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Pellix\n"
                          "GenericName=XML Editor\n"
                          "Comment=Edit XML documents\n"
                          "Exec=%1 %f\n"
                          "Icon=pellix\n"
                          "Terminal=false\n"
                          "MimeType=application/xml;text/xml;\n"
                          "Categories=Development;TextEditor;\n")
        .arg(ExecProgram(strProgram));
}

bool RegisterDesktopEntry(const QString &strProgram)
{
    // The entry names the icon by its theme name; the icon goes where the theme looks.
    QFile icon(QStringLiteral(":/res/images/pellix.svg"));
    const bool bIcon =
        icon.open(QIODevice::ReadOnly) && WriteIfChanged(DesktopIconPath(), icon.readAll());
    return WriteIfChanged(DesktopEntryPath(), DesktopEntryText(strProgram).toUtf8()) && bIcon;
}
