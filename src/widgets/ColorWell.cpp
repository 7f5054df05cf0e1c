#include "widgets/ColorWell.h"

#include "widgets/ColorPanel.h"

#include <QPainter>

namespace quorvel {

ColorWell::ColorWell(QWidget* parent) : QPushButton(parent)
{
    setMinimumSize(44, 24);
    connect(this, &QPushButton::clicked, this, &ColorWell::activate);
}

void ColorWell::setColor(const Color& color)
{
    mColor = color;
    update();
}

void ColorWell::activate()
{
    ColorPanel& panel = ColorPanel::shared();
    panel.setColor(mColor);
    panel.orderFront(this, [this](const Color& color) {
        setColor(color);
        emit colorChanged(color);
    });
}

void ColorWell::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QRect swatch = rect().adjusted(6, 5, -6, -5);
    painter.fillRect(swatch, mColor.toQColor());
    painter.setPen(QColor(90, 90, 90));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

} // namespace quorvel
