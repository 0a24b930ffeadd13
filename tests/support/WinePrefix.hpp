// One of the two Windows builds, and a fresh Wine prefix of its word size on the private X
// session: booted on request, and ended with its wineserver when it goes out of scope.
#pragma once

#include "Process.hpp"
#include "XSession.hpp"

#include <QFileInfo>
#include <QTemporaryDir>

namespace support {

// The build a test runs, as CTest names it: QCC_WINDOWS_BUILD is its folder, QCC_WINDOWS_BITS 32
// (the release) or 64.
struct WindowsBuild {
    QString folder = qEnvironmentVariable("QCC_WINDOWS_BUILD");
    bool is64Bit = qEnvironmentVariable("QCC_WINDOWS_BITS") == QStringLiteral("64");

    [[nodiscard]] QString program() const {
        return folder + QStringLiteral("/app/quillmarch-color-converter.exe");
    }
    [[nodiscard]] QString testProgram(const QString& name) const {
        return folder + QStringLiteral("/tests/win32/") + name + QStringLiteral(".exe");
    }
    [[nodiscard]] QString objdump() const {
        return is64Bit ? QStringLiteral("x86_64-w64-mingw32-objdump")
                       : QStringLiteral("i686-w64-mingw32-objdump");
    }
    // Debian's loaders, called by name: its `wine` script takes the 32-bit one whenever it is
    // installed, even where the kernel cannot run it.
    [[nodiscard]] QString wineLoader() const {
        return is64Bit ? QStringLiteral("/usr/lib/wine/wine64")
                       : QStringLiteral("/usr/lib/wine/wine");
    }

    // Why this machine cannot run the 32-bit build, in one line; empty where it can. The 64-bit
    // build runs wherever the tests run, so a fault there is a failure, never a skip.
    [[nodiscard]] QString whyWineCannotRunIt() const {
        if (is64Bit) {
            return {};
        }
        if (!QFileInfo(wineLoader()).isExecutable()) {
            return QStringLiteral("32-bit Wine (wine32:i386) is not installed: this machine's "
                                  "package lists could not give it");
        }
        if (runTool(wineLoader(), {QStringLiteral("--version")},
                    QProcessEnvironment::systemEnvironment(), 30000)
                .exitCode != 0) {
            return QStringLiteral("this machine's kernel runs no 32-bit programs: ") +
                   wineLoader() + QStringLiteral(" is refused");
        }
        return {};
    }
};

class WinePrefix {
public:
    WinePrefix(const XSession& session, const WindowsBuild& build)
        : m_session(session)
        , m_build(build) {}
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
        environment.insert(QStringLiteral("WINEARCH"),
                           m_build.is64Bit ? QStringLiteral("win64") : QStringLiteral("win32"));
        environment.insert(QStringLiteral("WINEPREFIX"), m_folder.path());
        environment.insert(QStringLiteral("WINELOADER"), m_build.wineLoader());
        // No prompts to install .NET or a browser engine into the fresh prefix.
        environment.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
        environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
        return environment;
    }

    // Sets a value: its key, name, type and data, as `reg add` takes them.
    [[nodiscard]] bool setRegistryValue(const QStringList& value) const {
        return run({QStringLiteral("reg"), QStringLiteral("add"), value.value(0),
                    QStringLiteral("/v"), value.value(1), QStringLiteral("/t"), value.value(2),
                    QStringLiteral("/d"), value.value(3), QStringLiteral("/f")})
                   .exitCode == 0;
    }

    // Runs a Windows program (or a Wine tool) to completion; Windows line ends become plain.
    [[nodiscard]] ToolOutcome run(const QStringList& arguments, int timeoutMs = 60000) const {
        ToolOutcome outcome = runTool(m_build.wineLoader(), arguments, environment(), timeoutMs);
        outcome.output.remove(QLatin1Char('\r'));
        return outcome;
    }

private:
    const XSession& m_session;
    WindowsBuild m_build;
    QTemporaryDir m_folder;
};

} // namespace support
