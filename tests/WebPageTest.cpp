// The page in headless Chromium, beyond what the behaviour suite asks of every front end: one
// small self-contained file, every control where the pinned layout puts it, and the page's own
// WebAssembly writing, in a German browser, the very texts the native core writes for every
// channel value.
#include "ColorCases.hpp"
#include "support/HeadlessChromium.hpp"
#include "support/PinnedLayout.hpp"
#include "support/Process.hpp"

#include <QFileInfo>
#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kPage = QStringLiteral(QCC_WEB_PAGE);

} // namespace

class WebPageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void isOneFileWithinItsSize();
    void everyControlStandsWherePinned();
    void aClickWhileThePickerIsOpenStartsNothing();
    void everyChannelTextEqualsTheNativeCore();
    void growsAsAWholeForALargerFont();

private:
    // Form1 gives Command1 the focus once it has built and laid out every control.
    bool isBuilt() {
        return support::pollUntil(60000, [this] {
            return m_browser.evaluate(u"document.activeElement.id === 'Command1'"_s).toBool();
        });
    }

    support::HeadlessChromium m_browser;
};

void WebPageTest::initTestCase() {
    const QString failure = m_browser.open(QUrl::fromLocalFile(kPage), u"de-DE"_s);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(isBuilt());
}

// Its policy lets the page load nothing: a script, font or picture it needed from elsewhere would
// be missing, and show as an error on the console or a control out of place.
void WebPageTest::isOneFileWithinItsSize() {
    QVERIFY2(QFileInfo(kPage).size() <= 128 * 1024,
             qPrintable(QString::number(QFileInfo(kPage).size())));
    QCOMPARE(m_browser.evaluate(u"performance.getEntriesByType('resource').length"_s).toInt(), 0);
}

// Where each control stands, and its caption; the window's is the page's title.
void WebPageTest::everyControlStandsWherePinned() {
    const QJsonValue boxes = m_browser.evaluate(uR"((() => {
        const form = document.getElementById('Form1').getBoundingClientRect();
        const box = (r, caption) => [r.x - form.x, r.y - form.y, r.width, r.height, caption];
        const boxes = {Form1: box(form, document.title)};
        for (const control of document.querySelectorAll('#Form1 [id]')) {
            const own = [...control.childNodes].filter((node) => node.nodeType === Node.TEXT_NODE);
            boxes[control.id] = box(control.getBoundingClientRect(), own.map((node) => node.data).join(''));
        }
        return boxes;
    })())"_s);
    const auto rectOf = [&boxes](const QString& name) {
        const QJsonArray box = boxes[name].toArray();
        return QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble());
    };
    QCOMPARE(rectOf(u"Form1"_s), QRectF(QPointF(), pinned::kClientPixels));
    QCOMPARE(boxes[u"Form1"_s][4].toString(), u"Quillmarch Color Converter"_s);
    for (const pinned::Control& row : pinned::kControls) {
        const QString name = QLatin1String(row.name);
        QCOMPARE(rectOf(name), QRectF(pinned::rectInClient(row)));
        QCOMPARE(boxes[name][4].toString(), QString::fromUtf8(row.caption));
    }
}

// The click outside the picker closes it, which is a cancel; on a busy machine it may come before
// the picker has the pointer and reach the button, and then Esc closes it. A second command
// started by the click would open the picker again, or lose its wait to the first.
void WebPageTest::aClickWhileThePickerIsOpenStartsNothing() {
    const QPointF command1 = pinned::centreInClient(u"Command1"_s);
    const auto pickerOpen = [this] {
        return m_browser.evaluate(u"!!document.getElementById('CommonDialog1')?.matches(':open')"_s)
            .toBool();
    };
    m_browser.click(command1);
    QVERIFY(support::pollUntil(60000, pickerOpen));
    m_browser.click(command1);
    QVERIFY(support::pollUntil(30000, [&] {
        if (pickerOpen()) {
            m_browser.key(u"Escape"_s);
            return false;
        }
        return m_browser.evaluate(u"!!Module.clicked"_s).toBool();
    }));
    QVERIFY2(!support::pollUntil(1000, pickerOpen), "the picker opened again");
    QCOMPARE(m_browser.evaluate(u"Text1.value + Text2.value"_s).toString(), QString());
}

// The browser's own picker stands aside for one that confirms the next colour at once, and the
// real Command1 runs the real command for each.
void WebPageTest::everyChannelTextEqualsTheNativeCore() {
    const QJsonArray written = m_browser
                                   .evaluate(uR"((async () => {
        let next;
        HTMLInputElement.prototype.showPicker = function () {
            this.value = next;
            this.dispatchEvent(new Event('change'));
        };
        const hex = (channel) => channel.toString(16).padStart(2, '0');
        const texts = [];
        for (let channel = 0; channel < 256; ++channel) {
            next = '#' + hex(channel) + hex(255 - channel) + hex((channel * 7) % 256);
            const waiting = Module.clicked;
            document.getElementById('Command1').click();
            await new Promise((done) => {
                const idle = () => (Module.clicked && Module.clicked !== waiting) ? done()
                                                                                   : setTimeout(idle, 0);
                idle();
            });
            texts.push([Text1.value, Text2.value]);
        }
        return texts;
    })())"_s)
                                   .toArray();
    QCOMPARE(written.size(), 256);
    for (int channel = 0; channel < 256; ++channel) {
        const color::ColorValue colour = cases::oracleColour(channel);
        QCOMPARE(written[channel][0].toString(), QString::fromStdString(cases::menuTextOf(colour)));
        QCOMPARE(written[channel][1].toString(), QString::fromStdString(cases::hudTextOf(colour)));
    }
}

// As when the browser's own minimum font size is above the page's: the page opens again with its
// font at 13 px, and every caption must show whole in a table grown by one factor.
void WebPageTest::growsAsAWholeForALargerFont() {
    m_browser.call(u"Page.addScriptToEvaluateOnNewDocument"_s,
                   {{u"source"_s, uR"(const larger = new CSSStyleSheet();
                        larger.replaceSync('#Form1 { font-size: 13px !important; }');
                        document.adoptedStyleSheets = [larger];)"_s}});
    m_browser.call(u"Page.reload"_s);
    QVERIFY(isBuilt());
    const QJsonValue seen = m_browser.evaluate(uR"((() => {
        const clipped = [...document.querySelectorAll('#Form1 .label, #Form1 .button')]
            .filter((control) => control.scrollWidth > control.clientWidth).map((c) => c.id);
        const form = document.getElementById('Form1');
        return [form.offsetWidth, form.offsetHeight, clipped.join(' ')];
    })())"_s);
    const double factor = seen[0].toDouble() / pinned::kClientPixels.width();
    QVERIFY2(factor > 1.1, qPrintable(QString::number(factor)));
    QVERIFY(qAbs(seen[1].toDouble() - pinned::kClientPixels.height() * factor) <= 1);
    QCOMPARE(seen[2].toString(), QString());
}

QTEST_GUILESS_MAIN(WebPageTest)
#include "WebPageTest.moc"
