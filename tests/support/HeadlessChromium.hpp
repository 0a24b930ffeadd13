// Debian's Chromium without a screen, driven over the DevTools protocol: pages opened, scripts
// run in them, and mouse and keys sent as a user's would be. The browser ends with the object.
#pragma once

#include <QImage>
#include <QJsonObject>
#include <QJsonValue>
#include <QPointF>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebSocket>

namespace support {

class HeadlessChromium {
public:
    HeadlessChromium() = default;
    Q_DISABLE_COPY_MOVE(HeadlessChromium)
    ~HeadlessChromium();

    // Starts the browser in the user's language given (such as "de-DE"), as its menus, the pages'
    // navigator.language and their number formats see it, and opens the page; empty when the page
    // is up, else what went wrong.
    QString open(const QUrl& page, const QString& language);
    // The value of a script run in the page, once the promise it gives, if any, settles; an
    // undefined value when it throws or the browser does not answer.
    QJsonValue evaluate(const QString& script);
    QJsonObject call(const QString& method, const QJsonObject& parameters = {});

    void click(QPointF at);
    // xdotool's key names: "Tab", "shift+Tab", "Return", "Escape", "End", "ctrl+a", "alt+r", ...
    void key(const QString& name);
    void type(const QString& text);
    void insertText(const QString& text);
    [[nodiscard]] QColor pixel(QPointF at);

private:
    QString attachToPage();
    void sendKey(const QString& type, const QJsonObject& key);

    QProcess m_browser;
    QTemporaryDir m_profile;
    QWebSocket m_socket;
    QString m_session;
    int m_lastId = 0;
};

} // namespace support
