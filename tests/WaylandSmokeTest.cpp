// The program on a Wayland compositor (weston, headless): it connects, announces a toplevel window
// with its title and app id, answers the compositor's configure and puts a picture on the surface.
#include "support/Process.hpp"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kProgram = QStringLiteral(QCC_PROGRAM_PATH);
const QString kSocket = u"qcc-wayland-test"_s;

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
    environment.insert(u"XDG_RUNTIME_DIR"_s, m_runtime.path());
    support::endWithTheTest(m_compositor);
    m_compositor.setProcessEnvironment(environment);
    m_compositor.setProcessChannelMode(QProcess::MergedChannels);
    m_compositor.start(u"weston"_s, {u"--backend=headless-backend.so"_s, u"--socket="_s + kSocket,
                                     u"--idle-time=0"_s});
    QVERIFY2(m_compositor.waitForStarted(), "weston did not start (is it installed?)");
    QVERIFY2(
        support::pollUntil(10000, [this] { return QFile::exists(m_runtime.filePath(kSocket)); }),
        qPrintable("weston opened no socket: " + m_compositor.readAll()));
}

void WaylandSmokeTest::cleanupTestCase() {
    support::stop(&m_compositor);
}

void WaylandSmokeTest::showsItsWindowOnWeston() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"DISPLAY"_s);
    environment.insert(u"XDG_RUNTIME_DIR"_s, m_runtime.path());
    environment.insert(u"WAYLAND_DISPLAY"_s, kSocket);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"wayland"_s);
    // The client's side of the protocol, written to stderr: what the compositor was told.
    environment.insert(u"WAYLAND_DEBUG"_s, u"client"_s);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(kProgram, {});
    QVERIFY(program.waitForStarted());

    const QStringList expected{
        u"set_title(\"Quillmarch Color Converter\")"_s,
        u"set_app_id(\"org.quillmarch.ColorConverter\")"_s,
        u"ack_configure("_s,
        u".attach("_s,
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
    QVERIFY(log.lastIndexOf(u".attach("_s) > log.indexOf(u"ack_configure("_s));
}

QTEST_GUILESS_MAIN(WaylandSmokeTest)
#include "WaylandSmokeTest.moc"
