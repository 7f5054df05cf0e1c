#include "widgets/NumberFields.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

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
