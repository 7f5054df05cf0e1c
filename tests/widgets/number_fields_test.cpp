#include "widgets/NumberFields.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace quorvel {
namespace {

using Setter = void (*)(QLineEdit&, double);

struct Case {
    Setter set;
    const char* printfFormat;
    double value;
    const char* text;
};

const Case kCases[] = {
    {setDoubleValue0<QLineEdit>, "%.0f", 2.5, "2"},  // printf rounds half to even
    {setDoubleValue0<QLineEdit>, "%.0f", 99.7, "100"},
    {setDoubleValue1<QLineEdit>, "%.1f", 12345.678, "12345.7"},
    {setDoubleValue2<QLineEdit>, "%.2f", 2.5, "2.50"},
    {setDoubleValue2<QLineEdit>, "%.2f", -0.004, "-0.00"},
    {setDoubleValue3<QLineEdit>, "%.3f", 273.15, "273.150"},
    {setDoubleValue4<QLineEdit>, "%.4f", 1, "1.0000"},
    {setDoubleValue4<QLineEdit>, "%.4f", 1e20, "100000000000000000000.0000"},
    {setDoubleValueE<QLineEdit>, "%.2g", 250, "2.5e+02"},
    {setDoubleValueE<QLineEdit>, "%.2g", 0.5, "0.5"},
    {setDoubleValueE<QLineEdit>, "%.2g", 0.000123, "0.00012"},
    {setDoubleValueE<QLineEdit>, "%.2g", 0.0000123, "1.2e-05"},
    {setDoubleValueE<QLineEdit>, "%.2g", 42, "42"},
    {setDoubleValueE<QLineEdit>, "%.2g", 0, "0"},
};

TEST(NumberFields, FormatsEachCaseAsPrintfInTheCLocale)
{
    for (const Case& c : kCases) {
        QLineEdit field;
        c.set(field, c.value);
        EXPECT_EQ(field.text().toStdString(), c.text) << c.printfFormat << " of " << c.value;

        char expected[512];
        std::snprintf(expected, sizeof expected, c.printfFormat, c.value);
        EXPECT_EQ(field.text().toStdString(), std::string(expected));
        // The field's value is that of its text.
        EXPECT_DOUBLE_EQ(field.text().toDouble(), std::stod(expected));
    }
}

TEST(NumberFields, FloatFormsWidenToDoubleFirst)
{
    QLineEdit field;
    setFloatValue4(field, 0.1f);  // 0.1f is 0.100000001490116...
    EXPECT_EQ(field.text(), "0.1000");
    setFloatValueE(field, 1e-7f);
    EXPECT_EQ(field.text(), "1e-07");
    setFloatValue0(field, 1.5f);
    EXPECT_EQ(field.text(), "2");
    setFloatValue1(field, 0.25f);  // exactly representable: rounds half to even
    EXPECT_EQ(field.text(), "0.2");
    setFloatValue2(field, 3.14159f);
    EXPECT_EQ(field.text(), "3.14");
    setFloatValue3(field, 16777217.0f);  // beyond float precision: 16777216
    EXPECT_EQ(field.text(), "16777216.000");
}

TEST(NumberFields, LabelsShowTheSameText)
{
    QLabel label;
    setDoubleValue3(label, 1.0 / 3.0);
    EXPECT_EQ(label.text(), "0.333");
    setDoubleValueE(label, -250);
    EXPECT_EQ(label.text(), "-2.5e+02");
}

TEST(NumberFields, NotANumberAndInfinityReadAsPrintfWritesThem)
{
    QLineEdit field;
    setDoubleValue2(field, std::numeric_limits<double>::infinity());
    EXPECT_EQ(field.text(), "inf");
    setDoubleValueE(field, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(field.text(), "-inf");
    setDoubleValue1(field, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(field.text(), "nan");
}

} // namespace
} // namespace quorvel

namespace quorvel {
namespace {

struct ReadableCase {
    double value;
    int digits;
    const char* text;
};

// Written by hand from the rule: round to the significant digits, drop trailing zeros,
// plain notation from 1e-4 up to a million, scientific beyond, a dash for no number.
const ReadableCase kReadableCases[] = {
    {0.8228254228150703, 5, "0.82283"},
    {0.904814541, 5, "0.90481"},
    {123.456789, 5, "123.46"},
    {-56.6, 5, "-56.6"},
    {0.5, 5, "0.5"},
    {100.0, 5, "100"},
    {99999.7, 5, "100000"},     // rounding carries into the next power of ten
    {99999.7, 6, "99999.7"},
    {999999.7, 5, "1e+06"},     // the carry reaches a million: scientific
    {1234567.0, 5, "1.2346e+06"},
    {0.00012345678, 5, "0.00012346"},
    {0.0000123456, 5, "1.2346e-05"},
    {-0.00000000001, 5, "-1e-11"},
    {0.0, 5, "0"},
    {-0.0, 5, "0"},
    {273.16, 4, "273.2"},
    {273.15, 6, "273.15"},
    {1.0 / 3.0, 6, "0.333333"},
    {42.0, 1, "42"},            // whole digits are never rounded away
    {123456.0, 3, "123456"},
    {std::numeric_limits<double>::quiet_NaN(), 5, "\u2014"},
    {std::numeric_limits<double>::infinity(), 5, "\u2014"},
    {-std::numeric_limits<double>::infinity(), 5, "\u2014"},
};

TEST(ReadableNumbers, RoundToTheirSignificantDigitsAsATableOfCases)
{
    for (const ReadableCase& c : kReadableCases) {
        const QString text = readableNumber(c.value, c.digits);
        EXPECT_EQ(text.toStdString(), c.text) << c.value << " to " << c.digits << " digits";
        if (std::isfinite(c.value)) {
            // What is shown is the value itself within half a unit of its last digit.
            const double shown = text.toDouble();
            const double unit = std::pow(10.0, std::floor(std::log10(std::max(std::abs(c.value), 1e-300))) - c.digits + 1);
            EXPECT_LE(std::abs(shown - c.value), 0.5 * unit + 1e-15 * std::abs(c.value)) << c.text;
        }
    }
}

TEST(ReadableNumbers, ExactTextsReadBackAsTheSameDouble)
{
    for (const double value : {0.8228254228150703, 0.1, 1e-300, 123456789.123, -2.5e-7}) {
        bool ok = false;
        EXPECT_EQ(exactNumber(value).toDouble(&ok), value);
        EXPECT_TRUE(ok);
    }
    EXPECT_EQ(exactNumber(0.8228254228150703), "0.8228254228150703");
    EXPECT_EQ(exactNumber(std::numeric_limits<double>::quiet_NaN()), "\u2014");
}

} // namespace
} // namespace quorvel
