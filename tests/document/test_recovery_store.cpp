// The recovery store: copies with their side files, the lock that tells a running Pellix's
// copies from those of a run that was killed, adopting and discarding orphans, and what a
// killed write leaves behind.

#include "RecoveryStore.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace
{

class RecoveryStoreTest : public ::testing::Test
{
protected:
    QString Folder() const { return QString::fromStdString(m_dir.file("recovery")); }
    QStringList Files() const { return QDir(Folder()).entryList(QDir::Files, QDir::Name); }
    // A run that wrote one copy and was then killed: its lock is free, its copy stays.
    CRecoveryEntry KilledRunWith(const QByteArray &bytes, const QString &strSource,
                                 const QString &strTitle)
    {
        CRecoveryStore run(Folder());
        EXPECT_TRUE(run.Open());
        const QString strKey = run.NewKey();
        EXPECT_EQ(run.Write(strKey, bytes, strSource, strTitle), QString());
        CRecoveryEntry entry;
        entry.strKey = strKey;
        return entry;
    }

    TempDir m_dir;
};

std::string Bytes(const QString &strPath)
{
    return ReadBytes(strPath.toStdString());
}

} // namespace

TEST_F(RecoveryStoreTest, ACopyIsOfferedOnlyOnceTheRunThatWroteItHasEnded)
{
    auto pRunning = std::make_unique<CRecoveryStore>(Folder());
    ASSERT_TRUE(pRunning->Open());
    // The copies hold the user's documents.
    EXPECT_EQ(QFileInfo(Folder()).permissions().toInt() & 0x0077, 0);
    const QString strKey = pRunning->NewKey();
    EXPECT_NE(pRunning->NewKey(), strKey);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    ASSERT_EQ(pRunning->Write(strKey, "<a>\xC3\xA9</a>\r\n", "/home/u/a b.xml", "a b.xml"),
              QString());

    CRecoveryStore next(Folder());
    ASSERT_TRUE(next.Open());
    EXPECT_TRUE(next.FindOrphans().empty());
    // Killed: the kernel drops the lock with the process; the copy stays.
    pRunning.reset();
    const std::vector<CRecoveryEntry> orphans = next.FindOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].strKey, strKey);
    EXPECT_EQ(orphans[0].strSourcePath, "/home/u/a b.xml");
    EXPECT_EQ(orphans[0].strTitle, "a b.xml");
    EXPECT_GE(orphans[0].written, before);
    EXPECT_LE(orphans[0].written, QDateTime::currentDateTimeUtc());
    EXPECT_EQ(Bytes(orphans[0].strDataPath), "<a>\xC3\xA9</a>\r\n");
    // A store never offers its own copies.
    const QString strMine = next.NewKey();
    ASSERT_EQ(next.Write(strMine, "<b/>", QString(), "Pellix2"), QString());
    EXPECT_EQ(next.FindOrphans().size(), 1u);
}

TEST_F(RecoveryStoreTest, WritesReplaceTheCopyRemoveDeletesItAndACleanEndLeavesNothing)
{
    CRecoveryStore store(Folder());
    EXPECT_FALSE(store.Write("x", "<a/>", {}, "a").isEmpty()) << "written before Open";
    ASSERT_TRUE(store.Open());
    const QString strA = store.NewKey();
    const QString strB = store.NewKey();
    ASSERT_EQ(store.Write(strA, "<a>1</a>", "/a.xml", "a.xml"), QString());
    ASSERT_EQ(store.Write(strA, "<a>2</a>", "/a.xml", "a.xml"), QString());
    ASSERT_EQ(store.Write(strB, "<b/>", QString(), "Pellix1"), QString());
    EXPECT_EQ(Bytes(Folder() + "/" + strA + ".xml"), "<a>2</a>");
    EXPECT_EQ(Files().size(), 5); // two copies, two side files, the lock

    store.Remove(strA);
    EXPECT_FALSE(Files().join(' ').contains(strA + '.'));
    EXPECT_TRUE(Files().contains(strB + ".json"));
    store.Remove(strA); // nothing left to remove
    store.RemoveAll();
    EXPECT_TRUE(Files().isEmpty()) << Files().join(' ').toStdString();
    EXPECT_FALSE(store.IsOpen());
}

