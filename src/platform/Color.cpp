#include "platform/Color.h"

#include <algorithm>

namespace quorvel {

namespace {
double clamp01(double v)
{
    return v != v ? 0.0 : std::clamp(v, 0.0, 1.0);  // NaN counts as 0
}
}  // namespace

Color Color::fromRgb(double red, double green, double blue, double alpha)
{
    Color c;
    c.mSpace = Space::RGB;
    c.mC[0] = red;
    c.mC[1] = green;
    c.mC[2] = blue;
    c.mAlpha = alpha;
    return c;
}

Color Color::fromWhite(double white, double alpha)
{
    Color c;
    c.mSpace = Space::White;
    c.mC[0] = white;
    c.mAlpha = alpha;
    return c;
}

Color Color::fromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return fromRgb(rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF());
}

double Color::whiteComponent() const
{
    return mSpace == Space::White ? mC[0] : (mC[0] + mC[1] + mC[2]) / 3.0;
}

Color Color::withAlpha(double alpha) const
{
    Color c = *this;
    c.mAlpha = alpha;
    return c;
}

QColor Color::toQColor() const
{
    return QColor::fromRgbF(float(clamp01(redComponent())), float(clamp01(greenComponent())),
                            float(clamp01(blueComponent())), float(clamp01(mAlpha)));
}

bool Color::operator==(const Color& other) const
{
    if (mSpace != other.mSpace || mAlpha != other.mAlpha)
        return false;
    const int n = mSpace == Space::RGB ? 3 : 1;
    return std::equal(mC, mC + n, other.mC);
}

}  // namespace quorvel
