// --xpath and --validate through the real program: what it prints and how it exits.

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace
{

struct Output {
    int status = -1;
    QString out;
    QString errors;
};

Output RunPellix(const QStringList &arguments)
{
    QProcess program;
    program.start(PELLIX_BINARY, arguments);
    Output output;
    if (!program.waitForFinished(30000)) {
        program.kill();
        program.waitForFinished();
        return output;
    }
    output.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    output.out = QString::fromUtf8(program.readAllStandardOutput());
    output.errors = QString::fromUtf8(program.readAllStandardError());
    return output;
}

QString Path(const std::string &path)
{
    return QString::fromStdString(path);
}

} // namespace

TEST(BatchXPath, PrintsPathTabValuePerNodeAndExitsByOutcome)
{
    TempDir dir;
    const std::string long300(300, 'x');
    const QString source = Path(
        dir.write("c.xml", "<catalog>\n<record kind='zeta'><title>Zed\n\tline</title></record>\n"
                           "<record kind='alpha'><title>" +
                               long300 + "</title></record>\n<record kind='zeta'/></catalog>"));

    Output run = RunPellix({"--xpath", "//record[@kind='zeta']/@kind | //title", source});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    const QStringList lines = run.out.split('\n');
    ASSERT_EQ(lines.size(), 5) << run.out.toStdString();
    EXPECT_EQ(lines[0], "/catalog/record[1]/@kind\tzeta");
    // Line ends and tabs inside a value do not break the line.
    EXPECT_EQ(lines[1], "/catalog/record[1]/title\tZed  line");
    EXPECT_EQ(lines[2], "/catalog/record[2]/title\t" + QString(200, 'x'));
    EXPECT_EQ(lines[3], "/catalog/record[3]/@kind\tzeta");
    EXPECT_EQ(lines[4], "");
    EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();

    run = RunPellix({"--xpath", "count(//record)", source});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "3\n");

    run = RunPellix({"--xpath", "//record[@kind='beta']", source});
    EXPECT_EQ(run.status, 4);
    EXPECT_TRUE(run.out.isEmpty());

    run = RunPellix({"--xpath", "//record[", source});
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.errors.startsWith("Invalid expression")) << run.errors.toStdString();

    run = RunPellix({"--xpath", "//record", Path(dir.write("bad.xml", "<a>\n<b></a>"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.contains("Error on line 2")) << run.errors.toStdString();
    EXPECT_EQ(RunPellix({"--xpath", "//a", Path(dir.file("missing.xml"))}).status, 1);
    EXPECT_EQ(RunPellix({"--xpath", "//a"}).status, 64);
}

TEST(BatchValidate, PrintsLineColumnMessageAndExitsByOutcome)
{
    TempDir dir;
    const QString dtd = Path(dir.write("s.dtd", "<!ELEMENT r (a)>\n<!ELEMENT a EMPTY>\n"));
    const QString xsd = Path(dir.write("s.xsd", R"(<xs:schema
        xmlns:xs="http://www.w3.org/2001/XMLSchema"><xs:element name="r"><xs:complexType>
        <xs:sequence><xs:element name="a"/></xs:sequence></xs:complexType></xs:element>
        </xs:schema>)"));
    const QString valid = Path(dir.write("valid.xml", "<r><a/></r>"));
    const QString invalid = Path(dir.write("invalid.xml", "<r>\n  <a/>\n  <b/>\n</r>"));

    for (const QString &schema : {dtd, xsd}) {
        Output run = RunPellix({"--validate", schema, valid});
        EXPECT_EQ(run.status, 0) << run.out.toStdString() << run.errors.toStdString();
        EXPECT_TRUE(run.out.isEmpty());

        run = RunPellix({"--validate", schema, invalid});
        EXPECT_EQ(run.status, 3) << schema.toStdString();
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        for (const QString &line : lines)
            EXPECT_TRUE(QRegularExpression("^\\d+:\\d+: \\S").match(line).hasMatch())
                << line.toStdString();
    }
    // XML Schema names the unexpected element on its own line.
    EXPECT_TRUE(RunPellix({"--validate", xsd, invalid}).out.startsWith("3:0: Element 'b'"));

    Output run = RunPellix({"--validate", xsd, Path(dir.write("bad.xml", "<r>\n<a></r>"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.contains("line 2")) << run.errors.toStdString();
    EXPECT_EQ(RunPellix({"--validate", xsd, Path(dir.file("missing.xml"))}).status, 1);

    run = RunPellix({"--validate", Path(dir.file("missing.xsd")), valid});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.errors.contains("missing.xsd")) << run.errors.toStdString();
    EXPECT_EQ(RunPellix({"--validate", Path(dir.write("s.txt", "x")), valid}).status, 2);
    EXPECT_EQ(RunPellix({"--validate", xsd}).status, 64);
}
