// The native Windows build, cross-compiled with mingw-w64 and run under a fresh 32-bit Wine prefix
// on a private X server: the core's Windows tests (with a comma as the user's decimal symbol), a
// test that must fail, the executable's make-up, the window's place and its controls' rectangles
// against the pinned layout, and the layout on a 150 % desktop. BehaviourTest drives the window.
#include "support/PinnedLayout.hpp"
#include "support/Process.hpp"
#include "support/WinePrefix.hpp"
#include "support/XSession.hpp"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace {

const QString kBuild = QStringLiteral(QCC_WINDOWS_BUILD_DIR);
const QString kProgram = kBuild + QStringLiteral("/app/quillmarch-color-converter.exe");
const QString kTitle = QStringLiteral("Quillmarch Color Converter");

QString windowsTest(const QString& name) {
    return kBuild + QStringLiteral("/tests/win32/") + name + QStringLiteral(".exe");
}

} // namespace

class WineTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void coreTestsPassWithACommaAsDecimalSymbol();
    void aFailingWindowsTestIsSeenToFail();
    void executableIsOneSmallSelfContained32BitProgram();
    void windowIsFixedCentredAndOffTheTaskbar();
    void everyControlStandsWherePinned();
    void layoutScalesWithTheDesktopDpi();

private:
    [[nodiscard]] support::ToolOutcome runWine(const QStringList& arguments) const {
        return m_wine->run(arguments);
    }

    std::unique_ptr<support::XSession> m_session;
    std::unique_ptr<support::WinePrefix> m_wine;
    std::unique_ptr<QProcess> m_program;
    unsigned long m_window = 0;
};

void WineTest::initTestCase() {
    QVERIFY2(QFileInfo::exists(kProgram), qPrintable(kProgram + " was not built"));
    m_session = std::make_unique<support::XSession>();
    QVERIFY2(m_session->failure().isEmpty(), qPrintable(m_session->failure()));
    m_wine = std::make_unique<support::WinePrefix>(*m_session);
    const QString failure = m_wine->boot();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    const support::ToolOutcome comma =
        runWine({QStringLiteral("reg"), QStringLiteral("add"),
                 QStringLiteral("HKCU\\Control Panel\\International"), QStringLiteral("/v"),
                 QStringLiteral("sDecimal"), QStringLiteral("/t"), QStringLiteral("REG_SZ"),
                 QStringLiteral("/d"), QStringLiteral(","), QStringLiteral("/f")});
    QVERIFY2(comma.exitCode == 0, qPrintable(comma.output));
}

void WineTest::cleanupTestCase() {
    support::stop(m_program.get());
    m_wine.reset();
    m_session.reset();
}

void WineTest::coreTestsPassWithACommaAsDecimalSymbol() {
    const support::ToolOutcome run = runWine({windowsTest(QStringLiteral("CoreOnWindowsTest"))});
    const QRegularExpressionMatch tally =
        QRegularExpression(QStringLiteral("^(\\d+) passed, (\\d+) failed$"),
                           QRegularExpression::MultilineOption)
            .match(run.output);
    QVERIFY2(tally.hasMatch(),
             qPrintable("no closing line from the Windows tests:\n" + run.output));
    QCOMPARE(tally.captured(2).toInt(), 0);
    QVERIFY(tally.captured(1).toInt() > 500);
    QCOMPARE(run.exitCode, 0);
}

void WineTest::aFailingWindowsTestIsSeenToFail() {
    const support::ToolOutcome run = runWine({windowsTest(QStringLiteral("MustFailTest"))});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains(QStringLiteral("0 passed, 1 failed")), qPrintable(run.output));
}

void WineTest::executableIsOneSmallSelfContained32BitProgram() {
    const QFileInfo program(kProgram);
    QVERIFY2(program.size() <= 400 * 1024, qPrintable(QString::number(program.size())));

    QProcess objdump;
    objdump.start(QStringLiteral("i686-w64-mingw32-objdump"), {QStringLiteral("-p"), kProgram});
    QVERIFY(objdump.waitForFinished(30000));
    const QString headers = QString::fromLocal8Bit(objdump.readAllStandardOutput());
    QVERIFY2(headers.contains(QRegularExpression(QStringLiteral("Magic\\s+010b"))), "not PE32");
    const QStringList systemDlls{"kernel32.dll", "user32.dll",   "gdi32.dll",
                                 "comdlg32.dll", "comctl32.dll", "msvcrt.dll"};
    QRegularExpressionMatchIterator dlls =
        QRegularExpression(QStringLiteral("DLL Name: (\\S+)")).globalMatch(headers);
    int imported = 0;
    while (dlls.hasNext()) {
        const QString dll = dlls.next().captured(1).toLower();
        QVERIFY2(systemDlls.contains(dll), qPrintable("imports " + dll));
        ++imported;
    }
    QVERIFY(imported >= 4);

    QProcess symbols;
    symbols.start(QStringLiteral("i686-w64-mingw32-objdump"), {QStringLiteral("-t"), kProgram});
    QVERIFY(symbols.waitForFinished(30000));
    QVERIFY2(!symbols.readAllStandardOutput().contains("SelectColorCommand"), "not stripped");

    QFile file(kProgram);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const auto utf16 = [](const QString& text) {
        return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    };
    QVERIFY2(bytes.contains(utf16(QStringLiteral("ProductVersion"))),
             "the version record lacks ProductVersion");
    QVERIFY(bytes.contains("PerMonitorV2"));
    QVERIFY(bytes.contains("Microsoft.Windows.Common-Controls"));
}

