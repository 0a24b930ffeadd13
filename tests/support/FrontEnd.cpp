#include "FrontEnd.hpp"

#include "PinnedLayout.hpp"
#include "Process.hpp"
#include "WinePrefix.hpp"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

namespace support {
namespace {

const QString kTitle = QStringLiteral("Quillmarch Color Converter");

QString exactTitle(const QString& title) {
    return QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
}

// --- The Qt program --------------------------------------------------------------------------

class QtFrontEnd final : public FrontEnd {
public:
    using FrontEnd::FrontEnd;

    [[nodiscard]] Kind kind() const override { return Kind::Qt; }

    QString start() override {
        return startAndFindWindow(QStringLiteral(QCC_PROGRAM_PATH), {}, session().environment(),
                                  10000);
    }

    // Click into the box, select all, copy. A fresh marker on the clipboard first tells the new
    // copy from an earlier one; an empty box copies nothing and leaves the marker.
    QString text(const QString& control) override {
        const QString marker = QStringLiteral("marker %1").arg(++m_copies);
        session().setClipboard(marker);
        click(control);
        session().keys({QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
        QString copied;
        const QDeadlineTimer deadline(3000);
        do {
            copied = session().clipboard();
            if (!copied.isEmpty() && copied != marker) {
                return copied;
            }
            QTest::qWait(50);
        } while (!deadline.hasExpired());
        return {};
    }

    // The chooser's own access keys: Alt+R, Alt+G and Alt+U reach the red, green and blue fields.
    void pickInChooser(const QColor& colour) override {
        const QList<QPair<QString, int>> fields{
            {QStringLiteral("alt+r"), colour.red()},
            {QStringLiteral("alt+g"), colour.green()},
            {QStringLiteral("alt+u"), colour.blue()},
        };
        for (const auto& [accessKey, value] : fields) {
            session().keys({accessKey, QStringLiteral("ctrl+a")});
            session().type(QString::number(value));
        }
        session().keys({QStringLiteral("Return")});
    }

    // The Motif hints are what the program asks of every window manager; openbox's allowed
    // actions and the size hints show what it made of them.
    WindowFacts facts() override {
        constexpr uint kAllFunctions = 0x01;
        constexpr uint kMinimise = 0x08;
        constexpr uint kMaximise = 0x10;
        constexpr uint kClose = 0x20;
        constexpr uint kMenuDecoration = 0x10;
        const QStringList motif = session()
                                      .property(window(), QStringLiteral("_MOTIF_WM_HINTS"))
                                      .split(QLatin1Char(','), Qt::SkipEmptyParts);
        const auto field = [&motif](int i) {
            return motif.size() > i ? motif.at(i).trimmed().toUInt(nullptr, 16) : 0xFFFFFFFFU;
        };
        const QString actions =
            session().property(window(), QStringLiteral("_NET_WM_ALLOWED_ACTIONS"));
        const QString sizes = session().property(window(), QStringLiteral("WM_NORMAL_HINTS"));
        const auto size = [&sizes](const QString& which) {
            return QRegularExpression(which + QStringLiteral(" size: (\\d+ by \\d+)"))
                .match(sizes)
                .captured(1);
        };
        WindowFacts facts;
        facts.minimise = (field(1) & (kAllFunctions | kMinimise)) != 0;
        facts.maximise = (field(1) & (kAllFunctions | kMaximise)) != 0 ||
                         actions.contains(QStringLiteral("MAXIMIZE"));
        facts.resizable = size(QStringLiteral("minimum")) != size(QStringLiteral("maximum")) ||
                          actions.contains(QStringLiteral("_NET_WM_ACTION_RESIZE"));
        facts.closeBox = (field(1) & kClose) != 0 && actions.contains(QStringLiteral("CLOSE"));
        facts.systemMenu = (field(2) & kMenuDecoration) != 0;
        facts.windowIcon =
            session()
                .run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window()),
                                               QStringLiteral("_NET_WM_ICON")})
                .contains(QStringLiteral("Icon (24 x 24)"));
        return facts;
    }

protected:
    [[nodiscard]] QString chooserTitle() const override { return QStringLiteral("Select Color"); }

private:
    int m_copies = 0;
};

// --- The Windows program under Wine ----------------------------------------------------------

#ifdef QCC_WINDOWS_BUILD_DIR
class WindowsFrontEnd final : public FrontEnd {
public:
    explicit WindowsFrontEnd(XSession& session)
        : FrontEnd(session)
        , m_wine(session) {}

    [[nodiscard]] Kind kind() const override { return Kind::Windows; }

    QString start() override {
        const QString failure = m_wine.boot();
        return failure.isEmpty() ? startAndFindWindow(QStringLiteral("wine"), {executable()},
                                                      m_wine.environment(), 60000)
                                 : failure;
    }

    QString text(const QString& control) override {
        const ToolOutcome read =
            wine({probe(), QStringLiteral("text"), kTitle, QString::number(controlId(control))});
        return read.exitCode == 0 ? read.output : QStringLiteral("<unreadable>");
    }

