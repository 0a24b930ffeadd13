#include "FrontEnd.hpp"

#include "PageDriver.hpp"
#include "PinnedLayout.hpp"
#include "Process.hpp"
#include "WinePrefix.hpp"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace support {
namespace {

const QString kTitle = u"Quillmarch Color Converter"_s;

QString fact(const QString& name, bool holds) {
    return name + (holds ? u" 1"_s : u" 0"_s);
}

QString exactTitle(const QString& title) {
    return QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
}

// --- The Qt program --------------------------------------------------------------------------

class QtFrontEnd final : public FrontEnd {
public:
    using FrontEnd::FrontEnd;

    [[nodiscard]] Kind kind() const override { return Kind::Qt; }

    QString start() override {
        return startAndFindWindow(QStringLiteral(QCC_PROGRAM_PATH), {}, session().environment());
    }

    // Click into the box, select all, copy. A fresh marker on the clipboard first tells the new
    // copy from an earlier one; an empty box copies nothing and leaves the marker.
    QString text(const QString& control) override {
        const QString marker = u"marker %1"_s.arg(++m_copies);
        session().setClipboard(marker);
        click(control);
        session().keys({u"ctrl+a"_s, u"ctrl+c"_s});
        QString copied;
        const bool landed = pollUntil(15000, [&] {
            copied = session().clipboard();
            return !copied.isEmpty() && copied != marker;
        });
        return landed ? copied : QString();
    }

    // The chooser's own access keys: Alt+R, Alt+G and Alt+U reach the red, green and blue fields.
    void pickInChooser(const QColor& color) override {
        for (const auto& [accessKey, value] : {std::pair{u"alt+r"_s, color.red()},
                                               {u"alt+g"_s, color.green()},
                                               {u"alt+u"_s, color.blue()}}) {
            session().keys({accessKey, u"ctrl+a"_s});
            session().type(QString::number(value));
        }
        session().keys({u"Return"_s});
    }

    // The Motif hints are what the program asks of every window manager; openbox's allowed
    // actions and the size hints show what it made of them.
    QStringList facts() override {
        constexpr uint kAllFunctions = 0x01;
        constexpr uint kMinimise = 0x08;
        constexpr uint kMaximise = 0x10;
        constexpr uint kClose = 0x20;
        constexpr uint kMenuDecoration = 0x10;
        const QList<quint32> motif = session().numbers(window(), u"_MOTIF_WM_HINTS"_s);
        const uint functions = motif.value(1, ~0U);
        const auto allowed = [this](const QString& action) {
            return session().lists(window(), u"_NET_WM_ALLOWED_ACTIONS"_s,
                                   u"_NET_WM_ACTION_"_s + action);
        };
        // WM_NORMAL_HINTS: flags, then x, y, width, height, then the minimum and maximum sizes.
        const QList<quint32> sizes = session().numbers(window(), u"WM_NORMAL_HINTS"_s);
        return {fact(u"minimise"_s, (functions & (kAllFunctions | kMinimise)) != 0),
                fact(u"maximise"_s,
                     (functions & (kAllFunctions | kMaximise)) != 0 || allowed(u"MAXIMIZE_HORZ"_s)),
                fact(u"resizable"_s, sizes.mid(5, 2) != sizes.mid(7, 2) || allowed(u"RESIZE"_s)),
                fact(u"close"_s, (functions & kClose) != 0 && allowed(u"CLOSE"_s)),
                fact(u"menu"_s, (motif.value(2, ~0U) & kMenuDecoration) != 0),
                fact(u"icon"_s, iconSizes().contains(24))};
    }

protected:
    [[nodiscard]] QString chooserTitle() const override { return u"Select Color"_s; }

private:
    int m_copies = 0;
};

// --- The Windows program under Wine ----------------------------------------------------------

class WindowsFrontEnd final : public FrontEnd {
public:
    explicit WindowsFrontEnd(XSession& session)
        : FrontEnd(session)
        , m_wine(session, m_build) {}

    [[nodiscard]] Kind kind() const override { return Kind::Windows; }
    [[nodiscard]] QString whyItCannotRun() const override { return m_build.whyWineCannotRunIt(); }

