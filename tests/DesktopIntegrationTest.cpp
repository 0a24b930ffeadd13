// What `cmake --install` puts on a desktop: the program, its desktop entry, AppStream metadata and
// icons, checked with the desktop's own validators and against each other.
#include "support/Process.hpp"

#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kAppId = QStringLiteral("org.quillmarch.ColorConverter");

} // namespace

class DesktopIntegrationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void installsEveryFileADesktopLooksFor();
    void iconsAreSquareTransparentAndOfTheirSize_data();
    void iconsAreSquareTransparentAndOfTheirSize();
    void desktopEntryPassesItsValidatorAndPointsAtTheInstall();
    void metainfoPassesItsValidatorWithTheProjectVersion();

private:
    QString installed(const QString& relative) const { return m_prefix.filePath(relative); }

    QTemporaryDir m_prefix;
};

void DesktopIntegrationTest::initTestCase() {
    QVERIFY(m_prefix.isValid());
    const support::ToolOutcome install =
        support::runTool(QStringLiteral(QCC_CMAKE_COMMAND),
                         {QStringLiteral("--install"), QStringLiteral(QCC_BUILD_DIR),
                          QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY2(install.exitCode == 0, qPrintable(install.output));
}

void DesktopIntegrationTest::installsEveryFileADesktopLooksFor() {
    const QStringList files{
        QStringLiteral("bin/quillmarch-color-converter"),
        QStringLiteral("share/applications/%1.desktop").arg(kAppId),
        QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kAppId),
        QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(kAppId),
    };
    for (const QString& file : files) {
        QVERIFY2(QFile::exists(installed(file)), qPrintable(file));
    }
    QVERIFY(QFileInfo(installed(files.first())).isExecutable());
}

void DesktopIntegrationTest::iconsAreSquareTransparentAndOfTheirSize_data() {
    QTest::addColumn<int>("size");
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QTest::addRow("%d px", size) << size;
    }
}

void DesktopIntegrationTest::iconsAreSquareTransparentAndOfTheirSize() {
    QFETCH(int, size);
    const QString path =
        installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId));
    const QImage icon(path);
    QVERIFY2(!icon.isNull(), qPrintable(path));
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
    QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(icon.pixelColor(size - 1, size / 2).alpha(), 0);
    // The drawing itself: something red (the handle) and something blue (the spanner).
    bool red = false;
    bool blue = false;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QColor pixel = icon.pixelColor(x, y);
            red = red || (pixel.alpha() > 200 && pixel.red() > 150 && pixel.blue() < 80);
            blue = blue || (pixel.alpha() > 200 && pixel.blue() > 150 && pixel.red() < 80);
        }
    }
    QVERIFY(red);
    QVERIFY(blue);
}

void DesktopIntegrationTest::desktopEntryPassesItsValidatorAndPointsAtTheInstall() {
    const QString entry = installed(QStringLiteral("share/applications/%1.desktop").arg(kAppId));
    const support::ToolOutcome check =
        support::runTool(QStringLiteral("desktop-file-validate"), {entry});
    QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    QVERIFY2(!check.output.contains(QStringLiteral("error")), qPrintable(check.output));

    QSettings settings(entry, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Desktop Entry"));
    QCOMPARE(settings.value(QStringLiteral("Name")).toString(),
             QStringLiteral("Quillmarch Color Converter"));
    QCOMPARE(settings.value(QStringLiteral("Icon")).toString(), kAppId);
    const QString exec = settings.value(QStringLiteral("Exec")).toString();
    QVERIFY(QFile::exists(installed(QStringLiteral("bin/") + exec)));
}

void DesktopIntegrationTest::metainfoPassesItsValidatorWithTheProjectVersion() {
    const QString metainfo =
        installed(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kAppId));
    const support::ToolOutcome check =
        support::runTool(QStringLiteral("appstreamcli"),
                         {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
    QVERIFY2(check.exitCode == 0, qPrintable(check.output));

    QFile file(metainfo);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(QStringLiteral("<id>%1</id>").arg(kAppId)));
    QVERIFY(
        text.contains(QStringLiteral("<release version=\"%1\"").arg(QStringLiteral(QCC_VERSION))));
    QVERIFY(
        text.contains(QStringLiteral("<launchable type=\"desktop-id\">%1.desktop").arg(kAppId)));
}

QTEST_GUILESS_MAIN(DesktopIntegrationTest)
#include "DesktopIntegrationTest.moc"