    // Alt+R reaches the red field; Tab moves on to green and blue, selecting their text.
    void pickInChooser(const QColor& colour) override {
        session().keys(
            {QStringLiteral("alt+r"), QStringLiteral("Home"), QStringLiteral("shift+End")});
        session().type(QString::number(colour.red()));
        session().keys({QStringLiteral("Tab")});
        session().type(QString::number(colour.green()));
        session().keys({QStringLiteral("Tab")});
        session().type(QString::number(colour.blue()));
        session().keys({QStringLiteral("Return")});
    }

    WindowFacts facts() override {
        const QString said = wine({probe(), QStringLiteral("facts"), kTitle, executable()}).output;
        const auto value = [&said](const QString& name) {
            return QRegularExpression(QStringLiteral("^") + name + QStringLiteral(" (.*)$"),
                                      QRegularExpression::MultilineOption)
                .match(said)
                .captured(1);
        };
        const auto flag = [&value](const QString& name) {
            return value(name) == QStringLiteral("1");
        };
        WindowFacts facts;
        facts.minimise = flag(QStringLiteral("minimizebox"));
        facts.maximise = flag(QStringLiteral("maximizebox"));
        facts.resizable = flag(QStringLiteral("thickframe"));
        facts.closeBox = flag(QStringLiteral("close"));
        facts.systemMenu = flag(QStringLiteral("sysmenu"));
        // Wine hands the window's small and big icons to the desktop as _NET_WM_ICON.
        const QString icons = session().run(
            QStringLiteral("xprop"),
            {QStringLiteral("-id"), QString::number(window()), QStringLiteral("_NET_WM_ICON")});
        facts.windowIcon = icons.contains(QStringLiteral("Icon (16 x 16)")) &&
                           icons.contains(QStringLiteral("Icon (32 x 32)"));
        facts.executableIcon = value(QStringLiteral("fileicons")).toInt() > 0;
        facts.fileVersion = value(QStringLiteral("FileVersion"));
        facts.productName = value(QStringLiteral("ProductName"));
        return facts;
    }

protected:
    [[nodiscard]] QString chooserTitle() const override { return QStringLiteral("Color"); }

private:
    static QString build(const QString& path) {
        return QStringLiteral(QCC_WINDOWS_BUILD_DIR) + path;
    }
    static QString executable() {
        return build(QStringLiteral("/app/quillmarch-color-converter.exe"));
    }
    static QString probe() { return build(QStringLiteral("/tests/win32/WindowProbe.exe")); }

    // The Win32 front end numbers its controls from 100 in the layout's order.
    static int controlId(const QString& control) {
        const auto& rows = pinned::kControls;
        const auto* row = std::find_if(rows.begin(), rows.end(), [&control](const auto& r) {
            return control == QLatin1String(r.name);
        });
        return 100 + static_cast<int>(row - rows.begin());
    }

    // A probe of the running program answers in seconds.
    [[nodiscard]] ToolOutcome wine(const QStringList& arguments) const {
        return m_wine.run(arguments, 30000);
    }

    WinePrefix m_wine;
};
#endif

} // namespace

std::unique_ptr<FrontEnd> FrontEnd::fromEnvironment(XSession& session) {
#ifdef QCC_WINDOWS_BUILD_DIR
    if (qEnvironmentVariable("QCC_FRONT_END") == QStringLiteral("windows")) {
        return std::make_unique<WindowsFrontEnd>(session);
    }
#endif
    return std::make_unique<QtFrontEnd>(session);
}

FrontEnd::FrontEnd(XSession& session)
    : m_session(session) {}

FrontEnd::~FrontEnd() {
    support::stop(m_program.get());
}

QString FrontEnd::startAndFindWindow(const QString& program, const QStringList& arguments,
                                     const QProcessEnvironment& environment, int timeoutMs) {
    m_program = m_session.startClient(program, arguments, environment);
    if (!m_program) {
        return program + QStringLiteral(" did not start");
    }
    m_window = m_session.waitForWindow(exactTitle(kTitle), timeoutMs);
    if (m_window == 0) {
        return QStringLiteral("the program's window never appeared");
    }
    // The window settles where it centres itself once it is framed.
    static_cast<void>(m_session.offCentre(m_window));
    m_origin = m_session.clientRect(m_window).topLeft();
    return {};
}

void FrontEnd::click(const QString& control) const {
    m_session.click(m_origin + pinned::centreInClient(control));
}

unsigned long FrontEnd::openChooser() const {
    click(QStringLiteral("Command1"));
    const unsigned long chooser = m_session.waitForWindow(exactTitle(chooserTitle()));
    if (chooser != 0) {
        m_session.run(
            QStringLiteral("xdotool"),
            {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(chooser)});
    }
    return chooser;
}

void FrontEnd::paste(const QString& control, const QString& text) const {
    m_session.setClipboard(text);
    click(control);
    m_session.keys({QStringLiteral("ctrl+a"), QStringLiteral("ctrl+v")});
}

QColor FrontEnd::pixel(const QString& control, const QColor& awaited) const {
    const QPoint point = m_origin + pinned::centreInClient(control);
    return awaited.isValid() ? m_session.waitForPixel(point, awaited)
                             : m_session.screenshot().pixelColor(point);
}

} // namespace support
