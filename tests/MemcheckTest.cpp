// The offscreen window tests once more, built without sanitizers and run under valgrind memcheck:
// no invalid read or write, no use of uninitialised memory and no leak of ours.
#include "support/Process.hpp"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class MemcheckTest : public QObject {
    Q_OBJECT

private slots:
    void suiteRunsCleanUnderMemcheck_data();
    void suiteRunsCleanUnderMemcheck();
};

void MemcheckTest::suiteRunsCleanUnderMemcheck_data() {
    QTest::addColumn<QString>("suite");
    QTest::addColumn<QStringList>("functions");
    // The whole command suite; of the window suites, the functions that build, drive and tear
    // down the window (the every-pixel ones take too long under memcheck).
    QTest::newRow("SelectColorCommandTest") << "SelectColorCommandTest" << QStringList();
    QTest::newRow("Form1Test") << "Form1Test"
                               << QStringList{"everyControlStandsWherePinned",
                                              "labelsFramesAndSwatchNeverTakeFocus",
                                              "firstShownEmptyThenShowsThePickedColourOnly",
                                              "hostilePasteLeavesTheWindowWorking"};
    QTest::newRow("QtColorDialogTest") << "QtColorDialogTest" << QStringList();
}

void MemcheckTest::suiteRunsCleanUnderMemcheck() {
    QFETCH(QString, suite);
    QFETCH(QStringList, functions);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    const support::ToolOutcome run = support::runTool(
        u"valgrind"_s,
        QStringList{u"--tool=memcheck"_s, u"--leak-check=full"_s,
                    u"--errors-for-leak-kinds=definite"_s, u"--error-exitcode=99"_s,
                    QStringLiteral("--suppressions=" QCC_SOURCE_DIR "/tests/valgrind.supp"),
                    QStringLiteral(QCC_MEMCHECK_BUILD_DIR "/tests/") + suite} +
            functions,
        environment, 900000);
    const QString& log = run.output;
    const QRegularExpressionMatch summary =
        QRegularExpression(u"ERROR SUMMARY: (\\d+) errors"_s).match(log);
    QVERIFY2(summary.hasMatch(), qPrintable(log.right(3000)));
    QVERIFY2(summary.captured(1) == QLatin1String("0"), qPrintable(log.right(6000)));
    QVERIFY2(log.contains(u"Totals:"_s) && log.contains(u" 0 failed"_s),
             qPrintable(log.right(3000)));
    QCOMPARE(run.exitCode, 0);
}

QTEST_GUILESS_MAIN(MemcheckTest)
#include "MemcheckTest.moc"
