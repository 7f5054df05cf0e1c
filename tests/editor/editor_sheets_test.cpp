// The flash, lump and split sheets over the editor: where their results go, what one
// Undo takes back, the material balances of the new fluids, the refusals, and a render of
// each sheet over the editor's window.

#include "support/EditorTestSupport.h"

#include "calc/CalculationInterface.h"
#include "characterisation/SplittingFramework.h"
#include "editor/FlashSheet.h"
#include "editor/LumpSplitSheets.h"
#include "editor/SheetUnits.h"
#include "editor/TestSheet.h"
#include "platform/AlertService.h"
#include "widgets/CLogWindow.h"
#include "widgets/ValueStepper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

using namespace quorvel;
using namespace quorvel::test;

namespace {

// A black oil: light ends and single carbon numbers up to C11, mole percents summing to 100.
FluidRecord blackOil(const QString& name, double c1 = 40)
{
    const QList<std::pair<QString, double>> parts{{"C1", c1},  {"C2", 8},  {"C3", 6},  {"nC4", 4},
                                                  {"nC5", 3},  {"C6", 3},  {"C7", 6},  {"C8", 6},
                                                  {"C9", 5},   {"C10", 5}, {"C11", 54 - c1}};
    Array components;
    for (const auto& [component, mole] : parts)
        components.append(test::component(component, mole));
    return FluidRecord{{fluidkey::name, name},
                       {fluidkey::comment, QString()},
                       {fluidkey::fluidType, code_number(FluidType::componentList)},
                       {fluidkey::eos, "PR"},
                       {fluidkey::components, components}};
}

std::map<QString, double> molesOf(const FluidRecord& fluid)
{
    std::map<QString, double> moles;
    for (const Value& c : fluid.arrayValue(fluidkey::components))
        moles[c.toDictionary().stringValue(componentkey::name)] = c.toDictionary().doubleValue(componentkey::mole);
    return moles;
}

double heavyMoles(const FluidRecord& fluid)
{
    double sum = 0;
    for (const Value& c : fluid.arrayValue(fluidkey::components)) {
        const ComponentRecord component = c.toDictionary();
        if (component.intValue(componentkey::nc) > 6)
            sum += component.doubleValue(componentkey::mole);
    }
    return sum;
}

struct EditorSheetActions : ::testing::Test, EditorFixture
{
    void saveRender(QWidget* sheet, const QString& file)
    {
        editor->window()->show();
        settle();
        const QString folder = QDir::current().filePath("renders");
        QDir().mkpath(folder);
        const QImage image = sheet->grab().toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(image.save(folder + "/" + file));
        EXPECT_TRUE(editor->window()->grab().toImage().save(folder + "/editor_under_" + file));
    }
    template <class T>
    T* in(QWidget* sheet, const char* outlet)
    {
        return sheet->findChild<T*>(outlet);
    }
};

// --- Flash

TEST_F(EditorSheetActions, FlashSheetOpensAtTheSaturationPointInCelsiusAndBar)
{
    tank.saturation = 250;
    FluidRecord a = fluid("A", {"C1", "C10"});
    a.setValue(fluidkey::tsat, 100.0);
    open({a});
    FlashSheet* sheet = editor->sheets().flashSheet();
    sheet->onClickFlash();
    QWidget* panel = sheet->panel();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(in<QLineEdit>(panel, "mFlashT")->text(), "100.00");
    EXPECT_EQ(in<QLineEdit>(panel, "mFlashP")->text(), "250.00");
    EXPECT_EQ(in<QComboBox>(panel, "mFlashTUnit")->currentIndex(), code_number(TemperatureUnit::celsius));
    EXPECT_EQ(in<QComboBox>(panel, "mFlashPUnit")->currentIndex(), code_number(PressureUnit::bar));
    EXPECT_DOUBLE_EQ(sheet->getFlashTemperature(), 373.15);
    EXPECT_DOUBLE_EQ(sheet->getFlashPressure(), 250);

    in<QComboBox>(panel, "mFlashTUnit")->setCurrentIndex(code_number(TemperatureUnit::kelvin));
    sheet->onChangeFlashTUnit();
    EXPECT_EQ(in<QLineEdit>(panel, "mFlashT")->text(), "373.15");
    EXPECT_DOUBLE_EQ(sheet->getFlashTemperature(), 373.15);
    // The stepper still holds 100: its next step starts there, now read in kelvin.
    in<ValueStepper>(panel, "mSpinFlashT")->stepUp();
    EXPECT_EQ(in<QLineEdit>(panel, "mFlashT")->text(), "101.00");
    EXPECT_DOUBLE_EQ(sheet->getFlashTemperature(), 101);

    in<QComboBox>(panel, "mFlashPUnit")->setCurrentIndex(code_number(PressureUnit::mpa));
    sheet->onChangeFlashPUnit();
    EXPECT_EQ(in<QLineEdit>(panel, "mFlashP")->text(), "25.00");
    EXPECT_NEAR(sheet->getFlashPressure(), 250, 1e-9);
    saveRender(panel, "flash_sheet.png");
    sheet->onCloseFlashPanel();
    EXPECT_FALSE(panel->isVisible());
}

struct FlashCase
{
    const char* button;
    QStringList names;  // after flashing B of A, B, C
    int selected;
};

TEST_F(EditorSheetActions, FlashedPhasesGoAfterTheSourceAndLeaveInOneUndo)
{
    const QList<FlashCase> cases{{"mFlashLiquidButton", {"A", "B", "Flash", "C"}, 2},
                                 {"mFlashVapourButton", {"A", "B", "Flash", "C"}, 2},
                                 {"mFlashLiquidVapourButton", {"A", "B", "Flash", "Flash", "C"}, 3}};
    for (const FlashCase& c : cases) {
        SCOPED_TRACE(c.button);
        FluidRecord b = fluid("B", {"C1", "C10"});
        b.setValue(fluidkey::tsat, 26.85);  // 300 K
        open({fluid("A", {"C1", "C2"}), b, fluid("C", {"C3", "C4"})}, true);
        editor->selectFluidRow(1);
        settle();
        FlashSheet* sheet = editor->sheets().flashSheet();
        sheet->onClickFlash();
        QLineEdit* pressure = in<QLineEdit>(sheet->panel(), "mFlashP");
        pressure->setText("50");
        sheet->onChangeFlashP();
        posted = 0;
        in<QPushButton>(sheet->panel(), c.button)->click();
        settle();
        EXPECT_EQ(fluidNames(), c.names);
        EXPECT_EQ(editor->selectedFluidRow(), c.selected);
        EXPECT_FALSE(sheet->panel()->isVisible());
        EXPECT_EQ(posted, 1);
        for (int row = 2; row <= c.selected; ++row) {
            const FluidRecord phase = fluids().at(row).toDictionary();
            EXPECT_EQ(phase.intValue(fluidkey::fluidType), code_number(FluidType::componentList));
            EXPECT_FALSE(phase.contains(fluidkey::eos));
            double sum = 0;
            for (const auto& [name, mole] : molesOf(phase))
                sum += mole;
            EXPECT_NEAR(sum, 100, 1e-6);
        }
        if (c.selected == 3) {
            // Material balance: the feed lies on the tie line, every component giving one vapour fraction.
            const auto liquid = molesOf(fluids().at(2).toDictionary());
            const auto vapour = molesOf(fluids().at(3).toDictionary());
            const double v1 = (50 - liquid.at("C1")) / (vapour.at("C1") - liquid.at("C1"));
            const double v10 = (50 - liquid.at("C10")) / (vapour.at("C10") - liquid.at("C10"));
            EXPECT_GT(v1, 0);
            EXPECT_LT(v1, 1);
            EXPECT_NEAR(v1, v10, 1e-6);
            EXPECT_GT(vapour.at("C1"), liquid.at("C1"));
        }
        undo()->undo();
        EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "C"}));
        document.reset();
        settle();
    }
}