TEST_F(RecoveryStoreTest, OrphansComeOldestFirstAndDiscardLeavesNothingOfTheirRun)
{
    KilledRunWith("<old/>", "/old.xml", "old.xml");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    KilledRunWith("<new/>", "/new.xml", "new.xml");
    CRecoveryStore store(Folder());
    ASSERT_TRUE(store.Open());
    const std::vector<CRecoveryEntry> orphans = store.FindOrphans();
    ASSERT_EQ(orphans.size(), 2u);
    EXPECT_EQ(orphans[0].strTitle, "old.xml");
    EXPECT_EQ(orphans[1].strTitle, "new.xml");

    store.Discard(orphans[0]);
    const QString strOldRun = orphans[0].strKey.section('-', 0, 1);
    for (const QString &strName : Files())
        EXPECT_FALSE(strName.startsWith(strOldRun)) << strName.toStdString();
    ASSERT_EQ(store.FindOrphans().size(), 1u);
    EXPECT_EQ(store.FindOrphans()[0].strTitle, "new.xml");
}

TEST_F(RecoveryStoreTest, AnAdoptedCopyIsTheNewRunsAndOfferedAgainOnlyWhenThatRunIsKilled)
{
    KilledRunWith("<a>kept</a>", "/a.xml", "a.xml");
    auto pAdopter = std::make_unique<CRecoveryStore>(Folder());
    ASSERT_TRUE(pAdopter->Open());
    const std::vector<CRecoveryEntry> orphans = pAdopter->FindOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    const QString strKey = pAdopter->NewKey();
    ASSERT_TRUE(pAdopter->Adopt(orphans[0], strKey));
    EXPECT_FALSE(QFile::exists(orphans[0].strDataPath));

    CRecoveryStore third(Folder());
    ASSERT_TRUE(third.Open());
    EXPECT_TRUE(third.FindOrphans().empty());
    pAdopter.reset();
    const std::vector<CRecoveryEntry> again = third.FindOrphans();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].strKey, strKey);
    EXPECT_EQ(again[0].strSourcePath, "/a.xml");
    EXPECT_EQ(Bytes(again[0].strDataPath), "<a>kept</a>");
    // Of the first run nothing is left, its lock included.
    const QString strFirstRun = orphans[0].strKey.section('-', 0, 1);
    for (const QString &strName : Files())
        EXPECT_FALSE(strName.startsWith(strFirstRun + '.')) << strName.toStdString();
}

TEST_F(RecoveryStoreTest, WhatAKilledWriteLeftIsNoCopyAndIsCleanedUp)
{
    const CRecoveryEntry killed = KilledRunWith("<a/>", "/a.xml", "a.xml");
    // Killed before its side file was written: data alone, and a temporary file.
    QFile::remove(Folder() + "/" + killed.strKey + ".json");
    QFile stray(Folder() + "/" + killed.strKey + ".xml.Ab12Cd");
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.close();
    // Another run's side file whose data went missing.
    const CRecoveryEntry lost = KilledRunWith("<b/>", "/b.xml", "b.xml");
    QFile::remove(Folder() + "/" + lost.strKey + ".xml");

    CRecoveryStore store(Folder());
    ASSERT_TRUE(store.Open());
    EXPECT_TRUE(store.FindOrphans().empty());
    // Only the lock of the running store is left.
    EXPECT_EQ(Files().size(), 1) << Files().join(' ').toStdString();
    EXPECT_TRUE(Files().value(0).endsWith(".lock"));
}

TEST_F(RecoveryStoreTest, AFolderThatCannotBeMadeOpensNothing)
{
    const std::string blocker = m_dir.write("file", "not a folder");
    CRecoveryStore store(QString::fromStdString(blocker) + "/recovery");
    EXPECT_FALSE(store.Open());
    EXPECT_FALSE(store.IsOpen());
    EXPECT_FALSE(store.Write(store.NewKey(), "<a/>", {}, "a").isEmpty());
    EXPECT_TRUE(store.FindOrphans().empty());
}
