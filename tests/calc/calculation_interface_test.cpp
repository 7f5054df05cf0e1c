// Calculation interface: the engine objects built for each fluid type and EOS code, and
// the loading of a fluid record with its unit conversions.
#include "calc/CalculationInterface.h"
#include "support/TestFluids.h"

#include "thermo/Montel.h"
#include "thermo/Oil1.h"
#include "thermo/Oil2.h"
#include "thermo/Peng.h"
#include "thermo/SRK.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <typeinfo>

namespace quorvel {
namespace {

using namespace test;

enum class Model { none, montel, peng, srk };

Model modelOf(const ClaCubic0* phase)
{
    if (!phase)
        return Model::none;
    if (dynamic_cast<const Montel*>(phase))
        return Model::montel;
    if (dynamic_cast<const Peng*>(phase))
        return Model::peng;
    if (dynamic_cast<const SRK*>(phase))
        return Model::srk;
    return Model::none;
}

TEST(CalculationInterfaceConstruction, EngineObjectsByFluidTypeAndEosCode)
{
    const struct Case {
        int fluidType, eos;
        Model model;
        bool alphaBeta;
    } cases[] = {
        {1, 0, Model::montel, true}, {1, 1, Model::montel, true}, {1, 7, Model::montel, true},
        {2, 0, Model::peng, false},  {2, 1, Model::srk, false},   {2, 2, Model::peng, false},
        {2, -1, Model::peng, false}, {4, 0, Model::peng, false},  {4, 1, Model::srk, false},
        {4, 9, Model::peng, false},  {3, 0, Model::none, false},  {0, 1, Model::none, false},
        {5, 0, Model::none, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("fluidType " + std::to_string(c.fluidType) + ", EOS " + std::to_string(c.eos));
        CalculationInterface ci(fluidTypeFromNumber(c.fluidType), static_cast<EquationOfState>(c.eos));
        EXPECT_EQ(ci.getFluidType(), fluidTypeFromNumber(c.fluidType));
        EXPECT_EQ(modelOf(ci.liquidModel()), c.model);
        EXPECT_EQ(modelOf(ci.vapourModel()), c.model);
        if (c.model == Model::none) {
            EXPECT_EQ(ci.engine(), nullptr);
            EXPECT_EQ(ci.liquidModel(), nullptr);
            EXPECT_EQ(ci.vapourModel(), nullptr);
            continue;
        }
        ASSERT_NE(ci.engine(), nullptr);
        EXPECT_EQ(dynamic_cast<Oil1*>(ci.engine()) != nullptr, c.alphaBeta);
        EXPECT_EQ(dynamic_cast<Oil2*>(ci.engine()) != nullptr, !c.alphaBeta);
        EXPECT_EQ(ci.liquidModel()->phase_type, phase_kind::liquid);
        EXPECT_EQ(ci.vapourModel()->phase_type, phase_kind::vapour);
        EXPECT_EQ(ci.engine()->liquidModel(), ci.liquidModel());
        EXPECT_EQ(ci.engine()->vapourModel(), ci.vapourModel());
        EXPECT_EQ(ci.getNumberOfComponents(), c.alphaBeta ? 17 : 0);
    }
}

TEST(CalculationInterfaceConstruction, FieldsStartAtTheirDocumentedValues)
{
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    EXPECT_EQ(ci.getBranch(), EnvelopeBranch::bubblePoint);
    EXPECT_FALSE(ci.isLowTemperatureStart());
    EXPECT_EQ(ci.getHomog(), Homogenisation::toLiquid);
    EXPECT_EQ(ci.getError(), equilibrium_failure::none);
    EXPECT_EQ(ci.getIsopleth(), nullptr);
    EXPECT_EQ(ci.getCurrentPhase(), nullptr);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(ci.getGOR()[k], 0);
        EXPECT_EQ(ci.getAPI()[k], 0);
    }
    for (double v : {ci.getAlpha(), ci.getBeta(), ci.getCO2(), ci.getN2(), ci.getH2S(), ci.getCH4(),
                     ci.getStockTankC7plus(), ci.getMwC7plus(), ci.getSGC7plus(), ci.getBulkDensity1(), ci.getStep(),
                     ci.getTh(), ci.getBulkVolume(), ci.getBulkMolarWeight(), ci.getBulkDensity0(), ci.getPh(),
                     ci.getTmin(), ci.getTmax(), ci.getPmax()})
        EXPECT_EQ(v, 0);
    EXPECT_FALSE(ci.isLoaded());  // a component fluid waits for its record
}

// Every datum reaches the phase models and the equilibrium object in their own units.
TEST(CalculationInterfaceLoading, UnitConversionsOnTheEngineFields)
{
    std::vector<ComponentData> fluid = nineComponentOil();
    for (int fluidType : {2, 4}) {
        for (int eos : {0, 1}) {
            SCOPED_TRACE("fluidType " + std::to_string(fluidType) + ", EOS " + std::to_string(eos));
            CalculationInterface ci(fluidTypeFromNumber(fluidType), static_cast<EquationOfState>(eos));
            ASSERT_TRUE(ci.setModelFluid(fluidTypeFromNumber(7), fluidRecord(fluidType, fluid)));
            const Oil& oil = *ci.engine();
            EXPECT_EQ(oil.modelFluidType(), fluidTypeFromNumber(7));
            ASSERT_EQ(ci.getNumberOfComponents(), 9);
            for (int i = 0; i < 9; ++i) {
                const ComponentData& c = fluid[i];
                for (const ClaCubic0* phase : {ci.liquidModel(), ci.vapourModel()}) {
                    EXPECT_DOUBLE_EQ(phase->criticalTemperature()[i], c.Tc + 273.15);
                    EXPECT_DOUBLE_EQ(phase->criticalPressure()[i], c.Pc * 1e5);
                    EXPECT_DOUBLE_EQ(phase->criticalVolume()[i], c.Vc * 1e-6);
                    EXPECT_DOUBLE_EQ(phase->acentricFactor()[i], c.omega);
                    EXPECT_DOUBLE_EQ(phase->molarWeight()[i], c.mw);
                    EXPECT_EQ(phase->slopeIsGiven()[i], 0);
                    EXPECT_EQ(phase->componentName()[i], c.name);
                }
                EXPECT_DOUBLE_EQ(oil.criticalTemperature()[i], c.Tc + 273.15);
                EXPECT_DOUBLE_EQ(oil.criticalPressure()[i], c.Pc * 1e5);
                EXPECT_DOUBLE_EQ(oil.criticalVolumeCm3()[i], c.Vc);
                EXPECT_DOUBLE_EQ(oil.acentricFactor()[i], c.omega);
                EXPECT_DOUBLE_EQ(oil.componentMolarWeight()[i], c.mw);
                EXPECT_DOUBLE_EQ(oil.specificGravity()[i], c.SG);
                EXPECT_EQ(oil.carbonNumber()[i], c.nc);
                EXPECT_EQ(code_number(oil.correlationCodes()[i]), c.corr);
                EXPECT_EQ(oil.componentName()[i], c.name);
                EXPECT_DOUBLE_EQ(oil.feedComposition()[i], c.mole * 0.01);
                EXPECT_DOUBLE_EQ(ci.getIsoplethComposition(i), c.mole * 0.01);
            }
        }
    }
}

TEST(CalculationInterfaceLoading, GivenSlopeReachesBothPhaseModelsAndTheParameters)
{
    std::vector<ComponentData> fluid = binary();
    FluidRecord record = fluidRecord(2, fluid);
    const double slope = 0.9;
    record.arrayValue("components").at(1).toDictionary().setValue("slope", slope);
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    ASSERT_TRUE(ci.setModelFluid(FluidType::componentList, record));
    const double T = 350;
    for (ClaCubic0* phase : {ci.liquidModel(), ci.vapourModel()}) {
        EXPECT_EQ(phase->slopeIsGiven()[0], 0);
        EXPECT_EQ(phase->slopeIsGiven()[1], 1);
        EXPECT_DOUBLE_EQ(phase->givenSlope()[1], slope);
        // The attraction term of decane follows the given slope, not the one from omega.
        phase->temperature(T);
        phase->calculate_parameters_of_pure_components();
        const double Tc = fluid[1].Tc + 273.15, Pc = fluid[1].Pc * 1e5;
        const double root = 1 + slope * (1 - std::sqrt(T / Tc));
        EXPECT_NEAR(phase->aIj()[1][1], 0.45724 * std::pow(textbook::R * Tc, 2) / Pc * root * root,
                    1e-9 * phase->aIj()[1][1]);
    }
}

TEST(CalculationInterfaceLoading, ComponentFluidThroughSetThermodynamicModelTakesModelType2)
{
    for (int fluidType : {2, 4}) {
        CalculationInterface ci(fluidTypeFromNumber(fluidType), EquationOfState::pengRobinson);
        ci.setThermodynamicModel(fluidRecord(fluidType, binary()));
        EXPECT_TRUE(ci.isLoaded());
        EXPECT_EQ(ci.engine()->modelFluidType(), FluidType::componentList);
        EXPECT_EQ(ci.getNumberOfComponents(), 2);
    }
}

TEST(CalculationInterfaceLoading, AlphaBetaRecordSetsTheFieldsAndTheModelFluid)
{
    CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
    const FluidRecord record{{"fluidType", 1}, {"alpha", 0.7}, {"beta", 0.1},
                             {"CO2", 0.02},    {"N2", 0.01},   {"H2S", 0.005}};
    ci.setThermodynamicModel(record);
    EXPECT_EQ(ci.getAlpha(), 0.7);
    EXPECT_EQ(ci.getBeta(), 0.1);
    EXPECT_EQ(ci.getCO2(), 0.02);
    EXPECT_EQ(ci.getN2(), 0.01);
    EXPECT_EQ(ci.getH2S(), 0.005);
    const auto& model = static_cast<const Oil1&>(*ci.engine());
    EXPECT_EQ(model.getAlpha(), 0.7);
    EXPECT_EQ(model.getBeta(), 0.1);
    EXPECT_EQ(model.co2Fraction(), 0.02);
    EXPECT_EQ(model.n2Fraction(), 0.01);
    EXPECT_EQ(model.h2sFraction(), 0.005);

    // finalize hands later setter values over.
    ci.setAlpha(0.5);
    ci.setCO2(0.03);
    ci.finalize();
    EXPECT_EQ(model.getAlpha(), 0.5);
    EXPECT_EQ(model.co2Fraction(), 0.03);

    // Values whose distribution has negative mole fractions load nothing.
    ci.setAlpha(-0.5);
    testing::internal::CaptureStderr();
    ci.finalize();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Fluid not loaded"), std::string::npos);
    EXPECT_FALSE(ci.isLoaded());
    EXPECT_EQ(model.getAlpha(), 0.5);
    ci.setAlpha(0.5);
    ci.finalize();
    EXPECT_TRUE(ci.isLoaded());
}

// The 17 model components written by the alpha-beta fluid generation.
std::vector<ComponentData> alphaBetaComponents(int count)
{
    const char* names[] = {"N2", "CO2", "H2S", "C1", "C2", "C3", "iC4", "nC4", "iC5",
                           "nC5", "C6", "C7", "C8", "C9", "C10", "Cn1", "Cn2"};
    std::vector<ComponentData> components;
    for (int i = 0; i < count; ++i)
        components.push_back({names[i % 17], i, 100.0 / count, 16.0 + 14 * i, 0.7, -80.0 + 40 * i, -160.0 + 30 * i,
                              45.0 - 2 * i, 100.0 + 50 * i, 0.01 + 0.05 * i, 0});
    return components;
}

TEST(CalculationInterfaceLoading, AlphaBetaComponentListNeedsItsSeventeenComponents)
{
    for (int count : {0, 16, 18}) {
        CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(ci.setModelFluid(FluidType::alphaBeta, fluidRecord(1, alphaBetaComponents(count))));
        EXPECT_NE(testing::internal::GetCapturedStderr().find("17 components"), std::string::npos) << count;
        EXPECT_EQ(ci.getNumberOfComponents(), 17);  // the model fluid is left as it was
        EXPECT_EQ(ci.calculateSaturation(20, SaturationKind::bubblePoint), kSaturationFailure);
    }
    CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
    FluidRecord record = fluidRecord(1, alphaBetaComponents(17));
    record.setValue("alpha", 0.6);
    record.setValue("CO2", 0.04);
    EXPECT_TRUE(ci.setModelFluid(FluidType::alphaBeta, record));
    const auto& model = static_cast<const Oil1&>(*ci.engine());
    EXPECT_EQ(model.getAlpha(), 0.6);   // from the record
    EXPECT_EQ(model.co2Fraction(), 0.04);
    EXPECT_EQ(ci.getAlpha(), 0.0);           // the interface's own fields stay
    EXPECT_DOUBLE_EQ(ci.getIsoplethComposition(3), 1.0 / 17);  // the record's mole percent
    // The equilibrium object's own data of the list, in its units.
    const std::vector<ComponentData> list = alphaBetaComponents(17);
    for (int i = 0; i < 17; ++i) {
        EXPECT_DOUBLE_EQ(ci.engine()->criticalVolumeCm3()[i], list[i].Vc);
        EXPECT_DOUBLE_EQ(ci.engine()->acentricFactor()[i], list[i].omega);
        EXPECT_DOUBLE_EQ(ci.engine()->componentMolarWeight()[i], list[i].mw);
        EXPECT_DOUBLE_EQ(ci.engine()->specificGravity()[i], list[i].SG);
        EXPECT_EQ(ci.engine()->carbonNumber()[i], list[i].nc);
    }
}

TEST(CalculationInterfaceLoading, ComponentWithoutCriticalDataIsRefusedByName)
{
    const struct Case {
        const char* what;
        const char* key;
        Value value;
    } cases[] = {
        {"zero critical pressure", "Pc", 0.0},
        {"negative critical pressure", "Pc", -3.0},
        {"absent critical pressure", "Pc", Value()},
        {"critical temperature at 0 K", "Tc", -273.15},
        {"absent critical temperature", "Tc", Value()},
        {"critical pressure not a number", "Pc", std::nan("")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
        ASSERT_TRUE(ci.setModelFluid(FluidType::componentList, fluidRecord(2, binary())));
        FluidRecord bad = fluidRecord(2, nineComponentOil());
        bad.arrayValue("components").at(4).toDictionary().setValue(c.key, c.value);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(ci.setModelFluid(FluidType::componentList, bad));
        EXPECT_NE(testing::internal::GetCapturedStderr().find("\"C3\""), std::string::npos);
        EXPECT_FALSE(ci.isLoaded());
        EXPECT_EQ(ci.getNumberOfComponents(), 2);  // nothing of the refused record written
        EXPECT_EQ(ci.calculateSaturation(20, SaturationKind::bubblePoint), kSaturationFailure);
    }
}

// After a record of another type, or without an engine, every calculation gives its
// failure value without reaching the engine.
TEST(CalculationInterfaceFailures, MismatchedTypeAndMissingEngineAnswerFailure)
{
    struct Setup {
        const char* what;
        int fluidType;
        FluidRecord record;
    };
    const Setup setups[] = {
        {"component fluid given an alpha-beta record", 2, FluidRecord{{"fluidType", 1}, {"alpha", 0.5}}},
        {"carbon-number fluid given a component record", 4, fluidRecord(2, binary())},
        {"alpha-beta fluid given a component record", 1, fluidRecord(2, binary())},
        {"gamma-model fluid", 3, fluidRecord(3, binary())},
        {"no fluid type", 0, fluidRecord(0, binary())},
    };
    for (const Setup& s : setups) {
        SCOPED_TRACE(s.what);
        CalculationInterface ci(fluidTypeFromNumber(s.fluidType), EquationOfState::pengRobinson);
        testing::internal::CaptureStderr();
        ci.setThermodynamicModel(s.record);
        const std::string message = testing::internal::GetCapturedStderr();
        if (s.fluidType == s.record.intValue("fluidType"))
            EXPECT_EQ(message, "");
        else
            EXPECT_EQ(message, "Error model fluid type");
        EXPECT_FALSE(ci.isLoaded());

        EXPECT_EQ(ci.calculateSaturation(20, SaturationKind::bubblePoint), kSaturationFailure);
        ci.setHomog(Homogenisation::toLiquid);
        ci.setBulkVolume(1e-4);
        EXPECT_TRUE(std::isnan(ci.calculateTrappingPressure(300)));
        FluidRecord liquid{{"name", "kept"}};
        EXPECT_EQ(ci.calculateFlash(300, 50, liquid, std::nullopt), FlashOutcome::failed);
        EXPECT_EQ(liquid.keys(), QStringList{"name"});
        EXPECT_FALSE(ci.calculateBulkDensity(300, 50, PhaseModel::liquid));
        EXPECT_FALSE(ci.calculateGOR());
        for (int k = 0; k < 4; ++k) {
            EXPECT_TRUE(std::isnan(ci.getGOR()[k]));
            EXPECT_TRUE(std::isnan(ci.getAPI()[k]));
        }
        EXPECT_TRUE(std::isnan(ci.getCH4()));
        EXPECT_TRUE(std::isnan(ci.getStockTankC7plus()));
        if (!ci.engine()) {
            EXPECT_EQ(ci.getNumberOfComponents(), 0);
            EXPECT_TRUE(std::isnan(ci.getLiquidVolume()));
            EXPECT_TRUE(std::isnan(ci.getIsoplethComposition(0)));
            EXPECT_TRUE(std::isnan(ci.getC7plus()));
        } else {
            EXPECT_TRUE(std::isnan(ci.engine()->bulkDensity()));
        }
    }
}

TEST(CalculationInterfaceFailures, EmptyComponentListLeavesTheFluidUnloaded)
{
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    EXPECT_FALSE(ci.setModelFluid(FluidType::componentList, FluidRecord{{"fluidType", 2}}));
    EXPECT_FALSE(ci.isLoaded());
    EXPECT_EQ(ci.calculateSaturation(20, SaturationKind::bubblePoint), kSaturationFailure);
}

TEST(CalculationInterfaceFailures, LoadedFluidGivenARecordOfAnotherTypeStopsAnswering)
{
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    ci.setThermodynamicModel(fluidRecord(2, binary()));
    ASSERT_NE(ci.calculateSaturation(100, SaturationKind::bubblePoint), kSaturationFailure);
    testing::internal::CaptureStderr();
    ci.setThermodynamicModel(fluidRecord(4, binary()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error model fluid type");
    EXPECT_EQ(ci.calculateSaturation(100, SaturationKind::bubblePoint), kSaturationFailure);
}

TEST(CalculationInterfaceLoading, SecondRecordReplacesTheFirst)
{
    CalculationInterface ci(FluidType::componentList, EquationOfState::srk);
    ASSERT_TRUE(ci.setModelFluid(FluidType::componentList, fluidRecord(2, nineComponentOil())));
    ASSERT_TRUE(ci.setModelFluid(FluidType::componentList, fluidRecord(2, binary())));
    EXPECT_EQ(ci.getNumberOfComponents(), 2);
    EXPECT_EQ(ci.liquidModel()->componentCount(), 2);
    EXPECT_EQ(ci.engine()->componentName()[1], "C10");
    EXPECT_DOUBLE_EQ(ci.getIsoplethComposition(1), 0.6);
}

} // namespace
} // namespace quorvel
