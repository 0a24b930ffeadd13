#include "Form1.hpp"

#include "GroupFrame.hpp"
#include "QtColorValue.hpp"
#include "RoomForFont.hpp"
#include "Swatch.hpp"
#include "X11WindowHints.hpp"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <limits>
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
// all when the window is shown. A font the desktop names is the user's and stays. Form1 is a
// top-level window, hence the null parent.
QWidget* topLevelInFormFont() {
    if (isQtsOwnFallback(QApplication::font())) {
        QFont font(QString::fromLatin1(kFontFamily));
        font.setPointSizeF(kFontPointSize);
        QApplication::setFont(font);
    }
    return nullptr;
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

QMargins frameSidesKnownToQt(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

std::unique_ptr<ColorDialog> checkedDialog(std::unique_ptr<ColorDialog> dialog) {
    if (!dialog) {
        throw std::invalid_argument("Form1 needs a colour dialog");
    }
    return dialog;
}

QLineEdit* createTextBox(QWidget* container) {
    auto* box = new QLineEdit(container);
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
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
        return createTextBox(container);
    }
    throw std::logic_error("unknown control kind");
}

} // namespace

Form1::Form1(const DialogFactory& makeDialog)
    : QWidget(topLevelInFormFont())
    , m_commonDialog1(checkedDialog(makeDialog(*this)))
    , m_command(*m_commonDialog1, *this) {
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
// so proportions and alignments hold; the window stays fixed at its new size.
void Form1::layOutForFont() {
    const double factor = roomFactorFor(font(), *style());
    for (const ControlRow& row : kControlTable) {
        control(row.id)->setGeometry(qRect(scaledPixelRect(row.place, factor)));
    }
    const PixelRect client = scaledPixelRect({0, 0, kClientWidthTwips, kClientHeightTwips}, factor);
    setFixedSize(client.width, client.height);
}

// A desktop may hand over the user's font, or a new one, once the window is built.
void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        layOutForFont();
    }
    QWidget::changeEvent(event);
}

void Form1::chainTabOrder() const {
    constexpr auto kOrder = focusOrder();
    for (std::size_t i = 1; i < kOrder.size(); ++i) {
        setTabOrder(control(kOrder.at(i - 1)), control(kOrder.at(i)));
    }
    control(kOrder.front())->setFocus(Qt::OtherFocusReason);
}

void Form1::centreOnScreen() {
    placeFrameInTheMiddle(frameSidesKnownToQt(*this));
}

// Centres the frame, given its sides, by placing the client area: Qt's idea of the frame may be
// stale, so it is left out of the move.
void Form1::placeFrameInTheMiddle(const QMargins& frameSides) {
    const QScreen* display = screen();
    if (display == nullptr) {
        return;
    }
    QRect frame = geometry().marginsAdded(frameSides);
    frame.moveCenter(display->availableGeometry().center());
    setGeometry(frame.marginsRemoved(frameSides));
}

void Form1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    requestCentringOnceFramed();
}

// The window manager frames the window at its own pace and may announce the frame only after the
// first paint, with nothing from Qt to say so. Until the window has been centred with its frame,
// each paint and each message from the window system is a chance to see it. Queued, so that the
// move never comes in the middle of a paint or of Qt's own handling of the message.
bool Form1::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    requestCentringOnceFramed();
    return QWidget::nativeEvent(eventType, message, result);
}

void Form1::requestCentringOnceFramed() {
    if (!m_frameCentred) {
        QMetaObject::invokeMethod(this, &Form1::centreOnceFramed, Qt::QueuedConnection);
    }
}

void Form1::centreOnceFramed() {
    // Before the window is on screen there is no frame to ask about.
    if (m_frameCentred || windowHandle() == nullptr || !windowHandle()->isExposed()) {
        return;
    }
    QMargins frameSides = announcedFrame(*this);
    if (frameSides.isNull()) {
        frameSides = frameSidesKnownToQt(*this); // no X11 announcement: Qt's figure
    }
    if (!frameSides.isNull()) {
        m_frameCentred = true;
        placeFrameInTheMiddle(frameSides);
    }
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
