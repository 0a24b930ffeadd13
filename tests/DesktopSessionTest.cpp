// The built program in the desktop sessions it meets. On a real X server under a window manager:
// how it refuses to start without a usable display, which scale settings it will not pass on, how
// it grows and repaints for the user's font and scale, how docks and taskbars see it, and how it
// ends when its window or its display is taken away. Under weston: alone on the compositor it
// announces a toplevel window, answers the configure and draws, a maximise from the compositor
// leaves it at its own size, and where the session also has an X server it takes X unless the user
// names a platform. BehaviourTest covers the running window.
#include "support/PinnedLayout.hpp"
#include "support/Process.hpp"
#include "support/XSession.hpp"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryFile>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString kProgram = QStringLiteral(QCC_PROGRAM_PATH);
// weston's sockets in the session's runtime folder: alone, and drawing on the X server.
const QString kHeadless = u"qcc-wayland-headless"_s;
const QString kOnX = u"qcc-wayland-on-x"_s;

// The session's environment with qt6ct handing the program the font, as KDE's and GNOME's
// integration hand over the user's, and a cursor that does not blink; its settings lie in the
// session's runtime folder.
QProcessEnvironment withQt6ct(const support::XSession& session, const QString& font) {
    QProcessEnvironment environment = session.environment();
    const QString config = environment.value(u"XDG_RUNTIME_DIR"_s);
    QDir(config).mkpath(u"qt6ct"_s);
    QFile settings(config + u"/qt6ct/qt6ct.conf"_s);
    if (settings.open(QIODevice::WriteOnly)) {
        settings.write(u"[Fonts]\ngeneral=\"%1,-1,5,400,0,0,0,0,0,0,0,0,0,0,1\"\n"
                       u"[Interface]\ncursor_flash_time=0\n"_s.arg(font)
                           .toLatin1());
    }
    environment.insert(u"QT_QPA_PLATFORMTHEME"_s, u"qt6ct"_s);
    environment.insert(u"XDG_CONFIG_HOME"_s, config);
    return environment;
}

// The smallest rectangle around every pixel of the picture where the test holds.
template <typename Test> QRect pixelsWhere(const QImage& image, Test test) {
    QRect found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            found |= test(x, y) ? QRect(x, y, 1, 1) : QRect();
        }
    }
    return found;
}

} // namespace

class DesktopSessionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void refusesToStartWithOneLineSayingWhy_data();
    void refusesToStartWithOneLineSayingWhy();
    void scaleSettingsNoDesktopCanMeanAreIgnored_data();
    void scaleSettingsNoDesktopCanMeanAreIgnored();
    void aLostXConnectionEndsWithStatusOneAndOneLine();
    void destroyedByAnotherProgramItEndsWithStatusZero();
    void growsCentredForTheFontQt6ctHandsOver_data();
    void growsCentredForTheFontQt6ctHandsOver();
    void everyChangeOfStateReachesTheScreenWhole_data();
    void everyChangeOfStateReachesTheScreenWhole();
    void aMinimisedWindowWaitsOnTheTaskbar_data();
    void aMinimisedWindowWaitsOnTheTaskbar();
    void showsItsWindowOnWeston();
    void aMaximiseFromTheCompositorLeavesItRunningAtItsSize();
    void aWaylandSessionWithAnXServerTakesX_data();
    void aWaylandSessionWithAnXServerTakesX();

private:
    [[nodiscard]] QProcessEnvironment environmentWith(const QStringList& settings) const;
    QString startWeston();

    // The program's environment in a Wayland session on the socket; the client's side of the
    // protocol is written to its standard error.
    [[nodiscard]] QProcessEnvironment onWayland(const QString& socket, bool withX = false) const {
        return environmentWith({withX ? u"DISPLAY=session"_s : QString(),
                                u"XDG_SESSION_TYPE=wayland"_s, u"WAYLAND_DISPLAY="_s + socket,
                                u"WAYLAND_DEBUG=client"_s});
    }

    std::unique_ptr<support::XSession> m_session;
    std::unique_ptr<support::RunningProgram> m_headless;
    std::unique_ptr<support::RunningProgram> m_onX;
};

