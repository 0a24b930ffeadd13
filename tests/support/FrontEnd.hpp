// The converter window as a user meets it, on any front end: the Qt program or the Windows program
// under Wine, each on the private X session, or the page in headless Chromium. One behaviour suite
// drives all three through this; each front end says how to press keys, read a text, work its
// colour chooser and read its window's make-up. Controls are found by name at their places in the
// pinned layout, grown by the window's one factor where its font needs more room.
#pragma once

#include "XSession.hpp"

#include <QColor>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace support {

class FrontEnd {
public:
    enum class Kind { Qt, Windows, Web };

    // The front end named by QCC_FRONT_END ("qt", "windows" or "web").
    static std::unique_ptr<FrontEnd> fromEnvironment(XSession& session);

    explicit FrontEnd(XSession& session);
    Q_DISABLE_COPY_MOVE(FrontEnd)
    virtual ~FrontEnd();

    [[nodiscard]] virtual Kind kind() const = 0;
    // Why this machine cannot run the program at all, in one line; empty where it can.
    [[nodiscard]] virtual QString whyItCannotRun() const { return {}; }
    // Starts the program and waits for its window; empty when it stands, else what went wrong.
    virtual QString start() = 0;
    // The whole text of a box. The Qt front end copies it out through the clipboard, which moves
    // the focus into the box.
    [[nodiscard]] virtual QString text(const QString& control) = 0;
    // Types the channels into the open chooser and confirms.
    virtual void pickInChooser(const QColor& color) = 0;
    // What the window offers around its controls, as the window manager or Windows sees it: "name
    // 0" or "name 1" for minimise, maximise, resizable, close, menu and icon (the desktop has the
    // window's icons); the Windows program adds its file's icon count and version record.
    [[nodiscard]] virtual QStringList facts() = 0;

    // Key names as xdotool knows them, to whatever has the keyboard.
    virtual void keys(const QStringList& names) { m_session.keys(names); }
    virtual void type(const QString& text) { m_session.type(text); }
    // Gives the window the keyboard, as a click on its title would.
    virtual void activate() { m_session.activate(m_window); }
    virtual void click(const QString& control) { m_session.click(onScreen(control)); }
    // Puts the text on the clipboard and pastes it over the box's whole text.
    virtual void paste(const QString& control, const QString& text);
    // The colour in the middle of the control, once it turns the awaited one if one is given; what
    // it shows when the wait runs out.
    [[nodiscard]] QColor pixel(const QString& control, const QColor& awaited = {});
    // Waits for the colour chooser to open, and for it to go; 0 and false when it does not.
    [[nodiscard]] virtual quint32 waitForChooser();
    [[nodiscard]] virtual bool waitForChooserGone(quint32 chooser) {
        return m_session.waitForWindowGone(chooser);
    }
    // Clicks Select Color and waits for the chooser; 0 if none came.
    [[nodiscard]] quint32 openChooser();
    [[nodiscard]] QProcess& program() const { return m_program->process(); }
    [[nodiscard]] quint32 window() const { return m_window; }
    // How far the window grew for its font: 1 at the layout's own size.
    [[nodiscard]] double scale() const { return m_scale; }
    [[nodiscard]] XSession& session() const { return m_session; }

protected:
    // Starts the command on the session and waits for the window with the program's title.
    QString startAndFindWindow(const QString& program, const QStringList& arguments,
                               const QProcessEnvironment& environment);
    [[nodiscard]] virtual QString chooserTitle() const { return {}; }
    // Where the client area's top-left corner is, and how far it grew for its font.
    void place(QPoint origin, double scale) {
        m_origin = origin;
        m_scale = scale;
    }
    // The middle of the control on the screen.
    [[nodiscard]] QPoint onScreen(const QString& control) const;
    [[nodiscard]] virtual QColor pixelAt(QPoint screenPoint) {
        return m_session.pixel(screenPoint);
    }
    // The sides of the square icons the window offers the desktop.
    [[nodiscard]] QList<int> iconSizes() const;

private:
    XSession& m_session;
    std::unique_ptr<RunningProgram> m_program;
    quint32 m_window = 0;
    QPoint m_origin;
    double m_scale = 1.0;
};

} // namespace support
