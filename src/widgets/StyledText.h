#pragma once
// Rich text as the log keeps it: the exact characters (line ends as given) in runs of one
// character style each.

#include "platform/Color.h"

#include <QString>

#include <optional>
#include <vector>

class QTextCharFormat;

namespace quorvel {

struct TextStyle {
    QString fontName = QStringLiteral("Helvetica"); // as named in an RTF font table
    double pointSize = 12.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<Color> color; // none: the default text colour

    // Bold or italic either by the flag or by the face name ("Courier-Bold").
    bool isBoldFace() const;
    bool isItalicFace() const;
    // The family part of the font name ("Courier" for "Courier-Bold").
    QString familyName() const;
    QTextCharFormat toCharFormat() const;

    bool operator==(const TextStyle&) const = default;
};

struct StyledRun {
    QString text;
    TextStyle style;
};

class StyledText {
public:
    // Appends text in a style, joining the last run when the style is the same.
    void append(const QString& text, const TextStyle& style);
    void append(const StyledText& other);
    void clear() { mRuns.clear(); }

    bool isEmpty() const { return mRuns.empty(); }
    qsizetype length() const;
    QString plainText() const;
    const std::vector<StyledRun>& runs() const { return mRuns; }
    // Style of the character at `position`; the last style for positions past the end.
    std::optional<TextStyle> styleAt(qsizetype position) const;

private:
    std::vector<StyledRun> mRuns;
};

} // namespace quorvel
