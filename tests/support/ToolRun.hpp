// Runs a command-line tool to completion for a test and hands back its exit status and output.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace support {

struct ToolOutcome {
    int exitCode = -1;
    QString output; // standard output and error, interleaved
};

inline ToolOutcome
runTool(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
        int timeoutMs = 300000) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return {-1, program + QStringLiteral(" did not finish: ") + process.errorString()};
    }
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

} // namespace support