void DesktopSessionTest::initTestCase() {
    m_session = std::make_unique<support::XSession>();
    QVERIFY2(m_session->failure().isEmpty(), qPrintable(m_session->failure()));
}

// Starts weston once, on two sockets in the session's runtime folder: alone, and drawing on the X
// server. Empty once both sockets are there; else what went wrong.
QString DesktopSessionTest::startWeston() {
    const auto weston = [this](const QString& socket, const QStringList& backend) {
        return std::make_unique<support::RunningProgram>(
            *m_session, u"weston"_s, m_session->environment(),
            backend + QStringList{u"--socket="_s + socket, u"--idle-time=0"_s});
    };
    if (!m_headless) {
        m_headless = weston(kHeadless, {u"--backend=headless-backend.so"_s});
        m_onX = weston(kOnX, {u"--backend=x11-backend.so"_s, u"--width=1024"_s, u"--height=768"_s});
    }
    const QString runtime = m_session->environment().value(u"XDG_RUNTIME_DIR"_s);
    for (support::RunningProgram* compositor : {m_headless.get(), m_onX.get()}) {
        const QString socket = compositor == m_onX.get() ? kOnX : kHeadless;
        if (!support::pollUntil(30000, [&] { return QFile::exists(runtime + u'/' + socket); })) {
            return u"weston opened no socket "_s + socket + u": "_s + compositor->errors();
        }
    }
    return {};
}

// The session's environment with settings applied: "NAME=value" sets, "NAME=" removes, and
// "DISPLAY=session" names this session's display.
QProcessEnvironment DesktopSessionTest::environmentWith(const QStringList& settings) const {
    QProcessEnvironment environment = m_session->environment();
    environment.remove(u"DISPLAY"_s);
    for (const QString& setting : settings) {
        const QString name = setting.section(QLatin1Char('='), 0, 0);
        const QString value = setting.section(QLatin1Char('='), 1);
        if (value.isEmpty()) {
            environment.remove(name);
        } else {
            environment.insert(
                name, value == u"session"_s ? m_session->environment().value(u"DISPLAY"_s) : value);
        }
    }
    return environment;
}

void DesktopSessionTest::refusesToStartWithOneLineSayingWhy_data() {
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no display at all") << QStringList() << u"no graphical desktop"_s;
    QTest::newRow("an X display that is not there")
        << QStringList{u"DISPLAY=:4321"_s} << u"the X display \":4321\" did not answer"_s;
    // Naming a platform is enough to start: offscreen needs no display.
    QTest::newRow("a platform plugin that is not installed, and no display")
        << QStringList{u"QT_QPA_PLATFORM=foo"_s}
        << u"platform plugin \"foo\" set in QT_QPA_PLATFORM is not installed"_s;
    QTest::newRow("Wayland asked for where no compositor runs")
        << QStringList{u"DISPLAY=session"_s, u"QT_QPA_PLATFORM=wayland"_s}
        << QStringLiteral("platform plugin \"wayland\" set in QT_QPA_PLATFORM could not start: "
                          "the Wayland display \"wayland-0\" did not answer");
}

void DesktopSessionTest::refusesToStartWithOneLineSayingWhy() {
    QFETCH(QStringList, settings);
    QFETCH(QString, expected);
    support::RunningProgram program(*m_session, kProgram, environmentWith(settings));
    QVERIFY(program.process().waitForFinished(30000));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit); // no abort, no core dump
    QCOMPARE(program.process().exitCode(), 1);
    QVERIFY(program.process().readAllStandardOutput().isEmpty());
    const QString message = program.end();
    QCOMPARE(message.count(QLatin1Char('\n')), 1);
    QVERIFY2(message.contains(expected), qPrintable(message));
}

