// The headless batch mode, in process and through the real program.

#include "BatchMode.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>

namespace
{

int run(const QStringList &arguments)
{
    return RunBatchMode(QStringList{"pellix"} + arguments);
}

} // namespace

// Every bundled sample converts, and converting the output again gives the same bytes.
TEST(BatchMode, ConvertTwiceIsIdempotentForEverySample)
{
    TempDir dir;
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(PELLIX_SAMPLES_DIR)) {
        if (entry.path().extension() != ".xml")
            continue;
        ++count;
        const std::string once = dir.file("once-" + entry.path().filename().string());
        const std::string twice = dir.file("twice-" + entry.path().filename().string());
        ASSERT_EQ(run({"--convert", QString::fromStdString(entry.path().string()),
                       QString::fromStdString(once)}),
                  0)
            << entry.path();
        ASSERT_EQ(run({"--convert", QString::fromStdString(once), QString::fromStdString(twice)}),
                  0)
            << entry.path();
        EXPECT_EQ(ReadBytes(once), ReadBytes(twice)) << entry.path();
        if (std::filesystem::file_size(entry.path()) > 0) {
            EXPECT_NE(ReadBytes(once).find("\r\n"), std::string::npos);
        }
    }
    EXPECT_GE(count, 5);
}

TEST(BatchMode, ExitStatusAndMessagesOfTheProgram)
{
    TempDir dir;
    const std::string bad = dir.write("bad.xml", "<a>\n<b></a>");
    const std::string out = dir.file("out.xml");

    QProcess program;
    program.start(PELLIX_BINARY,
                  {"--convert", PELLIX_SAMPLES_DIR "/sample.xml", QString::fromStdString(out)});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardError(), "XML document loaded successfully\n");
    EXPECT_TRUE(std::filesystem::exists(out));

    program.start(PELLIX_BINARY, {"--check", QString::fromStdString(bad)});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 1);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(errors.contains("Error on line 2, position ")) << errors.toStdString();

    program.start(PELLIX_BINARY, {"--convert", PELLIX_SAMPLES_DIR "/sample.xml",
                                  QString::fromStdString(bad + "/x.xml")});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardError().contains("Cannot save"));

    program.start(PELLIX_BINARY, {"--check"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 64);
}

TEST(BatchMode, DocumentTypeIsReportedAndEmptyFileConverts)
{
    TempDir dir;
    const std::string out = dir.write("out.xml", "previous");
    EXPECT_EQ(run({"--convert", PELLIX_SAMPLES_DIR "/empty.xml", QString::fromStdString(out)}), 0);
    EXPECT_EQ(ReadBytes(out), "");

    QProcess program;
    program.start(PELLIX_BINARY, {"--check", PELLIX_SAMPLES_DIR "/doctype.xml"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(
        program.readAllStandardError(),
        "XML document loaded successfully\nDTD Reference is not supported in this version!\n");
}
