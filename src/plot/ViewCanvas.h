#pragma once
// The drawing context of plot views and plot objects. Everything given to it is in view
// coordinates with the origin at the lower left and y growing upward; this is the one
// place where they become Qt's y-down coordinates. Colours stay the platform's Color
// until they are painted.

#include "platform/Color.h"

#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

namespace quorvel {

// The font of a text, sized in view units (a 12-unit font is 12 view units tall).
struct TextAttributes {
    QFont font;

    static TextAttributes make(const QString& family, double size, bool bold = false, bool italic = false);
    // The platform's system font and label font.
    static TextAttributes systemFont();
    static TextAttributes labelFont();
    // What a text without attributes is drawn in.
    static TextAttributes defaultText();

    bool operator==(const TextAttributes&) const = default;
};

// A text with the attributes it was given; none until it is given some.
struct AttributedText {
    QString string;
    std::optional<TextAttributes> attributes;

    TextAttributes effectiveAttributes() const { return attributes.value_or(TextAttributes::defaultText()); }
    bool operator==(const AttributedText&) const = default;
};

// Width and height of a text laid out on one line per paragraph.
QSizeF textSize(const QString& text, const TextAttributes& attributes);
inline QSizeF textSize(const AttributedText& text) { return textSize(text.string, text.effectiveAttributes()); }

class ViewCanvas {
public:
    // `viewHeight`: height of the view's bounds, where y-up and y-down meet.
    ViewCanvas(QPainter& painter, double viewHeight);
    ~ViewCanvas();
    ViewCanvas(const ViewCanvas&) = delete;
    ViewCanvas& operator=(const ViewCanvas&) = delete;

    // Graphics state: clip and colour.
    void save();
    void restore();
    void clipTo(const QRectF& rect);
    // The colour for filling and stroking; none leaves the current one.
    void setColor(const std::optional<Color>& color);
    void setColor(const Color& color) { setColor(std::optional<Color>(color)); }

    void fill(const QPainterPath& path);
    void fill(const QRectF& rect);
    // Stroked with the line width and, when given, a dash pattern (on, off, ...).
    void stroke(const QPainterPath& path, double width, const std::vector<double>& dashes = {},
                double dashPhase = 0.0);
    void strokeLine(QPointF from, QPointF to, double width);
    // A frame of width `width` just inside `rect`.
    void frame(const QRectF& rect, double width = 1.0);

    // Draws a text with the lower-left corner of its layout box at `lowerLeft`, in the
    // default text colour.
    void drawText(const QString& text, const TextAttributes& attributes, QPointF lowerLeft);
    void drawText(const AttributedText& text, QPointF lowerLeft)
    {
        drawText(text.string, text.effectiveAttributes(), lowerLeft);
    }

    QPainter& painter() { return mPainter; }

private:
    QPainter& mPainter;
    Color mColor;
    std::vector<Color> mSavedColors;
};

} // namespace quorvel
