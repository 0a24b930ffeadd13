// Frame1 and Frame2: a caption-less group box. Drawn as a plain styled frame, which looks the same
// as a QGroupBox without a title, where the Fusion style would read a PNG and load the image
// format plugins at start-up; announced to screen readers as a grouping all the same.
#pragma once

#include <QFrame>

class QAccessibleInterface;

namespace window::qt {

class GroupFrame final : public QFrame {
    Q_OBJECT

public:
    explicit GroupFrame(QWidget* parent);

    // For QAccessible::installFactory: the grouping role for GroupFrame objects, nothing otherwise.
    static QAccessibleInterface* accessibleInterface(const QString& className, QObject* object);
};

} // namespace window::qt
