// The page in one browser engine (QCC_BROWSER), beyond what the behaviour suite asks of every
// front end: one small self-contained file, every control where the pinned layout puts it, a
// chooser that only OK confirms and that no stray click gets past, the page's own WebAssembly
// writing, in a German browser, the very texts the native core writes for every channel value,
// a layout that grows for the font the engine really draws, and readable colours in every scheme.
#include "ColorCases.hpp"
#include "support/Contrast.hpp"
#include "support/PageDriver.hpp"
#include "support/PinnedLayout.hpp"
#include "support/Process.hpp"
#include "support/XSession.hpp"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryFile>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kPage = QStringLiteral(QCC_WEB_PAGE);

// Each control that holds text or draws an edge: "id text" or "id edge", its colour and the
// colour behind it, the nearest background that is not transparent, as red, green and blue.
const QString kColorPairs = uR"((() => {
    const rgb = (value) => value.match(/[\d.]+/g).map(Number);
    const behind = (element) => {
        for (let at = element; at; at = at.parentElement) {
            const value = rgb(getComputedStyle(at).backgroundColor);
            if ((value[3] ?? 1) > 0) return value;
        }
        return rgb(getComputedStyle(document.documentElement).backgroundColor);
    };
    const pairs = [];
    for (const element of document.querySelectorAll('#Form1 [id], #CommonDialog1 *')) {
        const style = getComputedStyle(element);
        if (element.matches('label, button, input:not([type=color])')) {
            pairs.push([element.id + ' text', rgb(style.color), behind(element)]);
        }
        const edge = style.outlineStyle !== 'none' ? style.outlineColor
                   : style.borderTopStyle !== 'none' ? style.borderTopColor : null;
        if (edge && !element.matches('.shape')) {
            pairs.push([element.id + ' edge', rgb(edge), behind(element.parentElement)]);
        }
    }
    return pairs;
})())"_s;

// Text under 4.5:1 against what is behind it, and edges under 3:1, each as "id text 1.8".
QString poorContrast(const QJsonArray& pairs) {
    const auto toColor = [](const QJsonValue& rgb) {
        return QColor::fromRgbF(float(rgb[0].toDouble() / 255), float(rgb[1].toDouble() / 255),
                                float(rgb[2].toDouble() / 255));
    };
    QStringList poor;
    for (const QJsonValue pair : pairs) {
        const double ratio = support::contrast(toColor(pair[1]), toColor(pair[2]));
        if (ratio < (pair[0].toString().endsWith(u"text"_s) ? 4.5 : 3)) {
            poor << pair[0].toString() + u' ' + QString::number(ratio, 'f', 1);
        }
    }
    return poor.join(u", "_s);
}

// The form's width over the pinned one, and the controls whose captions do not fit them, the open
// chooser's caption, labels, fields and buttons and the chooser itself included.
const QString kGrowth = uR"((() => {
    const clipped = [...document.querySelectorAll('#Form1 .label, #Form1 .button, #CommonDialog1,'
        + ' #CommonDialog1 :is(#ColorCaption, label, button, [type=number])')]
        .filter((control) => control.scrollWidth > control.clientWidth
                          || control.scrollHeight > control.clientHeight).map((c) => c.id);
    const form = document.getElementById('Form1');
    return [form.offsetWidth, form.offsetHeight, clipped.join(' ')];
})())"_s;

} // namespace

class WebPageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void aClickBeforeTheProgramRunsOpensOneChooser();
    void isOneFileWithinItsSize();
    void everyControlStandsWherePinned();
    void theChooserTakesNoStrayClickAndOnlyOKConfirms();
    void everyChannelTextEqualsTheNativeCore();
    void growsAgainWhenItsFontChangesAfterTheStart();
    void holdsInEveryBrowserSetting_data();
    void holdsInEveryBrowserSetting();

