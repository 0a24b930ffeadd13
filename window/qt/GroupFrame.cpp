#include "GroupFrame.hpp"

#include "Outline.hpp"

#include <QAccessibleWidget>
#include <QPainter>

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

void GroupFrame::paintEvent(QPaintEvent* event) {
    if (!styleOutlineFades(palette())) {
        QFrame::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(outlineColour(palette()));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace window::qt
