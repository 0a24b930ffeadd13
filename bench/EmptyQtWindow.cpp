// The toolkit's floor for the start-up benchmark: an empty Qt Widgets window of the converter's
// size and nothing else, built with the same flags. What ours costs beyond it is ours.
#include "window/ControlTable.hpp"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    const QApplication application(argc, argv);
    QWidget empty;
    empty.setWindowTitle(QStringLiteral("Empty Qt window"));
    empty.setFixedSize(window::kClientPixels.width, window::kClientPixels.height);
    empty.show();
    return QApplication::exec();
}