// The alpha-beta model's own bubble pressure (bar) at T (degrees Celsius).
double modelBubblePressure(double alpha, double beta, double CO2, double N2, double celsius)
{
    CalculationInterface calculation(FluidType::alphaBeta, EquationOfState::pengRobinson);
    calculation.setAlpha(alpha);
    calculation.setBeta(beta);
    calculation.setCO2(CO2);
    calculation.setN2(N2);
    calculation.setH2S(0);
    calculation.finalize();
    return calculation.calculateSaturation(celsius, SaturationKind::bubblePoint);
}

TEST_F(EditorSheetActions, FlashedAlphaBetaModelFluidGivesComponentListsOfTheModelsComponents)
{
    constexpr double alpha = 0.8, beta = 0.3, CO2 = 0.01, N2 = 0.005, celsius = 100;
    open({fluid("A", {"C1", "C2"})}, true);
    const FluidRecord model = editor->createAlphaBetaFluid(alpha, beta, CO2, N2, 0, "M");
    ASSERT_EQ(model.intValue(fluidkey::fluidType), code_number(FluidType::alphaBeta));
    document.reset();
    settle();
    open({fluid("A", {"C1", "C2"}), model, fluid("C", {"C3", "C4"})}, true);
    editor->selectFluidRow(1);
    settle();
    const FluidRecord before = fluids().at(1).toDictionary().deepCopy();
    const double bubble = modelBubblePressure(alpha, beta, CO2, N2, celsius);
    ASSERT_GT(bubble, 10);

    FlashSheet* sheet = editor->sheets().flashSheet();
    sheet->onClickFlash();
    in<QLineEdit>(sheet->panel(), "mFlashT")->setText(QString::number(celsius));
    sheet->onChangeFlashT();
    in<QLineEdit>(sheet->panel(), "mFlashP")->setText(QString::number(bubble / 2));
    sheet->onChangeFlashP();
    in<QPushButton>(sheet->panel(), "mFlashLiquidVapourButton")->click();
    settle();
    ASSERT_EQ(fluidNames(), (QStringList{"A", "M adjusted", "Flash", "Flash", "C"}));
    EXPECT_EQ(editor->selectedFluidRow(), 3);
    EXPECT_TRUE(fluids().at(1).toDictionary().isEqualTo(before)) << "the source stays as it was";

    // Feed, liquid and vapour mole percents, component by component in the model's order.
    const Array feed = before.arrayValue(fluidkey::components);
    ASSERT_EQ(feed.size(), 17);
    const FluidRecord liquid = fluids().at(2).toDictionary();
    const FluidRecord vapour = fluids().at(3).toDictionary();
    // The liquid was never selected, so holds what the flash wrote and nothing else.
    EXPECT_EQ(liquid.keys(), (QStringList{fluidkey::comment, fluidkey::components, fluidkey::fluidType,
                                          fluidkey::name}));
    std::vector<double> z, x, y;
    for (const Value& f : feed)
        z.push_back(f.toDictionary().doubleValue(componentkey::mole));
    const std::pair<const FluidRecord*, std::vector<double>*> phases[] = {{&liquid, &x}, {&vapour, &y}};
    for (const auto& [phase, moles] : phases) {
        SCOPED_TRACE(moles == &x ? "liquid" : "vapour");
        EXPECT_EQ(phase->intValue(fluidkey::fluidType), code_number(FluidType::componentList));
        EXPECT_EQ(phase->stringValue(fluidkey::comment), "");
        for (const char* key : {"EOS", "alpha", "beta", "CO2", "N2", "H2S", "Texp", "Pexp", "hexp"})
            EXPECT_FALSE(phase->contains(key)) << key;
        const Array components = phase->arrayValue(fluidkey::components);
        ASSERT_EQ(components.size(), feed.size());
        for (int i = 0; i < feed.size(); ++i) {
            const ComponentRecord c = components.at(i).toDictionary();
            const ComponentRecord f = feed.at(i).toDictionary();
            SCOPED_TRACE(f.stringValue(componentkey::name).toStdString());
            EXPECT_EQ(c.stringValue(componentkey::name), f.stringValue(componentkey::name));
            for (const QString& key : {componentkey::nc, componentkey::corr, componentkey::sg, componentkey::tb})
                EXPECT_TRUE(c.contains(key)) << key.toStdString();
            // The model's own component, with the critical data the model fluid shows (degrees Celsius, bar).
            for (const QString& key : {componentkey::mw, componentkey::tc, componentkey::pc, componentkey::omega,
                                       componentkey::vc})
                EXPECT_NEAR(c.doubleValue(key), f.doubleValue(key), 1e-6 * (1 + std::fabs(f.doubleValue(key))))
                    << key.toStdString();
            moles->push_back(c.doubleValue(componentkey::mole));
        }
        EXPECT_NEAR(std::accumulate(moles->begin(), moles->end(), 0.0), 100, 1e-6);
    }
    // Methane's published critical point, 190.56 K and 45.99 bar, in the record's units.
    const int methane = 3;
    EXPECT_EQ(feed.at(methane).toDictionary().stringValue(componentkey::name), "C1");
    EXPECT_NEAR(liquid.arrayValue(fluidkey::components).at(methane).toDictionary().doubleValue(componentkey::tc),
                190.56 - 273.15, 1);
    EXPECT_NEAR(liquid.arrayValue(fluidkey::components).at(methane).toDictionary().doubleValue(componentkey::pc),
                45.99, 1);

    // Material balance: one vapour fraction V with z = (1 - V) x + V y for every component.
    double num = 0, den = 0;
    for (size_t i = 0; i < z.size(); ++i) {
        num += (z[i] - x[i]) * (y[i] - x[i]);
        den += (y[i] - x[i]) * (y[i] - x[i]);
    }
    const double V = num / den;
    EXPECT_GT(V, 0);
    EXPECT_LT(V, 1);
    for (size_t i = 0; i < z.size(); ++i)
        EXPECT_NEAR((1 - V) * x[i] + V * y[i], z[i], 1e-5) << "component " << i;
    EXPECT_GT(y[methane], x[methane]);
    EXPECT_LT(y.back(), x.back()) << "the heaviest pseudo-component stays in the liquid";

    // The liquid, now a component list of its own, sits at its bubble point at the flash's
    // temperature and pressure.
    CalculationInterface again(FluidType::componentList, EquationOfState::pengRobinson);
    ASSERT_TRUE(again.setModelFluid(FluidType::componentList, liquid));
    EXPECT_NEAR(again.calculateSaturation(celsius, SaturationKind::bubblePoint), bubble / 2, 1e-5 * bubble / 2);

    undo()->undo();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "M adjusted", "C"}));
}

