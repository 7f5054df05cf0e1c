// Stock-tank properties and saturation pressure of the selected fluid: the real engine on
// a black oil checked by its material balance, and a scripted calculation for each kind
// of tank, the 150 degrees API display limit, the failures, and what a newly selected
// fluid shows (never the previous fluid's values or composition, never "nan").

#include "support/EditorTestSupport.h"

#include "calc/CalculationInterface.h"
#include "editor/FluidReport.h"
#include "plot/CBarPlotView.h"
#include "widgets/CLogWindow.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTableView>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct StockTank : ::testing::Test, EditorFixture
{
    QString text(const char* outlet) { return editor->control<QLineEdit>(outlet)->text(); }
    FluidRecord selected() { return editor->selectedFluid(); }
};

// A black oil of nine components (mole percent), the heavy end characterised from mw and SG.
FluidRecord blackOil()
{
    const QList<std::pair<QString, double>> composition{{"N2", 0.5}, {"CO2", 1.5}, {"C1", 35}, {"C2", 8},
                                                        {"C3", 6},   {"nC4", 4},   {"nC5", 3}, {"C6", 3},
                                                        {"C7+", 39}};
    Array components;
    for (const auto& [name, mole] : composition)
        components.append(component(name, mole));
    ComponentRecord heavy = components.at(8).toDictionary();
    heavy.setValue("mw", 220.0);
    heavy.setValue("SG", 0.85);
    applyCorrelation(heavy, CorrelationCode::jianzhong1);
    return FluidRecord{{"name", "Black oil"}, {"comment", ""}, {"fluidType", 2}, {"components", components}};
}

TEST_F(StockTank, BlackOilOnTheEngineKeepsItsMaterialBalance)
{
    const FluidRecord oil = blackOil();
    open({oil}, true);
    double bulkMw = 0;
    for (const Value& c : oil.arrayValue("components"))
        bulkMw += c.toDictionary().doubleValue("mole") * c.toDictionary().doubleValue("mw") / 100;
    EXPECT_NEAR(oil.doubleValue("C7+"), 39, 1e-6) << "C7+ is the heavy end's mole percent";
    EXPECT_NEAR(oil.doubleValue("mwC7+"), 220, 1e-6);
    EXPECT_NEAR(oil.doubleValue("bulkMw"), bulkMw, 1e-6 * bulkMw);
    ASSERT_TRUE(oil.value("API0").isNumber()) << oil.stringValue("API0").toStdString();
    EXPECT_GT(oil.doubleValue("GOR"), 30);
    EXPECT_LT(oil.doubleValue("GOR"), 400);
    EXPECT_GT(oil.doubleValue("API"), 15);
    EXPECT_LT(oil.doubleValue("API"), 55);
    EXPECT_EQ(oil.doubleValue("API"), oil.doubleValue("API0"));
    EXPECT_GT(oil.doubleValue("Psat"), 50) << "a live oil boils well above the tank pressure at 100 C";
    EXPECT_LT(oil.doubleValue("Psat"), 500);
    EXPECT_EQ(oil.doubleValue("Tsat"), 100);
    EXPECT_EQ(oil.intValue("satPhase"), 1);
    EXPECT_EQ(text("mMoleSum"), "100.0000");
    EXPECT_EQ(text("mGOREditField"), QString::asprintf("%.2f", oil.doubleValue("GOR")));
    EXPECT_EQ(text("mPsatEditField1"), QString::asprintf("%.2f", oil.doubleValue("Psat") / 0.068948));
}

