// The built program on a real X server under a window manager: what the window manager sees of
// the window, where it stands, how it ends; and how the program refuses to start without a display.
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

    void withoutAReachableDisplayItSaysSoAndExitsWithOne_data();
    void withoutAReachableDisplayItSaysSoAndExitsWithOne();
    void runsOnTheOffscreenPlatformWithoutAnXServer();
    void titleAndFixedSizeHints();
    void keptOffTheTaskbarWithANormalTitleBar();
    void offersNoMinimiseOrMaximise();
    void frameIsCentredOnTheScreen();
    void carriesAnIcon();
    void closeRequestEndsTheProgramWithStatusZero();

private:
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

void X11WindowTest::withoutAReachableDisplayItSaysSoAndExitsWithOne_data() {
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no display at all") << QString() << QStringLiteral("no graphical desktop");
    QTest::newRow("a display that is not there")
        << QStringLiteral(":4321") << QStringLiteral("\":4321\"");
}

void X11WindowTest::withoutAReachableDisplayItSaysSoAndExitsWithOne() {
    QFETCH(QString, display);
    QFETCH(QString, expected);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    if (!display.isEmpty()) {
        environment.insert(QStringLiteral("DISPLAY"), display);
    }
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(kProgram, {});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit); // no abort, no core dump
    QCOMPARE(program.exitCode(), 1);
    const QString message = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(message.count(QLatin1Char('\n')), 1);
    QVERIFY2(message.contains(expected), qPrintable(message));
    QVERIFY(program.readAllStandardOutput().isEmpty());
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

void X11WindowTest::titleAndFixedSizeHints() {
    QCOMPARE(m_session->property(m_window, QStringLiteral("_NET_WM_NAME")),
             QStringLiteral("\"Quillmarch Color Converter\""));
    const QString hints = m_session->property(m_window, QStringLiteral("WM_NORMAL_HINTS"));
    QVERIFY2(hints.contains(QStringLiteral("program specified minimum size: 376 by 285")),
             qPrintable(hints));
    QVERIFY2(hints.contains(QStringLiteral("program specified maximum size: 376 by 285")),
             qPrintable(hints));
    QCOMPARE(m_session->clientRect(m_window).size(), QSize(376, 285));
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

void X11WindowTest::offersNoMinimiseOrMaximise() {
    // openbox keeps "minimise" for every window whatever the hints say, so the window manager's
    // allowed actions can only show the missing maximise and resize; the window's own Motif
    // hints are what asks every window manager to leave minimise and maximise out.
    const QString actions =
        m_session->property(m_window, QStringLiteral("_NET_WM_ALLOWED_ACTIONS"));
    QVERIFY2(actions.contains(QStringLiteral("_NET_WM_ACTION_CLOSE")), qPrintable(actions));
    QVERIFY2(!actions.contains(QStringLiteral("MAXIMIZE")), qPrintable(actions));
    QVERIFY2(!actions.contains(QStringLiteral("_NET_WM_ACTION_RESIZE")), qPrintable(actions));
    const QStringList motif = m_session->property(m_window, QStringLiteral("_MOTIF_WM_HINTS"))
                                  .split(QLatin1Char(','), Qt::SkipEmptyParts);
    QVERIFY(motif.size() >= 2);
    bool parsed = false;
    const uint functions = motif.at(1).trimmed().toUInt(&parsed, 16);
    QVERIFY(parsed);
    constexpr uint kMinimise = 0x08;
    constexpr uint kMaximise = 0x10;
    constexpr uint kAll = 0x01;
    constexpr uint kClose = 0x20;
    QCOMPARE(functions & (kMinimise | kMaximise | kAll), 0U);
    QVERIFY(functions & kClose);
}

void X11WindowTest::frameIsCentredOnTheScreen() {
    // The window corrects its place once the window manager has framed it; offCentre waits.
    const QPoint offset = m_session->offCentre(m_window);
    QVERIFY2(
        qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2,
        qPrintable(QStringLiteral("frame centre off by %1, %2").arg(offset.x()).arg(offset.y())));
}

void X11WindowTest::carriesAnIcon() {
    const QString icon =
        m_session->run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(m_window),
                                                 QStringLiteral("_NET_WM_ICON")});
    QVERIFY2(icon.contains(QStringLiteral("Icon (24 x 24)")), qPrintable(icon.left(200)));
    QVERIFY(icon.contains(QStringLiteral("Icon (48 x 48)")));
}

void X11WindowTest::closeRequestEndsTheProgramWithStatusZero() {
    // Alt+F4 is openbox's close binding: the window manager sends the close request, as it does
    // for the close box.
    m_session->run(
        QStringLiteral("xdotool"),
        {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(m_window)});
    m_session->keys({QStringLiteral("alt+F4")});
    QVERIFY2(m_program->waitForFinished(2000), "the program was still running 2 s after Alt+F4");
    QCOMPARE(m_program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program->exitCode(), 0);
}

QTEST_GUILESS_MAIN(X11WindowTest)
#include "X11WindowTest.moc"