// A feed that stays one phase and a flash that cannot be solved add nothing, each with its
// own message: one phase is an answer, not a failure.
TEST_F(EditorSheetActions, FlashWithoutTwoPhasesAddsNothingAndSaysWhy)
{
    const struct {
        const char* name;
        bool broken;       // no positive critical temperature: nothing to solve with
        const char* pressure;  // bar
        const char* message;
    } cases[] = {
        {"no critical temperature", true, "50", "did not converge"},
        {"compressed liquid", false, "1000", "one phase"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingAlertService alerts;
        FluidRecord b = fluid("B", {"C1", "C10"});
        b.setValue(fluidkey::tsat, 26.85);  // 300 K
        if (c.broken)
            for (const Value& component : b.arrayValue(fluidkey::components))
                component.toDictionary().setValue(componentkey::tc, 0.0 - 273.15);
        open({fluid("A", {"C1", "C2"}), b});
        editor->selectFluidRow(1);
        settle();
        const int changesBefore = changes();
        FlashSheet* sheet = editor->sheets().flashSheet();
        sheet->onClickFlash();
        in<QLineEdit>(sheet->panel(), "mFlashP")->setText(c.pressure);
        sheet->onChangeFlashP();
        sheet->onGetFlashedLiquidVapour();
        settle();
        EXPECT_EQ(fluidNames(), (QStringList{"A", "B"}));
        ASSERT_EQ(alerts.messages().size(), 1);
        EXPECT_TRUE(alerts.messages().first().contains(c.message)) << alerts.messages().first().toStdString();
        EXPECT_EQ(changes(), changesBefore);
        EXPECT_FALSE(sheet->panel()->isVisible());
        document.reset();
        settle();
    }
}

TEST_F(EditorSheetActions, SheetsOpenOnlyWithAFluidSelected)
{
    open({fluid("A", {"C1", "C2"})});
    editor->selectFluidRow(-1);
    settle();
    editor->sheets().flashSheet()->onClickFlash();
    editor->sheets().testSheet()->onClickTest();
    editor->sheets().lumpSheet()->onClickLump();
    editor->sheets().splitSheet()->onClickSplit();
    for (QWidget* panel : std::initializer_list<QWidget*>{editor->sheets().flashSheet()->panel(), editor->sheets().testSheet()->panel(),
                                                          editor->sheets().lumpSheet()->panel(), editor->sheets().splitSheet()->panel()})
        EXPECT_FALSE(panel->isVisible()) << panel->objectName().toStdString();
}

// --- Lump

TEST_F(EditorSheetActions, LumpedFluidFollowsItsSourceWithItsHeavyMoles)
{
    const QList<std::pair<int, QStringList>> schemes{
        {code_number(LumpScheme::c7plus), {"C7+"}},
        {code_number(LumpScheme::cn1Cn2), {"Cn1"}},
        {code_number(LumpScheme::pedersen), {}},
        {9, {"C7+"}}};
    for (const auto& [scheme, heavyNames] : schemes) {
        SCOPED_TRACE(scheme);
        open({blackOil("A"), blackOil("B", 30), blackOil("C")});
        editor->selectFluidRow(1);
        settle();
        LumpSheet* sheet = editor->sheets().lumpSheet();
        sheet->onClickLump();
        if (scheme == code_number(LumpScheme::cn1Cn2))
            saveRender(sheet->panel(), "lump_sheet.png");
        sheet->panel()->findChild<QComboBox*>("mLumpChoice")->setCurrentIndex(scheme);
        sheet->onDoLump();
        settle();
        EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "B - lumped", "C"}));
        EXPECT_EQ(editor->selectedFluidRow(), 2);
        const FluidRecord source = fluids().at(1).toDictionary();
        const FluidRecord lumped = fluids().at(2).toDictionary();
        EXPECT_NEAR(heavyMoles(lumped), heavyMoles(source), 1e-9);
        const auto moles = molesOf(lumped);
        for (const QString& name : heavyNames)
            EXPECT_EQ(moles.count(name), 1u) << name.toStdString();
        EXPECT_EQ(moles.at("C1"), 30);
        undo()->undo();
        EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "C"}));
        document.reset();
        settle();
    }
}

