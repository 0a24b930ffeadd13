#include "PageDriver.hpp"

#include "Process.hpp"

#include <QDeadlineTimer>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace support {
namespace {

// A loaded machine may take many seconds to start a browser or answer; a quick one loses nothing.
constexpr int kAnswerMs = 60000;

} // namespace

PageDriver::~PageDriver() {
    // Its input closed, the driver ends the browser it started, and then itself.
    m_driver.closeWriteChannel();
    if (!m_driver.waitForFinished(15000)) {
        stop(&m_driver);
    }
}

QString PageDriver::open(const QUrl& page, const BrowserOptions& options,
                         const QProcessEnvironment& environment) {
    m_engine = options.engine;
    const QJsonObject settings{{u"engine"_s, options.engine},
                               {u"language"_s, options.language},
                               {u"scheme"_s, options.scheme},
                               {u"minimumFontSize"_s, options.minimumFontSize}};
    endWithTheTest(m_driver);
    m_driver.setProcessEnvironment(environment);
    m_driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_driver.start(u"node"_s,
                   {QStringLiteral(QCC_PAGE_DRIVER),
                    QString::fromUtf8(QJsonDocument(settings).toJson(QJsonDocument::Compact))});
    if (!m_driver.waitForStarted(kAnswerMs)) {
        return u"node did not start: "_s + m_driver.errorString();
    }
    return load(page);
}

QString PageDriver::load(const QUrl& page) {
    request(u"goto"_s, {page.toString()});
    return m_failure.isEmpty() ? QString() : m_engine + u" did not open the page: "_s + m_failure;
}

QJsonValue PageDriver::request(const QString& operation, const QJsonArray& arguments, int takesMs) {
    const QJsonObject message{{u"op"_s, operation}, {u"args"_s, arguments}};
    m_driver.write(QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n');
    const QDeadlineTimer deadline(takesMs + kAnswerMs);
    while (!m_driver.canReadLine() && !deadline.hasExpired() &&
           m_driver.state() == QProcess::Running) {
        m_driver.waitForReadyRead(100);
    }
    if (!m_driver.canReadLine()) {
        m_failure = u"the browser did not answer "_s + operation;
        return QJsonValue::Undefined;
    }
    const QJsonObject answer = QJsonDocument::fromJson(m_driver.readLine()).object();
    m_failure = answer[u"error"_s].toString();
    return answer.contains(u"value"_s) ? answer[u"value"_s] : QJsonValue::Undefined;
}

QColor PageDriver::pixel(QPointF at) {
    const QImage shot = QImage::fromData(
        QByteArray::fromBase64(request(u"screenshot"_s, {}).toString().toLatin1()), "PNG");
    const QPoint point = at.toPoint();
    return shot.valid(point) ? shot.pixelColor(point) : QColor();
}

} // namespace support
