// The converter window as a user meets it, written once and run against both front ends (CTest
// runs it with QCC_FRONT_END=qt and =windows): the keyboard, the frame, long pastes, picks and
// cancels through the real chooser, the icon, and closing. The slots run in order on one program.
#include "support/FrontEnd.hpp"
#include "support/PickCases.hpp"

#include <QTest>

#include <memory>

namespace {

const QString kCommand1 = QStringLiteral("Command1");
const QString kText1 = QStringLiteral("Text1");
const QString kText2 = QStringLiteral("Text2");
const QString kShape1 = QStringLiteral("Shape1");

} // namespace

class BehaviourTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void focusStartsOnTheButtonAndTabCyclesButtonAndBoxes();
    void enterPressesTheButtonOnlyWhileItHasTheFocusAndEscNever();
    void theFrameOffersNoMinimiseMaximiseOrResize();
    void aLongPasteLandsWholeAndTheBoxStaysEditable_data();
    void aLongPasteLandsWholeAndTheBoxStaysEditable();
    void aPickWritesBothTextsAndPaintsTheSwatch_data();
    void aPickWritesBothTextsAndPaintsTheSwatch();
    void cancelKeepsTypedTextAndChangesNothing();
    void aChooserTakenAwayCountsAsCancel_data();
    void aChooserTakenAwayCountsAsCancel();
    void windowAndProgramCarryTheIconAndVersion();
    void altF4EndsTheProgramWithStatusZero();

private:
    [[nodiscard]] support::XSession& session() const { return m_frontEnd->session(); }
    void typeKeys(const QStringList& keys) const;
    void cancelChooser(unsigned long chooser) const;

    std::unique_ptr<support::XSession> m_session;
    std::unique_ptr<support::FrontEnd> m_frontEnd;
};

