#include "platform/ArchiveFormat.h"

#include <QList>

#include <charconv>
#include <vector>

namespace quorvel::ArchiveFormat {

QString escapedKey(const QString& key)
{
    return key.startsWith(u'$') ? u'$' + key : key;
}

QString unescapedKey(const QString& key)
{
    return key.startsWith(QStringLiteral("$$")) ? key.mid(1) : key;
}

namespace {

void appendNumber(QByteArray& text, double x)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, x);
    if (!text.isEmpty())
        text.append(' ');
    text.append(buffer, result.ptr - buffer);
}

}  // namespace

QByteArray colorComponents(const Color& color)
{
    QByteArray text;
    if (color.space() == Color::Space::RGB) {
        appendNumber(text, color.redComponent());
        appendNumber(text, color.greenComponent());
        appendNumber(text, color.blueComponent());
    } else {
        appendNumber(text, color.whiteComponent());
    }
    if (color.alphaComponent() != 1.0)
        appendNumber(text, color.alphaComponent());
    text.append('\0');
    return text;
}

std::optional<Color> colorFromComponents(ColorSpace space, const QByteArray& text)
{
    std::vector<double> numbers;
    const char* p = text.constData();
    const char* end = p + text.size();
    while (p != end && numbers.size() <= 4) {
        if (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\0') {
            ++p;
            continue;
        }
        double x = 0.0;
        const auto [next, error] = std::from_chars(p, end, x);
        if (error != std::errc())
            return std::nullopt;
        numbers.push_back(x);
        p = next;
    }
    if (isRGBSpace(space) && (numbers.size() == 3 || numbers.size() == 4))
        return Color::fromRgb(numbers[0], numbers[1], numbers[2], numbers.size() == 4 ? numbers[3] : 1.0);
    if (isWhiteSpace(space) && (numbers.size() == 1 || numbers.size() == 2))
        return Color::fromWhite(numbers[0], numbers.size() == 2 ? numbers[1] : 1.0);
    return std::nullopt;
}

}  // namespace quorvel::ArchiveFormat
