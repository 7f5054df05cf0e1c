// Isochores of inclusions homogenising next to the critical point of alpha-beta fluids: the
// two-phase part runs down from Th, the one-phase part rises from it, and a trapping line
// above Th reads the textbook Peng-Robinson pressure at the homogenised molar volume.
#include "calc/CIsochor.h"
#include "calc/CPhaseDiagram.h"
#include "calc/CalculationInterface.h"
#include "thermo/Oil1.h"
#include "widgets/CLogWindow.h"

#include "support/TextbookPengRobinson.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <map>

namespace quorvel {
namespace {

constexpr double kKelvin = 273.15;

FluidRecord alphaBetaRecord(double alpha, double beta)
{
    return FluidRecord{{"name", QString::asprintf("AB %.1f %.1f", alpha, beta)},
                       {"fluidType", code_number(FluidType::alphaBeta)},
                       {"alpha", alpha},
                       {"beta", beta},
                       {"CO2", 0.0},
                       {"N2", 0.0},
                       {"H2S", 0.0}};
}

// The envelope of each fluid, traced once for the whole program.
PhaseDiagramPtr envelopeOf(double alpha, double beta)
{
    static std::map<std::pair<double, double>, PhaseDiagramPtr> traced;
    PhaseDiagramPtr& diagram = traced[{alpha, beta}];
    if (!diagram) {
        CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
        ci.calculateImmiscibilityLoop(alphaBetaRecord(alpha, beta), &diagram);
    }
    return diagram;
}

// The loaded fluid's components and feed as the textbook mixture takes them.
struct Textbook {
    textbook::PengRobinsonMixture mixture;
    std::vector<double> z;
};

Textbook textbookOf(const CalculationInterface& ci)
{
    const ClaCubic0& model = *ci.liquidModel();
    std::vector<textbook::Species> species;
    std::vector<double> z;
    for (int i = 0; i < ci.getNumberOfComponents(); ++i) {
        species.push_back({model.componentName()[i], model.criticalTemperature()[i], model.criticalPressure()[i],
                           model.acentricFactor()[i], model.molarWeight()[i], model.criticalVolume()[i]});
        z.push_back(ci.getIsoplethComposition(i));
    }
    return {textbook::PengRobinsonMixture(std::move(species)), std::move(z)};
}

struct NearCritical {
    double alpha, beta, Th;
    Homogenisation homog;
};

void PrintTo(const NearCritical& c, std::ostream* os)
{
    *os << "alpha " << c.alpha << " beta " << c.beta << " Th " << c.Th << (c.homog == Homogenisation::toLiquid ? " to liquid" : " to vapour");
}

class NearCriticalIsochor : public ::testing::TestWithParam<NearCritical> {};

TEST_P(NearCriticalIsochor, RunsDownInTwoPhasesAndUpInOneWithTheTextbookTrappingPressure)
{
    const NearCritical c = GetParam();
    const PhaseDiagramPtr diagram = envelopeOf(c.alpha, c.beta);
    ASSERT_TRUE(diagram);
    CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
    IsochorPtr monophasic, biphasic;
    ASSERT_EQ(ci.calculateIsochors(diagram, nullptr, c.Th, 0, c.homog, &monophasic, &biphasic),
              isochor_result::both_made);
    EXPECT_FALSE(ci.engine()->isochoreReversed());

    // The inclusion splits in two on cooling: the two-phase part leaves Th downwards.
    ASSERT_GE(biphasic->points().size(), 2u);
    EXPECT_NEAR(biphasic->points()[0]->T(), c.Th, 1e-9);
    EXPECT_LT(biphasic->points()[1]->T(), c.Th);

    // The one-phase part rises from Th, in temperature and pressure.
    const auto& points = monophasic->points();
    ASSERT_GE(points.size(), 4u);
    EXPECT_NEAR(points.front()->T(), c.Th, 1e-9);
    for (std::size_t i = 1; i < points.size(); ++i) {
        EXPECT_NEAR(points[i]->T() - points[i - 1]->T(), 20, 1e-9) << i;
        EXPECT_GT(points[i]->P(), points[i - 1]->P()) << i;
    }

    const Textbook reference = textbookOf(ci);
    const double v = monophasic->bulkVolume();
    // The homogenised molar volume is the homogeneous fluid's at Th and Ph.
    EXPECT_NEAR(reference.mixture.pressure(c.Th + kKelvin, v, reference.z) / 1e5, monophasic->Ph(),
                1e-6 * monophasic->Ph());

    const double Ttrap = c.Th + 50;
    const double Ptextbook = reference.mixture.pressure(Ttrap + kKelvin, v, reference.z) / 1e5;
    auto line = std::make_shared<CTrappingLine>();
    ASSERT_TRUE(line->attachToIsochor(monophasic, Ttrap));
    // The line reads the isochore between points 20 K apart.
    EXPECT_NEAR(line->Ptrap(), Ptextbook, 2e-3 * Ptextbook);
    EXPECT_NEAR(monophasic->calculateTrappingPressure(Ttrap + kKelvin), Ptextbook, 1e-7 * Ptextbook);
}

INSTANTIATE_TEST_SUITE_P(Inclusions, NearCriticalIsochor,
                         ::testing::Values(NearCritical{0.5, 0.2, 60, Homogenisation::toLiquid},
                                           NearCritical{0.5, 0.2, 100, Homogenisation::toLiquid},
                                           NearCritical{0.5, 0.2, 105, Homogenisation::toLiquid},
                                           NearCritical{0.5, 0.2, 120, Homogenisation::toVapour},
                                           NearCritical{0.7, 0.1, 230, Homogenisation::toLiquid},
                                           NearCritical{0.9, 0.4, 370, Homogenisation::toLiquid},
                                           NearCritical{0.9, 0.4, 385, Homogenisation::toVapour}));

// The values an independent Peng-Robinson solver gives for alpha 0.5, beta 0.2 homogenising
// to liquid at 100 degrees Celsius.
TEST(NearCriticalIsochorValues, MatchThePublishedIndependentSolution)
{
    const PhaseDiagramPtr diagram = envelopeOf(0.5, 0.2);
    ASSERT_TRUE(diagram);
    CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
    IsochorPtr monophasic, biphasic;
    ASSERT_EQ(ci.calculateIsochors(diagram, nullptr, 100, 0, Homogenisation::toLiquid, &monophasic, &biphasic),
              isochor_result::both_made);
    EXPECT_NEAR(biphasic->Ph(), 202.1206, 1e-4);
    EXPECT_NEAR(monophasic->bulkVolume() * 1e6, 105.915, 1e-3);
    EXPECT_NEAR(monophasic->calculateTrappingPressure(150 + kKelvin), 300.640, 1e-3);
    EXPECT_NEAR(monophasic->calculateTrappingPressure(200 + kKelvin), 396.685, 1e-3);
}

// A vapour inclusion homogenising at 250 degrees Celsius meets the dew curve of alpha 0.7,
// beta 0.1 twice. The fluid made on its alpha-beta curve came from its vapour fraction,
// calculated on the lower dew point: its isochore starts there too. A typed Th starts on the
// upper one; the log says which, in both cases.
TEST(VapourInclusion, StartsOnTheDewPointItsVapourFractionWasCalculatedOn)
{
    constexpr double Th = 250;
    const InclusionRecord inclusion{{"name", "FI-V"}, {"Th", Th}, {"homog", "gas"}, {"Fv", 60.0}, {"Tv", 20.0}};
    FluidRecord record = alphaBetaRecord(0.7, 0.1);
    record.setValue("inclusion", inclusion);
    CalculationInterface envelope(FluidType::alphaBeta, EquationOfState::pengRobinson);
    PhaseDiagramPtr diagram;
    envelope.calculateImmiscibilityLoop(record, &diagram);
    ASSERT_TRUE(diagram);

    CalculationInterface fv(FluidType::alphaBeta, EquationOfState::pengRobinson);
    auto& model = dynamic_cast<Oil1&>(*fv.engine());
    model.setInclusionType(Homogenisation::toVapour);
    double Fv = 0, dewPressure = 0, P = 0;
    ASSERT_EQ(model.calculateFv(0.7, 0.1, 0, 0, 0, Th + kKelvin, 20 + kKelvin, Fv, dewPressure, P),
              equilibrium_failure::none);
    ASSERT_EQ(model.failureCode(), equilibrium_failure::none);
    EXPECT_NEAR(dewPressure / 1e5, 41.20, 0.005);

    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    const auto logFrom = [log](qsizetype start) { return log->text().plainText().mid(start); };
    struct Case {
        const InclusionRecord* inclusion;
        double expectedPh;
        const char* which;
    };
    for (const Case& c : {Case{&inclusion, dewPressure / 1e5, "lower"}, Case{nullptr, 88.18, "upper"}}) {
        const qsizetype start = log->text().plainText().size();
        CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
        IsochorPtr monophasic, biphasic;
        ASSERT_EQ(ci.calculateIsochors(diagram, c.inclusion, Th, 0, Homogenisation::toVapour, &monophasic, &biphasic),
                  isochor_result::both_made);
        EXPECT_NEAR(biphasic->Ph(), c.expectedPh, c.inclusion ? 1e-6 * c.expectedPh : 0.005) << c.which;
        const QString said = logFrom(start);
        EXPECT_TRUE(said.contains(QStringLiteral("starts on the %1 dew point").arg(QLatin1String(c.which))))
            << said.toStdString();
        EXPECT_EQ(said.contains(QStringLiteral("vapour fraction of the inclusion")), c.inclusion != nullptr);
    }
}

// Forced to walk downwards from Th into the envelope, the one-phase isochore ends at once
// instead of running on through two phases to negative pressures.
TEST(OnePhaseWalk, StopsWhereTheFluidIsNoLongerOnePhase)
{
    const PhaseDiagramPtr diagram = envelopeOf(0.5, 0.2);
    ASSERT_TRUE(diagram);
    CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
    ci.setThermodynamicModel(diagram->thermoModel());
    ci.setTh(100);
    ci.setPh(0);
    ci.setHomog(Homogenisation::toLiquid);
    ci.setIsopleth(diagram->liquidIsopleth().get());
    ci.calculateIsochorsLimits(diagram->liquidIsopleth().get(), diagram->vapourIsopleth().get());
    double T = 0, P = 0;
    ASSERT_EQ(ci.firstIsochor2Point(&T, &P), isochor_result::started);
    ci.firstIsochor1Point(&T, &P);
    const double Th = T, Ph = P;
    ci.engine()->setIsochoreReversed(true);
    EXPECT_EQ(ci.nextIsochor1Point(&T, &P), step_code::failed);
    EXPECT_EQ(T, Th);
    EXPECT_EQ(P, Ph);

    // Upwards it is one phase: the walk goes on from where it stood.
    ci.engine()->setIsochoreReversed(false);
    EXPECT_EQ(ci.nextIsochor1Point(&T, &P), step_code::new_point);
    EXPECT_NEAR(T, Th + 15, 1e-9);
    EXPECT_GT(P, Ph);
}

} // namespace
} // namespace quorvel
