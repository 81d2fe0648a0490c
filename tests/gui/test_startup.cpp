// The desktop entry, the command line and the --screenshot run of the real program.

#include "GuiTestKit.h"

#include "CommandLineInfo.h"
#include "DesktopEntry.h"
#include "ProgramRun.h"
#include "ScopedEnv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>

namespace
{
QString ReadText(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

using DesktopEntry = PellixTest;

TEST_F(DesktopEntry, StartUpWritesTheEntryForXmlFilesAndRefreshesIt)
{
    const QString strDataHome = QString::fromStdString(m_dir.file("data"));
    ScopedEnv dataHome("XDG_DATA_HOME", strDataHome.toUtf8());
    ASSERT_TRUE(StartApp());
    const QString strEntry = strDataHome + "/applications/pellix.desktop";
    EXPECT_EQ(DesktopEntryPath(), strEntry);
    const QString strText = ReadText(strEntry);
    const QStringList lines = strText.split('\n');
    EXPECT_EQ(lines.value(0), "[Desktop Entry]");
    EXPECT_TRUE(lines.contains("Type=Application"));
    EXPECT_TRUE(lines.contains("Name=Pellix"));
    EXPECT_TRUE(lines.contains("MimeType=application/xml;text/xml;"));
    EXPECT_TRUE(lines.contains("Exec=" + QCoreApplication::applicationFilePath() + " %f"));
    // The icon it names is where the icon theme looks for it.
    EXPECT_TRUE(lines.contains("Icon=pellix"));
    EXPECT_EQ(DesktopIconPath(), strDataHome + "/icons/hicolor/scalable/apps/pellix.svg");
    EXPECT_TRUE(ReadText(DesktopIconPath()).contains("<svg"));
    // Only the entry: the user's default applications stay as they were.
    EXPECT_EQ(QDir(strDataHome + "/applications").entryList(QDir::Files),
              QStringList({"pellix.desktop"}));
    EXPECT_FALSE(QFile::exists(strDataHome + "/applications/mimeapps.list"));
    EXPECT_FALSE(QFile::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + "/mimeapps.list"));

    QFile stale(strEntry);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("[Desktop Entry]\nExec=/old/pellix %f\n");
    stale.close();
    ASSERT_TRUE(RestartApp());
    EXPECT_EQ(ReadText(strEntry), strText);
}

TEST(DesktopEntryText, AProgramPathWithReservedCharactersIsQuotedAndEscaped)
{
    const QStringList plain = DesktopEntryText("/opt/pellix/bin/pellix").split('\n');
    EXPECT_TRUE(plain.contains("Exec=/opt/pellix/bin/pellix %f"));
    // A desktop-file string first turns "\\" into "\"; the launcher's quoting then drops
    // one backslash before ", `, $ and \.
    const QStringList quoted = DesktopEntryText("/home/a b/$x\\y/100%/pellix").split('\n');
    EXPECT_TRUE(quoted.contains("Exec=\"/home/a b/\\\\$x\\\\\\\\y/100%%/pellix\" %f"))
        << quoted.join('\n').toStdString();
}

TEST(CommandLineInfo, FilesOptionsAndMistakes)
{
    CCommandLineInfo none;
    none.ParseCommandLine({"pellix"});
    EXPECT_EQ(none.m_nShellCommand, CCommandLineInfo::FileNothing);
    EXPECT_TRUE(none.m_strError.isEmpty());

    CCommandLineInfo files;
    files.ParseCommandLine({"pellix", "a.xml", "--screenshot", "out.png", "--", "--b.xml"});
    EXPECT_EQ(files.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(files.m_strFileNames, QStringList({"a.xml", "--b.xml"}));
    EXPECT_EQ(files.m_strScreenshotFile, "out.png");
    EXPECT_TRUE(files.m_strError.isEmpty());

    CCommandLineInfo unknown;
    unknown.ParseCommandLine({"pellix", "--print", "a.xml"});
    EXPECT_FALSE(unknown.m_strError.isEmpty());
    CCommandLineInfo missing;
    missing.ParseCommandLine({"pellix", "a.xml", "--screenshot"});
    EXPECT_FALSE(missing.m_strError.isEmpty());
}

class ScreenshotRun : public ::testing::Test
{
protected:
    // Runs the program offscreen with its own folders; returns the exit status.
    int Run(const QStringList &arguments)
    {
        const ProgramRun run = RunProgram(PELLIX_BINARY, arguments, m_dir);
        EXPECT_TRUE(run.finished);
        m_strErr = run.errors;
        return run.status;
    }

    TempDir m_dir;
    QString m_strErr;
};

TEST_F(ScreenshotRun, SavesThePictureOfTheWindowAndPrintsTheMessages)
{
    const QString strShot = QString::fromStdString(m_dir.file("window.png"));
    EXPECT_EQ(Run({"--screenshot", strShot, PELLIX_SAMPLES_DIR "/sample.xml"}), 0)
        << m_strErr.toStdString();
    EXPECT_TRUE(m_strErr.contains("XML document loaded successfully")) << m_strErr.toStdString();
    const QImage image(strShot);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 400);
    EXPECT_GE(image.height(), 300);
    EXPECT_TRUE(
        QFile::exists(QString::fromStdString(m_dir.file("data/applications/pellix.desktop"))));
}

TEST_F(ScreenshotRun, AFileThatCannotBeOpenedEndsTheProgramWithAFailure)
{
    const QString strShot = QString::fromStdString(m_dir.file("window.png"));
    EXPECT_NE(Run({"--screenshot", strShot, QString::fromStdString(m_dir.file("missing.xml"))}), 0);
    EXPECT_TRUE(m_strErr.contains("Failed to open document.")) << m_strErr.toStdString();
    EXPECT_FALSE(QFile::exists(strShot));
    EXPECT_EQ(Run({"--no-such-option"}), 64);
}
