// A private X server (Xvfb on a free display) with openbox managing it, for tests that drive the
// real program as a user would. Both are stopped when the session goes out of scope.
#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace support {

class XSession {
public:
    explicit XSession(QSize screen = {1280, 1024});
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;
    XSession(XSession&&) = delete;
    XSession& operator=(XSession&&) = delete;
    ~XSession();

    // Empty when the server and the window manager are up; otherwise what went wrong.
    [[nodiscard]] const QString& failure() const { return m_failure; }
    [[nodiscard]] QString display() const { return m_display; }
    // The caller's environment pointed at this server only, with a private runtime folder as a
    // desktop session has.
    [[nodiscard]] QProcessEnvironment environment() const;

    // Runs an X client to completion and returns its standard output; empty on failure or after
    // the timeout.
    QString run(const QString& program, const QStringList& arguments, int timeoutMs = 10000) const;
    // The window whose title matches the regular expression (and, given one, that the process
    // owns), waiting for it to appear; 0 if none.
    [[nodiscard]] unsigned long waitForWindow(const QString& titlePattern, int timeoutMs = 10000,
                                              qint64 processId = 0) const;
    [[nodiscard]] bool waitForWindowGone(unsigned long window, int timeoutMs = 30000) const;
    // Starts an X client on this server (output forwarded to the test's); null if it failed.
    [[nodiscard]] std::unique_ptr<QProcess>
    startClient(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment) const;
    // The client area of a window in root coordinates.
    [[nodiscard]] QRect clientRect(unsigned long window) const;
    // The client area grown by the frame the window manager put around it; null if unframed.
    [[nodiscard]] QRect frameRect(unsigned long window) const;
    // How far the frame's centre stands from the screen's, waiting up to the timeout for the
    // window to settle on the centre.
    [[nodiscard]] QPoint offCentre(unsigned long window, int timeoutMs = 2000) const;
    [[nodiscard]] QRect screenRect() const;
    [[nodiscard]] QImage screenshot() const;
    // The colour on screen at the point once it turns the awaited one, or what it shows when the
    // timeout runs out.
    [[nodiscard]] QColor waitForPixel(QPoint screenPoint, const QColor& awaited,
                                      int timeoutMs = 3000) const;
    // One property of a window as xprop prints it, without the property's name.
    [[nodiscard]] QString property(unsigned long window, const QString& name) const;
    // Raises the window and gives it the keyboard, as a click on its title would.
    void activate(unsigned long window) const;
    void keys(const QStringList& keys) const;
    void type(const QString& text) const;
    void click(QPoint screenPoint) const;
    [[nodiscard]] QString clipboard() const;
    // Owns the clipboard with the text, as a program the user copied from would.
    void setClipboard(const QString& text) const;

private:
    [[nodiscard]] QByteArray standardOutputOf(const QString& program, const QStringList& arguments,
                                              int timeoutMs) const;
    bool startServer(QSize screen);
    bool startWindowManager();

    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_windowManager;
    QTemporaryDir m_runtimeDir;
    QString m_display;
    QString m_failure;
};

} // namespace support
