// The whole job as a user does it, on the built program under Xvfb and openbox: click Select
// Color, type the channels into the real chooser, confirm, copy both values out of their boxes
// through the clipboard and look at the swatch on screen; then cancel, or have another program
// take the chooser away, and see nothing change; and Alt+F4 still ends it.
#include "support/PickCases.hpp"
#include "support/XSession.hpp"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>

#include <memory>

namespace {

const QString kProgram = QStringLiteral(QCC_PROGRAM_PATH);

// Centres of the controls in the client area, from the window's layout.
constexpr QPoint kCommand1{8 + 44 + 140, 12 + 24 + 20};
constexpr QPoint kShape1{8 + 44 + 140, 12 + 68 + 14};
constexpr QPoint kText1{8 + 32 + 140, 128 + 28 + 10};
constexpr QPoint kText2{8 + 32 + 140, 128 + 72 + 10};

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void pickShowsBothValuesAndTheSwatch_data();
    void pickShowsBothValuesAndTheSwatch();
    void escapeInTheChooserChangesNothing();
    void aChooserTakenAwayCountsAsCancel_data();
    void aChooserTakenAwayCountsAsCancel();
    void altF4EndsTheProgramWithStatusZero();

private:
    unsigned long openChooser() const;
    void pickInTheChooser(const QColor& colour) const;
    QString copyFrom(QPoint clientPoint);

    std::unique_ptr<support::XSession> m_session;
    std::unique_ptr<QProcess> m_program;
    unsigned long m_window = 0;
    QPoint m_origin;
    int m_copies = 0;
};

void EndToEndTest::initTestCase() {
    m_session = std::make_unique<support::XSession>();
    QVERIFY2(m_session->failure().isEmpty(), qPrintable(m_session->failure()));
    m_program = m_session->startClient(kProgram, {}, m_session->environment());
    QVERIFY(m_program);
    m_window = m_session->waitForWindow(QStringLiteral("^Quillmarch Color Converter$"));
    QVERIFY2(m_window != 0, "the program's window never appeared");
    QTest::qWait(300); // let the window settle where it centres itself
    m_origin = m_session->clientRect(m_window).topLeft();
}

void EndToEndTest::cleanupTestCase() {
    if (m_program && m_program->state() != QProcess::NotRunning) {
        m_program->terminate();
        if (!m_program->waitForFinished(3000)) {
            m_program->kill();
            m_program->waitForFinished();
        }
    }
    m_program.reset();
    m_session.reset();
}

unsigned long EndToEndTest::openChooser() const {
    m_session->click(m_origin + kCommand1);
    const unsigned long chooser = m_session->waitForWindow(QStringLiteral("^Select Color$"));
    if (chooser != 0) {
        m_session->run(
            QStringLiteral("xdotool"),
            {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(chooser)});
    }
    return chooser;
}