private:
    // Clicks Select Color, where the form's growth puts it, and waits for the chooser.
    [[nodiscard]] static bool opensTheChooser(support::PageDriver& browser, int clicks = 1) {
        const double factor =
            browser.evaluate(u"Form1.offsetWidth"_s).toDouble() / pinned::kClientPixels.width();
        browser.click(pinned::centreInClient(u"Command1"_s) * factor, clicks);
        return browser.waitForChooser();
    }
    [[nodiscard]] QString texts() {
        return m_browser.evaluate(u"Text1.value + ' | ' + Text2.value"_s).toString();
    }

    std::unique_ptr<support::XSession> m_session; // WebKit's display
    support::PageDriver m_browser;
};

void WebPageTest::initTestCase() {
    m_session = std::make_unique<support::XSession>();
    QVERIFY2(m_session->failure().isEmpty(), qPrintable(m_session->failure()));
    const QString failure = m_browser.open(QUrl::fromLocalFile(kPage), {.language = u"de-DE"_s},
                                           m_session->environment());
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(m_browser.waitUntilIdle());
}

// The page answers before its program runs: a double-click on Select Color then, in a copy of the
// page whose program starts only when told, opens one chooser once it starts, and only one.
void WebPageTest::aClickBeforeTheProgramRunsOpensOneChooser() {
    QFile page(kPage);
    QVERIFY(page.open(QIODevice::ReadOnly));
    QString held = QString::fromUtf8(page.readAll());
    const QString start = u"requestAnimationFrame(() => setTimeout(Form1Program));"_s;
    QVERIFY(held.contains(start));
    QTemporaryFile copy(QDir::tempPath() + u"/page-XXXXXX.html"_s);
    QVERIFY(copy.open());
    copy.write(held.remove(start).toUtf8());
    copy.close();
    QCOMPARE(m_browser.load(QUrl::fromLocalFile(copy.fileName())), QString());
    m_browser.click(pinned::centreInClient(u"Command1"_s), 2);
    m_browser.evaluate(u"Form1Program(), null"_s);
    QVERIFY(m_browser.waitForChooser());
    m_browser.key(u"Escape"_s);
    QVERIFY(m_browser.waitUntilIdle());
    QCOMPARE(m_browser.load(QUrl::fromLocalFile(kPage)), QString());
    QVERIFY(m_browser.waitUntilIdle());
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
        const form = Form1.getBoundingClientRect();
        const box = (r, caption) => [r.x - form.x, r.y - form.y, r.width, r.height, caption];
        return Object.fromEntries([['Form1', box(form, document.title)], ...[...document
            .querySelectorAll('#Form1 [id]')].map((c) => [c.id, box(c.getBoundingClientRect(),
                [...c.childNodes].filter((n) => n.nodeType === Node.TEXT_NODE).map((n) => n.data).join(''))])]);
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

// The chooser opens clear of Select Color and the boxes, so that the second click of a
// double-click lands on the page behind it, which takes no click while it is open: nothing starts
// and nothing is applied. Cancel changes nothing, and one click opens the chooser again; out of
// range, the fields keep it open, and OK confirms the opening colour unchanged.
void WebPageTest::theChooserTakesNoStrayClickAndOnlyOKConfirms() {
    QVERIFY(opensTheChooser(m_browser, 2));
    const QString covered = m_browser
                                .evaluate(uR"((() => {
        const chooser = CommonDialog1.getBoundingClientRect();
        return ['Command1', 'Text1', 'Text2'].filter((id) => {
            const r = document.getElementById(id).getBoundingClientRect();
            return r.left < chooser.right && chooser.left < r.right
                && r.top < chooser.bottom && chooser.top < r.bottom;
        }).join(' ');
    })())"_s)
                                .toString();
    QCOMPARE(covered, QString());
    m_browser.evaluate(u"Red.value = 200, Red.dispatchEvent(new Event('input'))"_s);
    m_browser.click(pinned::centreInClient(u"Command1"_s));
    m_browser.click(pinned::centreInClient(u"Text1"_s));
    QVERIFY(m_browser.evaluate(u"CommonDialog1.open"_s).toBool());
    m_browser.evaluate(u"CommonDialog1.querySelector('[value=cancel]').click()"_s);
    QVERIFY(m_browser.waitUntilIdle());
    QCOMPARE(texts(), u" | "_s);

    QVERIFY(opensTheChooser(m_browser));
    for (const QString& red : {u"256"_s, u"0"_s}) {
        m_browser.key(u"ctrl+a"_s);
        m_browser.type(red);
        m_browser.key(u"Return"_s);
    }
    QVERIFY(m_browser.waitUntilIdle());
    QCOMPARE(texts(), u"0.000 0.000 0.000 1 | (0.000,0.000,0.000)"_s);
}

