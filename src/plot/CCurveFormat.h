#pragma once
// The line size and colour of one curve, kept and archived by the isochore and
// isopleth records as their "curveFormat". Archived as "CCurveFormat".

#include "platform/ArchivableObject.h"
#include "platform/Color.h"

#include <memory>

namespace quorvel {

class CCurveFormat : public ArchivableObject {
public:
    CCurveFormat();

    qint32 size() const { return mSize; }
    void setSize(qint32 size) { mSize = size; }
    const Color& color() const { return mColor; }
    void setColor(const Color& color) { mColor = color; }

    // A new format with the same size and colour.
    std::shared_ptr<CCurveFormat> copy() const;

    void encodeWithCoder(KeyedArchiver& coder) const override;
    // A size below 1 is read as 1; without a colour the format stays red.
    void initWithCoder(KeyedUnarchiver& coder) override;

private:
    qint32 mSize = 1;
    Color mColor = Color::red();
};

// Reads the optional colour under "color": none keeps `color`; a value of another
// kind fails the reading.
void decodeFormatColor(KeyedUnarchiver& coder, Color& color);

} // namespace quorvel
