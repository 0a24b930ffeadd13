#include "XSession.hpp"

#include "Process.hpp"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>

namespace support {
namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kPollMs = 50;

int numberAfter(const QString& text, const QString& label) {
    const QRegularExpression pattern(QRegularExpression::escape(label) +
                                     QStringLiteral("\\s*(-?\\d+)"));
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

XSession::XSession() {
    if (startServer()) {
        startWindowManager();
    }
}

XSession::~XSession() {
    stop(m_windowManager.get());
    stop(m_server.get());
}

bool XSession::startServer() {
    m_server = std::make_unique<QProcess>();
    // -displayfd makes the server pick a free display number and print it.
    m_server->start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                     QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!m_server->waitForStarted(kStartTimeoutMs)) {
        m_failure = QStringLiteral("Xvfb did not start (is the xvfb package installed?)");
        return false;
    }
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!m_server->canReadLine() && !deadline.hasExpired() &&
           m_server->state() == QProcess::Running) {
        m_server->waitForReadyRead(kPollMs);
    }
    const QString number = QString::fromLatin1(m_server->readLine()).trimmed();
    if (number.isEmpty()) {
        m_failure = QStringLiteral("Xvfb did not report its display: ") +
                    QString::fromLocal8Bit(m_server->readAllStandardError());
        return false;
    }
    m_display = QLatin1Char(':') + number;
    return true;
}

bool XSession::startWindowManager() {
    m_windowManager = std::make_unique<QProcess>();
    m_windowManager->setProcessEnvironment(environment());
    m_windowManager->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_windowManager->waitForStarted(kStartTimeoutMs)) {
        m_failure = QStringLiteral("openbox did not start (is the openbox package installed?)");
        return false;
    }
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!deadline.hasExpired()) {
        const QString check =
            run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        if (check.contains(QStringLiteral("window id"))) {
            return true;
        }
        QThread::msleep(kPollMs);
    }
    m_failure = QStringLiteral("openbox did not take over the display");
    return false;
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("XAUTHORITY"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir.path());
    return environment;
}

QString XSession::run(const QString& program, const QStringList& arguments, int timeoutMs) const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

unsigned long XSession::waitForWindow(const QString& titlePattern, int timeoutMs,
                                      qint64 processId) const {
    QStringList search{QStringLiteral("search"), QStringLiteral("--onlyvisible")};
    if (processId != 0) {
        search << QStringLiteral("--all") << QStringLiteral("--pid") << QString::number(processId);
    }
    search << QStringLiteral("--name") << titlePattern; // the pattern comes last
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QString found = run(QStringLiteral("xdotool"), search);
        const QStringList ids = found.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (!ids.isEmpty()) {
            return ids.constFirst().toULong();
        }
        QThread::msleep(kPollMs);
    }
    return 0;
}

bool XSession::waitForWindowGone(unsigned long window, int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QString state =
            run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
        if (!state.contains(QStringLiteral("IsViewable"))) {
            return true;
        }
        QThread::msleep(kPollMs);
    }
    return false;
}

QRect XSession::clientRect(unsigned long window) const {
    const QString info =
        run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    return {numberAfter(info, QStringLiteral("Absolute upper-left X:")),
            numberAfter(info, QStringLiteral("Absolute upper-left Y:")),
            numberAfter(info, QStringLiteral("Width:")),
            numberAfter(info, QStringLiteral("Height:"))};
}

std::unique_ptr<QProcess> XSession::startClient(const QString& program,
                                                const QStringList& arguments,
                                                const QProcessEnvironment& environment) const {
    auto client = std::make_unique<QProcess>();
    client->setProcessEnvironment(environment);
    client->setProcessChannelMode(QProcess::ForwardedChannels);
    client->start(program, arguments);
    if (!client->waitForStarted(kStartTimeoutMs)) {
        return nullptr;
    }
    return client;
}

QRect XSession::frameRect(unsigned long window) const {
    const QStringList extents = property(window, QStringLiteral("_NET_FRAME_EXTENTS"))
                                    .split(QLatin1Char(','), Qt::SkipEmptyParts);
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
    const QDeadlineTimer deadline(timeoutMs);
    do {
        offset = frameRect(window).center() - screenRect().center();
        if (qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2) {
            break;
        }
        QThread::msleep(kPollMs);
    } while (!deadline.hasExpired());
    return offset;
}

QColor XSession::waitForPixel(QPoint screenPoint, const QColor& awaited, int timeoutMs) const {
    QColor seen;
    const QDeadlineTimer deadline(timeoutMs);
    do {
        seen = screenshot().pixelColor(screenPoint);
        if (seen == awaited) {
            break;
        }
        QThread::msleep(kPollMs);
    } while (!deadline.hasExpired());
    return seen;
}

QRect XSession::screenRect() const {
    const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-root")});
    return {0, 0, numberAfter(info, QStringLiteral("Width:")),
            numberAfter(info, QStringLiteral("Height:"))};
}

QImage XSession::screenshot() const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(QStringLiteral("import"),
                  {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QImage::fromData(process.readAllStandardOutput(), "PNG");
}

QString XSession::property(unsigned long window, const QString& name) const {
    const QString line =
        run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window), name});
    const qsizetype separator = line.indexOf(QRegularExpression(QStringLiteral("[=:]")));
    return separator < 0 ? QString() : line.mid(separator + 1).trimmed();
}

void XSession::keys(const QStringList& keys) const {
    run(QStringLiteral("xdotool"),
        QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30")} + keys);
}

void XSession::type(const QString& text) const {
    run(QStringLiteral("xdotool"),
        {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

void XSession::click(QPoint screenPoint) const {
    run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QString::number(screenPoint.x()),
         QString::number(screenPoint.y()), QStringLiteral("click"), QStringLiteral("1")});
}

QString XSession::clipboard() const {
    return run(QStringLiteral("xclip"),
               {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")},
               3000);
}

void XSession::setClipboard(const QString& text) const {
    // xclip hands the selection to a child of its own that serves it until another program takes
    // the clipboard or the server ends.
    QProcess xclip;
    xclip.setProcessEnvironment(environment());
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard")});
    xclip.write(text.toUtf8());
    xclip.closeWriteChannel();
    xclip.waitForFinished(3000);
}

} // namespace support
