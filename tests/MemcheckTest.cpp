// The offscreen window tests once more, built without sanitizers and run under valgrind memcheck:
// no invalid read or write, no use of uninitialised memory and no leak of ours.
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString kBuild = QStringLiteral(QCC_MEMCHECK_BUILD_DIR);

} // namespace

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
                                              "clickOnCommand1ShowsThePickedColour",
                                              "hostilePasteLeavesTheWindowWorking",
                                              "closingTheWindowEndsTheEventLoop"};
    QTest::newRow("QtColorDialogTest") << "QtColorDialogTest" << QStringList();
}

void MemcheckTest::suiteRunsCleanUnderMemcheck() {
    QFETCH(QString, suite);
    QFETCH(QStringList, functions);
    QProcess valgrind;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    valgrind.setProcessEnvironment(environment);
    valgrind.setProcessChannelMode(QProcess::MergedChannels);
    valgrind.start(
        QStringLiteral("valgrind"),
        QStringList{QStringLiteral("--tool=memcheck"), QStringLiteral("--leak-check=full"),
                    QStringLiteral("--errors-for-leak-kinds=definite"),
                    QStringLiteral("--error-exitcode=99"),
                    QStringLiteral("--suppressions=" QCC_SOURCE_DIR "/tests/valgrind.supp"),
                    kBuild + QStringLiteral("/tests/") + suite} +
            functions);
    QVERIFY2(valgrind.waitForFinished(900000), "valgrind did not finish in 15 minutes");
    const QString log = QString::fromLocal8Bit(valgrind.readAll());
    const QRegularExpressionMatch summary =
        QRegularExpression(QStringLiteral("ERROR SUMMARY: (\\d+) errors")).match(log);
    QVERIFY2(summary.hasMatch(), qPrintable(log.right(3000)));
    QVERIFY2(summary.captured(1) == QLatin1String("0"), qPrintable(log.right(6000)));
    QVERIFY2(log.contains(QStringLiteral("Totals:")) && log.contains(QStringLiteral(" 0 failed")),
             qPrintable(log.right(3000)));
    QCOMPARE(valgrind.exitCode(), 0);
}

QTEST_GUILESS_MAIN(MemcheckTest)
#include "MemcheckTest.moc"
