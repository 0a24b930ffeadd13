// The program in Wayland sessions, under weston: alone on the compositor (headless) it connects,
// announces a toplevel window with its title and app id, answers the compositor's configure and
// puts a picture on the surface, and a maximise from the compositor (weston's Super+Shift+M, in
// weston on the private X server) leaves it running at its own size. Where the session also has
// an X server, the program takes X unless the user names a platform.
#include "support/Process.hpp"
#include "support/XSession.hpp"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kProgram = QStringLiteral(QCC_PROGRAM_PATH);
const QString kHeadless = u"qcc-wayland-headless"_s;
const QString kOnX = u"qcc-wayland-on-x"_s;

} // namespace

class WaylandSmokeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void showsItsWindowOnWeston();
    void aMaximiseFromTheCompositorLeavesItRunningAtItsSize();
    void aWaylandSessionWithAnXServerTakesX_data();
    void aWaylandSessionWithAnXServerTakesX();

private:
    bool startCompositor(QProcess& compositor, const QStringList& arguments, const QString& socket,
                         const QProcessEnvironment& environment);
    [[nodiscard]] QProcessEnvironment environmentFor(const QString& socket, bool withX) const;

    QTemporaryDir m_runtime;
    std::unique_ptr<support::XSession> m_session;
    QProcess m_headless;
    QProcess m_onX;
};

bool WaylandSmokeTest::startCompositor(QProcess& compositor, const QStringList& arguments,
                                       const QString& socket,
                                       const QProcessEnvironment& environment) {
    support::endWithTheTest(compositor);
    compositor.setProcessEnvironment(environment);
    compositor.setProcessChannelMode(QProcess::MergedChannels);
    compositor.start(u"weston"_s,
                     arguments + QStringList{u"--socket="_s + socket, u"--idle-time=0"_s});
    return compositor.waitForStarted() &&
           support::pollUntil(30000, [&] { return QFile::exists(m_runtime.filePath(socket)); });
}

void WaylandSmokeTest::initTestCase() {
    QVERIFY(m_runtime.isValid());
    QVERIFY(QFile::setPermissions(m_runtime.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    m_session = std::make_unique<support::XSession>();
    QVERIFY2(m_session->failure().isEmpty(), qPrintable(m_session->failure()));
    QProcessEnvironment environment = m_session->environment();
    environment.insert(u"XDG_RUNTIME_DIR"_s, m_runtime.path());
    QVERIFY2(
        startCompositor(m_headless, {u"--backend=headless-backend.so"_s}, kHeadless, environment),
        qPrintable("headless weston opened no socket: " + m_headless.readAll()));
    QVERIFY2(startCompositor(m_onX,
                             {u"--backend=x11-backend.so"_s, u"--width=1024"_s, u"--height=768"_s},
                             kOnX, environment),
             qPrintable("weston on X opened no socket: " + m_onX.readAll()));
}

void WaylandSmokeTest::cleanupTestCase() {
    support::stop(&m_onX);
    support::stop(&m_headless);
    m_session.reset();
}

// The client's side of the protocol is written to the program's output: what it told the
// compositor.
QProcessEnvironment WaylandSmokeTest::environmentFor(const QString& socket, bool withX) const {
    QProcessEnvironment environment = m_session->environment();
    if (!withX) {
        environment.remove(u"DISPLAY"_s);
    }
    environment.insert(u"XDG_RUNTIME_DIR"_s, m_runtime.path());
    environment.insert(u"XDG_SESSION_TYPE"_s, u"wayland"_s);
    environment.insert(u"WAYLAND_DISPLAY"_s, socket);
    environment.insert(u"WAYLAND_DEBUG"_s, u"client"_s);
    return environment;
}

void WaylandSmokeTest::showsItsWindowOnWeston() {
    support::RunningProgram program(*m_session, kProgram, environmentFor(kHeadless, false));
    for (const QString& line :
         {u"set_title(\"Quillmarch Color Converter\")"_s,
          u"set_app_id(\"org.quillmarch.ColorConverter\")"_s, u"ack_configure("_s, u".attach("_s}) {
        QVERIFY2(program.waitForError(line),
                 qPrintable("never sent " + line + "\n" + program.errors().right(2000)));
    }
    QVERIFY2(program.running(), "the program ended by itself on Wayland");
    // The surface is attached after the compositor's configure was answered, not before.
    QVERIFY(program.errors().lastIndexOf(u".attach("_s) >
            program.errors().indexOf(u"ack_configure("_s));
}

// Weston maximises whatever window has the keyboard on Super+Shift+M, fixed size or not; Qt's own
// title bar does the same through the maximise button it always draws.
void WaylandSmokeTest::aMaximiseFromTheCompositorLeavesItRunningAtItsSize() {
    support::RunningProgram program(*m_session, kProgram, environmentFor(kOnX, false));
    QVERIFY2(program.waitForError(u".attach("_s), qPrintable(program.errors().right(2000)));
    static const QRegularExpression kGeometry(u"set_window_geometry\\(0, 0, (\\d+), (\\d+)\\)"_s);
    const QString ownSize = kGeometry.match(program.errors()).captured(0);
    QVERIFY(!ownSize.isEmpty());

    const quint32 weston = m_session->waitForWindow(u"^Weston Compositor"_s);
    QVERIFY(weston != 0);
    m_session->activate(weston);
    m_session->keys({u"super+shift+m"_s});
    QVERIFY2(program.waitForError(u"unset_maximized()"_s),
             qPrintable("never left the maximised state\n" + program.errors().right(3000)));
    const qsizetype left = program.errors().lastIndexOf(u"unset_maximized()"_s);
    QVERIFY2(program.waitForError(ownSize, left),
             qPrintable("not back at " + ownSize + "\n" + program.errors().right(3000)));
    QVERIFY2(program.running(),
             qPrintable("ended on the maximise\n" + program.errors().right(3000)));
}

void WaylandSmokeTest::aWaylandSessionWithAnXServerTakesX_data() {
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("onX");
    QTest::newRow("no platform named") << QString() << true;
    QTest::newRow("QT_QPA_PLATFORM=wayland") << u"wayland"_s << false;
}

void WaylandSmokeTest::aWaylandSessionWithAnXServerTakesX() {
    QFETCH(QString, platform);
    QFETCH(bool, onX);
    QProcessEnvironment environment = environmentFor(kHeadless, true);
    if (!platform.isEmpty()) {
        environment.insert(u"QT_QPA_PLATFORM"_s, platform);
    }
    support::RunningProgram program(*m_session, kProgram, environment);
    if (onX) {
        QVERIFY2(program.window() != 0, "no window on X");
    } else {
        QVERIFY2(program.waitForError(u"set_title(\"Quillmarch Color Converter\")"_s),
                 qPrintable(program.errors().right(2000)));
    }
}

QTEST_GUILESS_MAIN(WaylandSmokeTest)
#include "WaylandSmokeTest.moc"
