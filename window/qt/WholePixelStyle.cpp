#include "WholePixelStyle.hpp"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace window::qt {
namespace {

// WCAG's contrast ratio below which an edge no longer reads as one against the window.
constexpr double kVisibleEdge = 1.5;

bool isEdgeOfAControl(QStyle::PrimitiveElement element) {
    return element == QStyle::PE_Frame || element == QStyle::PE_PanelLineEdit ||
           element == QStyle::PE_PanelButtonCommand;
}

// The device pixels Qt's clip gives the logical rectangle: each side rounded to the nearest
// pixel boundary.
QRect devicePixelsOf(const QTransform& toDevice, const QRect& logical) {
    const QRectF exact = toDevice.mapRect(QRectF(logical));
    return {QPoint(qRound(exact.left()), qRound(exact.top())),
            QPoint(qRound(exact.right()) - 1, qRound(exact.bottom()) - 1)};
}

double relativeLuminance(const QColor& color) {
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
           0.0722 * linear(color.blueF());
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double first = relativeLuminance(a);
    const double second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// How far the style's left edge, halfway down, stands out from the window it is drawn on.
double edgeContrast(const QImage& drawn, const QColor& window, int scale) {
    double strongest = 1.0;
    for (int x = 0; x <= scale && x < drawn.width(); ++x) {
        const QColor pixel = drawn.pixelColor(x, drawn.height() / 2);
        const double alpha = pixel.alphaF();
        const QColor over =
            QColor::fromRgbF(float(pixel.redF() * alpha + window.redF() * (1 - alpha)),
                             float(pixel.greenF() * alpha + window.greenF() * (1 - alpha)),
                             float(pixel.blueF() * alpha + window.blueF() * (1 - alpha)));
        strongest = std::max(strongest, contrastRatio(over, window));
    }
    return strongest;
}

// A frameless field (the one inside a spin box) or a flat button has no edge of its own to keep
// visible: outlined, the chooser's spin boxes showed a black box inside their frames.
bool hasAnEdge(const QStyleOption& option) {
    if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(&option)) {
        return frame->lineWidth > 0;
    }
    if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(&option)) {
        return !button->features.testFlag(QStyleOptionButton::Flat);
    }
    return true;
}

void outline(QImage& drawn, const QColor& edge, int width) {
    QPainter painter(&drawn);
    const int w = drawn.width();
    const int h = drawn.height();
    painter.fillRect(0, 0, w, width, edge);
    painter.fillRect(0, h - width, w, width, edge);
    painter.fillRect(0, 0, width, h, edge);
    painter.fillRect(w - width, 0, width, h, edge);
}

// One half of one axis of the device pixels, and where it comes from in the picture: the second
// half from the picture's end.
struct Span {
    int to;
    int from;
    int length;
};

Span halfOf(int pixels, int drawn, bool second) {
    const int cut = pixels / 2;
    return second ? Span{cut, cut + drawn - pixels, pixels - cut} : Span{0, 0, cut};
}

// Draws the picture into the device pixels, leaving out the middle columns and rows it has in
// excess: the style's edges and corners stay whole, and a panel's middle is the same all along.
void drawInto(QPainter& painter, const QRect& pixels, const QImage& drawn) {
    for (const bool right : {false, true}) {
        for (const bool lower : {false, true}) {
            const Span x = halfOf(pixels.width(), drawn.width(), right);
            const Span y = halfOf(pixels.height(), drawn.height(), lower);
            painter.drawImage(QRect(pixels.left() + x.to, pixels.top() + y.to, x.length, y.length),
                              drawn, QRect(x.from, y.from, x.length, y.length));
        }
    }
}

} // namespace

void WholePixelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    const QTransform toDevice = painter->deviceTransform();
    if (!isEdgeOfAControl(element) || toDevice.type() > QTransform::TxScale ||
        option->rect.isEmpty()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QRect pixels = devicePixelsOf(toDevice, option->rect);
    const int scale = std::max(1, qRound(toDevice.m11()));
    const QSize logical((pixels.width() + scale - 1) / scale,
                        (pixels.height() + scale - 1) / scale);
    QImage drawn(logical * scale, QImage::Format_ARGB32_Premultiplied);
    drawn.setDevicePixelRatio(scale);
    drawn.fill(Qt::transparent);
    {
        QPainter atWholeScale(&drawn);
        // Styles cache some primitives at the application's pixel ratio and scale the copy to the
        // painter's. Where the two differ, a shear far too small to move a pixel makes the style
        // paint at the painter's own scale instead.
        if (qGuiApp->devicePixelRatio() != scale) {
            atWholeScale.setWorldTransform(QTransform(1, 1e-9, 1e-9, 1, 0, 0));
        }
        paintBase(element, *option, QRect(QPoint(), logical), atWholeScale, widget);
    }
    const QColor window = option->palette.color(QPalette::Window);
    if (hasAnEdge(*option) && edgeContrast(drawn, window, scale) < kVisibleEdge) {
        outline(drawn, option->palette.color(QPalette::WindowText), scale);
    }
    drawn.setDevicePixelRatio(1);
    painter->save();
    painter->setWorldTransform(toDevice.inverted() * painter->worldTransform());
    drawInto(*painter, pixels, drawn);
    painter->restore();
}

// The base style paints the primitive over another rectangle, the option otherwise as given.
void WholePixelStyle::paintBase(PrimitiveElement element, const QStyleOption& option,
                                const QRect& rect, QPainter& painter, const QWidget* widget) const {
    const auto paintCopy = [&](auto copy) {
        copy.rect = rect;
        // Fusion's plain frame centres its lines on the rectangle's first and last pixel rows, so
        // that above one pixel a scale puts half of the top and left lines outside: centred on
        // the middle of those pixels, every line stays whole and as wide.
        if (element == PE_Frame && painter.device()->devicePixelRatio() > 1) {
            painter.translate(0.5, 0.5);
        }
        QProxyStyle::drawPrimitive(element, &copy, &painter, widget);
    };
    if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(&option)) {
        paintCopy(*button);
    } else if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(&option)) {
        paintCopy(*frame);
    } else {
        paintCopy(option);
    }
}

} // namespace window::qt
