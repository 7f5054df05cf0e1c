#pragma once
// A colour well: a button showing a colour swatch that opens the shared colour panel;
// the panel's changes come back through colorChanged().

#include "platform/Color.h"

#include <QPushButton>

namespace quorvel {

class ColorWell : public QPushButton {
    Q_OBJECT
public:
    explicit ColorWell(QWidget* parent = nullptr);

    const Color& color() const { return mColor; }
    // Shows the colour; emits nothing.
    void setColor(const Color& color);

    // Brings the shared colour panel to the front with this well's colour.
    void activate();

signals:
    // A colour taken from the panel.
    void colorChanged(const Color& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Color mColor = Color::black();
};

} // namespace quorvel
