#pragma once

// Fixed-decimal display of numbers in text fields: setDoubleValue0 .. 4 show a number
// with that many decimals ("%.0f" .. "%.4f"), setDoubleValueE with two significant
// digits ("%.2g"); the float forms widen the value to double first. The text is always
// written with a decimal point, whatever the user's locale.
//
// A field is any widget with setText(QString), such as QLineEdit or QLabel.

#include <QString>

namespace quorvel {

enum class NumberFormat { Decimals0, Decimals1, Decimals2, Decimals3, Decimals4, TwoSignificant };

QString formatNumber(double value, NumberFormat format);

// Significant digits of a measured or computed value as tables and read-only fields show it.
inline constexpr int kReadableDigits = 5;
// What stands for a value that is not a finite number.
inline const QString kNoNumberText = QStringLiteral("\u2014");

// A value as a person reads it: rounded to `significantDigits` significant digits, without
// trailing zeros, written plainly from 0.0001 up to a million and in scientific notation
// beyond ("0.82283", "123.46", "2.5e-06"); kNoNumberText for infinities and NaN.
QString readableNumber(double value, int significantDigits = kReadableDigits);
// Every digit a value holds, the shortest text that reads back as the same double, as a
// cell shows it for editing and in its tooltip; kNoNumberText for infinities and NaN.
QString exactNumber(double value);

template <class Field>
void setNumberText(Field& field, double value, NumberFormat format)
{
    field.setText(formatNumber(value, format));
}

template <class Field> void setDoubleValue0(Field& f, double v) { setNumberText(f, v, NumberFormat::Decimals0); }
template <class Field> void setDoubleValue1(Field& f, double v) { setNumberText(f, v, NumberFormat::Decimals1); }
template <class Field> void setDoubleValue2(Field& f, double v) { setNumberText(f, v, NumberFormat::Decimals2); }
template <class Field> void setDoubleValue3(Field& f, double v) { setNumberText(f, v, NumberFormat::Decimals3); }
template <class Field> void setDoubleValue4(Field& f, double v) { setNumberText(f, v, NumberFormat::Decimals4); }
template <class Field> void setDoubleValueE(Field& f, double v) { setNumberText(f, v, NumberFormat::TwoSignificant); }

template <class Field> void setFloatValue0(Field& f, float v) { setDoubleValue0(f, double(v)); }
template <class Field> void setFloatValue1(Field& f, float v) { setDoubleValue1(f, double(v)); }
template <class Field> void setFloatValue2(Field& f, float v) { setDoubleValue2(f, double(v)); }
template <class Field> void setFloatValue3(Field& f, float v) { setDoubleValue3(f, double(v)); }
template <class Field> void setFloatValue4(Field& f, float v) { setDoubleValue4(f, double(v)); }
template <class Field> void setFloatValueE(Field& f, float v) { setDoubleValueE(f, double(v)); }

} // namespace quorvel