// --- Split

TEST_F(EditorSheetActions, SplitEndsAtTheChosenCarbonNumberAndKeepsTheHeavyMoles)
{
    for (const auto& [item, plusName] : {std::pair{0, "C9+"}, std::pair{2, "C11+"}}) {
        SCOPED_TRACE(item);
        FluidRecord b = blackOil("B");
        b.setValue(fluidkey::tsat, 80.0);
        b.setValue(fluidkey::satPhase, code_number(SaturationKind::dewPoint));
        b.setValue(fluidkey::psat, 123.0);
        open({blackOil("A"), b, blackOil("C")});
        editor->selectFluidRow(1);
        settle();
        SplitSheet* sheet = editor->sheets().splitSheet();
        sheet->onClickSplit();
        sheet->lastCarbonNumberCombo()->setCurrentIndex(item);
        sheet->methodPopup()->setCurrentIndex(code_number(SplitMethod::katz));
        sheet->onSelectSplitCorrelation();
        settle();
        EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "B - Katz", "C"}));
        const FluidRecord split = fluids().at(2).toDictionary();
        const Array components = split.arrayValue(fluidkey::components);
        EXPECT_EQ(components.at(components.size() - 1).toDictionary().stringValue("name"), plusName);
        EXPECT_NEAR(heavyMoles(split), heavyMoles(fluids().at(1).toDictionary()), 1e-6);
        EXPECT_EQ(split.doubleValue(fluidkey::tsat), 80);
        EXPECT_EQ(split.intValue(fluidkey::satPhase), code_number(SaturationKind::dewPoint));
        // The split carries no Psat of its source (the editor computes its own once shown).
        EXPECT_FALSE(doSplit(b, SplitMethod::katz, 10, false, false).contains(fluidkey::psat));
        document.reset();
        settle();
    }
}

