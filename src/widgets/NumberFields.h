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
