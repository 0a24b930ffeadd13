// The page in one browser engine, as a user meets it: opened, scripts run in it, and clicks and
// keys sent as a user's would be. PageDriver.mjs drives the engine through its own automation;
// this speaks to it one JSON line at a time. The browser ends with the object.
#pragma once

#include <QColor>
#include <QJsonArray>
#include <QJsonValue>
#include <QPointF>
#include <QProcess>
#include <QString>
#include <QUrl>

namespace support {

struct BrowserOptions {
    // "chromium", "firefox" or "webkit"; QCC_BROWSER names the one a test runs in.
    QString engine = qEnvironmentVariable("QCC_BROWSER", QStringLiteral("chromium"));
    // As the browser's menus, the pages' navigator.language and their number formats see it.
    QString language = QStringLiteral("en-US");
    QString scheme = QStringLiteral("light"); // "light", "dark" or "forced"
    int minimumFontSize = 0;                  // in pixels; 0 leaves the engine's own
};

class PageDriver {
public:
    PageDriver() = default;
    Q_DISABLE_COPY_MOVE(PageDriver)
    ~PageDriver();

    // Starts the browser and opens the page; empty when it has loaded, else what went wrong.
    // WebKit draws on the X display the environment names.
    QString open(const QUrl& page, const BrowserOptions& options,
                 const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    // Opens the page afresh; empty when it has loaded.
    QString load(const QUrl& page);
    // The value of an expression evaluated in the page, once the promise it gives, if any,
    // settles; an undefined value when it throws or the browser does not answer.
    QJsonValue evaluate(const QString& script) {
        return request(QStringLiteral("evaluate"), {script});
    }
    // Whether the condition, an expression in the page, comes to hold within the time: the
    // engine's automation asks again until it does.
    [[nodiscard]] bool waitFor(const QString& condition, int timeoutMs = 60000) {
        return request(QStringLiteral("waitFor"), {condition, timeoutMs}, timeoutMs).toBool();
    }
    // The program waits for a click of Command1, with no chooser open: it has started, or the
    // command it ran has written all it writes.
    [[nodiscard]] bool waitUntilIdle() {
        return waitFor(QStringLiteral("!!Command1Clicks.waiting && !window.CommonDialog1?.open"));
    }
    [[nodiscard]] bool waitForChooser() {
        return waitFor(QStringLiteral("!!window.CommonDialog1?.open"));
    }
    void click(QPointF at, int count = 1) {
        request(QStringLiteral("click"), {at.x(), at.y(), count});
    }
    // xdotool's key names: "Tab", "shift+Tab", "Return", "Escape", "End", "ctrl+a", "alt+r", ...
    void key(const QString& name) { request(QStringLiteral("key"), {name}); }
    void type(const QString& text) { request(QStringLiteral("type"), {text}); }
    // As a paste puts it where the focus is.
    void insertText(const QString& text) { request(QStringLiteral("insertText"), {text}); }
    [[nodiscard]] QColor pixel(QPointF at);
    [[nodiscard]] const QString& engine() const { return m_engine; }

private:
    // Waits for the answer as long as the operation may take, and a loaded machine's delay more.
    QJsonValue request(const QString& operation, const QJsonArray& arguments, int takesMs = 0);

    QProcess m_driver;
    QString m_engine;
    QString m_failure;
};

} // namespace support
