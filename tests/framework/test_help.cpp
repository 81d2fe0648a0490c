#include "HelpLauncher.h"
#include "MessageBox.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWidget>
#include <gtest/gtest.h>

namespace
{
QList<QTextBrowser *> HelpBrowsers()
{
    QList<QTextBrowser *> browsers;
    for (QWidget *pWidget : QApplication::topLevelWidgets()) {
        for (QTextBrowser *pBrowser : pWidget->findChildren<QTextBrowser *>()) {
            if (!browsers.contains(pBrowser))
                browsers << pBrowser;
        }
    }
    return browsers;
}

void WriteText(const QString &strPath, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(strPath).absolutePath());
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

TEST(Help, MissingFileShowsNothingAndSaysNothing)
{
    QStringList messages;
    MessageBoxHandler previous =
        SetMessageBoxHandler([&](const QString &text) { messages << text; });
    QWidget owner;
    EXPECT_FALSE(ShowHelp(&owner, "/nonexistent/pellix.html", HH_DISPLAY_TOPIC, 0));
    EXPECT_FALSE(ShowHelp(&owner, QString(), HH_HELP_CONTEXT, 5));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(HelpBrowsers().isEmpty());
    SetMessageBoxHandler(std::move(previous));
}

TEST(Help, ShowsThePageInOneReusedWindow)
{
    QTemporaryDir dir;
    const QString strPage = dir.filePath("pellix.html");
    WriteText(strPage,
              "<html><body><h1>Pellix help</h1><a name=\"context-42\">Topic</a></body></html>");
    QWidget owner;
    EXPECT_TRUE(ShowHelp(&owner, strPage, HH_DISPLAY_TOPIC, 0));
    ASSERT_EQ(HelpBrowsers().size(), 1);
    QTextBrowser *pBrowser = HelpBrowsers().front();
    EXPECT_TRUE(pBrowser->window()->isVisible());
    EXPECT_TRUE(pBrowser->toPlainText().contains("Pellix help"));
    EXPECT_TRUE(pBrowser->window()->isWindow());

    EXPECT_TRUE(ShowHelp(&owner, strPage, HH_HELP_CONTEXT, 42));
    ASSERT_EQ(HelpBrowsers().size(), 1);
    EXPECT_EQ(HelpBrowsers().front(), pBrowser);
    EXPECT_EQ(pBrowser->source().fragment(), "context-42");
}

TEST(Help, FileIsLookedForBesideTheProgramThenInItsDataFolder)
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString strName =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".html";
    const QString strBeside = programDir.filePath(strName);
    const QString strShared =
        QDir::cleanPath(programDir.filePath("../share/pellix/help/" + strName));
    ASSERT_FALSE(QFile::exists(strBeside));
    ASSERT_FALSE(QFile::exists(strShared));
    EXPECT_EQ(HelpFilePath(), strBeside);

    WriteText(strShared, "<p>shared</p>");
    EXPECT_EQ(HelpFilePath(), strShared);
    WriteText(strBeside, "<p>beside</p>");
    EXPECT_EQ(HelpFilePath(), strBeside);
    QFile::remove(strBeside);
    QDir(QFileInfo(strShared).absolutePath() + "/../..").removeRecursively();
}

TEST(WaitCursor, NestsAndRestoresTheCursor)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        CWaitCursor outer;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            CWaitCursor inner;
        }
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