void DesktopSessionTest::scaleSettingsNoDesktopCanMeanAreIgnored_data() {
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("ignored");
    const QSize atOne = pinned::kClientPixels;
    for (const char* factor : {"-1", "0", "1e6", "nan", "inf", "two"}) {
        QTest::addRow("QT_SCALE_FACTOR=%s", factor)
            << u"QT_SCALE_FACTOR="_s + QLatin1String(factor) << atOne << true;
    }
    QTest::newRow("a bad screen entry")
        << u"QT_SCREEN_SCALE_FACTORS=1;screen=-2"_s << atOne << true;
    for (const char* factor : {"1.5", "2"}) {
        QTest::addRow("QT_SCALE_FACTOR=%s", factor)
            << u"QT_SCALE_FACTOR="_s + QLatin1String(factor) << atOne * std::atof(factor) << false;
    }
    QTest::newRow("sane screen entries") << u"QT_SCREEN_SCALE_FACTORS=2;"_s << atOne * 2 << false;
    // How high-DPI X11 desktops ask for a scale: an X resource, not a variable.
    QTest::newRow("Xft.dpi: 144") << u"Xft.dpi=144"_s << atOne * 1.5 << false;
    QTest::newRow("Xft.dpi: 192") << u"Xft.dpi=192"_s << atOne * 2 << false;
}

// Whatever the scale, the window stands centred: the window manager announces the frame in device
// pixels, whatever the scale Qt works at.
void DesktopSessionTest::scaleSettingsNoDesktopCanMeanAreIgnored() {
    QFETCH(QString, setting);
    QFETCH(QSize, client);
    QFETCH(bool, ignored);
    const bool resource = setting.startsWith(u"Xft."_s);
    QTemporaryFile resources;
    if (resource && resources.open()) {
        resources.write(QString(setting).replace(u'=', u": "_s).toLatin1() + '\n');
        resources.flush();
        m_session->run(u"xrdb"_s, {u"-merge"_s, resources.fileName()});
    }
    const auto forget = qScopeGuard([this] {
        m_session->run(u"xprop"_s, {u"-root"_s, u"-remove"_s, u"RESOURCE_MANAGER"_s});
    });
    support::RunningProgram program(
        *m_session, kProgram,
        environmentWith({u"DISPLAY=session"_s, resource ? QString() : setting}));
    const quint32 window = program.window();
    const QString offCentre = window != 0 ? m_session->offCentre(window) : QString();
    const QSize shown = window != 0 ? m_session->clientRect(window).size() : QSize();
    const QString message = program.end();
    QVERIFY2(window != 0, qPrintable("no window; said: " + message));
    QVERIFY2(qAbs(shown.width() - client.width()) <= 1 &&
                 qAbs(shown.height() - client.height()) <= 1,
             qPrintable(u"%1 by %2"_s.arg(shown.width()).arg(shown.height())));
    QVERIFY2(offCentre.isEmpty(), qPrintable(offCentre));
    if (ignored) {
        QCOMPARE(message.count(QLatin1Char('\n')), 1);
        QVERIFY2(message.contains(u"ignoring "_s + setting.section(QLatin1Char('='), 0, 0)),
                 qPrintable(message));
    } else {
        QCOMPARE(message, QString());
    }
}

void DesktopSessionTest::aLostXConnectionEndsWithStatusOneAndOneLine() {
    auto session = std::make_unique<support::XSession>();
    QVERIFY2(session->failure().isEmpty(), qPrintable(session->failure()));
    support::RunningProgram program(*session, kProgram, session->environment());
    QVERIFY(program.window() != 0);
    session.reset(); // the X server goes away under the running program
    QProcess& process = program.process();
    QVERIFY(process.waitForFinished(30000));
    // One line from Qt, and nothing from the sanitizers either.
    const QString message = program.end();
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 1,
             qPrintable(u"status %1: "_s.arg(process.exitCode()) + message));
    QVERIFY2(message.count(QLatin1Char('\n')) == 1 && message.contains(u"X11 connection broke"_s),
             qPrintable(message));
}

