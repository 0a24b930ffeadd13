// The program on a Wayland compositor (weston, headless): it connects, announces a toplevel window
// with its title and app id, answers the compositor's configure and puts a picture on the surface.
#include "support/Process.hpp"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

const QString kProgram = QStringLiteral(QCC_PROGRAM_PATH);
const QString kSocket = QStringLiteral("qcc-wayland-test");

} // namespace

class WaylandSmokeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void showsItsWindowOnWeston();

private:
    QTemporaryDir m_runtime;
    QProcess m_compositor;
};

void WaylandSmokeTest::initTestCase() {
    QVERIFY(m_runtime.isValid());
    QVERIFY(QFile::setPermissions(m_runtime.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    m_compositor.setProcessEnvironment(environment);
    m_compositor.setProcessChannelMode(QProcess::MergedChannels);
    m_compositor.start(QStringLiteral("weston"),
                       {QStringLiteral("--backend=headless-backend.so"),
                        QStringLiteral("--socket=") + kSocket, QStringLiteral("--idle-time=0")});
    QVERIFY2(m_compositor.waitForStarted(), "weston did not start (is it installed?)");
    const QDeadlineTimer deadline(10000);
    while (!QFile::exists(m_runtime.filePath(kSocket)) && !deadline.hasExpired()) {
        QTest::qWait(50);
    }
    QVERIFY2(QFile::exists(m_runtime.filePath(kSocket)),
             qPrintable("weston opened no socket: " + m_compositor.readAll()));
}

void WaylandSmokeTest::cleanupTestCase() {
    support::stop(&m_compositor);
}

void WaylandSmokeTest::showsItsWindowOnWeston() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), kSocket);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    // The client's side of the protocol, written to stderr: what the compositor was told.
    environment.insert(QStringLiteral("WAYLAND_DEBUG"), QStringLiteral("client"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(kProgram, {});
    QVERIFY(program.waitForStarted());

    const QStringList expected{
        QStringLiteral("set_title(\"Quillmarch Color Converter\")"),
        QStringLiteral("set_app_id(\"org.quillmarch.ColorConverter\")"),
        QStringLiteral("ack_configure("),
        QStringLiteral(".attach("),
    };
    QString log;
    const QDeadlineTimer deadline(15000);
    const auto seenAll = [&] {
        return std::all_of(expected.begin(), expected.end(),
                           [&](const QString& line) { return log.contains(line); });
    };
    while (!seenAll() && program.state() == QProcess::Running && !deadline.hasExpired()) {
        program.waitForReadyRead(100);
        log += QString::fromLocal8Bit(program.readAll());
    }
    const bool running = program.state() == QProcess::Running;
    support::stop(&program);
    for (const QString& line : expected) {
        QVERIFY2(log.contains(line), qPrintable("never sent " + line + "\n" + log.right(2000)));
    }
    QVERIFY2(running, "the program ended by itself on Wayland");
    // The surface is attached after the compositor's configure was answered, not before.
    QVERIFY(log.lastIndexOf(QStringLiteral(".attach(")) >
            log.indexOf(QStringLiteral("ack_configure(")));
}

QTEST_GUILESS_MAIN(WaylandSmokeTest)
#include "WaylandSmokeTest.moc"
