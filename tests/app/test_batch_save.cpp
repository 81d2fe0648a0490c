// Saving where the target is not an ordinary file, or under the system's limits: the program
// reports a failure and leaves things as they were, and never dies half-way.

#include "Document.h"
#include "MessageRecorder.h"
#include "TempDir.h"
#include "XmlWriter.h"

#include <gtest/gtest.h>

#include <QProcess>
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
