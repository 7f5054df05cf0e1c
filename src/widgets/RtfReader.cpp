#include "widgets/RtfReader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <optional>
#include <vector>

namespace quorvel {

namespace {

// Windows-1252 characters 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QChar fromCp1252(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kCp1252High[byte - 0x80]);
    return QChar(byte);
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Length of the valid UTF-8 sequence starting at `i`, or 0.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t n = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    return n;
}

enum class Destination { Text, FontTable, ColorTable, Skip };

struct GroupState {
    TextStyle style;
    int unicodeSkip = 1; // \ucN: fallback characters after \uN
    Destination destination = Destination::Text;
};

class Reader {
public:
    Reader(std::string_view source, const TextStyle& initial) : mSource(source)
    {
        mState.style = initial;
        mPlainStyle = initial;
    }

    StyledText run()
    {
        while (mPos < mSource.size() && !mFinished) {
            const char c = mSource[mPos];
            if (c == '{') {
                ++mPos;
                openGroup();
            } else if (c == '}') {
                ++mPos;
                closeGroup();
            } else if (c == '\\') {
                ++mPos;
                readControl();
            } else if (c == '\r' || c == '\n') {
                ++mPos; // line ends of the source carry no meaning
            } else {
                readCharacter();
            }
        }
        return std::move(mText);
    }

private:
    void openGroup()
    {
        mStack.push_back(mState);
        mPendingSkip = 0;
    }

    void closeGroup()
    {
        finishTableEntry();
        mPendingSkip = 0;
        if (mStack.empty()) {
            mFinished = true; // the closing brace of the document
            return;
        }
        mState = mStack.back();
        mStack.pop_back();
        if (mStack.empty())
            mFinished = true;
    }

    void readCharacter()
    {
        const char c = mSource[mPos];
        if (static_cast<unsigned char>(c) < 0x80) {
            ++mPos;
            output(QString(QChar(c)));
            return;
        }
        if (const std::size_t n = utf8SequenceLength(mSource, mPos)) {
            output(QString::fromUtf8(mSource.data() + mPos, static_cast<qsizetype>(n)));
            mPos += n;
            return;
        }
        ++mPos;
        output(QString(fromCp1252(static_cast<unsigned char>(c))));
    }

    void readControl()
    {
        if (mPos >= mSource.size())
            return;
        const char c = mSource[mPos];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++mPos;
            readControlSymbol(c);
            return;
        }
        std::string word;
        while (mPos < mSource.size() && std::isalpha(static_cast<unsigned char>(mSource[mPos])))
            word.push_back(mSource[mPos++]);
        std::optional<int> parameter;
        bool negative = false;
        if (mPos < mSource.size() && mSource[mPos] == '-') {
            negative = true;
            ++mPos;
        }
        long value = 0;
        bool digits = false;
        while (mPos < mSource.size() && std::isdigit(static_cast<unsigned char>(mSource[mPos]))) {
            if (value < 10000000)
                value = value * 10 + (mSource[mPos] - '0');
            digits = true;
            ++mPos;
        }
        if (digits)
            parameter = static_cast<int>(negative ? -value : value);
        if (mPos < mSource.size() && mSource[mPos] == ' ')
            ++mPos; // the delimiting space belongs to the control word
        controlWord(word, parameter);
    }

    void readControlSymbol(char c)
    {
        switch (c) {
        case '\\': case '{': case '}':
            output(QString(QChar(c)));
            break;
        case '~':
            output(QString(QChar(0x00A0)));
            break;
        case '_':
            output(QString(QChar(0x2011)));
            break;
        case '\'': {
            const int hi = mPos < mSource.size() ? hexValue(mSource[mPos]) : -1;
            const int lo = mPos + 1 < mSource.size() ? hexValue(mSource[mPos + 1]) : -1;
            if (hi >= 0 && lo >= 0) {
                mPos += 2;
                output(QString(fromCp1252(static_cast<unsigned char>(hi * 16 + lo))));
            }
            break;
        }
        case '*':
            mState.destination = Destination::Skip;
            break;
        case '\r': case '\n':
            output(QStringLiteral("\n"));
            break;
        default: // \- (optional hyphen), \: and unknown symbols show nothing
            break;
        }
    }