// The same oil as a gamma-model fluid: its translation, 18.887 M - 724 cm3/mol from the tank
// oil's molar weight, exceeds the oil's whole volume. The translated value is not available,
// the log says why, and the untranslated values stand.
TEST_F(StockTank, GammaFluidWhoseTranslationWouldTurnNegativeHasNoTranslatedApi)
{
    FluidRecord oil = blackOil();
    oil.setValue("fluidType", code_number(FluidType::gamma));
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    const qsizetype start = log->text().plainText().size();
    open({oil}, true);
    ASSERT_TRUE(oil.value("API0").isNumber()) << oil.stringValue("API0").toStdString();
    EXPECT_GT(oil.doubleValue("API0"), 15);
    EXPECT_GT(oil.doubleValue("GOR"), 0);
    EXPECT_TRUE(std::isnan(oil.doubleValue("API3")));
    const QString logged = log->text().plainText().mid(start);
    EXPECT_TRUE(logged.contains("Translated PR EOS values not available: the volume translation of"))
        << logged.toStdString();

    const qsizetype reportStart = log->text().plainText().size();
    writeFluidReport(*log, oil);
    EXPECT_TRUE(log->text().plainText().mid(reportStart).contains(
        "API\u00b0 (Tovik-Dorvane volume translation)   : not available"));
}

