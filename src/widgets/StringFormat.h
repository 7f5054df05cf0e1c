#pragma once
// printf-style formatting with "%@" for string objects, as the log window and the
// status line use it: the C conversions (%d %i %u %x %X %o %c %f %F %e %E %g %G %a %A
// %s %p %%) with flags, width, precision and '*', plus %@ for a QString.

#include <QString>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace quorvel {

// One argument of a format. Integers, floating-point values, C strings and QStrings
// convert implicitly; a conversion that gets an argument of another kind converts it
// (a number where a string is expected prints the number).
class FormatArg {
public:
    template <class T>
        requires std::is_integral_v<T>
    FormatArg(T value)
    {
        if constexpr (std::is_signed_v<T>)
            mValue = static_cast<std::int64_t>(value);
        else
            mValue = static_cast<std::uint64_t>(value);
    }
    FormatArg(float value) : mValue(static_cast<double>(value)) { }
    FormatArg(double value) : mValue(value) { }
    FormatArg(const char* text) : mValue(std::string(text ? text : "")) { }
    FormatArg(const std::string& text) : mValue(text) { }
    FormatArg(std::string_view text) : mValue(std::string(text)) { }
    FormatArg(const QString& text) : mValue(text.toStdString()) { }
    FormatArg(const void* pointer) : mValue(pointer) { }

    std::int64_t toInt() const;
    std::uint64_t toUnsigned() const;
    double toDouble() const;
    // The text of a string argument (UTF-8), or the number printed plainly.
    std::string toText() const;
    const void* toPointer() const;
    bool isText() const { return std::holds_alternative<std::string>(mValue); }

private:
    std::variant<std::int64_t, std::uint64_t, double, std::string, const void*> mValue;
};

// Formats `format` (UTF-8) with `args`. Missing arguments count as 0 or the empty string;
// extra arguments are ignored. `textFilter`, when given, rewrites the text of every %@
// and %s argument before it is inserted (the RTF writer escapes them this way).
using FormatTextFilter = std::string (*)(std::string_view);
QString formatString(std::string_view format, std::span<const FormatArg> args,
                     FormatTextFilter textFilter = nullptr);

template <class... Args>
QString formatString(std::string_view format, const Args&... args)
{
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return formatString(format, std::span<const FormatArg>(list, sizeof...(Args)));
}

} // namespace quorvel