    QString start() override {
        const QString failure = m_wine.boot();
        return failure.isEmpty() ? startAndFindWindow(m_build.wineLoader(), {m_build.program()},
                                                      m_wine.environment())
                                 : failure;
    }

    // The text after the control's id and rectangle in what the probe reads.
    QString text(const QString& control) override {
        const ToolOutcome read = wine({probe(), u"controls"_s, kTitle});
        const QString id = QString::number(controlId(control)) + u' ';
        const QStringList line = read.output.split(u'\n').filter(QRegularExpression(u'^' + id));
        return read.exitCode == 0 && line.size() == 1 ? line.first().section(u' ', 5)
                                                      : u"<unreadable>"_s;
    }

    // Alt+R reaches the red field; Tab moves on to green and blue, selecting their text.
    void pickInChooser(const QColor& color) override {
        session().keys({u"alt+r"_s, u"Home"_s, u"shift+End"_s});
        session().type(QString::number(color.red()));
        session().keys({u"Tab"_s});
        session().type(QString::number(color.green()));
        session().keys({u"Tab"_s});
        session().type(QString::number(color.blue()));
        session().keys({u"Return"_s});
    }

    // Wine hands the window's small and big icons to the desktop as _NET_WM_ICON.
    QStringList facts() override {
        return wine({probe(), u"facts"_s, kTitle, m_build.program()}).output.split(u'\n') +
               QStringList{fact(u"icon"_s, iconSizes().contains(16) && iconSizes().contains(32))};
    }

protected:
    [[nodiscard]] QString chooserTitle() const override { return u"Color"_s; }

private:
    [[nodiscard]] QString probe() const { return m_build.testProgram(u"WindowProbe"_s); }

    // The Win32 front end numbers its controls from 100 in the layout's order.
    static int controlId(const QString& control) {
        return 100 + static_cast<int>(&pinned::control(control) - pinned::kControls.data());
    }

    // A probe of the running program answers in seconds.
    [[nodiscard]] ToolOutcome wine(const QStringList& arguments) const {
        return m_wine.run(arguments, 30000);
    }

    WindowsBuild m_build;
    WinePrefix m_wine;
};

// --- The page in a browser engine ---------------------------------------------------------------

#ifdef QCC_WEB_PAGE
class WebFrontEnd final : public FrontEnd {
public:
    using FrontEnd::FrontEnd;

    [[nodiscard]] Kind kind() const override { return Kind::Web; }

    // German, so that a decimal mark taken from the browser's language would show as a comma.
    QString start() override {
        const QUrl page = QUrl::fromLocalFile(QStringLiteral(QCC_WEB_PAGE));
        const QString failure =
            m_browser.open(page, {.language = u"de-DE"_s}, session().environment());
        if (!failure.isEmpty()) {
            return failure;
        }
        // Firefox draws its window on the session, and takes keys as a user's only once a click
        // has made that window active: a click beside the form, and the page opened afresh.
        if (m_browser.engine() == u"firefox"_s) {
            const quint32 window = session().waitForWindow(u"^Quillmarch Color Converter"_s);
            if (window == 0) {
                return u"the browser's window never appeared"_s;
            }
            session().click(session().frameRect(window).bottomRight() - QPoint(40, 40));
            const QString reloaded = m_browser.load(page);
            if (!reloaded.isEmpty()) {
                return reloaded;
            }
        }
        const bool started = m_browser.waitUntilIdle();
        const QJsonValue form =
            m_browser.evaluate(u"(r => [r.x, r.y, r.width])(Form1.getBoundingClientRect())"_s);
        place(QPoint(form[0].toInt(), form[1].toInt()),
              form[2].toDouble() / pinned::kClientPixels.width());
        return started ? QString() : u"the page's program never started"_s;
    }

    void keys(const QStringList& names) override {
        for (const QString& name : names) {
            m_browser.key(name);
        }
    }
    void type(const QString& text) override { m_browser.type(text); }
    void activate() override {}
    void click(const QString& control) override { m_browser.click(onScreen(control)); }

    QString text(const QString& control) override {
        return m_browser.evaluate(u"document.getElementById('%1').value"_s.arg(control)).toString();
    }

