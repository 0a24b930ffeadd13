#include "HeadlessChromium.hpp"

#include "Process.hpp"

#include <QColor>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace support {
namespace {

// A loaded machine may take many seconds to start a browser or answer; a quick one loses nothing.
constexpr int kAnswerMs = 60000;

struct KeyCode {
    QString key;
    QString code;
    int virtualKey;
    QString text;
};

// xdotool's names for the keys the tests press; any other name is one character.
KeyCode keyCode(const QString& name) {
    if (name == u"Tab"_s) {
        return {u"Tab"_s, u"Tab"_s, 9, {}};
    }
    if (name == u"Return"_s) {
        return {u"Enter"_s, u"Enter"_s, 13, u"\r"_s};
    }
    if (name == u"Escape"_s) {
        return {u"Escape"_s, u"Escape"_s, 27, {}};
    }
    if (name == u"End"_s || name == u"Home"_s) {
        return {name, name, name == u"End"_s ? 35 : 36, {}};
    }
    const QChar character = name.at(0);
    const QString code =
        character.isDigit() ? u"Digit"_s + character : u"Key"_s + character.toUpper();
    return {name, code, character.toUpper().unicode(), name};
}

} // namespace

HeadlessChromium::~HeadlessChromium() {
    m_socket.close();
    stop(&m_browser);
}

QString HeadlessChromium::open(const QUrl& page, const QString& language) {
    endWithTheTest(m_browser);
    m_browser.start(u"chromium"_s,
                    QStringList{u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s,
                                u"--no-first-run"_s, u"--remote-debugging-port=0"_s,
                                u"--user-data-dir="_s + m_profile.path(),
                                u"--window-size=800,600"_s, u"--lang="_s + language,
                                u"--accept-lang="_s + language, u"about:blank"_s});
    // The browser names its DevTools socket on its standard error.
    QString said;
    const QDeadlineTimer deadline(kAnswerMs);
    while (!said.contains(u"DevTools listening on "_s) && !deadline.hasExpired() &&
           m_browser.state() != QProcess::NotRunning) {
        m_browser.waitForReadyRead(100);
        said += QString::fromLocal8Bit(m_browser.readAllStandardError());
    }
    const QString address = said.section(u"DevTools listening on "_s, 1).section(u'\n', 0, 0);
    if (address.isEmpty()) {
        return u"chromium did not start (is the chromium package installed?): "_s + said;
    }
    QEventLoop loop;
    QObject::connect(&m_socket, &QWebSocket::connected, &loop, &QEventLoop::quit);
    QTimer::singleShot(kAnswerMs, &loop, &QEventLoop::quit);
    m_socket.open(QUrl(address.trimmed()));
    loop.exec();
    if (m_socket.state() != QAbstractSocket::ConnectedState) {
        return u"no DevTools connection to "_s + address;
    }
    const QString failure = attachToPage();
    if (!failure.isEmpty()) {
        return failure;
    }
    call(u"Page.enable"_s);
    // Headless Chromium keeps its number formats in English whatever its switches say.
    call(u"Emulation.setLocaleOverride"_s, {{u"locale"_s, language}});
    call(u"Page.navigate"_s, {{u"url"_s, page.toString()}});
    const bool loaded = pollUntil(
        kAnswerMs, [this] { return evaluate(u"document.readyState === 'complete'"_s).toBool(); });
    return loaded ? QString() : u"the page did not load"_s;
}

QString HeadlessChromium::attachToPage() {
    const QJsonArray targets = call(u"Target.getTargets"_s)[u"targetInfos"_s].toArray();
    for (const QJsonValue& target : targets) {
        if (target[u"type"_s] == u"page"_s) {
            m_session = call(u"Target.attachToTarget"_s, {{u"targetId"_s, target[u"targetId"_s]},
                                                          {u"flatten"_s, true}})[u"sessionId"_s]
                            .toString();
            return m_session.isEmpty() ? u"could not attach to the page"_s : QString();
        }
    }
    return u"the browser has no page"_s;
}