void DesktopSessionTest::destroyedByAnotherProgramItEndsWithStatusZero() {
    support::RunningProgram program(*m_session, kProgram, m_session->environment());
    const quint32 window = program.window();
    QVERIFY2(window != 0, "the program's window never appeared");
    m_session->run(u"xdotool"_s, {u"windowclose"_s, QString::number(window)});
    QProcess& process = program.process();
    QVERIFY2(process.waitForFinished(30000), "still running after its window was destroyed");
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

void DesktopSessionTest::growsCentredForTheFontQt6ctHandsOver_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<QSize>("screen");
    QTest::newRow("DejaVu Sans 12 on 1280 x 1024") << 12 << QSize(1280, 1024);
    QTest::newRow("DejaVu Sans 20 on 1024 x 768") << 20 << QSize(1024, 768);
}

// DejaVu Sans 12 needs more room than the table's boxes give, and at 20 points the grown window
// would be larger than a small screen.
void DesktopSessionTest::growsCentredForTheFontQt6ctHandsOver() {
    QFETCH(int, points);
    QFETCH(QSize, screen);
    const support::XSession session(screen);
    QVERIFY2(session.failure().isEmpty(), qPrintable(session.failure()));
    const QProcessEnvironment environment = withQt6ct(session, u"DejaVu Sans,%1"_s.arg(points));
    support::RunningProgram program(session, kProgram, environment);
    const quint32 window = program.window();
    QVERIFY2(window != 0, "the program's window never appeared");
    const QString offCentre = session.offCentre(window);
    const QSize shown = session.clientRect(window).size();
    const QRect frame = session.frameRect(window);
    program.end();
    QString seen;
    QDebug(&seen) << shown << "framed at" << frame;
    const double factor = shown.width() / static_cast<double>(pinned::kClientPixels.width());
    QVERIFY2(factor > 1.3, qPrintable(seen));
    QVERIFY(qAbs(shown.height() - pinned::kClientPixels.height() * factor) <= 1);
    QVERIFY2(QRect(QPoint(), screen).contains(frame), qPrintable(seen));
    QVERIFY2(offCentre.isEmpty(), qPrintable(offCentre + u": "_s + seen));
}

void DesktopSessionTest::everyChangeOfStateReachesTheScreenWhole_data() {
    QTest::addColumn<QString>("factor");
    for (const char* factor : {"1.5", "1.5625", "1.75"}) {
        QTest::addRow("Cantarell 11 at %s", factor) << QString::fromLatin1(factor);
    }
}