// Copies a box's whole text as a user would: click into it, select all, copy. A fresh marker on
// the clipboard first tells the new copy from an earlier one.
QString EndToEndTest::copyFrom(QPoint clientPoint) {
    const QString marker = QStringLiteral("marker %1").arg(++m_copies);
    QProcess xclip;
    xclip.setProcessEnvironment(m_session->environment());
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard")});
    xclip.write(marker.toUtf8());
    xclip.closeWriteChannel();
    xclip.waitForFinished(3000);

    m_session->click(m_origin + clientPoint);
    m_session->keys({QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
    QString copied;
    const QDeadlineTimer deadline(3000);
    do {
        copied = m_session->clipboard();
        if (!copied.isEmpty() && copied != marker) {
            break;
        }
        QTest::qWait(50);
    } while (!deadline.hasExpired());
    return copied;
}

void EndToEndTest::pickInTheChooser(const QColor& colour) const {
    // The chooser's own access keys: Alt+R, Alt+G and Alt+U reach the red, green and blue fields.
    const QList<QPair<QString, int>> fields{
        {QStringLiteral("alt+r"), colour.red()},
        {QStringLiteral("alt+g"), colour.green()},
        {QStringLiteral("alt+u"), colour.blue()},
    };
    for (const auto& [accessKey, value] : fields) {
        m_session->keys({accessKey, QStringLiteral("ctrl+a")});
        m_session->type(QString::number(value));
    }
    m_session->keys({QStringLiteral("Return")});
}

void EndToEndTest::pickShowsBothValuesAndTheSwatch_data() {
    support::addPickRows();
}

void EndToEndTest::pickShowsBothValuesAndTheSwatch() {
    QFETCH(QColor, colour);
    QFETCH(QString, menu);
    QFETCH(QString, hud);

    const unsigned long chooser = openChooser();
    QVERIFY2(chooser != 0, "the colour chooser did not open");
    pickInTheChooser(colour);
    QVERIFY2(m_session->waitForWindowGone(chooser), "the chooser stayed open after Enter");

    QCOMPARE(copyFrom(kText1), menu);
    QCOMPARE(copyFrom(kText2), hud);
    QCOMPARE(m_session->waitForPixel(m_origin + kShape1, colour), colour);
}

void EndToEndTest::escapeInTheChooserChangesNothing() {
    const QString menuBefore = copyFrom(kText1);
    const QString hudBefore = copyFrom(kText2);
    const QColor swatchBefore = m_session->screenshot().pixelColor(m_origin + kShape1);
    QVERIFY(!menuBefore.isEmpty());

    const unsigned long chooser = openChooser();
    QVERIFY2(chooser != 0, "the colour chooser did not open");
    m_session->keys({QStringLiteral("alt+r"), QStringLiteral("ctrl+a")});
    m_session->type(QStringLiteral("77"));
    m_session->keys({QStringLiteral("Escape")});
    QVERIFY2(m_session->waitForWindowGone(chooser), "the chooser stayed open after Esc");

    QCOMPARE(copyFrom(kText1), menuBefore);
    QCOMPARE(copyFrom(kText2), hudBefore);
    QCOMPARE(m_session->screenshot().pixelColor(m_origin + kShape1), swatchBefore);
    QCOMPARE(m_program->state(), QProcess::Running);
}

void EndToEndTest::aChooserTakenAwayCountsAsCancel_data() {
    QTest::addColumn<QString>("takeAway");
    QTest::newRow("unmapped by another program") << QStringLiteral("windowunmap");
    QTest::newRow("destroyed by another program") << QStringLiteral("windowclose");
}

void EndToEndTest::aChooserTakenAwayCountsAsCancel() {
    QFETCH(QString, takeAway);
    const QString menuBefore = copyFrom(kText1);
    const unsigned long chooser = openChooser();
    QVERIFY2(chooser != 0, "the colour chooser did not open");
    m_session->run(QStringLiteral("xdotool"), {takeAway, QString::number(chooser)});
    QVERIFY(m_session->waitForWindowGone(chooser));

    // The window answers at once: the box still holds its text, and the next click opens a
    // fresh chooser whose pick lands.
    QCOMPARE(copyFrom(kText1), menuBefore);
    const unsigned long fresh = openChooser();
    QVERIFY2(fresh != 0, "no chooser opened after the first was taken away");
    const QColor teal(0, 128, 128);
    pickInTheChooser(teal);
    QVERIFY2(m_session->waitForWindowGone(fresh), "the fresh chooser stayed open after Enter");
    QCOMPARE(copyFrom(kText1), QStringLiteral("0.000 0.502 0.502 1"));
}

void EndToEndTest::altF4EndsTheProgramWithStatusZero() {
    // Alt+F4 is openbox's close binding: the window manager sends the close request, as it does
    // for the close box.
    m_session->run(
        QStringLiteral("xdotool"),
        {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(m_window)});
    m_session->keys({QStringLiteral("alt+F4")});
    QVERIFY2(m_program->waitForFinished(2000), "the program was still running 2 s after Alt+F4");
    QCOMPARE(m_program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program->exitCode(), 0);
}

QTEST_GUILESS_MAIN(EndToEndTest)
#include "EndToEndTest.moc"