TEST_F(StockTank, EachKindOfTankOnAScriptedCalculation)
{
    // GOR, API and API (corr.) as shown; a blank field has no value for this tank.
    struct Case
    {
        const char* title;
        StockTankState state;
        bool failed;
        double api0;
        const char* word;        // the six API keys; empty: numbers
        bool gorStored;
        QStringList fields;
    };
    const QList<Case> cases{
        {"two phases", StockTankState::TwoPhases, false, 40, "", true, {"123.00", "40.00", "3.00"}},
        {"two phases at 149.99", StockTankState::TwoPhases, false, 149.99, "", true, {"123.00", "149.99", "3.00"}},
        {"two phases at 150", StockTankState::TwoPhases, false, 150, "", true, {"123.00", "150.00", "3.00"}},
        {"two phases at 150.01", StockTankState::TwoPhases, false, 150.01, "", true, {"123.00", "", ""}},
        {"gas", StockTankState::Gas, true, 0, "Gas", false, {"", "", ""}},
        {"liquid", StockTankState::Liquid, true, 20, "Liquid", false, {"", "20.00", "3.00"}},
        {"failure", StockTankState::None, true, 0, "err", false, {"", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        FluidRecord f = fluid("F", {"C1", "C10"});
        f.setValue("GOR", 7.0);
        f.setValue("API", 8.0);
        tank.result = StockTankResult{};
        tank.result.state = c.state;
        tank.result.failed = c.failed;
        tank.result.gor = 123;
        tank.result.api = {c.api0, 1, 2, 3, 4, 5};
        tank.result.c7plus = 50;
        open({f});
        for (const char* outlet : {"mGOREditField", "mAPIEditField", "mAPCEditField"})
            editor->control<QLineEdit>(outlet)->setText("old");
        editor->calculateGORAPI();
        for (int i = 0; i < 6; ++i) {
            const Value api = f.value(QStringLiteral("API%1").arg(i));
            if (*c.word)
                EXPECT_EQ(api.toString(), c.word);
            else
                EXPECT_TRUE(api.isNumber());
        }
        EXPECT_EQ(f.doubleValue("GOR"), c.gorStored ? 123 : 7);
        EXPECT_EQ(f.doubleValue("C7+"), 50) << "written whatever the tank";
        EXPECT_EQ((QStringList{text("mGOREditField"), text("mAPIEditField"), text("mAPCEditField")}), c.fields);
        document.reset();
        settle();
    }
}

TEST_F(StockTank, CancelledCalculationLeavesTheFluidAsItWas)
{
    FluidRecord f = fluid("F", {"C1", "C10"});
    f.setValue("GOR", 7.0);
    f.setValue("Psat", 80.0);
    open({f});
    const Value before = Value(f.deepCopy());
    const int changesBefore = changes();
    const int postedBefore = posted;
    const QStringList fieldsBefore{text("mGOREditField"), text("mAPIEditField"), text("mPsatEditField0")};

    tank.result.gor = 123;
    tank.result.c7plus = 50;
    tank.saturation = 99;
    bool dialogFound = false;
    tank.whileRunning = [&] {
        auto* dialog = editor->window()->findChild<QProgressDialog*>("stockTankProgress");
        dialogFound = dialog && dialog->windowModality() == Qt::WindowModal;
        if (!dialog)
            return;
        dialog->setMaximum(25);  // as a long calculation shows it
        dialog->setValue(5);
        dialog->show();
        const QString folder = QDir::current().filePath("renders");
        QDir().mkpath(folder);
        EXPECT_TRUE(dialog->grab().toImage().save(folder + "/stock_tank_progress.png"));
        dialog->cancel();
    };
    editor->calculateGORAPI();
    ASSERT_TRUE(dialogFound) << "the calculation runs under a window-modal progress";
    EXPECT_TRUE(Value(f).isEqualTo(before)) << "no value of the cancelled calculation is kept";
    EXPECT_EQ(changes(), changesBefore) << "no change mark";
    EXPECT_EQ(posted, postedBefore);
    EXPECT_EQ((QStringList{text("mGOREditField"), text("mAPIEditField"), text("mPsatEditField0")}), fieldsBefore);
    EXPECT_EQ(editor->window()->findChild<QProgressDialog*>("stockTankProgress"), nullptr) << "gone afterwards";

    tank.whileRunning = [] {};  // asked, not cancelled: the values are kept
    editor->calculateGORAPI();
    EXPECT_EQ(f.doubleValue("GOR"), 123);
    EXPECT_EQ(f.doubleValue("Psat"), 99);
}

TEST_F(StockTank, SelectingAnotherFluidShowsOnlyItsOwnValues)
{
    open({fluid("Oil", {"C1", "C2", "C3", "C10", "C20"}), fluid("Gas", {"C1", "C2"}),
          fluid("Odd", {"C1", "C10"})});
    ASSERT_EQ(editor->selectedFluidRow(), 0);
    editor->selectComponentRow(0);
    settle();
    ASSERT_EQ(text("mGOREditField"), "100.00");
    auto* chart = editor->control<CBarPlotView>("mBarPlotView");
    EXPECT_EQ(chart->labels(), componentNames(0));

    tank.result.state = StockTankState::Gas;
    tank.result.failed = true;
    editor->selectFluidRow(1);
    settle();
    for (const char* outlet : {"mGOREditField", "mAPIEditField", "mAPCEditField"})
        EXPECT_EQ(text(outlet), "") << outlet;
    EXPECT_EQ(chart->labels(), componentNames(1)) << "the chart follows the selected fluid";
    EXPECT_EQ(chart->values(), (std::vector<double>{50, 50}));

    // Numbers the engine could not give show as a dash, never as "nan".
    const double nan = std::numeric_limits<double>::quiet_NaN();
    tank.result = StockTankResult{};
    tank.result.state = StockTankState::TwoPhases;
    tank.result.gor = nan;
    tank.result.api = {nan, nan, nan, nan, nan, nan};
    tank.result.c7plus = tank.result.mwC7plus = tank.result.sgC7plus = nan;
    tank.saturation = nan;
    editor->selectFluidRow(2);
    settle();
    for (const char* outlet : {"mGOREditField", "mAPIEditField", "mAPCEditField", "mC7plusEditField",
                               "mMWC7plusEditField", "mSGC7plusEditField", "mPsatEditField0", "mPsatEditField1"})
        EXPECT_EQ(text(outlet), QStringLiteral("\u2014")) << outlet;
    const QAbstractItemModel* table = editor->control<QTableView>("mFluidsView")->model();
    for (int column = 0; column < table->columnCount(); ++column)
        EXPECT_NE(table->data(table->index(2, column)).toString(), "nan") << "fluids table column " << column;
    const QString folder = QDir::current().filePath("renders");
    QDir().mkpath(folder);
    EXPECT_TRUE(editor->window()->grab().toImage().save(folder + "/fluid_model_editor_without_numbers.png"));

    editor->selectFluidRow(-1);
    settle();
    EXPECT_TRUE(chart->labels().isEmpty()) << "no fluid selected, no composition";
}

TEST_F(StockTank, InterfaceTypeAndEquationOfState)
{
    FluidRecord gamma = fluid("G", {"C1", "C10"}, FluidType::gamma);
    gamma.remove("EOS");
    FluidRecord alphaBeta = fluid("AB", {"C1", "C10"}, FluidType::alphaBeta);
    alphaBeta.setValue("EOS", "SRK");
    open({gamma, alphaBeta});
    EXPECT_EQ(tank.lastInterfaceType, 2);
    EXPECT_EQ(tank.lastEosCode, 0) << "no EOS key is Peng-Robinson";
    editor->selectFluidRow(1);
    EXPECT_EQ(tank.lastInterfaceType, 1);
    EXPECT_EQ(tank.lastEosCode, 1);
    EXPECT_EQ(getEOSCode(Value()), EquationOfState::pengRobinson);
    EXPECT_EQ(getEOSCode("PR"), EquationOfState::pengRobinson);
    EXPECT_EQ(getEOSCode("SRK"), EquationOfState::srk);
}

TEST_F(StockTank, SaturationShownInBothUnitsAndFailureClearsIt)
{
    tank.saturation = 1;
    FluidRecord f = fluid("F", {"C1", "C10"});
    f.setValue("Tsat", 80.0);
    open({f});
    EXPECT_EQ(text("mPsatEditField0"), "1.00");
    EXPECT_EQ(text("mPsatEditField1"), "14.50");
    EXPECT_EQ(f.intValue("satPhase"), 1) << "a fluid with Tsat gains its kind when shown";

    tank.saturation = kSaturationFailure;
    editor->control<QLineEdit>("mTsatEditField0")->setText("120");
    editor->calculateGORAPI();
    EXPECT_EQ(f.doubleValue("Tsat"), 80) << "the record keeps the temperature of its last pressure";
    EXPECT_EQ(f.doubleValue("Psat"), 1);
    EXPECT_TRUE(text("mPsatEditField0").isEmpty());
    EXPECT_TRUE(text("mPsatEditField1").isEmpty());
}

TEST_F(StockTank, FluidWithoutTsatShowsTheDefaultAndStaysUnchanged)
{
    tank.saturation = kSaturationFailure;
    FluidRecord f = fluid("F", {"C1", "C10"});
    open({f});
    EXPECT_EQ(text("mTsatEditField0"), "100.00");
    EXPECT_EQ(text("mTsatEditField1"), "212.00");
    EXPECT_FALSE(f.contains("Tsat"));
    EXPECT_FALSE(f.contains("satPhase"));
}

TEST_F(StockTank, FluidWithoutMoleIsNotFlashed)
{
    FluidRecord f = fluid("F", {"C1", "C10"});
    for (const Value& c : f.arrayValue("components"))
        c.toDictionary().setValue("mole", 0.0);
    open({f});
    EXPECT_EQ(tank.made, 0);
    EXPECT_EQ(f.stringValue("API0"), "err");
    EXPECT_EQ(text("mMoleSum"), "0.0000");
    EXPECT_TRUE(text("mGOREditField").isEmpty());
}

TEST_F(StockTank, SaturationKindChangesWithoutUndo)
{
    open({fluid("F", {"C1", "C10"})});
    editor->control<QButtonGroup>("mSatRadio")->button(0)->setChecked(true);
    editor->onChangeSaturationPhase();
    settle();
    EXPECT_EQ(selected().intValue("satPhase"), 0);
    EXPECT_EQ(changes(), 1);
    EXPECT_FALSE(undo()->canUndo());
}

}  // namespace
