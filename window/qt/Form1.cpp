#include "Form1.hpp"

#include "GroupFrame.hpp"
#include "QtColorValue.hpp"
#include "RoomForFont.hpp"
#include "Swatch.hpp"
#include "ValueBox.hpp"
#include "WholePixelStyle.hpp"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>

#include <stdexcept>

namespace window::qt {
namespace {

// The boxes were laid out for a narrow dialog font: at Debian's default (DejaVu Sans 10 pt) the
// credit line overflows its 105 pixels. Where no desktop names a font, the condensed cut at 7.5 pt
// fits every caption with room to spare at the table's own size; in points, so it grows with the
// screen's DPI and scale factor like the geometry.
constexpr auto kFontFamily = "DejaVu Sans Condensed";
constexpr qreal kFontPointSize = 7.5;

// What Qt gives the application when no platform theme names a font.
bool isQtsOwnFallback(const QFont& font) {
    return font.family() == QLatin1String("Sans Serif") && font.pointSizeF() == 9.0;
}

// The application's font rather than the window's: the chooser, tooltips and the style then
// share one font face instead of loading Qt's default face as well. It has to be in place before
// Form1's own QWidget is built, which takes the application font of that moment: set any later,
// every text box would first load Qt's default face and lay out its text in it, only to redo it
// all when the window is shown. A font the desktop names is the user's and stays. The style, too,
// is the whole application's, so that the chooser's controls are drawn as the window's are; set
// once the controls stand, it would restyle and lay out every one of them again.
void useFormFontAndWholePixelStyle() {
    if (isQtsOwnFallback(QApplication::font())) {
        QFont font(QString::fromLatin1(kFontFamily));
        font.setPointSizeF(kFontPointSize);
        QApplication::setFont(font);
    }
    if (qobject_cast<WholePixelStyle*>(QApplication::style()) == nullptr) {
        QApplication::setStyle(new WholePixelStyle);
    }
}

QString qString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect qRect(const PixelRect& place) {
    return {place.left, place.top, place.width, place.height};
}

// A screen reader announces the window as the dialog it is, named by its title.
QAccessibleInterface* accessibleForm(const QString& className, QObject* object) {
    auto* form = qobject_cast<Form1*>(object);
    if (form == nullptr || className != QLatin1String(Form1::staticMetaObject.className())) {
        return nullptr;
    }
    return new QAccessibleWidget(form, QAccessible::Dialog);
}

// The states a window manager or compositor may put the window in although its size is fixed.
const Qt::WindowStates kLargerThanNormal = Qt::WindowMaximized | Qt::WindowFullScreen;

bool isOnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// Room for the client area on the screen: its available area less what a title bar and borders
// may take before the window manager says how much they do.
QSizeF roomOnScreen(const QWidget& window) {
    constexpr QSize kFrameAllowance{16, 48};
    const QScreen* display = window.screen();
    return display == nullptr ? QSizeF()
                              : QSizeF(display->availableGeometry().size() - kFrameAllowance);
}

std::unique_ptr<ColorDialog> checkedDialog(std::unique_ptr<ColorDialog> dialog) {
    if (!dialog) {
        throw std::invalid_argument("Form1 needs a colour dialog");
    }
    return dialog;
}

QPushButton* createButton(const ControlRow& row, QWidget* container) {
    auto* button = new QPushButton(qString(row.caption), container);
    // QPushButton reacts to Enter only when auto-default. Outside a QDialog that means exactly
    // "Enter presses it while it has the focus": there is no dialog to make it the default.
    button->setAutoDefault(true);
    button->setDefault(false);
    return button;
}

QLabel* createLabel(const ControlRow& row, QWidget* container) {
    auto* label = new QLabel(qString(row.caption), container);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QWidget* createControl(const ControlRow& row, QWidget* container) {
    switch (row.kind) {
    case ControlKind::GroupBox:
        return new GroupFrame(container);
    case ControlKind::PushButton:
        return createButton(row, container);
    case ControlKind::Shape:
        return new Swatch(container);
    case ControlKind::Label:
        return createLabel(row, container);
    case ControlKind::TextBox:
        return new ValueBox(container);
    }
    throw std::logic_error("unknown control kind");
}

} // namespace

Form1::Form1(const DialogFactory& makeDialog)
    // First the application's font and style, then the QWidget of a top-level window, which has no
    // parent.
    : QWidget((useFormFontAndWholePixelStyle(), nullptr))
    , m_commonDialog1(checkedDialog(makeDialog(*this)))
    , m_command(*m_commonDialog1, *this)
    , m_windowManager(*this) {
    setObjectName(qString(kFormName));
    setWindowTitle(qString(kFormCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QAccessible::installFactory(&accessibleForm); // adds it only once
    buildControls();
    layOutForFont();
    chainTabOrder();
}

Form1::~Form1() = default;

void Form1::buildControls() {
    for (const ControlRow& row : kControlTable) {
        QWidget* container = row.container ? control(*row.container) : this;
        QWidget* widget = createControl(row, container);
        widget->setObjectName(qString(row.name));
        widget->setAccessibleName(qString(accessibleNameOf(row)));
        m_controls.at(indexOf(row.id)) = widget;
    }
    for (const ControlRow& row : kControlTable) {
        if (row.labelledBy) {
            qobject_cast<QLabel*>(control(*row.labelledBy))->setBuddy(control(row.id));
        }
    }
    connect(qobject_cast<QPushButton*>(control(ControlId::Command1)), &QPushButton::clicked, this,
            [this] { m_command.onClick(); });
}

// The whole table grows by one factor when the font needs more room than the table's boxes give,
// so proportions and alignments hold; the window stays fixed at its new size. Where the screen has
// too little room for that, the window takes the largest font that fits instead.
void Form1::layOutForFont() {
    const QFont wanted = QApplication::font();
    const Growth growth = growthWithin(wanted, kFontPointSize, *style(), roomOnScreen(*this));
    if (growth.font != font()) {
        // An empty font follows the desktop's, should it hand over another later.
        setFont(growth.font == wanted ? QFont() : growth.font);
    }
    for (const ControlRow& row : kControlTable) {
        control(row.id)->setGeometry(qRect(scaledPixelRect(row.place, growth.factor)));
    }
    const PixelRect client =
        scaledPixelRect({0, 0, kClientWidthTwips, kClientHeightTwips}, growth.factor);
    holdSize({client.width, client.height});
}

// Qt 6.4 on Wayland ends the program when the compositor maximises a window whose largest size is
// fixed: it answers the maximised state at its own size, a protocol error. There the window
// names only its smallest size, and goes back to its own size whenever it is made larger.
void Form1::holdSize(QSize size) {
    m_heldSize = size;
    if (!isOnWayland()) {
        setFixedSize(size);
        return;
    }
    setMinimumSize(size);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(size);
}

void Form1::resizeEvent(QResizeEvent* event) {
    const bool larger = (windowState() & kLargerThanNormal) != 0;
    if (isOnWayland() && !larger && event->size() != m_heldSize) {
        QMetaObject::invokeMethod(
            this, [this] { resize(m_heldSize); }, Qt::QueuedConnection);
    }
    QWidget::resizeEvent(event);
}

// A desktop may hand over the user's font, or a new one, once the window is built. A window
// manager or compositor may maximise the window although it asks for a fixed size, or minimise it
// although it asks for no Minimise.
void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        layOutForFont();
    }
    if (event->type() == QEvent::WindowStateChange) {
        keepNormalState();
        m_windowManager.stateChanged();
    }
    QWidget::changeEvent(event);
}

void Form1::keepNormalState() {
    if ((windowState() & kLargerThanNormal) != 0) {
        QMetaObject::invokeMethod(
            this, [this] { setWindowState(windowState() & ~kLargerThanNormal); },
            Qt::QueuedConnection);
    }
}

void Form1::chainTabOrder() const {
    constexpr auto kOrder = focusOrder();
    for (std::size_t i = 1; i < kOrder.size(); ++i) {
        setTabOrder(control(kOrder.at(i - 1)), control(kOrder.at(i)));
    }
    control(kOrder.front())->setFocus(Qt::OtherFocusReason);
}

void Form1::showEvent(QShowEvent* event) {
    m_windowManager.shown(*event);
    QWidget::showEvent(event);
}

bool Form1::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    m_windowManager.nativeEvent(eventType, message);
    return QWidget::nativeEvent(eventType, message, result);
}

void Form1::replaceText1(std::string_view text) {
    qobject_cast<QLineEdit*>(control(ControlId::Text1))->setText(qString(text));
}

void Form1::replaceText2(std::string_view text) {
    qobject_cast<QLineEdit*>(control(ControlId::Text2))->setText(qString(text));
}

void Form1::setShape1FillColor(color::ColorValue value) {
    qobject_cast<Swatch*>(control(ControlId::Shape1))->setFillColor(toQColor(value));
}

} // namespace window::qt