void WineTest::windowIsFixedCentredAndOffTheTaskbar() {
    m_program = m_session->startClient(QStringLiteral("wine"), {kProgram}, m_wine->environment());
    QVERIFY(m_program);
    m_window = m_session->waitForWindow(QLatin1Char('^') + kTitle + QLatin1Char('$'), 60000);
    QVERIFY2(m_window != 0, "the Windows program's window never appeared");

    const QRect client = m_session->clientRect(m_window);
    QCOMPARE(client.size(), pinned::kClientPixels);
    const QString state = m_session->property(m_window, QStringLiteral("_NET_WM_STATE"));
    QVERIFY2(state.contains(QStringLiteral("SKIP_TASKBAR")), qPrintable(state));

    const QPoint offset = m_session->offCentre(m_window);
    QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2,
             qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
}

// Every control is a direct child of the Win32 window, numbered from 100 in the layout's order.
void WineTest::everyControlStandsWherePinned() {
    QVERIFY2(m_window != 0, "no window to work with");
    const QString said =
        runWine({windowsTest(QStringLiteral("WindowProbe")), QStringLiteral("rects"), kTitle})
            .output;
    for (std::size_t i = 0; i < pinned::kControls.size(); ++i) {
        const QRect want = pinned::rectInClient(pinned::kControls.at(i));
        const QString row = QStringLiteral("%1 %2 %3 %4 %5")
                                .arg(100 + static_cast<int>(i))
                                .arg(want.x())
                                .arg(want.y())
                                .arg(want.width())
                                .arg(want.height());
        QVERIFY2(said.split(QLatin1Char('\n')).contains(row),
                 qPrintable(QStringLiteral("%1 not at \"%2\" in:\n%3")
                                .arg(QLatin1String(pinned::kControls.at(i).name), row, said)));
    }
}

void WineTest::layoutScalesWithTheDesktopDpi() {
    // 144 dpi is a 150 % desktop; Wine reads the setting when its server starts.
    const QStringList dpiKey{QStringLiteral("reg"),
                             QStringLiteral("add"),
                             QStringLiteral("HKCU\\Control Panel\\Desktop"),
                             QStringLiteral("/v"),
                             QStringLiteral("LogPixels"),
                             QStringLiteral("/t"),
                             QStringLiteral("REG_DWORD"),
                             QStringLiteral("/d")};
    QCOMPARE(runWine(dpiKey + QStringList{QStringLiteral("144"), QStringLiteral("/f")}).exitCode,
             0);
    QCOMPARE(support::runTool(QStringLiteral("wineserver"), {QStringLiteral("--kill")},
                              m_wine->environment())
                 .exitCode,
             0);
    m_program = m_session->startClient(QStringLiteral("wine"), {kProgram}, m_wine->environment());
    QVERIFY(m_program);
    m_window = m_session->waitForWindow(QLatin1Char('^') + kTitle + QLatin1Char('$'), 60000);
    QVERIFY2(m_window != 0, "the window never appeared at 144 dpi");
    QCOMPARE(m_session->clientRect(m_window).size(), pinned::kClientPixels * 1.5);
    // Not checked for centring here: Wine sizes its title bar for 144 dpi while openbox draws its
    // own, so the frame Windows centres is not the frame on screen.
    const QPoint shape1 = pinned::centreInClient(QStringLiteral("Shape1"));
    QCOMPARE(m_session->waitForPixel(m_session->clientRect(m_window).topLeft() + shape1 * 1.5,
                                     QColor(0, 0, 0)),
             QColor(0, 0, 0));
}

QTEST_GUILESS_MAIN(WineTest)
#include "WineTest.moc"
