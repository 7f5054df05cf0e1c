#pragma once
// A font description kept by a plot format: family name, size in points and a style
// whose bit 0 is bold and bit 1 italic. Archived as "CTextFormat".

#include "platform/ArchivableObject.h"

#include <QString>

namespace quorvel {

class CTextFormat : public ArchivableObject {
public:
    CTextFormat();

    const QString& fontName() const { return mFontName; }
    void setFontName(const QString& name) { mFontName = name; }
    qint32 size() const { return mSize; }
    void setSize(qint32 size) { mSize = size; }
    qint32 style() const { return mStyle; }
    void setStyle(qint32 style) { mStyle = style; }

    // 0 or 1; the setters change their own bit only.
    int isBold() const { return mStyle & 1; }
    int isItalic() const { return (mStyle >> 1) & 1; }
    void setBold(bool bold);
    void setItalic(bool italic);

    void encodeWithCoder(KeyedArchiver& coder) const override;
    // A size below 1 is read as 1 and a missing family as "Arial".
    void initWithCoder(KeyedUnarchiver& coder) override;

    static constexpr qint32 kMinimumSize = 1;

private:
    QString mFontName;
    qint32 mSize = 10;
    qint32 mStyle = 0;
};

} // namespace quorvel
