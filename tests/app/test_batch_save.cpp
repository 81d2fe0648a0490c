// Saving where the target is not an ordinary file, or under the system's limits: the program
// reports a failure and leaves things as they were, and never dies half-way.

#include "Document.h"
#include "MessageRecorder.h"
#include "TempDir.h"
#include "XmlWriter.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <filesystem>
#include <set>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

struct Outcome {
    int status = -1;
    QString errors;
};

Outcome runProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

std::set<std::string> namesIn(const fs::path &folder)
{
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

dom::Document sampleDocument()
{
    dom::Document doc = dom::Document::create();
    doc.loadXML("<r><a>text</a></r>");
    return doc;
}

QString q(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

// A FIFO, a socket or a device is never replaced by a regular file, directly or through a link.
TEST(BatchSave, NeverReplacesAFifoSocketOrDevice)
{
    TempDir dir;
    const std::string fifo = dir.file("fifo.xml");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string socketPath = dir.file("socket.xml");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const std::string link = dir.file("link.xml");
    fs::create_symlink(fifo, link);
    std::vector<std::pair<std::string, mode_t>> targets = {
        {fifo, S_IFIFO}, {socketPath, S_IFSOCK}, {link, S_IFIFO}};
    // Only root may make a device node; a copy of the null device stands for /dev/null.
    const std::string device = dir.file("null.xml");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        targets.emplace_back(device, S_IFCHR);

    MessageRecorder recorder;
    const std::set<std::string> before = namesIn(dir.path());
    for (const auto &[target, type] : targets) {
        EXPECT_EQ(SaveXMLFile(sampleDocument(), q(target)),
                  "Cannot save " + target + ":\nIt is not a regular file.");
        struct stat info = {};
        ASSERT_EQ(::stat(target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & S_IFMT, type) << target;
    }
    EXPECT_TRUE(recorder.messages().isEmpty());

    const Outcome convert =
        runProgram(PELLIX_BINARY, {"--convert", PELLIX_SAMPLES_DIR "/sample.xml", q(fifo)});
    EXPECT_EQ(convert.status, 2);
    EXPECT_TRUE(
        convert.errors.endsWith(q("Cannot save " + fifo + ":\nIt is not a regular file.\n")))
        << convert.errors.toStdString();
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(namesIn(dir.path()), before);
    ::close(listener);
}

// A file-size limit makes the write fail with a message; the process is not killed, and the old
// file and the folder stay as they were.
TEST(BatchSave, FileSizeLimitIsAReportedFailure)
{
    const QString prlimit = QStandardPaths::findExecutable("prlimit");
    if (prlimit.isEmpty())
        GTEST_SKIP() << "prlimit (util-linux) is not installed";
    TempDir dir;
    std::string big = "<r>";
    for (int i = 0; i < 2000; ++i)
        big += "<item n=\"" + std::to_string(i) + "\">some text</item>";
    big += "</r>";
    const std::string source = dir.write("in.xml", big);
    const std::string out = dir.write("out.xml", "old");
    const Outcome limited =
        runProgram(prlimit, {"--fsize=4096", PELLIX_BINARY, "--convert", q(source), q(out)});
    EXPECT_EQ(limited.status, 2) << limited.errors.toStdString();
    EXPECT_TRUE(limited.errors.endsWith(q("Cannot save " + out + ":\nFile too large\n")))
        << limited.errors.toStdString();
    EXPECT_EQ(ReadBytes(out), "old");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"in.xml", "out.xml"}));
}

// Names up to the longest a folder allows save in place: the temporary name stays short.
TEST(BatchSave, LongestNamesSave)
{
    TempDir dir;
    for (const std::size_t length : {250, 255}) {
        const std::string path = dir.file(std::string(length - 4, 'n') + ".xml");
        EXPECT_EQ(SaveXMLFile(sampleDocument(), q(path)), "") << length;
        EXPECT_EQ(ReadBytes(path), "<r>\t<a>text</a>\r\n</r>\r\n\r\n");
    }
    EXPECT_EQ(namesIn(dir.path()).size(), 2u);
}

// What a killed save left of the same target goes at the next save; everything else stays: other
// targets' leftovers, names that only look alike, other users' files, a save still running.
TEST(BatchSave, LeftoversOfAKilledSaveAreRemoved)
{
    TempDir dir;
    const std::string target = dir.write("doc.xml", "old");
    const std::string prefix = TemporaryFilePrefix("doc.xml");
    EXPECT_LE(TemporaryFilePrefix(std::string(255, 'n')).size() + 6, 40u);
    const std::string leftover = dir.write(prefix + "a1B2c3", std::string(1 << 16, 'x'));
    const std::set<std::string> kept = {
        "doc.xml",         TemporaryFilePrefix("other.xml") + "a1B2c3",
        prefix + "a1B2c",  prefix + "a1B2c3d",
        prefix + "a1B-c3", ".doc.xml.a1B2c3",
        ".unrelated",
    };
    for (const std::string &name : kept) {
        if (name != "doc.xml")
            dir.write(name, "keep");
    }
    // A save of the same file still writing holds a lock on its temporary file.
    const std::string running = dir.write(prefix + "RUNNIN", "");
    const int lockFd = ::open(running.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(lockFd, LOCK_EX), 0);
    // Another user's file is not ours to remove (only root can make one here).
    const std::string foreign = dir.write(prefix + "nobody", "");
    const bool haveForeign = ::chown(foreign.c_str(), 65534, 65534) == 0;

    ASSERT_EQ(SaveXMLFile(sampleDocument(), q(target)), "");
    std::set<std::string> expected = kept;
    expected.insert(prefix + "RUNNIN");
    if (haveForeign)
        expected.insert(prefix + "nobody");
    EXPECT_EQ(namesIn(dir.path()), expected);
    EXPECT_FALSE(fs::exists(leftover));
    ::close(lockFd);
}
