// Model fluids generated in the editor: the alpha-beta model fluid with the engine's
// properties in the records' units, the expanded carbon-number form, the fitted record, and
// the gamma-model fluid with its defaults, gases and grouping.

#include "support/EditorTestSupport.h"

#include "calc/CAlphaBetaModelInterface.h"
#include "platform/AlertService.h"
#include "widgets/ValueStepper.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct ModelFluids : ::testing::Test, EditorFixture
{
    RecordingAlertService alerts;

    QLineEdit* field(const char* outlet) { return editor->control<QLineEdit>(outlet); }
    void click(int tag)
    {
        editor->window()->findChild<QButtonGroup*>("mModelRadio")->button(tag)->click();
        settle();
    }
    void type(const char* outlet, const QString& text)
    {
        field(outlet)->setText(text);
        field(outlet)->setModified(true);
        emit field(outlet)->editingFinished();
        settle();
    }
    ComponentRecord componentNamed(const FluidRecord& f, const QString& name)
    {
        for (const Value& c : f.arrayValue("components"))
            if (c.toDictionary().stringValue("name") == name)
                return c.toDictionary();
        ADD_FAILURE() << "no " << name.toStdString();
        return {};
    }
    double moleSum(const FluidRecord& f)
    {
        double sum = 0;
        for (const Value& c : f.arrayValue("components"))
            sum += c.toDictionary().doubleValue("mole");
        return sum;
    }
};

// The engine's component i in the record's units, converted here independently.
void expectEngineComponent(const ComponentRecord& c, const CAlphaBetaModelInterface& engine, int i)
{
    SCOPED_TRACE(engine.getComponentName(i));
    EXPECT_EQ(c.stringValue("name").toStdString(), engine.getComponentName(i));
    EXPECT_NEAR(c.doubleValue("mole"), engine.getMoleFraction(i) * 100, 1e-12);
    EXPECT_NEAR(c.doubleValue("mw"), engine.getMw(i), 1e-12);
    EXPECT_NEAR(c.doubleValue("Tc"), engine.getTc(i) - 273.15, 1e-9);
    EXPECT_NEAR(c.doubleValue("Pc"), engine.getPc(i) / 100000, 1e-9);
    EXPECT_NEAR(c.doubleValue("Vc"), engine.getVc(i) * 1e6, 1e-9);
    EXPECT_NEAR(c.doubleValue("omega"), engine.getOmega(i), 1e-12);
}

TEST_F(ModelFluids, AlphaBetaModelFluidCarriesTheEnginesComponentsInRecordUnits)
{
    open({fluid("F", {"C1", "C7"})});
    field("mAlphaEditField")->setText("0.8");
    field("mBetaEditField")->setText("0.3");
    field("mCO2EditField")->setText("2");
    click(code_number(FluidType::alphaBeta));
    const FluidRecord f = fluids().at(0).toDictionary();
    EXPECT_EQ(field("mAlphaEditField")->text(), "0.8") << "parameters inside the range stay as typed";
    EXPECT_EQ(f.doubleValue("alpha"), 0.8);
    EXPECT_EQ(f.doubleValue("beta"), 0.3);
    EXPECT_NEAR(f.doubleValue("CO2"), 0.02, 1e-15);

    CAlphaBetaModelInterface engine;
    engine.calculateComposition(0.8, 0.3, 0.02, 0, 0);
    const Array components = f.arrayValue("components");
    ASSERT_EQ(components.size(), 17);
    for (int i = 0; i < 17; ++i)
        expectEngineComponent(components.at(i).toDictionary(), engine, i);
    EXPECT_NEAR(moleSum(f), 100, 1e-9);
    EXPECT_NEAR(componentNamed(f, "CO2").doubleValue("mole"), 2, 1e-9);

    // The heavy cuts take the reference gravity at their molar weight; C7 keeps the one it
    // was named with, as its boiling point.
    for (const char* cut : {"Cn1", "Cn2"}) {
        const ComponentRecord c = componentNamed(f, cut);
        EXPECT_NEAR(c.doubleValue("SG"), getJianzhongSG(c.doubleValue("mw")), 1e-12) << cut;
    }
    ComponentRecord named;
    setComponentName("C7", named, CorrelationCode::jianzhong0);
    EXPECT_EQ(componentNamed(f, "C7").doubleValue("SG"), named.doubleValue("SG"));
    EXPECT_EQ(componentNamed(f, "C7").doubleValue("Tb"), named.doubleValue("Tb"));
}

