// The toolkit's floor for the start-up benchmark: an empty Qt Widgets window of the converter's
// size and nothing else, built with the same flags. What ours costs beyond it is ours.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    const QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Empty Qt window"));
    window.setFixedSize(376, 285);
    window.show();
    return QApplication::exec();
}
