#include "XSession.hpp"

#include "Process.hpp"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

namespace support {
namespace {

// Waits on a condition: a loaded machine may take many seconds to start a server, and a quick one
// loses nothing.
constexpr int kStartTimeoutMs = 60000;
constexpr int kPollMs = 50;

// xcb hands each reply over to be freed by the caller.
template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> owned(T* reply) {
    return {reply, &std::free};
}

} // namespace

XSession::XSession(QSize screen, const QStringList& windowManager) {
    if (startServer(screen)) {
        startWindowManager(windowManager);
    }
}

XSession::~XSession() {
    m_x.reset();
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
    m_x = {xcb_connect(m_display.toLatin1().constData(), nullptr), &xcb_disconnect};
    if (xcb_connection_has_error(m_x.get()) != 0) {
        m_failure = u"no X connection to Xvfb on "_s + m_display;
        return false;
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_x.get())).data->root;
    return true;
}

bool XSession::startWindowManager(const QStringList& command) {
    m_windowManager = std::make_unique<QProcess>();
    endWithTheTest(*m_windowManager);
    m_windowManager->setProcessEnvironment(environment());
    m_windowManager->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager->start(command.first(), command.mid(1));
    if (!m_windowManager->waitForStarted(kStartTimeoutMs)) {
        m_failure = command.first() + u" did not start (is its package installed?)"_s;
        return false;
    }
    const bool managed = pollUntil(kStartTimeoutMs, [this] {
        return !numbers(m_root, u"_NET_SUPPORTING_WM_CHECK"_s).isEmpty();
    });
    if (!managed) {
        m_failure = command.first() + u" did not take over the display"_s;
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

QString XSession::run(const QString& program, const QStringList& arguments, int timeoutMs) const {
    const ToolOutcome outcome =
        runTool(program, arguments, environment(), timeoutMs, QProcess::SeparateChannels);
    return outcome.exitCode == 0 ? outcome.output : QString();
}

// openbox lists every window it manages on the root; a window's title is its _NET_WM_NAME, or
// WM_NAME where a program sets only that.
quint32 XSession::waitForWindow(const QString& titlePattern, qint64 processId) const {
    const QRegularExpression title(titlePattern);
    const auto matches = [&](quint32 window) {
        const QString name = text(window, u"_NET_WM_NAME"_s);
        return isShown(window) &&
               title.match(name.isEmpty() ? text(window, u"WM_NAME"_s) : name).hasMatch() &&
               (processId == 0 ||
                numbers(window, u"_NET_WM_PID"_s).value(0) == static_cast<quint32>(processId));
    };
    quint32 found = 0;
    pollUntil(kStartTimeoutMs, [&] {
        const QList<quint32> windows = numbers(m_root, u"_NET_CLIENT_LIST"_s);
        const auto match = std::find_if(windows.cbegin(), windows.cend(), matches);
        found = match == windows.cend() ? 0 : *match;
        return found != 0;
    });
    return found;
}

bool XSession::waitForWindowGone(quint32 window, int timeoutMs) const {
    return pollUntil(timeoutMs, [&] { return !isShown(window); });
}

bool XSession::isShown(quint32 window) const {
    const auto attributes = owned(xcb_get_window_attributes_reply(
        m_x.get(), xcb_get_window_attributes(m_x.get(), window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

QRect XSession::clientRect(quint32 window) const {
    const auto geometry =
        owned(xcb_get_geometry_reply(m_x.get(), xcb_get_geometry(m_x.get(), window), nullptr));
    const auto origin = owned(xcb_translate_coordinates_reply(
        m_x.get(), xcb_translate_coordinates(m_x.get(), window, m_root, 0, 0), nullptr));
    if (!geometry || !origin) {
        return {};
    }
    return {origin->dst_x, origin->dst_y, geometry->width, geometry->height};
}

QRect XSession::frameRect(quint32 window) const {
    const QList<quint32> extents = numbers(window, u"_NET_FRAME_EXTENTS"_s);
    if (extents.size() != 4) {
        return {};
    }
    const auto extent = [&](int i) {
        return static_cast<int>(extents.at(i));
    };
    return clientRect(window).adjusted(-extent(0), -extent(2), extent(1), extent(3));
}

QString XSession::offCentre(quint32 window, quint32 over) const {
    QPoint offset;
    const bool centred = pollUntil(10000, [&] {
        offset = frameRect(window).center() - (over != 0 ? frameRect(over) : workArea()).center();
        return qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2;
    });
    return centred ? QString() : u"off centre by %1, %2"_s.arg(offset.x()).arg(offset.y());
}

QColor XSession::pixel(QPoint at, const QColor& awaited, int timeoutMs) const {
    QColor seen;
    pollUntil(timeoutMs, [&] {
        const QImage image = grab({at, QSize(1, 1)});
        seen = image.isNull() ? QColor() : image.pixelColor(0, 0);
        return !awaited.isValid() || seen == awaited;
    });
    return seen;
}

// Where a window manager with a panel (icewm's taskbar) leaves room for windows; the screen
// elsewhere.
QRect XSession::workArea() const {
    const QList<quint32> area = numbers(m_root, u"_NET_WORKAREA"_s);
    return area.size() >= 4 ? QRect(int(area[0]), int(area[1]), int(area[2]), int(area[3]))
                            : screenRect();
}

// The screen is 24 bits deep, which the server hands over as 32-bit pixels in the machine's order.
QImage XSession::grab(QRect area) const {
    const auto image = owned(xcb_get_image_reply(
        m_x.get(),
        xcb_get_image(m_x.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, static_cast<qint16>(area.x()),
                      static_cast<qint16>(area.y()), static_cast<quint16>(area.width()),
                      static_cast<quint16>(area.height()), ~0U),
        nullptr));
    if (!image || xcb_get_image_data_length(image.get()) < area.width() * area.height() * 4) {
        return {};
    }
    return QImage(xcb_get_image_data(image.get()), area.width(), area.height(),
                  QImage::Format_RGB32)
        .copy();
}

QRect XSession::screenRect() const {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_x.get())).data;
    return {0, 0, screen->width_in_pixels, screen->height_in_pixels};
}

quint32 XSession::atom(const QString& name) const {
    const QByteArray latin1 = name.toLatin1();
    const auto reply = owned(xcb_intern_atom_reply(
        m_x.get(),
        xcb_intern_atom(m_x.get(), 0, static_cast<quint16>(latin1.size()), latin1.constData()),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

QByteArray XSession::bytes(quint32 window, const QString& name) const {
    constexpr quint32 kWholeProperty = 1U << 24; // in 32-bit units
    const auto reply =
        owned(xcb_get_property_reply(m_x.get(),
                                     xcb_get_property(m_x.get(), 0, window, atom(name),
                                                      XCB_GET_PROPERTY_TYPE_ANY, 0, kWholeProperty),
                                     nullptr));
    if (!reply) {
        return {};
    }
    return {static_cast<const char*>(xcb_get_property_value(reply.get())),
            xcb_get_property_value_length(reply.get())};
}

QList<quint32> XSession::numbers(quint32 window, const QString& name) const {
    const QByteArray raw = bytes(window, name);
    QList<quint32> items;
    for (qsizetype at = 0; at + 4 <= raw.size(); at += 4) {
        items << qFromUnaligned<quint32>(raw.constData() + at);
    }
    return items;
}

bool XSession::lists(quint32 window, const QString& name, const QString& item) const {
    return numbers(window, name).contains(atom(item));
}

QString XSession::text(quint32 window, const QString& name) const {
    QByteArray raw = bytes(window, name);
    if (raw.endsWith('\0')) {
        raw.chop(1);
    }
    return QString::fromUtf8(raw.replace('\0', ','));
}

void XSession::activate(quint32 window) const {
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
    return run(u"xclip"_s, {u"-o"_s, u"-selection"_s, u"clipboard"_s}, 15000);
}

void XSession::setClipboard(const QString& text) const {
    // xclip hands the selection to a child of its own that serves it until another program takes
    // the clipboard or the server ends.
    QProcess xclip;
    xclip.setProcessEnvironment(environment());
    xclip.start(u"xclip"_s, {u"-selection"_s, u"clipboard"_s});
    xclip.write(text.toUtf8());
    xclip.closeWriteChannel();
    xclip.waitForFinished(15000);
}

bool RunningProgram::waitForError(const QString& text, qsizetype after) {
    const QDeadlineTimer deadline(30000);
    while (errors().indexOf(text, after) < 0 && running() && !deadline.hasExpired()) {
        m_process.waitForReadyRead(100);
    }
    return errors().indexOf(text, after) >= 0;
}

} // namespace support