// The real Command1 runs the real command through the real chooser for each channel value: the
// colour input set as the browser's picker would, and OK.
void WebPageTest::everyChannelTextEqualsTheNativeCore() {
    for (int channel = 0; channel < 256; ++channel) {
        const color::ColorValue value = cases::oracleColor(channel);
        const color::Channels picked = color::channelsOf(value);
        m_browser.evaluate(u"Command1.click()"_s);
        QVERIFY(m_browser.waitForChooser());
        m_browser.evaluate(
            u"ColorPicker.value = '%1', ColorPicker.dispatchEvent(new Event('input')),"
            " CommonDialog1.querySelector('[value=ok]').click()"_s.arg(
                QColor(picked.red, picked.green, picked.blue).name()));
        QVERIFY(m_browser.waitUntilIdle());
        QCOMPARE(texts(), QString::fromStdString(cases::menuTextOf(value) + " | " +
                                                 cases::hudTextOf(value)));
    }
}

// As when the user's fonts or zoom change under the open page: every caption must show whole in
// a table grown again by one factor.
void WebPageTest::growsAgainWhenItsFontChangesAfterTheStart() {
    m_browser.evaluate(uR"((() => {
        const larger = new CSSStyleSheet();
        larger.replaceSync('#Form1 { font-size: 13px !important; }');
        document.adoptedStyleSheets = [larger];
    })())"_s);
    QVERIFY(
        m_browser.waitFor(u"Form1.offsetWidth > %1"_s.arg(pinned::kClientPixels.width() * 1.1)));
    const QJsonValue seen = m_browser.evaluate(kGrowth);
    const double factor = seen[0].toDouble() / pinned::kClientPixels.width();
    QVERIFY(qAbs(seen[1].toDouble() - pinned::kClientPixels.height() * factor) <= 1);
    QCOMPARE(seen[2].toString(), QString());
}

void WebPageTest::holdsInEveryBrowserSetting_data() {
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<int>("minimumFontSize");
    for (const QString& scheme : {u"light"_s, u"dark"_s, u"forced"_s}) {
        QTest::newRow(qPrintable(scheme)) << scheme << 0;
    }
    QTest::newRow("minimum font size 24") << u"light"_s << 24;
}

// In a browser started with the setting: the window, and its open chooser with its caption, grown
// where the font needs it with every caption whole, and their text and edges clear against what
// is behind them.
void WebPageTest::holdsInEveryBrowserSetting() {
    QFETCH(QString, scheme);
    QFETCH(int, minimumFontSize);
    if (m_browser.engine() == u"webkit"_s && scheme == u"forced"_s) {
        QSKIP("WebKit has no forced colours");
    }
    support::PageDriver browser;
    const QString failure = browser.open(QUrl::fromLocalFile(kPage),
                                         {.scheme = scheme, .minimumFontSize = minimumFontSize},
                                         m_session->environment());
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(browser.waitUntilIdle());
    const QJsonValue seen = browser.evaluate(kGrowth);
    QVERIFY(seen[0].toDouble() >= pinned::kClientPixels.width() * (minimumFontSize > 0 ? 2 : 1));
    QCOMPARE(seen[2].toString(), QString());
    QVERIFY(opensTheChooser(browser));
    QCOMPARE(browser.evaluate(kGrowth)[2].toString(), QString());
    QCOMPARE(browser.evaluate(u"ColorCaption.innerText"_s).toString(), u"Color"_s);
    QCOMPARE(poorContrast(browser.evaluate(kColorPairs).toArray()), QString());
}

QTEST_GUILESS_MAIN(WebPageTest)
#include "WebPageTest.moc"