void BehaviourTest::initTestCase() {
    m_session = std::make_unique<support::XSession>();
    QVERIFY2(m_session->failure().isEmpty(), qPrintable(m_session->failure()));
    m_frontEnd = support::FrontEnd::fromEnvironment(*m_session);
    const QString failure = m_frontEnd->start();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

void BehaviourTest::cleanupTestCase() {
    m_frontEnd.reset();
    m_session.reset();
}

// Single characters are typed after End, since a box selects its whole text when Tab brings the
// focus in; anything longer is a key name.
void BehaviourTest::typeKeys(const QStringList& keys) const {
    for (const QString& key : keys) {
        if (key.size() == 1) {
            session().keys({QStringLiteral("End")});
            session().type(key);
        } else {
            session().keys({key});
        }
    }
}

void BehaviourTest::cancelChooser(unsigned long chooser) const {
    session().keys({QStringLiteral("Escape")});
    QVERIFY2(session().waitForWindowGone(chooser), "the chooser stayed open after Esc");
}

// Letters typed along the way show where the focus was: a box keeps them, the button drops them.
void BehaviourTest::focusStartsOnTheButtonAndTabCyclesButtonAndBoxes() {
    session().run(QStringLiteral("xdotool"),
                  {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                   QString::number(m_frontEnd->window())});
    typeKeys({QStringLiteral("1"), QStringLiteral("Tab"), QStringLiteral("a"), // Text1
              QStringLiteral("Tab"), QStringLiteral("b"),                      // Text2
              QStringLiteral("Tab"), QStringLiteral("2"),                      // Command1
              QStringLiteral("Tab"), QStringLiteral("c"),                      // Text1
              QStringLiteral("shift+Tab"), QStringLiteral("3"),                // Command1
              QStringLiteral("shift+Tab"), QStringLiteral("d"),                // Text2
              QStringLiteral("shift+Tab"), QStringLiteral("e")});              // Text1
    QCOMPARE(m_frontEnd->text(kText1), QStringLiteral("ace"));
    QCOMPARE(m_frontEnd->text(kText2), QStringLiteral("bd"));
}

// A chooser opened by mistake would take the keys typed after Enter or Esc, so each letter that
// lands in its box says the key before it opened nothing.
void BehaviourTest::enterPressesTheButtonOnlyWhileItHasTheFocusAndEscNever() {
    m_frontEnd->click(kText1);
    typeKeys({QStringLiteral("Return"), QStringLiteral("f"), QStringLiteral("Escape"),
              QStringLiteral("g"), QStringLiteral("Tab"), QStringLiteral("Return"),
              QStringLiteral("h"), QStringLiteral("Tab"), QStringLiteral("Escape"),
              QStringLiteral("shift+Tab"), QStringLiteral("i")});
    QVERIFY(m_frontEnd->text(kText1).endsWith(QStringLiteral("fg")));
    QVERIFY(m_frontEnd->text(kText2).endsWith(QStringLiteral("hi")));

    m_frontEnd->click(kText2);
    typeKeys({QStringLiteral("Tab"), QStringLiteral("Return")}); // on Command1
    const unsigned long chooser = session().waitForWindow(
        m_frontEnd->kind() == support::FrontEnd::Kind::Qt ? QStringLiteral("^Select Color$")
                                                          : QStringLiteral("^Color$"));
    QVERIFY2(chooser != 0, "Enter on the focused button opened no chooser");
    cancelChooser(chooser);
}

void BehaviourTest::theFrameOffersNoMinimiseMaximiseOrResize() {
    const support::WindowFacts facts = m_frontEnd->facts();
    QVERIFY(!facts.minimise);
    QVERIFY(!facts.maximise);
    QVERIFY(!facts.resizable);
    QVERIFY(facts.closeBox);
    QVERIFY(facts.systemMenu);
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
    typeKeys({QStringLiteral("x")});
    // Wine's edit control takes seconds over so long a line, and answers a read before it has
    // taken in the keys still queued; wait for them.
    QTRY_COMPARE_WITH_TIMEOUT(m_frontEnd->text(box).size(), pasted.size() + 1, 30000);
    const QString text = m_frontEnd->text(box);
    QVERIFY(text.startsWith(pasted) && text.endsWith(QLatin1Char('x')));
}

void BehaviourTest::aPickWritesBothTextsAndPaintsTheSwatch_data() {
    support::addPickRows();
}

void BehaviourTest::aPickWritesBothTextsAndPaintsTheSwatch() {
    QFETCH(QColor, colour);
    QFETCH(QString, menu);
    QFETCH(QString, hud);
    const unsigned long chooser = m_frontEnd->openChooser();
    QVERIFY2(chooser != 0, "the colour chooser did not open");
    m_frontEnd->pickInChooser(colour);
    QVERIFY2(session().waitForWindowGone(chooser), "the chooser stayed open after Enter");
    QCOMPARE(m_frontEnd->text(kText1), menu);
    QCOMPARE(m_frontEnd->text(kText2), hud);
    QCOMPARE(m_frontEnd->pixel(kShape1, colour), colour);
}

// Were the cancel to return normally, the command would write the last colour's texts again
// over "typed"; only a raised cancel leaves it.
void BehaviourTest::cancelKeepsTypedTextAndChangesNothing() {
    m_frontEnd->paste(kText1, QStringLiteral("typed"));
    const QString hudBefore = m_frontEnd->text(kText2);
    const QColor swatchBefore = m_frontEnd->pixel(kShape1);
    QVERIFY(!hudBefore.isEmpty());

    const unsigned long chooser = m_frontEnd->openChooser();
    QVERIFY2(chooser != 0, "the colour chooser did not open");
    typeKeys({QStringLiteral("alt+r"), QStringLiteral("7"), QStringLiteral("7")});
    cancelChooser(chooser);

    QCOMPARE(m_frontEnd->text(kText1), QStringLiteral("typed"));
    QCOMPARE(m_frontEnd->text(kText2), hudBefore);
    QCOMPARE(m_frontEnd->pixel(kShape1), swatchBefore);
}

void BehaviourTest::aChooserTakenAwayCountsAsCancel_data() {
    QTest::addColumn<QString>("takeAway");
    QTest::newRow("unmapped by another program") << QStringLiteral("windowunmap");
    QTest::newRow("destroyed by another program") << QStringLiteral("windowclose");
}

void BehaviourTest::aChooserTakenAwayCountsAsCancel() {
    if (m_frontEnd->kind() == support::FrontEnd::Kind::Windows) {
        QSKIP("Windows owns its dialogs; no other program takes them away through X");
    }
    QFETCH(QString, takeAway);
    const QString menuBefore = m_frontEnd->text(kText1);
    const unsigned long chooser = m_frontEnd->openChooser();
    QVERIFY2(chooser != 0, "the colour chooser did not open");
    session().run(QStringLiteral("xdotool"), {takeAway, QString::number(chooser)});
    QVERIFY(session().waitForWindowGone(chooser));

    // The window answers at once: the box still holds its text, and the next click opens a
    // fresh chooser whose pick lands.
    QCOMPARE(m_frontEnd->text(kText1), menuBefore);
    const unsigned long fresh = m_frontEnd->openChooser();
    QVERIFY2(fresh != 0, "no chooser opened after the first was taken away");
    m_frontEnd->pickInChooser(QColor(0, 128, 128));
    QVERIFY2(session().waitForWindowGone(fresh), "the fresh chooser stayed open after Enter");
    QCOMPARE(m_frontEnd->text(kText1), QStringLiteral("0.000 0.502 0.502 1"));
}

void BehaviourTest::windowAndProgramCarryTheIconAndVersion() {
    const support::WindowFacts facts = m_frontEnd->facts();
    QVERIFY(facts.windowIcon);
    if (m_frontEnd->kind() == support::FrontEnd::Kind::Windows) {
        QVERIFY(facts.executableIcon);
        QCOMPARE(facts.fileVersion, QStringLiteral("1.00"));
        QCOMPARE(facts.productName, QStringLiteral("Quillmarch Color Converter"));
    }
}

void BehaviourTest::altF4EndsTheProgramWithStatusZero() {
    // Alt+F4 is openbox's close binding: the window manager sends the close request, as it does
    // for the close box.
    session().run(QStringLiteral("xdotool"),
                  {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                   QString::number(m_frontEnd->window())});
    session().keys({QStringLiteral("alt+F4")});
    QVERIFY2(m_frontEnd->program().waitForFinished(10000), "still running 10 s after Alt+F4");
    QCOMPARE(m_frontEnd->program().exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_frontEnd->program().exitCode(), 0);
}

QTEST_GUILESS_MAIN(BehaviourTest)
#include "BehaviourTest.moc"