TEST_F(ModelFluids, ParametersOutsideTheRangeAreResetWhenTheModelIsChosen)
{
    const QList<std::tuple<QString, QString, QString, QString>> cases{
        {"1.2", "0.1", "0.9000", "0.1000"}, {"0", "0.5", "0.9000", "0.1000"},
        {"0.5", "1", "0.9000", "0.1000"},   {"0.8", "0.3", "0.8", "0.3"}};
    for (const auto& [alpha, beta, alphaShown, betaShown] : cases) {
        SCOPED_TRACE(alpha.toStdString() + " " + beta.toStdString());
        open({fluid("F", {"C1"})});
        field("mAlphaEditField")->setText(alpha);
        field("mBetaEditField")->setText(beta);
        click(code_number(FluidType::alphaBeta));
        EXPECT_EQ(field("mAlphaEditField")->text(), alphaShown);
        EXPECT_EQ(field("mBetaEditField")->text(), betaShown);
        EXPECT_EQ(editor->control<ValueStepper>("mSpinAlpha")->value(), alphaShown.toDouble());
        document.reset();
        settle();
    }
}

TEST_F(ModelFluids, UpdatePairsComponentsWithTheEngineByName)
{
    open({});
    FluidRecord f = editor->createAlphaBetaFluid(0.7, 0.2, 0, 0, 0, "Oil 1");
    document.reset();
    settle();
    // A list reordered by the row moves, and one component the engine does not know.
    Array components = f.arrayValue("components");
    components.swap(3, 16);
    ComponentRecord stranger;
    setComponentName("C20", stranger, CorrelationCode::jianzhong0);
    stranger.setValue("mole", 0.0);
    components.append(stranger);
    const ComponentRecord strangerBefore = stranger.copy();
    open({f});
    type("mBetaEditField", "0.25");

    CAlphaBetaModelInterface engine;
    engine.calculateComposition(0.7, 0.25, 0, 0, 0);
    for (int i = 0; i < engine.getNumberOfComponents(); ++i)
        expectEngineComponent(componentNamed(f, QString::fromStdString(engine.getComponentName(i))), engine, i);
    EXPECT_TRUE(stranger.isEqualTo(strangerBefore)) << "a component the engine lacks keeps its values";
}

TEST_F(ModelFluids, ExpandedFormListsEveryCarbonNumberUpToC40Plus)
{
    open({fluid("F", {"C1"})});
    field("mN2EditField")->setText("1");
    field("mH2SEditField")->setText("0.5");
    field("mAlphaEditField")->setText("0.7");
    field("mBetaEditField")->setText("0.2");
    click(code_number(FluidType::carbonNumbers));
    FluidRecord f = fluids().at(0).toDictionary();
    QStringList names;
    for (const Value& c : f.arrayValue("components"))
        names << c.toDictionary().stringValue("name");
    ASSERT_EQ(names.size(), 43);
    EXPECT_EQ(names.mid(0, 4), (QStringList{"N2", "CO2", "H2S", "C1"}));
    EXPECT_EQ(names.last(), "C40+");
    EXPECT_EQ(f.arrayValue("components").at(1).toDictionary().doubleValue("mole"), 0) << "CO2 listed at 0";
    EXPECT_NEAR(f.arrayValue("components").at(0).toDictionary().doubleValue("mole"), 1, 1e-12);
    EXPECT_NEAR(moleSum(f), 100, 1e-9);
    EXPECT_GT(componentNamed(f, "C40+").doubleValue("mole"), 0);
    EXPECT_EQ(componentNamed(f, "C40+").intValue("corr"), code_number(CorrelationCode::katzFiroozabadi));

    // A light fluid: the series ends before C40, the rest at 0.
    type("mAlphaEditField", "0.05");
    EXPECT_EQ(f.doubleValue("alpha"), 0.05);
    EXPECT_EQ(componentNamed(f, "C40+").doubleValue("mole"), 0);
    EXPECT_EQ(componentNamed(f, "C39").doubleValue("mole"), 0);
    EXPECT_NEAR(moleSum(f), 100, 1e-9);

    // Shown again with the parameters it was last built from.
    open({fluid("Other", {"C1"}), f});
    editor->selectFluidRow(1);
    EXPECT_EQ(field("mAlphaEditField")->text(), "0.0500");
    EXPECT_EQ(field("mN2EditField")->text(), "1.000");
}

TEST_F(ModelFluids, FittedRecord)
{
    open({});
    const FluidRecord f = editor->createAlphaBetaFluid(0.85, 0.12, 0.01, 0.02, 0.005, "Oil 1");
    EXPECT_EQ(f.stringValue("name"), "Oil 1 adjusted");
    EXPECT_EQ(f.stringValue("comment"), "Fitted with the alpha-beta model from Oil 1");
    EXPECT_EQ(f.intValue("fluidType"), code_number(FluidType::alphaBeta));
    EXPECT_EQ(f.stringValue("EOS"), "PR");
    EXPECT_EQ(f.doubleValue("H2S"), 0.005);
    EXPECT_FALSE(f.contains("Tsat"));
    CAlphaBetaModelInterface engine;
    engine.calculateComposition(0.85, 0.12, 0.01, 0.02, 0.005);
    ASSERT_EQ(f.arrayValue("components").size(), 17);
    for (int i = 0; i < 17; ++i)
        expectEngineComponent(f.arrayValue("components").at(i).toDictionary(), engine, i);
    EXPECT_EQ(fluids().size(), 1) << "the caller inserts the record";
}

