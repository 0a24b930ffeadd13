// The built program on a real X server under a window manager: its title and size, where it
// stands, how it ends when taken away; how it refuses to start without a
// usable display, and which scale settings it will not pass on.
#include "support/PinnedLayout.hpp"
#include "support/XSession.hpp"

#include <QProcess>
#include <QTest>

#include <memory>

namespace {

const QString kProgram = QStringLiteral(QCC_PROGRAM_PATH);
const QString kTitle = QStringLiteral("^Quillmarch Color Converter$");

} // namespace

class X11WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void refusesToStartWithOneLineSayingWhy_data();
    void refusesToStartWithOneLineSayingWhy();
    void scaleSettingsNoDesktopCanMeanAreIgnored_data();
    void scaleSettingsNoDesktopCanMeanAreIgnored();
    void aLostXConnectionEndsWithStatusOneAndOneLine();
    void runsOnTheOffscreenPlatformWithoutAnXServer();
    void titleAndClientSize();
    void keptOffTheTaskbarWithANormalTitleBar();
    void frameIsCentredOnTheScreen();
    void destroyedByAnotherProgramItEndsWithStatusZero();

private:
    [[nodiscard]] QProcessEnvironment environmentWith(const QStringList& settings) const;

    std::unique_ptr<support::XSession> m_session;
    std::unique_ptr<QProcess> m_program;
    unsigned long m_window = 0;
};

void X11WindowTest::initTestCase() {
    m_session = std::make_unique<support::XSession>();
    QVERIFY2(m_session->failure().isEmpty(), qPrintable(m_session->failure()));
    m_program = m_session->startClient(kProgram, {}, m_session->environment());
    QVERIFY(m_program);
    m_window = m_session->waitForWindow(kTitle);
    QVERIFY2(m_window != 0, "the program's window never appeared");
}

void X11WindowTest::cleanupTestCase() {
    if (m_program && m_program->state() != QProcess::NotRunning) {
        m_program->kill();
        m_program->waitForFinished();
    }
    m_program.reset();
    m_session.reset();
}

// The session's environment with settings applied: "NAME=value" sets, "NAME=" removes, and
// "DISPLAY=session" names this session's display.
QProcessEnvironment X11WindowTest::environmentWith(const QStringList& settings) const {
    QProcessEnvironment environment = m_session->environment();
    environment.remove(QStringLiteral("DISPLAY"));
    for (const QString& setting : settings) {
        const QString name = setting.section(QLatin1Char('='), 0, 0);
        const QString value = setting.section(QLatin1Char('='), 1);
        if (value.isEmpty()) {
            environment.remove(name);
        } else {
            environment.insert(name,
                               value == QStringLiteral("session") ? m_session->display() : value);
        }
    }
    return environment;
}

void X11WindowTest::refusesToStartWithOneLineSayingWhy_data() {
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no display at all") << QStringList() << QStringLiteral("no graphical desktop");
    QTest::newRow("an X display that is not there")
        << QStringList{QStringLiteral("DISPLAY=:4321")}
        << QStringLiteral("the X display \":4321\" did not answer");
    QTest::newRow("a platform plugin that is not installed")
        << QStringList{QStringLiteral("DISPLAY=session"), QStringLiteral("QT_QPA_PLATFORM=foo")}
        << QStringLiteral("platform plugin \"foo\" set in QT_QPA_PLATFORM is not installed");
    QTest::newRow("Wayland asked for where no compositor runs")
        << QStringList{QStringLiteral("DISPLAY=session"), QStringLiteral("QT_QPA_PLATFORM=wayland")}
        << QStringLiteral("platform plugin \"wayland\" set in QT_QPA_PLATFORM could not start: "
                          "the Wayland display \"wayland-0\" did not answer");
}

void X11WindowTest::refusesToStartWithOneLineSayingWhy() {
    QFETCH(QStringList, settings);
    QFETCH(QString, expected);
    QProcess program;
    program.setProcessEnvironment(environmentWith(settings));
    program.start(kProgram, {});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit); // no abort, no core dump
    QCOMPARE(program.exitCode(), 1);
    const QString message = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(message.count(QLatin1Char('\n')), 1);
    QVERIFY2(message.contains(expected), qPrintable(message));
    QVERIFY(program.readAllStandardOutput().isEmpty());
}

