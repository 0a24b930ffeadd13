// The converter window as a user meets it, written once and run against every front end (CTest
// runs it with QCC_FRONT_END=qt, =windows and =web, the Windows program once per word size and the
// page once in each browser engine): its place and frame, the keyboard, long pastes, picks and
// cancels through the real chooser, and closing. The slots run in order on one program.
#include "ColorCases.hpp"
#include "support/FrontEnd.hpp"
#include "support/PinnedLayout.hpp"
#include "support/Process.hpp"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kCommand1 = u"Command1"_s;
const QString kText1 = u"Text1"_s;
const QString kText2 = u"Text2"_s;
const QString kShape1 = u"Shape1"_s;

} // namespace

class BehaviourTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void theWindowIsCentredFixedAndOffTheTaskbarWithItsIcon();
    void focusStartsOnTheButtonAndTabCyclesButtonAndBoxes();
    void enterPressesTheButtonOnlyWhileItHasTheFocusAndEscNever();
    void aLongPasteLandsWholeAndTheBoxStaysEditable_data();
    void aLongPasteLandsWholeAndTheBoxStaysEditable();
    void aPickWritesBothTextsAndPaintsTheSwatch_data();
    void aPickWritesBothTextsAndPaintsTheSwatch();
    void confirmingTheOpeningColorPicksItAgain();
    void cancelKeepsTypedTextAndChangesNothing();
    void aChooserTakenAwayCountsAsCancel_data();
    void aChooserTakenAwayCountsAsCancel();
    void altF4EndsTheProgramWithStatusZero();

private:
    [[nodiscard]] support::XSession& session() const { return m_frontEnd->session(); }
    // Keys separated by spaces; see the definition for single characters.
    void typeKeys(const QString& keys) const;
    void cancelChooser(quint32 chooser) const;

    std::unique_ptr<support::XSession> m_session;
    std::unique_ptr<support::FrontEnd> m_frontEnd; // ends its program before the session ends
};

