#include "FrameworkTestKit.h"

#include "RecentFileList.h"

#include <QDir>
#include <QSettings>

using RecentFiles = FrameworkTest;

TEST(RecentFileList, KeepsFourMostRecentFirstAndEachFileOnce)
{
    CRecentFileList list(4);
    for (const char *name : {"/d/1.xml", "/d/2.xml", "/d/3.xml", "/d/4.xml", "/d/5.xml"})
        list.Add(name);
    EXPECT_EQ(list.GetEntries(), QStringList({"/d/5.xml", "/d/4.xml", "/d/3.xml", "/d/2.xml"}));
    list.Add("/d/x/../3.xml");
    EXPECT_EQ(list.GetEntries(), QStringList({"/d/3.xml", "/d/5.xml", "/d/4.xml", "/d/2.xml"}));
    list.Remove(1);
    EXPECT_EQ(list.GetEntries(), QStringList({"/d/3.xml", "/d/4.xml", "/d/2.xml"}));
    EXPECT_EQ(list.GetMenuText(0), "&1 /d/3.xml");
    EXPECT_EQ(list.GetEntry(7), "");
}

TEST(RecentFileList, RelativePathsAreStoredAbsolute)
{
    CRecentFileList list(4);
    list.Add("rel.xml");
    list.Add(QDir::current().filePath("rel.xml"));
    EXPECT_EQ(list.GetEntries(), QStringList({QDir::current().filePath("rel.xml")}));
}

TEST_F(RecentFiles, ListIsStoredUnderItsSectionAndReadByTheNextRun)
{
    for (const char *name : {"a.xml", "b.xml", "c.xml", "d.xml", "e.xml"})
        OpenDoc(WriteFile(name, "<x/>"));
    const QStringList expected = {m_dir.filePath("e.xml"), m_dir.filePath("d.xml"),
                                  m_dir.filePath("c.xml"), m_dir.filePath("b.xml")};
    EXPECT_EQ(App().GetRecentFileList().GetEntries(), expected);

    const QString strIni = m_dir.filePath("Local AppWizard-Generated Applications/Pellix.ini");
    QSettings ini(strIni, QSettings::IniFormat);
    EXPECT_EQ(ini.value("Recent File List/File1").toString(), expected[0]);
    EXPECT_EQ(ini.value("Recent File List/File4").toString(), expected[3]);
    EXPECT_FALSE(ini.contains("Recent File List/File5"));

    RestartApp();
    EXPECT_EQ(App().GetRecentFileList().GetEntries(), expected);
    OpenDoc(m_dir.filePath("c.xml"));
    RestartApp();
    EXPECT_EQ(App().GetRecentFileList().GetEntry(0), m_dir.filePath("c.xml"));
    EXPECT_EQ(App().GetRecentFileList().GetCount(), 4);
}

TEST_F(RecentFiles, ProfileStringsAndNumbersRoundTrip)
{
    App().WriteProfileString("GridLists", "TheMainList", "0,1,2");
    App().WriteProfileInt("GridLists", "Width", 120);
    EXPECT_EQ(App().GetProfileInt("GridLists", "Missing", -7), -7);
    RestartApp();
    EXPECT_EQ(App().GetProfileString("GridLists", "TheMainList"), "0,1,2");
    EXPECT_EQ(App().GetProfileInt("GridLists", "Width", 0), 120);
}
