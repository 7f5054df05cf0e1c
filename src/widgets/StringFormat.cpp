#include "widgets/StringFormat.h"

#include <cstdio>
#include <vector>

namespace quorvel {

std::int64_t FormatArg::toInt() const
{
    return std::visit([](const auto& v) -> std::int64_t {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>)
            return std::strtoll(v.c_str(), nullptr, 10);
        else if constexpr (std::is_same_v<T, const void*>)
            return static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(v));
        else
            return static_cast<std::int64_t>(v);
    }, mValue);
}

std::uint64_t FormatArg::toUnsigned() const
{
    if (const auto* u = std::get_if<std::uint64_t>(&mValue))
        return *u;
    return static_cast<std::uint64_t>(toInt());
}

double FormatArg::toDouble() const
{
    return std::visit([](const auto& v) -> double {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>)
            return std::strtod(v.c_str(), nullptr);
        else if constexpr (std::is_same_v<T, const void*>)
            return 0.0;
        else
            return static_cast<double>(v);
    }, mValue);
}

std::string FormatArg::toText() const
{
    return std::visit([](const auto& v) -> std::string {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>)
            return v;
        else if constexpr (std::is_same_v<T, const void*>)
            return "(pointer)";
        else if constexpr (std::is_same_v<T, double>)
            return QString::number(v, 'g', 16).toStdString();
        else
            return std::to_string(v);
    }, mValue);
}

const void* FormatArg::toPointer() const
{
    if (const auto* p = std::get_if<const void*>(&mValue))
        return *p;
    return nullptr;
}

namespace {

// Reads the next argument, or a neutral one once the list is used up.
class ArgCursor {
public:
    explicit ArgCursor(std::span<const FormatArg> args) : mArgs(args) { }
    const FormatArg& next()
    {
        static const FormatArg none(0);
        return mIndex < mArgs.size() ? mArgs[mIndex++] : none;
    }

private:
    std::span<const FormatArg> mArgs;
    std::size_t mIndex = 0;
};

template <class T>
void appendPrintf(std::string& out, const std::string& directive, T value)
{
    const int length = std::snprintf(nullptr, 0, directive.c_str(), value);
    if (length <= 0)
        return;
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), directive.c_str(), value);
    out.append(buffer.data(), static_cast<std::size_t>(length));
}

bool isLengthModifier(char c)
{
    return c == 'h' || c == 'l' || c == 'L' || c == 'q' || c == 'j' || c == 'z' || c == 't';
}

} // namespace

QString formatString(std::string_view format, std::span<const FormatArg> args,
                     FormatTextFilter textFilter)
{
    std::string out;
    ArgCursor cursor(args);
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i++];
        if (c != '%') {
            out.push_back(c);
            continue;
        }
        // Conversion specification: flags, width, precision, length, conversion.
        std::string directive = "%";
        while (i < format.size() && std::string_view("-+ #0'").find(format[i]) != std::string_view::npos)
            directive.push_back(format[i++]);
        auto readNumber = [&] {
            if (i < format.size() && format[i] == '*') {
                ++i;
                directive += std::to_string(cursor.next().toInt());
                return;
            }
            while (i < format.size() && format[i] >= '0' && format[i] <= '9')
                directive.push_back(format[i++]);
        };
        readNumber();
        if (i < format.size() && format[i] == '.') {
            directive.push_back(format[i++]);
            readNumber();
        }
        while (i < format.size() && isLengthModifier(format[i]))
            ++i;
        if (i >= format.size()) {
            out += directive;
            break;
        }
        const char conversion = format[i++];
        switch (conversion) {
        case '%':
            out.push_back('%');
            break;
        case 'd': case 'i':
            appendPrintf(out, directive + "lld", static_cast<long long>(cursor.next().toInt()));
            break;
        case 'u': case 'x': case 'X': case 'o':
            appendPrintf(out, directive + "ll" + conversion,
                         static_cast<unsigned long long>(cursor.next().toUnsigned()));
            break;
        case 'c':
            appendPrintf(out, directive + "c", static_cast<int>(cursor.next().toInt()));
            break;
        case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
            appendPrintf(out, directive + conversion, cursor.next().toDouble());
            break;
        case 'p':
            appendPrintf(out, directive + "p", cursor.next().toPointer());
            break;
        case 's': case '@': {
            std::string text = cursor.next().toText();
            if (textFilter)
                text = textFilter(text);
            if (conversion == '@')
                out += text;
            else
                appendPrintf(out, directive + "s", text.c_str());
            break;
        }
        default: // unknown conversion: written as it stands
            out += directive;
            out.push_back(conversion);
            break;
        }
    }
    return QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
}

} // namespace quorvel
