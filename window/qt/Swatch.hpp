// Shape1: a solid rectangle in the picked colour with a thin border. It only paints; the Select
// Color command decides its colour.
#pragma once

#include <QColor>
#include <QWidget>

namespace window::qt {

class Swatch final : public QWidget {
    Q_OBJECT

public:
    explicit Swatch(QWidget* parent);

    void setFillColor(const QColor& fill);
    [[nodiscard]] QColor fillColor() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill{Qt::black};
};

} // namespace window::qt