TEST_F(EditorSheetActions, BatchSplitAddsOneFluidPerSourceAndOneUndoRemovesThemAll)
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    for (const bool logShown : {false, true}) {
        SCOPED_TRACE(logShown);
        if (logShown)
            log->showWindow();
        else if (log->isWindowLoaded())
            log->window()->hide();
        open({blackOil("A"), blackOil("B", 30), blackOil("C", 20)});
        editor->selectFluidRow(0);
        settle();
        if (log->text().plainText().isEmpty())
            log->appendString1("Log");  // its first text is followed by a space
        const qsizetype logBefore = log->text().plainText().size();
        SplitSheet* sheet = editor->sheets().splitSheet();
        sheet->onClickSplit();
        sheet->panel()->findChild<QCheckBox*>("mSplitBatch")->setChecked(true);
        sheet->onSelectSplitCorrelation();
        settle();
        EXPECT_EQ(fluidNames(), (QStringList{"A", "A - Katz", "B", "B - Katz", "C", "C - Katz"}));
        EXPECT_EQ(editor->selectedFluidRow(), 5);
        const QString written = log->text().plainText().mid(logBefore);
        if (logShown) {
            const QStringList lines = written.split("\r\n");
            const int header = lines.lastIndexOf(QRegularExpression("^ +Name +ardx \\(%\\) +aadx \\(%\\)$"));
            ASSERT_GE(header, 1);
            EXPECT_TRUE(lines.at(header - 1).isEmpty());
            for (int i = 0; i < 3; ++i) {
                const FluidRecord result = fluids().at(2 * i + 1).toDictionary();
                EXPECT_TRUE(result.contains("aadx"));
                EXPECT_TRUE(lines.at(header + 1 + i).startsWith(result.stringValue("name") + " "));
            }
        } else {
            EXPECT_TRUE(written.isEmpty());
            EXPECT_FALSE(fluids().at(1).toDictionary().contains("ardx"));
        }
        undo()->undo();
        EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "C"}));
        document.reset();
        settle();
    }
    log->window()->hide();
}