void BehaviourTest::initTestCase() {
    m_session = std::make_unique<support::XSession>();
    QVERIFY2(m_session->failure().isEmpty(), qPrintable(m_session->failure()));
    m_frontEnd = support::FrontEnd::fromEnvironment(*m_session);
    if (const QString why = m_frontEnd->whyItCannotRun(); !why.isEmpty()) {
        QSKIP(qPrintable(why));
    }
    const QString failure = m_frontEnd->start();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

// Single characters are typed after End, since a box selects its whole text when Tab brings the
// focus in; anything longer is a key name.
void BehaviourTest::typeKeys(const QString& keys) const {
    for (const QString& key : keys.split(QLatin1Char(' '))) {
        if (key.size() == 1) {
            m_frontEnd->keys({u"End"_s});
            m_frontEnd->type(key);
        } else {
            m_frontEnd->keys({key});
        }
    }
}

void BehaviourTest::cancelChooser(quint32 chooser) const {
    m_frontEnd->keys({u"Escape"_s});
    QVERIFY2(m_frontEnd->waitForChooserGone(chooser), "the chooser stayed open after Esc");
}

// Where the window first stands and what its frame offers. A tool window's frame would be
// thinner: a normal caption is a full title bar.
void BehaviourTest::theWindowIsCentredFixedAndOffTheTaskbarWithItsIcon() {
    if (m_frontEnd->kind() == support::FrontEnd::Kind::Web) {
        // A page has no frame of its own; WebPageTest holds its controls to the pinned layout.
        QCOMPARE(m_frontEnd->pixel(kShape1, Qt::black), QColor(Qt::black));
        return;
    }
    const quint32 window = m_frontEnd->window();
    const QSize client = session().clientRect(window).size();
    if (m_frontEnd->kind() == support::FrontEnd::Kind::Qt) {
        QCOMPARE(client, pinned::kClientPixels);
    } else {
        // Wine's stand-in for the dialog font is wider than Windows': the window grows as a whole.
        QVERIFY(m_frontEnd->scale() >= 1.0);
        QVERIFY(qAbs(client.height() - pinned::kClientPixels.height() * m_frontEnd->scale()) <= 1);
    }
    const QString offCentre = session().offCentre(window);
    QVERIFY2(offCentre.isEmpty(), qPrintable(offCentre));
    QVERIFY(session().lists(window, u"_NET_WM_STATE"_s, u"_NET_WM_STATE_SKIP_TASKBAR"_s));
    QVERIFY(session().clientRect(window).top() - session().frameRect(window).top() >= 15);
    QCOMPARE(m_frontEnd->pixel(kShape1, Qt::black), QColor(Qt::black)); // once it is drawn

    QStringList wanted{u"minimise 0"_s, u"maximise 0"_s, u"resizable 0"_s,
                       u"close 1"_s,    u"menu 1"_s,     u"icon 1"_s};
    if (m_frontEnd->kind() == support::FrontEnd::Kind::Windows) {
        wanted << u"fileicons 1"_s << u"FileVersion 1.00"_s
               << u"ProductName Quillmarch Color Converter"_s;
    }
    const QStringList facts = m_frontEnd->facts();
    for (const QString& fact : wanted) {
        QVERIFY2(facts.contains(fact), qPrintable(fact + u" not in "_s + facts.join(u", "_s)));
    }
}

// Letters typed along the way show where the focus was: a box keeps them, the button drops them.
// The focus goes Command1, Text1, Text2, Command1, Text1, then back Command1, Text2, Text1.
void BehaviourTest::focusStartsOnTheButtonAndTabCyclesButtonAndBoxes() {
    m_frontEnd->activate();
    typeKeys(u"1 Tab a Tab b Tab 2 Tab c shift+Tab 3 shift+Tab d shift+Tab e"_s);
    QCOMPARE(m_frontEnd->text(kText1), u"ace"_s);
    QCOMPARE(m_frontEnd->text(kText2), u"bd"_s);
}

// A chooser opened by mistake would take the keys typed after Enter or Esc, so each letter that
// lands in its box says the key before it opened nothing.
void BehaviourTest::enterPressesTheButtonOnlyWhileItHasTheFocusAndEscNever() {
    m_frontEnd->click(kText1);
    typeKeys(u"Return f Escape g Tab Return h Tab Escape shift+Tab i"_s);
    QVERIFY(m_frontEnd->text(kText1).endsWith(u"fg"_s));
    QVERIFY(m_frontEnd->text(kText2).endsWith(u"hi"_s));

    m_frontEnd->click(kText2);
    typeKeys(u"Tab Return"_s); // on Command1
    const quint32 chooser = m_frontEnd->waitForChooser();
    QVERIFY2(chooser != 0, "Enter on the focused button opened no chooser");
    cancelChooser(chooser);
}

void BehaviourTest::aLongPasteLandsWholeAndTheBoxStaysEditable_data() {
    QTest::addColumn<QString>("box");
    QTest::newRow("Text1") << kText1;
    QTest::newRow("Text2") << kText2;
}

void BehaviourTest::aLongPasteLandsWholeAndTheBoxStaysEditable() {
    QFETCH(QString, box);
    const QString pasted(100000, QLatin1Char('7'));
    m_frontEnd->paste(box, pasted);
    typeKeys(u"x"_s);
    // Wine's edit control takes seconds over so long a line (once, on a loaded machine, 30 s), and
    // answers a read before it has taken in the keys still queued; wait for them.
    QTRY_COMPARE_WITH_TIMEOUT(m_frontEnd->text(box).size(), pasted.size() + 1, 120000);
    const QString text = m_frontEnd->text(box);
    QVERIFY(text.startsWith(pasted) && text.endsWith(QLatin1Char('x')));
}

void BehaviourTest::aPickWritesBothTextsAndPaintsTheSwatch_data() {
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("hud");
    // Black last: first, it would find the swatch black already, and prove nothing of the paint.
    // Each pick after the first is typed over the values of the one before.
    for (const std::size_t row : {1U, 2U, 3U, 0U}) {
        const cases::Example& example = cases::kExamples.at(row);
        const color::Channels channels = color::channelsOf(example.value);
        QTest::newRow(example.name)
            << QColor(channels.red, channels.green, channels.blue)
            << QString::fromLatin1(example.menu) << QString::fromLatin1(example.hud);
    }
}

void BehaviourTest::aPickWritesBothTextsAndPaintsTheSwatch() {
    QFETCH(QColor, color);
    QFETCH(QString, menu);
    QFETCH(QString, hud);
    const quint32 chooser = m_frontEnd->openChooser();
    QVERIFY2(chooser != 0, "the colour chooser did not open");
    m_frontEnd->pickInChooser(color);
    QVERIFY2(m_frontEnd->waitForChooserGone(chooser), "the chooser stayed open after Enter");
    QCOMPARE(m_frontEnd->text(kText1), menu);
    QCOMPARE(m_frontEnd->text(kText2), hud);
    QCOMPARE(m_frontEnd->pixel(kShape1, color), color);
}

// The chooser opens on the last colour; confirmed unchanged, it is picked again, over typed text.
void BehaviourTest::confirmingTheOpeningColorPicksItAgain() {
    const QString menu = m_frontEnd->text(kText1);
    m_frontEnd->paste(kText1, u"typed"_s);
    const quint32 chooser = m_frontEnd->openChooser();
    QVERIFY2(chooser != 0, "the colour chooser did not open");
    m_frontEnd->keys({u"Return"_s});
    QVERIFY2(m_frontEnd->waitForChooserGone(chooser), "the chooser stayed open after Enter");
    QCOMPARE(m_frontEnd->text(kText1), menu);
}

// Were the cancel to return normally, the command would write the last colour's texts again
// over "typed"; only a raised cancel leaves it.
void BehaviourTest::cancelKeepsTypedTextAndChangesNothing() {
    m_frontEnd->paste(kText1, u"typed"_s);
    const QString hudBefore = m_frontEnd->text(kText2);
    const QColor swatchBefore = m_frontEnd->pixel(kShape1);
    QVERIFY(!hudBefore.isEmpty());

    const quint32 chooser = m_frontEnd->openChooser();
    QVERIFY2(chooser != 0, "the colour chooser did not open");
    // A letter in a number field is bad input to a browser; WebKit kept it past the cancel.
    const bool web = m_frontEnd->kind() == support::FrontEnd::Kind::Web;
    typeKeys(web ? u"x 7"_s : u"alt+r 7 7"_s);
    cancelChooser(chooser);

    QCOMPARE(m_frontEnd->text(kText1), u"typed"_s);
    QCOMPARE(m_frontEnd->text(kText2), hudBefore);
    // Once the window has drawn again where the chooser stood.
    QCOMPARE(m_frontEnd->pixel(kShape1, swatchBefore), swatchBefore);
    const quint32 again = m_frontEnd->openChooser();
    m_frontEnd->keys({u"Return"_s});
    QVERIFY2(m_frontEnd->waitForChooserGone(again), "after a cancel, Enter left the chooser open");
}

void BehaviourTest::aChooserTakenAwayCountsAsCancel_data() {
    QTest::addColumn<QString>("takeAway");
    QTest::newRow("unmapped by another program") << u"windowunmap"_s;
    QTest::newRow("destroyed by another program") << u"windowclose"_s;
}

void BehaviourTest::aChooserTakenAwayCountsAsCancel() {
    if (m_frontEnd->kind() != support::FrontEnd::Kind::Qt) {
        QSKIP("Windows and the browser own their choosers; no other program takes them away");
    }
    QFETCH(QString, takeAway);
    const QString menuBefore = m_frontEnd->text(kText1);
    const quint32 chooser = m_frontEnd->openChooser();
    QVERIFY2(chooser != 0, "the colour chooser did not open");
    session().run(u"xdotool"_s, {takeAway, QString::number(chooser)});
    QVERIFY(session().waitForWindowGone(chooser));

    // The window answers at once: the box still holds its text, and the next click opens a
    // fresh chooser whose pick lands.
    QCOMPARE(m_frontEnd->text(kText1), menuBefore);
    const quint32 fresh = m_frontEnd->openChooser();
    QVERIFY2(fresh != 0, "no chooser opened after the first was taken away");
    m_frontEnd->pickInChooser(QColor(0, 128, 128));
    QVERIFY2(session().waitForWindowGone(fresh), "the fresh chooser stayed open after Enter");
    QCOMPARE(m_frontEnd->text(kText1), u"0.000 0.502 0.502 1"_s);
}

void BehaviourTest::altF4EndsTheProgramWithStatusZero() {
    if (m_frontEnd->kind() == support::FrontEnd::Kind::Web) {
        QSKIP("a page ends with its tab, which is the browser's");
    }
    // Alt+F4 is openbox's close binding: the window manager sends the close request, as it does
    // for the close box.
    m_frontEnd->activate();
    session().keys({u"alt+F4"_s});
    QVERIFY2(m_frontEnd->program().waitForFinished(60000), "still running a minute after Alt+F4");
    QCOMPARE(m_frontEnd->program().exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_frontEnd->program().exitCode(), 0);
}

QTEST_GUILESS_MAIN(BehaviourTest)
#include "BehaviourTest.moc"
