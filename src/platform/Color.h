#pragma once

#include <QColor>

namespace quorvel {

// A colour as the records and archives hold it: double components in either a
// calibrated RGB space or a calibrated white (grey) space, each with an alpha.
// It becomes a QColor only for painting.
class Color
{
public:
    enum class Space { RGB, White };

    Color() = default;  // opaque black, white space

    static Color fromRgb(double red, double green, double blue, double alpha = 1.0);
    static Color fromWhite(double white, double alpha = 1.0);
    static Color fromQColor(const QColor& color);

    // The platform's named colours.
    static Color black() { return fromWhite(0.0); }
    static Color darkGray() { return fromWhite(1.0 / 3.0); }
    static Color gray() { return fromWhite(0.5); }
    static Color lightGray() { return fromWhite(2.0 / 3.0); }
    static Color white() { return fromWhite(1.0); }
    static Color clear() { return fromWhite(0.0, 0.0); }
    static Color red() { return fromRgb(1.0, 0.0, 0.0); }
    static Color green() { return fromRgb(0.0, 1.0, 0.0); }
    static Color blue() { return fromRgb(0.0, 0.0, 1.0); }
    static Color cyan() { return fromRgb(0.0, 1.0, 1.0); }
    static Color yellow() { return fromRgb(1.0, 1.0, 0.0); }
    static Color magenta() { return fromRgb(1.0, 0.0, 1.0); }
    static Color orange() { return fromRgb(1.0, 0.5, 0.0); }
    static Color purple() { return fromRgb(0.5, 0.0, 0.5); }
    static Color brown() { return fromRgb(0.6, 0.4, 0.2); }

    Space space() const { return mSpace; }

    // Components; a white colour answers its grey level for red, green and blue,
    // an RGB colour answers the mean of its components as white.
    double redComponent() const { return mC[0]; }
    double greenComponent() const { return mSpace == Space::RGB ? mC[1] : mC[0]; }
    double blueComponent() const { return mSpace == Space::RGB ? mC[2] : mC[0]; }
    double whiteComponent() const;
    double alphaComponent() const { return mAlpha; }

    Color withAlpha(double alpha) const;
    Color toRgb() const { return fromRgb(redComponent(), greenComponent(), blueComponent(), mAlpha); }

    QColor toQColor() const;

    // Same space and same components.
    bool operator==(const Color& other) const;
    bool operator!=(const Color& other) const { return !(*this == other); }

private:
    Space mSpace = Space::White;
    double mC[3] = {0.0, 0.0, 0.0};
    double mAlpha = 1.0;
};

}  // namespace quorvel