void X11WindowTest::scaleSettingsNoDesktopCanMeanAreIgnored_data() {
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("ignored");
    const QSize atOne = pinned::kClientPixels;
    for (const char* factor : {"-1", "0", "1e6", "nan", "inf", "two"}) {
        QTest::addRow("QT_SCALE_FACTOR=%s", factor)
            << QStringLiteral("QT_SCALE_FACTOR=") + QLatin1String(factor) << atOne << true;
    }
    QTest::newRow("a bad screen entry")
        << QStringLiteral("QT_SCREEN_SCALE_FACTORS=1;screen=-2") << atOne << true;
    QTest::newRow("sane factor") << QStringLiteral("QT_SCALE_FACTOR=2") << atOne * 2 << false;
    QTest::newRow("sane screen entries")
        << QStringLiteral("QT_SCREEN_SCALE_FACTORS=2;") << atOne * 2 << false;
}

void X11WindowTest::scaleSettingsNoDesktopCanMeanAreIgnored() {
    QFETCH(QString, setting);
    QFETCH(QSize, client);
    QFETCH(bool, ignored);
    QProcess program;
    program.setProcessEnvironment(environmentWith({QStringLiteral("DISPLAY=session"), setting}));
    program.start(kProgram, {});
    QVERIFY(program.waitForStarted());
    const unsigned long window = m_session->waitForWindow(kTitle, 10000, program.processId());
    const QSize shown = window != 0 ? m_session->clientRect(window).size() : QSize();
    program.terminate();
    QVERIFY(program.waitForFinished(5000));
    const QString message = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(window != 0, qPrintable("no window; said: " + message));
    QCOMPARE(shown, client);
    if (ignored) {
        QCOMPARE(message.count(QLatin1Char('\n')), 1);
        QVERIFY2(
            message.contains(QStringLiteral("ignoring ") + setting.section(QLatin1Char('='), 0, 0)),
            qPrintable(message));
    } else {
        QCOMPARE(message, QString());
    }
}

void X11WindowTest::aLostXConnectionEndsWithStatusOneAndOneLine() {
    auto session = std::make_unique<support::XSession>();
    QVERIFY2(session->failure().isEmpty(), qPrintable(session->failure()));
    QProcess program;
    program.setProcessEnvironment(session->environment());
    program.start(kProgram, {});
    QVERIFY(session->waitForWindow(kTitle, 10000, program.processId()) != 0);
    session.reset(); // the X server goes away under the running program
    QVERIFY(program.waitForFinished(10000));
    // One line from Qt, and nothing from the sanitizers either.
    const QString message = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 1,
             qPrintable(QStringLiteral("status %1: ").arg(program.exitCode()) + message));
    QVERIFY2(message.count(QLatin1Char('\n')) == 1 &&
                 message.contains(QStringLiteral("X11 connection broke")),
             qPrintable(message));
}

void X11WindowTest::runsOnTheOffscreenPlatformWithoutAnXServer() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(kProgram, {});
    QVERIFY(program.waitForStarted());
    QVERIFY2(!program.waitForFinished(1500),
             qPrintable("ended early: " + QString::fromLocal8Bit(program.readAllStandardError())));
    program.kill();
    program.waitForFinished();
}

void X11WindowTest::titleAndClientSize() {
    QCOMPARE(m_session->property(m_window, QStringLiteral("_NET_WM_NAME")),
             QStringLiteral("\"Quillmarch Color Converter\""));
    QCOMPARE(m_session->clientRect(m_window).size(), pinned::kClientPixels);
}

void X11WindowTest::keptOffTheTaskbarWithANormalTitleBar() {
    const QString state = m_session->property(m_window, QStringLiteral("_NET_WM_STATE"));
    QVERIFY2(state.contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")), qPrintable(state));
    const QString type = m_session->property(m_window, QStringLiteral("_NET_WM_WINDOW_TYPE"));
    QVERIFY2(!type.contains(QStringLiteral("UTILITY")) && !type.contains(QStringLiteral("TOOLBAR")),
             qPrintable(type));
    // A tool window's frame would be thinner; a normal caption is a full title bar.
    const QRect frame = m_session->frameRect(m_window);
    QVERIFY(!frame.isNull());
    QVERIFY(m_session->clientRect(m_window).top() - frame.top() >= 15);
}

void X11WindowTest::frameIsCentredOnTheScreen() {
    // The window corrects its place once the window manager has framed it; offCentre waits.
    const QPoint offset = m_session->offCentre(m_window);
    QVERIFY2(
        qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2,
        qPrintable(QStringLiteral("frame centre off by %1, %2").arg(offset.x()).arg(offset.y())));
}

void X11WindowTest::destroyedByAnotherProgramItEndsWithStatusZero() {
    m_session->run(QStringLiteral("xdotool"),
                   {QStringLiteral("windowclose"), QString::number(m_window)});
    QVERIFY2(m_program->waitForFinished(1000), "still running 1 s after its window was destroyed");
    QCOMPARE(m_program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program->exitCode(), 0);
}

QTEST_GUILESS_MAIN(X11WindowTest)
#include "X11WindowTest.moc"
