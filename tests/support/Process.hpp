// The one way the tests run a helper program to completion, end one they started (by the QProcess
// they hold, never by a name) and wait for what a program does.
#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace support {

struct ToolOutcome {
    int exitCode = -1;
    QString output;
};

// Ends the program when the test ends, even when the test dies before it can end it itself (a
// crash, or QTest's watchdog): nothing the test started may outlive it, and a server left behind
// would keep CTest waiting on the output it holds.
inline void endWithTheTest(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

// What it wrote to standard output and error, or only to standard output where its errors are no
// answer (SeparateChannels).
inline ToolOutcome
runTool(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
        int timeoutMs = 300000, QProcess::ProcessChannelMode channels = QProcess::MergedChannels) {
    QProcess process;
    endWithTheTest(process);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(channels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return {-1, program + QStringLiteral(" did not finish: ") + process.errorString()};
    }
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

// Asks the process to end, and ends it if it does not within a few seconds.
inline void stop(QProcess* process) {
    if (process == nullptr || process->state() == QProcess::NotRunning) {
        return;
    }
    process->terminate();
    if (!process->waitForFinished(3000)) {
        process->kill();
        process->waitForFinished(3000);
    }
}

// Asks again every few milliseconds until the check holds or the time runs out.
template <typename Check> bool pollUntil(int timeoutMs, Check check) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!check()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

} // namespace support
