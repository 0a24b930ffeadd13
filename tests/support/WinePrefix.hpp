// A fresh 32-bit Wine prefix on the private X session, for the Windows build's programs: booted
// on request, and ended with its wineserver when it goes out of scope.
#pragma once

#include "Process.hpp"
#include "XSession.hpp"

#include <QTemporaryDir>

namespace support {

class WinePrefix {
public:
    explicit WinePrefix(const XSession& session)
        : m_session(session) {}
    Q_DISABLE_COPY_MOVE(WinePrefix)
    ~WinePrefix() {
        runTool(QStringLiteral("wineserver"), {QStringLiteral("--kill")}, environment(), 10000);
    }

    // Empty once the prefix stands; otherwise what went wrong. A fresh prefix takes minutes.
    [[nodiscard]] QString boot() const {
        if (!m_folder.isValid()) {
            return QStringLiteral("no folder for the Wine prefix");
        }
        const ToolOutcome booted =
            run({QStringLiteral("wineboot"), QStringLiteral("--init")}, 300000);
        return booted.exitCode == 0 ? QString() : QStringLiteral("wineboot: ") + booted.output;
    }

    [[nodiscard]] QProcessEnvironment environment() const {
        QProcessEnvironment environment = m_session.environment();
        environment.insert(QStringLiteral("WINEARCH"), QStringLiteral("win32"));
        environment.insert(QStringLiteral("WINEPREFIX"), m_folder.path());
        // No prompts to install .NET or a browser engine into the fresh prefix.
        environment.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
        environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
        return environment;
    }

    [[nodiscard]] ToolOutcome setRegistryValue(const QString& key, const QString& name,
                                               const QString& type, const QString& value) const {
        return run({QStringLiteral("reg"), QStringLiteral("add"), key, QStringLiteral("/v"), name,
                    QStringLiteral("/t"), type, QStringLiteral("/d"), value, QStringLiteral("/f")});
    }

    // Runs a Windows program (or a Wine tool) to completion; Windows line ends become plain.
    [[nodiscard]] ToolOutcome run(const QStringList& arguments, int timeoutMs = 60000) const {
        ToolOutcome outcome = runTool(QStringLiteral("wine"), arguments, environment(), timeoutMs);
        outcome.output.remove(QLatin1Char('\r'));
        return outcome;
    }

private:
    const XSession& m_session;
    QTemporaryDir m_folder;
};

} // namespace support
