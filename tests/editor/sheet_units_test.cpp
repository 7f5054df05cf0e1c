// The unit codes of the editor's sheets against the unit definitions written out here,
// the pop-up conversion of a shown value, the document-modal sheet over the editor and
// the one undo step of a batch of new fluids.

#include "support/EditorTestSupport.h"

#include "editor/SheetUnits.h"
#include "platform/AlertService.h"

#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel;
using namespace quorvel::test;

namespace {

// Units as defined: the value in bar or kelvin of one unit, and back.
double toBar(double p, int unit)
{
    const double barPer[] = {1, 0.068948, 1e-5, 10};
    return p * barPer[unit];
}
double fromBar(double p, int unit)
{
    const double barPer[] = {1, 0.068948, 1e-5, 10};
    return p / barPer[unit];
}
double toKelvin(double t, int unit)
{
    switch (unit) {
    case 0: return t;
    case 1: return t + 273.15;
    case 2: return (t - 32) * 5 / 9 + 273.15;
    default: return t * 5 / 9;
    }
}
double fromKelvin(double k, int unit)
{
    switch (unit) {
    case 0: return k;
    case 1: return k - 273.15;
    case 2: return (k - 273.15) * 9 / 5 + 32;
    default: return k * 9 / 5;
    }
}

TEST(SheetUnits, EveryUnitPairConvertsThroughBarAndKelvinAndBack)
{
    int pairs = 0;
    for (int from = 0; from < kUnitCodeCount; ++from)
        for (int to = 0; to < kUnitCodeCount; ++to) {
            if (from == to)
                continue;
            ++pairs;
            SCOPED_TRACE(testing::Message() << from << " -> " << to);
            const PressureUnit pFrom = pressureUnitFromNumber(from), pTo = pressureUnitFromNumber(to);
            for (double p : {0.5, 1.0, 250.0, 1.0e6}) {
                const double converted = convertedPressure(p, pFrom, pTo);
                EXPECT_NEAR(converted, fromBar(toBar(p, from), to), 1e-12 * std::abs(converted));
                EXPECT_NEAR(convertedPressure(converted, pTo, pFrom), p, 1e-12 * p);
                EXPECT_NEAR(barOfPressure(p, pFrom), toBar(p, from), 1e-12 * toBar(p, from));
            }
            const TemperatureUnit tFrom = temperatureUnitFromNumber(from), tTo = temperatureUnitFromNumber(to);
            for (double t : {-40.0, 0.0, 100.0, 373.15, 671.67}) {
                const double converted = convertedTemperature(t, tFrom, tTo);
                EXPECT_NEAR(converted, fromKelvin(toKelvin(t, from), to), 1e-9);
                EXPECT_NEAR(convertedTemperature(converted, tTo, tFrom), t, 1e-9);
                EXPECT_NEAR(kelvinOfTemperature(t, tFrom), toKelvin(t, from), 1e-9);
            }
        }
    EXPECT_EQ(pairs, 12);
    // Published equivalents: -40 is the same in degrees C and F; water boils at 671.67 R.
    EXPECT_NEAR(convertedTemperature(-40, TemperatureUnit::celsius, TemperatureUnit::fahrenheit), -40, 1e-12);
    EXPECT_NEAR(convertedTemperature(100, TemperatureUnit::celsius, TemperatureUnit::rankine), 671.67, 1e-9);
}

TEST(SheetUnits, CodesWithoutAConversionKeepTheValue)
{
    for (const auto& [from, to] : {std::pair{1, 1}, std::pair{-1, 2}, std::pair{0, 4}, std::pair{7, 0}}) {
        EXPECT_EQ(convertedPressure(12.5, pressureUnitFromNumber(from), pressureUnitFromNumber(to)), 12.5);
        EXPECT_EQ(convertedTemperature(12.5, temperatureUnitFromNumber(from), temperatureUnitFromNumber(to)), 12.5);
    }
}

TEST(SheetUnits, PopupChangeShowsTheConvertedValueWithTwoDecimals)
{
    QLineEdit field;
    QComboBox pressureUnits;
    addPressureUnitItems(pressureUnits);
    ASSERT_EQ(pressureUnits.count(), kUnitCodeCount);
    double value = 1;
    PressureUnit pressureUnit = PressureUnit::bar;
    pressureUnits.setCurrentIndex(code_number(PressureUnit::psia));
    convertPressure(value, pressureUnit, field, pressureUnits);
    EXPECT_EQ(field.text(), "14.50");
    EXPECT_EQ(pressureUnit, PressureUnit::psia);
    EXPECT_NEAR(value, 14.5037, 1e-4);

    value = 1;
    pressureUnit = PressureUnit::mpa;
    convertPressure(value, pressureUnit, field, pressureUnits);
    EXPECT_EQ(field.text(), "145.04");

    QComboBox temperatureUnits;
    addTemperatureUnitItems(temperatureUnits);
    ASSERT_EQ(temperatureUnits.count(), kUnitCodeCount);
    value = 100;
    TemperatureUnit temperatureUnit = TemperatureUnit::celsius;
    temperatureUnits.setCurrentIndex(code_number(TemperatureUnit::kelvin));
    convertTemperature(value, temperatureUnit, field, temperatureUnits);
    EXPECT_EQ(field.text(), "373.15");
    temperatureUnits.setCurrentIndex(code_number(TemperatureUnit::celsius));
    convertTemperature(value, temperatureUnit, field, temperatureUnits);
    EXPECT_EQ(field.text(), "100.00");
    convertTemperature(value, temperatureUnit, field, temperatureUnits);  // the unit already shown
    EXPECT_EQ(field.text(), "100.00");
    EXPECT_EQ(temperatureUnit, TemperatureUnit::celsius);
}

TEST(SheetUnits, TypedTextThatIsNotANumberIsRefusedAndTheValueKept)
{
    RecordingAlertService alerts;
    QLineEdit field;
    double value = 12.5;
    for (const QString text : {"abc", "", "1e999", "nan"}) {
        field.setText(text);
        EXPECT_FALSE(takeTypedNumber(field, value)) << text.toStdString();
        EXPECT_EQ(value, 12.5);
        EXPECT_EQ(field.text(), "12.50");
    }
    EXPECT_EQ(alerts.alerts().size(), 4);
    field.setText(" -3.25 ");
    EXPECT_TRUE(takeTypedNumber(field, value));
    EXPECT_EQ(value, -3.25);
    EXPECT_EQ(alerts.alerts().size(), 4);
}

struct EditorSheets : ::testing::Test, EditorFixture
{
};

TEST_F(EditorSheets, SheetBlocksOnlyTheEditorWindowUntilItEnds)
{
    open({fluid("A", {"C1", "C2"})});
    EditorSheet sheet;
    editor->beginSheet(sheet);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_TRUE(sheet.isSheetOpen());
    EXPECT_EQ(sheet.parentWidget(), editor->window());
    EXPECT_EQ(sheet.windowModality(), Qt::WindowModal);

    sheet.endSheet();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_FALSE(sheet.isSheetOpen());

    editor->beginSheet(sheet);
    sheet.reject();  // Escape
    EXPECT_FALSE(sheet.isVisible());
    sheet.setParent(nullptr);  // the stack object outlives no parent
}

TEST_F(EditorSheets, BatchOfNewFluidsIsOneUndoStep)
{
    open({fluid("A", {"C1"}), fluid("B", {"C2"}), fluid("C", {"C3"})});
    const int changesBefore = changes();
    Array list = fluids();
    QList<FluidRecord> results;
    for (const QString source : {"A", "B", "C"}) {
        int index = -1;
        for (int i = 0; i < list.size(); ++i)
            if (list.at(i).toDictionary().stringValue("name") == source)
                index = i;
        const FluidRecord result = fluid(source + " - new", {"C1"});
        list.insert(index + 1, result);
        results.append(result);
    }
    posted = 0;
    editor->finishAddFluids(results);
    settle();
    const QStringList batch{"A", "A - new", "B", "B - new", "C", "C - new"};
    EXPECT_EQ(fluidNames(), batch);
    EXPECT_EQ(editor->selectedFluidRow(), 5);
    EXPECT_GT(changes(), changesBefore);
    EXPECT_EQ(posted, 1);

    undo()->undo();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "C"}));
    EXPECT_FALSE(undo()->canUndo());
    undo()->redo();
    EXPECT_EQ(fluidNames(), batch);
}

}  // namespace