// Qt copies each repaint to the screen; a row or column a change paints but leaves out of that
// copy keeps the look before it, such as the focus colour after the focus has left. After each
// change, once the picture holds still, drawing the whole window afresh must change nothing.
void DesktopSessionTest::everyChangeOfStateReachesTheScreenWhole() {
    QFETCH(QString, factor);
    QProcessEnvironment environment = withQt6ct(*m_session, u"Cantarell,11"_s);
    environment.insert(u"QT_SCALE_FACTOR"_s, factor);
    m_session->run(u"xdotool"_s, {u"mousemove"_s, u"0"_s, u"0"_s}); // no hover to come late
    support::RunningProgram program(*m_session, kProgram, environment);
    const quint32 window = program.window();
    QVERIFY2(window != 0 && m_session->offCentre(window).isEmpty(), "no window, or off centre");
    const QRect client = m_session->clientRect(window);
    const double grown = client.width() / double(pinned::kClientPixels.width());
    const auto over = [&](const char* name) {
        const QPoint at = client.topLeft() + pinned::centreInClient(QLatin1String(name)) * grown;
        return u"mousemove %1 %2 "_s.arg(at.x()).arg(at.y());
    };
    const QList<std::pair<const char*, QString>> steps{
        {"first paint", u"getmouselocation"_s},
        {"a click on Text1", over("Text1") + u"click 1"_s},
        {"Shift+Tab back to Command1", u"key shift+Tab"_s},
        {"a click on Text2", over("Text2") + u"click 1"_s},
        {"Tab back to Command1", u"key Tab"_s},
        {"hovering Command1", over("Command1").trimmed()},
        {"pressing Command1", u"mousedown 1"_s}};
    QString seen;
    QImage shown;
    for (const auto& [after, action] : steps) {
        m_session->run(u"xdotool"_s, action.split(u' '));
        // Waits for the change to show (in vain where it shows nothing), then to hold still for a
        // second, through the repaints that follow it (the hover after a move).
        const QImage before = shown;
        support::pollUntil(5000, [&] { return (shown = m_session->grab(client)) != before; });
        QDeadlineTimer still(1000);
        support::pollUntil(30000, [&] {
            if (const QImage again = m_session->grab(client); again != shown) {
                shown = again;
                still.setRemainingTime(1000);
            }
            return still.hasExpired();
        });
        m_session->run(u"xrefresh"_s, {u"-solid"_s, u"magenta"_s});
        QImage fresh; // drawn afresh once nothing is left as xrefresh painted it
        QVERIFY(support::pollUntil(30000, [&] {
            fresh = m_session->grab(client);
            return !fresh.isNull() && pixelsWhere(fresh, [&](int x, int y) {
                                          return fresh.pixel(x, y) == qRgb(255, 0, 255);
                                      }).isEmpty();
        }));
        const QRect stale = pixelsWhere(
            shown, [&](int x, int y) { return shown.pixel(x, y) != fresh.pixel(x, y); });
        if (!stale.isEmpty()) {
            QDebug(&seen) << "after" << after << "the screen kept" << stale << "as it was\n";
        }
    }
    m_session->run(u"xdotool"_s, {u"mouseup"_s, u"1"_s});
    QVERIFY2(seen.isEmpty(), qPrintable(seen));
}

void DesktopSessionTest::aMinimisedWindowWaitsOnTheTaskbar_data() {
    QTest::addColumn<QStringList>("windowManager");
    QTest::addColumn<QStringList>("bringBack"); // xdotool's arguments; %1 is the window
    QTest::addColumn<QString>("platformTheme");
    const QStringList openbox{u"openbox"_s, u"--sm-disable"_s};
    QTest::newRow("openbox, Alt+Tab")
        << openbox << QStringList{u"key"_s, u"alt+Tab"_s} << QString();
    // What a taskbar asks when its button is clicked.
    QTest::newRow("KWin, the taskbar")
        << QStringList{u"kwin_x11"_s} << QStringList{u"windowactivate"_s, u"%1"_s} << QString();
    // Qt hands the chooser to GTK, which sets no taskbar hint and reopens where it last stood.
    QTest::newRow("openbox, GTK's chooser")
        << openbox << QStringList{u"key"_s, u"alt+Tab"_s} << u"gtk3"_s;
}

