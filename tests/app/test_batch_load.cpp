// Sources that must fail to load, through the real program: at once, with a message naming
// the source, and exit status 1 in the batch mode.

#include "LocalHttpServer.h"
#include "ProgramRun.h"
#include "TempDir.h"
#include "UnwrittenFifo.h"

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <chrono>
#include <filesystem>

namespace
{
ProgramRun RunPellix(const QStringList &arguments, const TempDir &home)
{
    return RunProgram(PELLIX_BINARY, arguments, home, 15000);
}
} // namespace

// A FIFO or a device is refused before anything could block on it; a regular file is read to
// its end whatever its size says, so a file under /proc is not an empty document.
TEST(BatchLoad, OnlyRegularFilesAreOpened)
{
    TempDir dir;
    const UnwrittenFifo fifo(dir.file("pipe.xml"));
    for (const std::string &path : {fifo.path(), std::string("/dev/null")}) {
        const ProgramRun run = RunPellix({"--check", QString::fromStdString(path)}, dir);
        EXPECT_EQ(run.status, 1) << path;
        EXPECT_LT(run.took, std::chrono::seconds(4)) << path;
        EXPECT_EQ(run.errors.toStdString(),
                  "Cannot open " + path + ":\nIt is not a regular file.\n");
    }

    const std::string out = dir.file("out.xml");
    const ProgramRun proc =
        RunPellix({"--convert", "/proc/version", QString::fromStdString(out)}, dir);
    EXPECT_EQ(proc.status, 1);
    EXPECT_TRUE(proc.errors.startsWith("Error on line 1, position ")) << proc.errors.toStdString();
    EXPECT_FALSE(std::filesystem::exists(out));

    // The window's File > Open path, from the command line.
    const ProgramRun window =
        RunPellix({"--screenshot", QString::fromStdString(dir.file("shot.png")),
                   QString::fromStdString(fifo.path())},
                  dir);
    EXPECT_NE(window.status, 0);
    EXPECT_LT(window.took, std::chrono::seconds(4));
    EXPECT_TRUE(window.errors.contains(
        QString::fromStdString("Cannot open " + fifo.path() + ":\nIt is not a regular file.\n")))
        << window.errors.toStdString();
}

// A URL that cannot be fetched names the URL and what went wrong.
TEST(BatchLoad, AnUnfetchableUrlSaysWhy)
{
    TempDir dir;
    const std::string refused =
        "http://127.0.0.1:" + std::to_string(LocalHttpServer::ClosedPort()) + "/none.xml";
    const ProgramRun unreachable = RunPellix({"--check", QString::fromStdString(refused)}, dir);
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_EQ(unreachable.errors.toStdString(),
              "Cannot open URL:\n" + refused + "\nCould not connect to server\n");

    const LocalHttpServer server("gone", "404 Not Found");
    const ProgramRun missing = RunPellix({"--check", QString::fromStdString(server.url())}, dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.errors.toStdString(),
              "Cannot open URL:\n" + server.url() + "\nHTTP 404 Not Found\n");
}

// Running out of memory while loading is a failed load with a message, not an abort. The
// document (6 million empty elements, 24 MB) needs far more memory than the limit leaves.
TEST(BatchLoad, RunningOutOfMemoryIsAFailedLoad)
{
    const QString prlimit = QStandardPaths::findExecutable("prlimit");
    if (prlimit.isEmpty())
        GTEST_SKIP() << "prlimit (util-linux) is not installed";
    TempDir dir;
    const QString limit = "--as=" + QString::number(160 << 20);
    const QString small = QString::fromStdString(dir.write("small.xml", "<r><a/></r>"));
    if (RunProgram(prlimit, {limit, PELLIX_BINARY, "--check", small}, dir).status != 0)
        GTEST_SKIP() << "the program does not start within " << limit.toStdString()
                     << " here (a sanitizer build reserves far more)";

    std::string text = "<r>";
    for (int i = 0; i < 6'000'000; ++i)
        text += "<a/>";
    text += "</r>";
    const std::string big = dir.write("big.xml", text);
    const ProgramRun run =
        RunProgram(prlimit, {limit, PELLIX_BINARY, "--check", QString::fromStdString(big)}, dir);
    EXPECT_EQ(run.status, 1) << run.errors.toStdString();
    EXPECT_EQ(run.errors.toStdString(),
              "Cannot open " + big + ":\nNot enough memory to load the document.\n");
}
