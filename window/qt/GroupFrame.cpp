#include "GroupFrame.hpp"

#include <QAccessibleWidget>

namespace window::qt {

GroupFrame::GroupFrame(QWidget* parent)
    : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setFocusPolicy(Qt::NoFocus);
    QAccessible::installFactory(&GroupFrame::accessibleInterface); // adds it only once
}

QAccessibleInterface* GroupFrame::accessibleInterface(const QString& className, QObject* object) {
    auto* frame = qobject_cast<GroupFrame*>(object);
    if (frame == nullptr || className != QLatin1String(staticMetaObject.className())) {
        return nullptr;
    }
    return new QAccessibleWidget(frame, QAccessible::Grouping);
}

} // namespace window::qt