TEST_F(EditorSheetActions, SplitReadsTheHeavyPartFromTheComponentsNotAStoredKey)
{
    FluidRecord stale = blackOil("B");
    stale.setValue(fluidkey::c7plus, 0.4);  // a fraction where a percent belongs
    const FluidRecord fresh = blackOil("B");
    for (const SplitMethod method : {SplitMethod::katz, SplitMethod::ahmed}) {
        const FluidRecord a = doSplit(stale, method, 12, false, true);
        const FluidRecord b = doSplit(fresh, method, 12, false, true);
        EXPECT_TRUE(a.value(fluidkey::components).isEqualTo(b.value(fluidkey::components))) << code_number(method);
        EXPECT_NEAR(heavyMoles(a), heavyMoles(fresh), 1e-6);
    }
    EXPECT_EQ(stale.doubleValue(fluidkey::c7plus), 0.4) << "the source is never changed";
}

TEST_F(EditorSheetActions, SplitIndexSixIsIndexFive)
{
    const FluidRecord source = blackOil("B");
    const FluidRecord five = doSplit(source, SplitMethod::montel, 12, false, false);
    const FluidRecord six = doSplit(source, SplitMethod::montelAgain, 12, false, false);
    EXPECT_TRUE(five.isEqualTo(six));
    EXPECT_EQ(five.intValue(fluidkey::fluidType), code_number(FluidType::carbonNumbers));
}

TEST_F(EditorSheetActions, TypedCarbonNumberOutsideTheListIsRefused)
{
    RecordingAlertService alerts;
    open({blackOil("A")});
    SplitSheet* sheet = editor->sheets().splitSheet();
    sheet->onClickSplit();
    saveRender(sheet->panel(), "split_sheet.png");
    for (const QString typed : {"50", "7", "ten", ""}) {
        sheet->lastCarbonNumberCombo()->setEditText(typed);
        sheet->onSelectSplitCorrelation();
    }
    EXPECT_EQ(alerts.alerts().size(), 4);
    EXPECT_EQ(fluidNames(), QStringList{"A"});
    EXPECT_TRUE(sheet->panel()->isVisible());
    sheet->lastCarbonNumberCombo()->setEditText("44");
    sheet->onSelectSplitCorrelation();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "A - Katz"}));
    EXPECT_FALSE(sheet->panel()->isVisible());
}

}  // namespace