    void controlWord(const std::string& word, std::optional<int> parameter)
    {
        const int n = parameter.value_or(1);
        TextStyle& style = mState.style;
        if (word == "fonttbl")
            mState.destination = Destination::FontTable;
        else if (word == "colortbl")
            mState.destination = Destination::ColorTable;
        else if (word == "info" || word == "stylesheet" || word == "pict" || word == "header"
                 || word == "footer" || word == "listtable" || word == "listoverridetable"
                 || word == "generator")
            mState.destination = Destination::Skip;
        else if (mState.destination == Destination::FontTable)
            fontTableWord(word, n);
        else if (mState.destination == Destination::ColorTable)
            colorTableWord(word, n);
        else if (word == "par" || word == "sect" || word == "page")
            output(QStringLiteral("\n"));
        else if (word == "line")
            output(QString(QChar(0x2028)));
        else if (word == "tab")
            output(QStringLiteral("\t"));
        else if (word == "emdash")
            output(QString(QChar(0x2014)));
        else if (word == "endash")
            output(QString(QChar(0x2013)));
        else if (word == "bullet")
            output(QString(QChar(0x2022)));
        else if (word == "lquote")
            output(QString(QChar(0x2018)));
        else if (word == "rquote")
            output(QString(QChar(0x2019)));
        else if (word == "ldblquote")
            output(QString(QChar(0x201C)));
        else if (word == "rdblquote")
            output(QString(QChar(0x201D)));
        else if (word == "u")
            unicodeCharacter(n);
        else if (word == "uc")
            mState.unicodeSkip = std::max(0, n);
        else if (word == "b")
            style.bold = n != 0;
        else if (word == "i")
            style.italic = n != 0;
        else if (word == "ul")
            style.underline = n != 0;
        else if (word == "ulnone")
            style.underline = false;
        else if (word == "fs")
            style.pointSize = n > 0 ? n / 2.0 : 12.0;
        else if (word == "f")
            selectFont(n);
        else if (word == "deff")
            mDefaultFont = n;
        else if (word == "cf")
            selectColor(n);
        else if (word == "plain")
            plain();
        // every other word (\rtf1, \ansi, \pard, \fmodern ...) changes nothing we keep
    }

    void fontTableWord(const std::string& word, int n)
    {
        if (word == "f") {
            finishTableEntry();
            mCurrentFont = n;
            mFontName.clear();
        }
    }

    void colorTableWord(const std::string& word, int n)
    {
        const double component = std::clamp(n, 0, 255) / 255.0;
        if (word == "red")
            mRed = component;
        else if (word == "green")
            mGreen = component;
        else if (word == "blue")
            mBlue = component;
        else
            return;
        mColorComponents = true;
    }

    void finishTableEntry()
    {
        if (mState.destination == Destination::FontTable && mCurrentFont && !mFontName.trimmed().isEmpty()) {
            mFonts[*mCurrentFont] = mFontName.trimmed();
            mCurrentFont.reset();
            mFontName.clear();
        }
    }

    // Text inside a table ends an entry at ';'.
    void tableText(const QString& text)
    {
        for (const QChar c : text) {
            if (mState.destination == Destination::FontTable) {
                if (c == QLatin1Char(';'))
                    finishTableEntry();
                else
                    mFontName += c;
            } else if (c == QLatin1Char(';')) {
                mColors.push_back(mColorComponents ? std::optional<Color>(Color::fromRgb(mRed, mGreen, mBlue))
                                                   : std::nullopt);
                mRed = mGreen = mBlue = 0.0;
                mColorComponents = false;
            }
        }
    }

    void selectFont(int index)
    {
        mState.style.fontName = fontName(index);
    }

    QString fontName(int index) const
    {
        const auto it = mFonts.find(index);
        return it != mFonts.end() ? it->second : mPlainStyle.fontName;
    }

    void selectColor(int index)
    {
        mState.style.color = index >= 0 && index < static_cast<int>(mColors.size()) ? mColors[index]
                                                                                    : std::nullopt;
    }

    void plain()
    {
        TextStyle& style = mState.style;
        style = mPlainStyle;
        if (mDefaultFont)
            style.fontName = fontName(*mDefaultFont);
    }

    void unicodeCharacter(int code)
    {
        const int unit = code < 0 ? code + 65536 : code;
        output(QString(QChar(static_cast<char16_t>(unit & 0xFFFF))), /*fallback=*/false);
        mPendingSkip = mState.unicodeSkip;
    }

    void output(const QString& text, bool fallback = true)
    {
        if (fallback && mPendingSkip > 0) { // the stand-in after \uN is dropped
            --mPendingSkip;
            return;
        }
        switch (mState.destination) {
        case Destination::Text:
            mText.append(text, mState.style);
            break;
        case Destination::FontTable:
        case Destination::ColorTable:
            tableText(text);
            break;
        case Destination::Skip:
            break;
        }
    }

    std::string_view mSource;
    std::size_t mPos = 0;
    bool mFinished = false;
    GroupState mState;
    std::vector<GroupState> mStack;
    TextStyle mPlainStyle;
    int mPendingSkip = 0;
    StyledText mText;

    std::map<int, QString> mFonts;
    std::optional<int> mCurrentFont;
    std::optional<int> mDefaultFont;
    QString mFontName;
    std::vector<std::optional<Color>> mColors;
    double mRed = 0.0, mGreen = 0.0, mBlue = 0.0;
    bool mColorComponents = false;
};

} // namespace

StyledText readRtf(std::string_view rtf, const TextStyle& initial)
{
    return Reader(rtf, initial).run();
}

std::string escapeRtf(std::string_view utf8Text)
{
    std::string out;
    const QString text = QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit == '\\' || unit == '{' || unit == '}') {
            out.push_back('\\');
            out.push_back(static_cast<char>(unit));
        } else if (unit == '\t') {
            out += "\\tab ";
        } else if (unit == '\n' || unit == '\r') {
            if (!(unit == '\r' && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')))
                out += "\\par "; // a CR LF pair is one paragraph mark
        } else if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
        } else {
            // \u takes a signed 16-bit number; surrogate pairs go as two of them
            out += "\\u" + std::to_string(static_cast<int16_t>(unit)) + "?";
        }
    }
    return out;
}

} // namespace quorvel