    void paste(const QString& control, const QString& text) override {
        click(control);
        m_browser.key(u"ctrl+a"_s);
        m_browser.insertText(text);
    }

    QColor pixelAt(QPoint screenPoint) override { return m_browser.pixel(screenPoint); }

    quint32 waitForChooser() override { return m_browser.waitForChooser() ? 1 : 0; }
    // Gone once the program waits for the next click: the command has written what it writes.
    bool waitForChooserGone(quint32 /*chooser*/) override { return m_browser.waitUntilIdle(); }

    // The keys alone, over the last pick's values: the chooser opens with the red field's text
    // selected, and Tab and Shift+Tab go round its controls (red, green, blue, OK, Cancel, the
    // browser's picker) without leaving the page, selecting the field they land in. Enter in a
    // field is OK.
    void pickInChooser(const QColor& color) override {
        type(QString::number(color.red()));
        keys(QStringList(4, u"shift+Tab"_s));
        type(QString::number(color.blue()));
        keys(QStringList(5, u"Tab"_s));
        type(QString::number(color.green()));
        keys({u"Return"_s});
    }

    QStringList facts() override { return {}; }

private:
    PageDriver m_browser;
};
#endif

} // namespace

std::unique_ptr<FrontEnd> FrontEnd::fromEnvironment(XSession& session) {
#ifdef QCC_WEB_PAGE
    if (qEnvironmentVariable("QCC_FRONT_END") == u"web"_s) {
        return std::make_unique<WebFrontEnd>(session);
    }
#endif
    if (qEnvironmentVariable("QCC_FRONT_END") == u"windows"_s) {
        return std::make_unique<WindowsFrontEnd>(session);
    }
    return std::make_unique<QtFrontEnd>(session);
}

FrontEnd::FrontEnd(XSession& session)
    : m_session(session) {}

FrontEnd::~FrontEnd() = default;

QString FrontEnd::startAndFindWindow(const QString& program, const QStringList& arguments,
                                     const QProcessEnvironment& environment) {
    m_program = std::make_unique<RunningProgram>(m_session, program, environment, arguments);
    if (!m_program->process().waitForStarted()) {
        return program + u" did not start"_s;
    }
    m_window = m_session.waitForWindow(exactTitle(kTitle));
    if (m_window == 0) {
        return u"the program's window never appeared"_s;
    }
    // The window settles where it centres itself once it is framed.
    static_cast<void>(m_session.offCentre(m_window));
    const QRect client = m_session.clientRect(m_window);
    place(client.topLeft(), client.width() / static_cast<double>(pinned::kClientPixels.width()));
    return {};
}

// _NET_WM_ICON holds one icon after another, each as its width, its height and its pixels.
QList<int> FrontEnd::iconSizes() const {
    const QList<quint32> icons = m_session.numbers(m_window, u"_NET_WM_ICON"_s);
    QList<int> sizes;
    for (qsizetype at = 0; at + 1 < icons.size(); at += 2 + qsizetype{icons[at]} * icons[at + 1]) {
        if (icons[at] == icons[at + 1]) {
            sizes << static_cast<int>(icons[at]);
        }
    }
    return sizes;
}

QColor FrontEnd::pixel(const QString& control, const QColor& awaited) {
    QColor seen;
    pollUntil(awaited.isValid() ? 15000 : 0, [&] {
        seen = pixelAt(onScreen(control));
        return !awaited.isValid() || seen == awaited;
    });
    return seen;
}

QPoint FrontEnd::onScreen(const QString& control) const {
    return m_origin + pinned::centreInClient(control) * m_scale;
}

// Wine may still be busy with the window's last work; the wait ends as soon as it is there.
quint32 FrontEnd::waitForChooser() {
    const quint32 chooser = m_session.waitForWindow(exactTitle(chooserTitle()));
    if (chooser != 0) {
        m_session.activate(chooser);
    }
    return chooser;
}

quint32 FrontEnd::openChooser() {
    click(u"Command1"_s);
    return waitForChooser();
}

void FrontEnd::paste(const QString& control, const QString& text) {
    m_session.setClipboard(text);
    click(control);
    m_session.keys({u"ctrl+a"_s, u"ctrl+v"_s});
}

} // namespace support
