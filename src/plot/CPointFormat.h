#pragma once
// The size, colour and marker code of one marker. Archived as "CPointFormat".

#include "platform/ArchivableObject.h"
#include "platform/Color.h"
#include "plot/MarkerCode.h"

#include <memory>

namespace quorvel {

class CPointFormat : public ArchivableObject {
public:
    CPointFormat();

    qint32 size() const { return mSize; }
    void setSize(qint32 size) { mSize = size; }
    const Color& color() const { return mColor; }
    void setColor(const Color& color) { mColor = color; }
    MarkerCode selector() const { return mSelector; }
    void setSelector(MarkerCode code) { mSelector = code; }

    // A new format with the same size, colour and marker code.
    std::shared_ptr<CPointFormat> copy() const;

    void encodeWithCoder(KeyedArchiver& coder) const override;
    // A size below 1 is read as 1; without a colour the format stays red.
    void initWithCoder(KeyedUnarchiver& coder) override;

private:
    qint32 mSize = 3;
    Color mColor = Color::red();
    MarkerCode mSelector = MarkerCode::FilledSquare;
};

} // namespace quorvel