// The window as docks and taskbars see it. A dock groups it under its launcher by its class.
// KWin offers Minimise to every window that takes the keyboard, whatever the window asks, and
// openbox draws the button anyway. Minimised, the window shows on the taskbar, and it leaves the
// taskbar once it is back. Neither window manager lets it be maximised or resized, and the chooser
// stays off the taskbar too, and opens centred over the window each time, also after the user
// resized it.
void DesktopSessionTest::aMinimisedWindowWaitsOnTheTaskbar() {
    QFETCH(QStringList, windowManager);
    QFETCH(QStringList, bringBack);
    QFETCH(QString, platformTheme);
    if (!platformTheme.isEmpty() &&
        !QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                           u"/platformthemes/libq"_s + platformTheme + u".so"_s)) {
        QSKIP("Qt's GTK platform theme (qt6-gtk-platformtheme) is not installed");
    }
    const support::XSession session({1280, 1024}, windowManager);
    QVERIFY2(session.failure().isEmpty(), qPrintable(session.failure()));
    QProcessEnvironment environment = session.environment();
    environment.insert(u"QT_QPA_PLATFORMTHEME"_s, platformTheme);
    support::RunningProgram program(session, kProgram, environment);
    const quint32 window = program.window();
    QVERIFY2(window != 0, "the program's window never appeared");
    const QString offCentre = session.offCentre(window);
    QVERIFY2(offCentre.isEmpty(), qPrintable(offCentre));
    for (const QString& action : {u"MAXIMIZE_HORZ"_s, u"MAXIMIZE_VERT"_s, u"RESIZE"_s}) {
        QVERIFY2(
            !session.lists(window, u"_NET_WM_ALLOWED_ACTIONS"_s, u"_NET_WM_ACTION_"_s + action),
            qPrintable(action));
    }
    QSettings entry(QStringLiteral(QCC_DESKTOP_ENTRY), QSettings::IniFormat);
    const QString announced = entry.value(u"Desktop Entry/StartupWMClass"_s).toString();
    QVERIFY(!announced.isEmpty());
    QVERIFY(session.text(window, u"WM_CLASS"_s).endsWith(u',' + announced));
    const auto offTaskbar = [&session](quint32 shown) {
        return session.lists(shown, u"_NET_WM_STATE"_s, u"_NET_WM_STATE_SKIP_TASKBAR"_s);
    };
    QVERIFY(offTaskbar(window));

    for (const int opening : {1, 2}) {
        session.activate(window);
        session.keys({u"space"_s});
        const quint32 chooser =
            session.waitForWindow(u"^Select Color$"_s, program.process().processId());
        QVERIFY2(chooser != 0, "the chooser never appeared");
        QVERIFY2(support::pollUntil(10000, [&] { return offTaskbar(chooser); }),
                 qPrintable(u"opening %1: on the taskbar"_s.arg(opening)));
        const QString chooserOffCentre = session.offCentre(chooser, window);
        QVERIFY2(chooserOffCentre.isEmpty(),
                 qPrintable(u"opening %1: "_s.arg(opening) + chooserOffCentre));
        session.run(u"xdotool"_s, {u"windowsize"_s, QString::number(chooser), u"620"_s, u"520"_s});
        session.keys({u"Escape"_s});
        QVERIFY(session.waitForWindowGone(chooser));
    }

    session.run(u"xdotool"_s, {u"windowminimize"_s, QString::number(window)});
    QVERIFY2(session.waitForWindowGone(window, 10000), "the window was not minimised");
    QVERIFY2(support::pollUntil(10000, [&] { return !offTaskbar(window); }),
             "minimised, the window is not on the taskbar");
    session.run(u"xdotool"_s, bringBack.replaceInStrings(u"%1"_s, QString::number(window)));
    QCOMPARE(program.window(), window);
    QVERIFY2(support::pollUntil(10000, [&] { return offTaskbar(window); }),
             "back, the window is still on the taskbar");
}

void DesktopSessionTest::showsItsWindowOnWeston() {
    const QString failure = startWeston();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    support::RunningProgram program(*m_session, kProgram, onWayland(kHeadless));
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
void DesktopSessionTest::aMaximiseFromTheCompositorLeavesItRunningAtItsSize() {
    const QString failure = startWeston();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    support::RunningProgram program(*m_session, kProgram, onWayland(kOnX));
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

void DesktopSessionTest::aWaylandSessionWithAnXServerTakesX_data() {
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("onX");
    QTest::newRow("no platform named") << QString() << true;
    QTest::newRow("QT_QPA_PLATFORM=wayland") << u"wayland"_s << false;
}

void DesktopSessionTest::aWaylandSessionWithAnXServerTakesX() {
    const QString failure = startWeston();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QFETCH(QString, platform);
    QFETCH(bool, onX);
    QProcessEnvironment environment = onWayland(kHeadless, true);
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

QTEST_GUILESS_MAIN(DesktopSessionTest)
#include "DesktopSessionTest.moc"
