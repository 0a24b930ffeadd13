// The Debian package CPack makes from this build: lintian finds no error in it, and unpacked into
// a scratch root it holds the program, desktop files, icons, manual and Debian's documents, with
// the project's version and the dependencies a fresh system needs.
#include "support/Process.hpp"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class PackageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void lintianFindsNoError();
    void controlFieldsCarryVersionAndDependencies();
    void unpacksEverythingTheDesktopNeeds();

private:
    QTemporaryDir m_work;
    QString m_package;
};

void PackageTest::initTestCase() {
    QVERIFY(m_work.isValid());
    const support::ToolOutcome pack = support::runTool(
        QStringLiteral("cpack"),
        {QStringLiteral("--config"), QStringLiteral(QCC_BUILD_DIR "/CPackConfig.cmake"),
         QStringLiteral("-B"), m_work.path()});
    QVERIFY2(pack.exitCode == 0, qPrintable(pack.output));
    const QStringList debs = QDir(m_work.path()).entryList({QStringLiteral("*.deb")});
    QCOMPARE(debs.size(), 1);
    m_package = m_work.filePath(debs.first());
    QVERIFY(m_package.contains(QStringLiteral("quillmarch-color-converter_" QCC_VERSION "_")));
}

void PackageTest::lintianFindsNoError() {
    const support::ToolOutcome check =
        support::runTool(QStringLiteral("lintian"),
                         {QStringLiteral("--fail-on"), QStringLiteral("error"), m_package});
    QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    QVERIFY2(!check.output.contains(QStringLiteral("\nE: ")) && !check.output.startsWith("E: "),
             qPrintable(check.output));
}

void PackageTest::controlFieldsCarryVersionAndDependencies() {
    const support::ToolOutcome fields =
        support::runTool(QStringLiteral("dpkg-deb"),
                         {QStringLiteral("--field"), m_package, QStringLiteral("Package"),
                          QStringLiteral("Version"), QStringLiteral("Depends")});
    QVERIFY2(fields.exitCode == 0, qPrintable(fields.output));
    QVERIFY(fields.output.contains(QStringLiteral("Package: quillmarch-color-converter\n")));
    QVERIFY(fields.output.contains(QStringLiteral("Version: " QCC_VERSION "\n")));
    for (const char* dependency : {"libqt6widgets6", "qt6-qpa-plugins", "fonts-dejavu-extra"}) {
        QVERIFY2(fields.output.contains(QString::fromLatin1(dependency)), dependency);
    }
}

void PackageTest::unpacksEverythingTheDesktopNeeds() {
    const QString root = m_work.filePath(QStringLiteral("root"));
    const support::ToolOutcome unpack =
        support::runTool(QStringLiteral("dpkg"), {QStringLiteral("-x"), m_package, root});
    QVERIFY2(unpack.exitCode == 0, qPrintable(unpack.output));
    const QStringList files{
        QStringLiteral("usr/bin/quillmarch-color-converter"),
        QStringLiteral("usr/share/applications/org.quillmarch.ColorConverter.desktop"),
        QStringLiteral("usr/share/metainfo/org.quillmarch.ColorConverter.metainfo.xml"),
        QStringLiteral("usr/share/icons/hicolor/scalable/apps/org.quillmarch.ColorConverter.svg"),
        QStringLiteral("usr/share/icons/hicolor/48x48/apps/org.quillmarch.ColorConverter.png"),
        QStringLiteral("usr/share/man/man1/quillmarch-color-converter.1.gz"),
        QStringLiteral("usr/share/doc/quillmarch-color-converter/copyright"),
        QStringLiteral("usr/share/doc/quillmarch-color-converter/changelog.gz"),
    };
    for (const QString& file : files) {
        QVERIFY2(QFile::exists(root + QLatin1Char('/') + file), qPrintable(file));
    }
    QVERIFY(QFileInfo(root + QStringLiteral("/usr/bin/quillmarch-color-converter")).isExecutable());
}

QTEST_GUILESS_MAIN(PackageTest)
#include "PackageTest.moc"
