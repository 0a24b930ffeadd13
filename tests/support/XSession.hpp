// A private X server (Xvfb on a free display) with openbox managing it, for tests that drive the
// real program as a user would. Both are stopped when the session goes out of scope. Window facts
// are read over the session's own X connection; input goes through xdotool, the clipboard through
// xclip.
#pragma once

#include "Process.hpp"

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

struct xcb_connection_t;

namespace support {

class XSession {
public:
    // The window manager is a command line: openbox unless another is named ("kwin_x11").
    explicit XSession(QSize screen = {1280, 1024},
                      const QStringList& windowManager = {QStringLiteral("openbox"),
                                                          QStringLiteral("--sm-disable")});
    Q_DISABLE_COPY_MOVE(XSession)
    ~XSession();

    // Empty when the server and the window manager are up; otherwise what went wrong.
    [[nodiscard]] const QString& failure() const { return m_failure; }
    // The caller's environment pointed at this server only, with a private runtime folder as a
    // desktop session has.
    [[nodiscard]] QProcessEnvironment environment() const;

    // Runs an X client to completion and returns its standard output; empty on failure or after
    // the timeout.
    QString run(const QString& program, const QStringList& arguments, int timeoutMs = 10000) const;
    // The shown window whose title matches the regular expression (and, given one, that the
    // process owns), waiting up to a minute for it to appear; 0 if none.
    [[nodiscard]] quint32 waitForWindow(const QString& titlePattern, qint64 processId = 0) const;
    [[nodiscard]] bool waitForWindowGone(quint32 window, int timeoutMs = 30000) const;
    // The client area of a window in root coordinates.
    [[nodiscard]] QRect clientRect(quint32 window) const;
    // The client area grown by the frame the window manager put around it; null if unframed.
    [[nodiscard]] QRect frameRect(quint32 window) const;
    // Empty once the frame's centre stands within 2 pixels of the work area's (or, given one, of
    // another window's frame), waiting up to ten seconds for it to settle; else how far off.
    [[nodiscard]] QString offCentre(quint32 window, quint32 over = 0) const;
    [[nodiscard]] QRect screenRect() const;
    [[nodiscard]] QRect workArea() const;
    // The colour on screen at the point; given an awaited colour, once it turns that one, or what
    // it shows when the timeout runs out.
    [[nodiscard]] QColor pixel(QPoint at, const QColor& awaited = {}, int timeoutMs = 15000) const;
    // What the screen shows in the area.
    [[nodiscard]] QImage grab(QRect area) const;
    // A window's property of 32-bit items (cardinals, atoms, windows); empty if unset.
    [[nodiscard]] QList<quint32> numbers(quint32 window, const QString& name) const;
    // Whether a property of atoms (a window's state, its allowed actions) holds the named one.
    [[nodiscard]] bool lists(quint32 window, const QString& name, const QString& item) const;
    // A property of text; the strings of a list (such as WM_CLASS) joined by commas.
    [[nodiscard]] QString text(quint32 window, const QString& name) const;
    // Raises the window and gives it the keyboard, as a click on its title would.
    void activate(quint32 window) const;
    void keys(const QStringList& keys) const;
    void type(const QString& text) const;
    void click(QPoint screenPoint) const;
    [[nodiscard]] QString clipboard() const;
    // Owns the clipboard with the text, as a program the user copied from would.
    void setClipboard(const QString& text) const;

private:
    [[nodiscard]] QByteArray bytes(quint32 window, const QString& name) const;
    [[nodiscard]] quint32 atom(const QString& name) const;
    [[nodiscard]] bool isShown(quint32 window) const;
    bool startServer(QSize screen);
    bool startWindowManager(const QStringList& command);

    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_windowManager;
    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> m_x{nullptr, nullptr};
    quint32 m_root = 0;
    QTemporaryDir m_runtimeDir;
    QString m_display;
    QString m_failure;
};

// A program started on a session, ended by its own QProcess when it goes out of scope.
class RunningProgram {
public:
    RunningProgram(const XSession& session, const QString& program,
                   const QProcessEnvironment& environment, const QStringList& arguments = {})
        : m_session(session) {
        endWithTheTest(m_process);
        m_process.setProcessEnvironment(environment);
        m_process.start(program, arguments);
        m_process.waitForStarted();
    }
    Q_DISABLE_COPY_MOVE(RunningProgram)
    ~RunningProgram() { end(); }

    // Its window with the converter's title, once shown; 0 if none came within a minute.
    [[nodiscard]] quint32 window() const {
        return m_session.waitForWindow(QStringLiteral("^Quillmarch Color Converter$"),
                                       m_process.processId());
    }
    [[nodiscard]] QProcess& process() { return m_process; }
    [[nodiscard]] bool running() const { return m_process.state() == QProcess::Running; }
    // Whether the text shows in what it wrote to standard error after the given place there
    // (Qt's messages, the protocol lines WAYLAND_DEBUG asks for), waiting up to 30 s.
    bool waitForError(const QString& text, qsizetype after = 0);
    [[nodiscard]] const QString& errors() { return m_errors += readErrors(); }
    // Asks it to end, as a desktop does, and returns all it wrote to standard error.
    const QString& end() {
        stop(&m_process);
        return errors();
    }

private:
    QString readErrors() { return QString::fromLocal8Bit(m_process.readAllStandardError()); }

    const XSession& m_session;
    QProcess m_process;
    QString m_errors;
};

} // namespace support