TEST_F(ModelFluids, FittedRecordWithoutASoundCompositionCarriesNoOtherFluidsValues)
{
    open({});
    editor->createAlphaBetaFluid(0.85, 0.12, 0, 0, 0, "Sound");
    // Gas fractions above 1 leave the hydrocarbons negative: the engine refuses them.
    const FluidRecord f = editor->createAlphaBetaFluid(0.5, 0.2, 0.6, 0.6, 0, "Unsound");
    ASSERT_EQ(f.arrayValue("components").size(), 17);
    EXPECT_EQ(f.doubleValue("CO2"), 0.6);
    for (const Value& c : f.arrayValue("components"))
        EXPECT_EQ(c.toDictionary().doubleValue("mole"), 0) << c.toDictionary().stringValue("name").toStdString();
}

TEST_F(ModelFluids, GammaFluidDefaultsNamesAndGases)
{
    open({fluid("F", {"C1"})});
    field("mCO2EditField")->setText("5");
    click(code_number(FluidType::gamma));
    FluidRecord f = fluids().at(0).toDictionary();
    EXPECT_EQ(field("mAlphaEditField")->text(), "3.00");
    EXPECT_EQ(field("mBetaEditField")->text(), "100.00");
    EXPECT_EQ(field("mDeltaEditField")->text(), "5");
    EXPECT_EQ(f.doubleValue("alpha"), 3);
    EXPECT_EQ(f.doubleValue("beta"), 100);
    EXPECT_EQ(f.value("delta").toInt(), 5);
    QStringList names;
    double hydrocarbons = 0;
    for (const Value& c : f.arrayValue("components")) {
        names << c.toDictionary().stringValue("name");
        if (names.last() != "CO2")
            hydrocarbons += c.toDictionary().doubleValue("mole");
    }
    ASSERT_GE(names.size(), 15);
    EXPECT_EQ(names.mid(0, 14), (QStringList{"CO2", "C1", "C2", "C3", "C5", "C6", "C7", "C8", "C9", "C10", "C11",
                                             "C13", "C18", "C23"}));
    EXPECT_NEAR(componentNamed(f, "CO2").doubleValue("mole"), 5, 1e-12);
    EXPECT_EQ(componentNamed(f, "C1").doubleValue("mole"), 0);
    EXPECT_NEAR(hydrocarbons, 95, 1e-9);
    EXPECT_FALSE(names.contains("N2"));
    EXPECT_FALSE(names.contains("C4"));

    // Delta 10: the groups end at 21, 31 ... and are named by their middles.
    type("mDeltaEditField", "10");
    EXPECT_EQ(f.value("delta").toInt(), 10);
    names.clear();
    for (const Value& c : f.arrayValue("components"))
        names << c.toDictionary().stringValue("name");
    EXPECT_EQ(names.mid(11, 2), (QStringList{"C16", "C26"}));
    EXPECT_EQ(editor->control<ValueStepper>("mSpinDelta")->value(), 10);
}

TEST_F(ModelFluids, GammaDefaultsReplaceWhatTheFieldsHeld)
{
    open({fluid("F", {"C1"})});
    field("mAlphaEditField")->setText("0.5");
    click(code_number(FluidType::gamma));
    EXPECT_EQ(field("mAlphaEditField")->text(), "3.00");
    const FluidRecord f = fluids().at(0).toDictionary();
    double sum = 0;
    for (const Value& c : f.arrayValue("components"))
        sum += c.toDictionary().doubleValue("mole");
    EXPECT_NEAR(sum, 100, 1e-9);
}

TEST_F(ModelFluids, RenderOfAnAlphaBetaAndAGammaModelFluid)
{
    open({fluid("Alpha-beta fluid", {"C1"}), fluid("Gamma fluid", {"C1"})}, true);
    field("mCO2EditField")->setText("2");
    click(code_number(FluidType::alphaBeta));
    editor->selectFluidRow(1);
    field("mCO2EditField")->setText("2");
    click(code_number(FluidType::gamma));
    QWidget* window = editor->window();
    window->show();
    const QString folder = QDir::current().filePath("renders");
    QDir().mkpath(folder);
    for (const auto& [row, file] : {std::pair{0, "fluid_model_alpha_beta.png"}, std::pair{1, "fluid_model_gamma.png"}}) {
        editor->selectFluidRow(row);
        editor->selectComponentRow(3);
        settle();
        EXPECT_TRUE(window->grab().toImage().save(folder + "/" + file));
        for (QLineEdit* f : window->findChildren<QLineEdit*>()) {
            if (f->isVisible() && !f->text().isEmpty()) {
                EXPECT_LE(f->fontMetrics().horizontalAdvance(f->text()), f->width() - 6)
                    << f->objectName().toStdString();
            }
        }
    }
}

}  // namespace
