#include "XSession.hpp"

#include "Process.hpp"

#include <QDeadlineTimer>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace support {
namespace {

// Waits on a condition: a loaded machine may take many seconds to start a server, and a quick one
// loses nothing.
constexpr int kStartTimeoutMs = 60000;
constexpr int kPollMs = 50;

int numberAfter(const QString& text, const QString& label) {
    const QRegularExpression pattern(QRegularExpression::escape(label) + u"\\s*(-?\\d+)"_s);
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

XSession::XSession(QSize screen) {
    if (startServer(screen)) {
        startWindowManager();
    }
}

XSession::~XSession() {
    stop(m_windowManager.get());
    stop(m_server.get());
}

bool XSession::startServer(QSize screen) {
    m_server = std::make_unique<QProcess>();
    endWithTheTest(*m_server);
    // -displayfd makes the server pick a free display number and print it.
    m_server->start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s,
                                u"%1x%2x24"_s.arg(screen.width()).arg(screen.height()),
                                u"-nolisten"_s, u"tcp"_s});
    if (!m_server->waitForStarted(kStartTimeoutMs)) {
        m_failure = u"Xvfb did not start (is the xvfb package installed?)"_s;
        return false;
    }
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!m_server->canReadLine() && !deadline.hasExpired() &&
           m_server->state() == QProcess::Running) {
        m_server->waitForReadyRead(kPollMs);
    }
    const QString number = QString::fromLatin1(m_server->readLine()).trimmed();
    if (number.isEmpty()) {
        m_failure = u"Xvfb did not report its display: "_s +
                    QString::fromLocal8Bit(m_server->readAllStandardError());
        return false;
    }
    m_display = QLatin1Char(':') + number;
    return true;
}

bool XSession::startWindowManager() {
    m_windowManager = std::make_unique<QProcess>();
    endWithTheTest(*m_windowManager);
    m_windowManager->setProcessEnvironment(environment());
    m_windowManager->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager->start(u"openbox"_s, {u"--sm-disable"_s});
    if (!m_windowManager->waitForStarted(kStartTimeoutMs)) {
        m_failure = u"openbox did not start (is the openbox package installed?)"_s;
        return false;
    }
    const bool managed = pollUntil(kStartTimeoutMs, [this] {
        return run(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s})
            .contains(u"window id"_s);
    });
    if (!managed) {
        m_failure = u"openbox did not take over the display"_s;
    }
    return managed;
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_s, m_display);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    environment.remove(u"QT_QPA_PLATFORM"_s);
    environment.remove(u"XAUTHORITY"_s);
    environment.insert(u"XDG_RUNTIME_DIR"_s, m_runtimeDir.path());
    return environment;
}

QByteArray XSession::standardOutputOf(const QString& program, const QStringList& arguments,
                                      int timeoutMs) const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return process.readAllStandardOutput();
}

QString XSession::run(const QString& program, const QStringList& arguments, int timeoutMs) const {
    return QString::fromLocal8Bit(standardOutputOf(program, arguments, timeoutMs));
}

unsigned long XSession::waitForWindow(const QString& titlePattern, int timeoutMs,
                                      qint64 processId) const {
    QStringList search{u"search"_s, u"--onlyvisible"_s};
    if (processId != 0) {
        search << u"--all"_s << u"--pid"_s << QString::number(processId);
    }
    search << u"--name"_s << titlePattern; // the pattern comes last
    QStringList ids;
    pollUntil(timeoutMs, [&] {
        ids = run(u"xdotool"_s, search).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return !ids.isEmpty();
    });
    return ids.isEmpty() ? 0 : ids.constFirst().toULong();
}

bool XSession::waitForWindowGone(unsigned long window, int timeoutMs) const {
    return pollUntil(timeoutMs, [&] {
        return !run(u"xwininfo"_s, {u"-id"_s, QString::number(window)}).contains(u"IsViewable"_s);
    });
}

QRect XSession::clientRect(unsigned long window) const {
    const QString info = run(u"xwininfo"_s, {u"-id"_s, QString::number(window)});
    return {numberAfter(info, u"Absolute upper-left X:"_s),
            numberAfter(info, u"Absolute upper-left Y:"_s), numberAfter(info, u"Width:"_s),
            numberAfter(info, u"Height:"_s)};
}

std::unique_ptr<QProcess> XSession::startClient(const QString& program,
                                                const QStringList& arguments,
                                                const QProcessEnvironment& environment) const {
    auto client = std::make_unique<QProcess>();
    endWithTheTest(*client);
    client->setProcessEnvironment(environment);
    client->setProcessChannelMode(QProcess::ForwardedChannels);
    client->start(program, arguments);
    if (!client->waitForStarted(kStartTimeoutMs)) {
        return nullptr;
    }
    return client;
}

QRect XSession::frameRect(unsigned long window) const {
    const QStringList extents =
        property(window, u"_NET_FRAME_EXTENTS"_s).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (extents.size() != 4) {
        return {};
    }
    const auto extent = [&](int i) {
        return extents.at(i).trimmed().toInt();
    };
    return clientRect(window).adjusted(-extent(0), -extent(2), extent(1), extent(3));
}

QPoint XSession::offCentre(unsigned long window, int timeoutMs) const {
    QPoint offset;
    pollUntil(timeoutMs, [&] {
        offset = frameRect(window).center() - screenRect().center();
        return qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2;
    });
    return offset;
}

QColor XSession::waitForPixel(QPoint screenPoint, const QColor& awaited, int timeoutMs) const {
    QColor seen;
    pollUntil(timeoutMs, [&] {
        seen = screenshot().pixelColor(screenPoint);
        return seen == awaited;
    });
    return seen;
}

QRect XSession::screenRect() const {
    const QString info = run(u"xwininfo"_s, {u"-root"_s});
    return {0, 0, numberAfter(info, u"Width:"_s), numberAfter(info, u"Height:"_s)};
}

QImage XSession::screenshot() const {
    return QImage::fromData(
        standardOutputOf(u"import"_s, {u"-window"_s, u"root"_s, u"png:-"_s}, 10000), "PNG");
}

QString XSession::property(unsigned long window, const QString& name) const {
    const QString line = run(u"xprop"_s, {u"-id"_s, QString::number(window), name});
    const qsizetype separator = line.indexOf(QRegularExpression(u"[=:]"_s));
    return separator < 0 ? QString() : line.mid(separator + 1).trimmed();
}

void XSession::activate(unsigned long window) const {
    run(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, QString::number(window)});
}

void XSession::keys(const QStringList& keys) const {
    run(u"xdotool"_s, QStringList{u"key"_s, u"--delay"_s, u"30"_s} + keys);
}

void XSession::type(const QString& text) const {
    run(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"30"_s, text});
}

void XSession::click(QPoint screenPoint) const {
    run(u"xdotool"_s, {u"mousemove"_s, QString::number(screenPoint.x()),
                       QString::number(screenPoint.y()), u"click"_s, u"1"_s});
}

QString XSession::clipboard() const {
    return run(u"xclip"_s, {u"-o"_s, u"-selection"_s, u"clipboard"_s}, 3000);
}

void XSession::setClipboard(const QString& text) const {
    // xclip hands the selection to a child of its own that serves it until another program takes
    // the clipboard or the server ends.
    QProcess xclip;
    xclip.setProcessEnvironment(environment());
    xclip.start(u"xclip"_s, {u"-selection"_s, u"clipboard"_s});
    xclip.write(text.toUtf8());
    xclip.closeWriteChannel();
    xclip.waitForFinished(3000);
}

} // namespace support
