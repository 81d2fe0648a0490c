#pragma once

#include "TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <chrono>

// How a run of a program went.
struct ProgramRun {
    bool finished = false; // false: killed after the time allowed
    int status = -1;       // the exit status; -1 after a crash or a kill
    QString errors;        // what it wrote to stderr
    std::chrono::milliseconds took{0};
};

// Runs `program` offscreen, with data and settings folders of its own under `home`.
inline ProgramRun RunProgram(const QString &program, const QStringList &arguments,
                             const TempDir &home, int allowedMilliseconds = 30000)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_HOME", QString::fromStdString(home.file("data")));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.file("config")));
    process.setProcessEnvironment(env);
    const auto start = std::chrono::steady_clock::now();
    process.start(program, arguments);
    ProgramRun run;
    run.finished = process.waitForFinished(allowedMilliseconds);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    }
    run.took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}