QJsonObject HeadlessChromium::call(const QString& method, const QJsonObject& parameters) {
    const int id = ++m_lastId;
    QJsonObject message{{u"id"_s, id}, {u"method"_s, method}, {u"params"_s, parameters}};
    if (!m_session.isEmpty()) {
        message[u"sessionId"_s] = m_session;
    }
    QJsonObject answer;
    QEventLoop loop;
    const QMetaObject::Connection reading = QObject::connect(
        &m_socket, &QWebSocket::textMessageReceived, &loop, [&](const QString& text) {
            const QJsonObject received = QJsonDocument::fromJson(text.toUtf8()).object();
            if (received[u"id"_s].toInt() == id) {
                answer = received;
                loop.quit();
            }
        });
    QTimer::singleShot(kAnswerMs, &loop, &QEventLoop::quit);
    m_socket.sendTextMessage(
        QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
    loop.exec();
    QObject::disconnect(reading);
    return answer[u"result"_s].toObject();
}

QJsonValue HeadlessChromium::evaluate(const QString& script) {
    const QJsonObject result =
        call(u"Runtime.evaluate"_s,
             {{u"expression"_s, script}, {u"awaitPromise"_s, true}, {u"returnByValue"_s, true}});
    return result.contains(u"exceptionDetails"_s) ? QJsonValue(QJsonValue::Undefined)
                                                  : result[u"result"_s][u"value"_s];
}

void HeadlessChromium::click(QPointF at) {
    for (const QString& type : {u"mouseMoved"_s, u"mousePressed"_s, u"mouseReleased"_s}) {
        call(u"Input.dispatchMouseEvent"_s, {{u"type"_s, type},
                                             {u"x"_s, at.x()},
                                             {u"y"_s, at.y()},
                                             {u"button"_s, u"left"_s},
                                             {u"clickCount"_s, 1}});
    }
}

void HeadlessChromium::key(const QString& name) {
    constexpr int kAlt = 1;
    constexpr int kCtrl = 2;
    constexpr int kShift = 8;
    QStringList parts = name.split(u'+');
    const KeyCode code = keyCode(parts.takeLast());
    int modifiers = 0;
    for (const QString& modifier : parts) {
        modifiers |= modifier == u"alt"_s ? kAlt : modifier == u"ctrl"_s ? kCtrl : kShift;
    }
    QJsonObject key{{u"key"_s, code.key},
                    {u"code"_s, code.code},
                    {u"windowsVirtualKeyCode"_s, code.virtualKey},
                    {u"modifiers"_s, modifiers}};
    const bool typed = !code.text.isEmpty() && (modifiers & (kAlt | kCtrl)) == 0;
    if (typed) {
        key[u"text"_s] = code.text;
    }
    sendKey(typed ? u"keyDown"_s : u"rawKeyDown"_s, key);
    sendKey(u"keyUp"_s, key);
}

void HeadlessChromium::sendKey(const QString& type, const QJsonObject& key) {
    QJsonObject event = key;
    event[u"type"_s] = type;
    call(u"Input.dispatchKeyEvent"_s, event);
}

void HeadlessChromium::type(const QString& text) {
    for (const QChar character : text) {
        key(character);
    }
}

void HeadlessChromium::insertText(const QString& text) {
    call(u"Input.insertText"_s, {{u"text"_s, text}});
}

QColor HeadlessChromium::pixel(QPointF at) {
    const QJsonObject shot =
        call(u"Page.captureScreenshot"_s, {{u"format"_s, u"png"_s},
                                           {u"clip"_s, QJsonObject{{u"x"_s, at.x()},
                                                                   {u"y"_s, at.y()},
                                                                   {u"width"_s, 1},
                                                                   {u"height"_s, 1},
                                                                   {u"scale"_s, 1}}}});
    const QImage image =
        QImage::fromData(QByteArray::fromBase64(shot[u"data"_s].toString().toLatin1()), "PNG");
    return image.isNull() ? QColor() : image.pixelColor(0, 0);
}

} // namespace support
