// Isopleth and isochore predictor steps: curves walked the way the calculation interface
// walks them stay on the equilibrium surface, the derivatives of the converged solution
// match finite differences of neighbouring solves, and the step memory of one curve never
// reaches another.

#include "thermo/support/two_phase_mixture.h"
#include "support/ends_within.h"

#include "thermo/FluidPhase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace quorvel::test {
namespace {

const std::vector<FeedEntry> light_gas = {{C1, 0.40}, {C2, 0.15}, {C3, 0.15}, {iC4, 0.10}, {nC4, 0.20}};

struct CurvePoint {
    double T;           // K
    double P;           // Pa
    problem_type type;  // type of problem the point was solved with
    double slope;       // dP/dT of the prediction that led to it
};

// Every corrected point is an equilibrium point of the feed with the curve's vapour amount.
void expect_on_the_equilibrium_surface(const TwoPhaseMixture& m)
{
    EXPECT_LT(scaled_fugacity_difference(m), 1e-8);
    EXPECT_LT(material_balance_error(m), 1e-9);
    EXPECT_FALSE(m.equilibrium.is_it_the_trivial_solution());
}

// The isopleth loop of the calculation interface: predict, correct, save; on failure halve
// the step and go back to the last good point, ending below a step of 0.01.
std::vector<CurvePoint> walk_isopleth(TwoPhaseMixture& m, double vapour_fraction, int maximum_points)
{
    Quenta& e = m.equilibrium;
    std::vector<CurvePoint> points;
    e.save();
    e.startNewCurve();
    double step = 1;
    while (int(points.size()) < maximum_points) {
        e.set_initialization_flag(initialization::from_estimates);
        e.estimateNextIsoplethPoint(step, 10, 500000);
        const double slope = e.pathSlope();
        e.calculateVLE();
        if (e.failureCode() != equilibrium_failure::none) {
            step *= 0.5;
            if (step < 0.01)
                break;
            e.restore();
            continue;
        }
        e.save();
        step = std::min(1.0, step * 1.2);
        points.push_back({e.currentTemperature(), e.currentPressure(), e.typeOfProblem(), slope});
        EXPECT_NEAR(e.vapourMoles(), vapour_fraction, 1e-12);
        expect_on_the_equilibrium_surface(m);
    }
    return points;
}

// The two-phase isochore loop of the calculation interface, from a saved saturation point.
std::vector<CurvePoint> walk_isochore(TwoPhaseMixture& m, double volume, double first_step, int count)
{
    Quenta& e = m.equilibrium;
    std::vector<CurvePoint> points;
    double step = 1;
    for (int k = 0; k < count; ++k) {
        e.set_initialization_flag(initialization::from_estimates);
        e.set_type_of_problem(problem_type::fixed_T_and_v);
        e.set_the_volume(volume);
        e.estimateNextIsochorPoint(step, first_step);
        if (e.failureCode() != equilibrium_failure::none)
            break;
        e.calculateVLE();
        while (e.failureCode() != equilibrium_failure::none && step >= 0.001) {
            step *= 0.5;
            if (!e.estimateNextIsochorPoint(step, -1) || e.failureCode() != equilibrium_failure::none)
                break;
            e.calculateVLE();
        }
        if (e.failureCode() != equilibrium_failure::none)
            break;
        e.save();
        step = std::min(1.0, step * 1.2);
        points.push_back({e.currentTemperature(), e.currentPressure(), e.typeOfProblem(), e.pathSlope()});
    }
    return points;
}

// The bubble point at 300 K, saved as the start of an isochore of the liquid's volume.
double start_isochore_at_bubble_point(TwoPhaseMixture& m)
{
    Quenta& e = m.equilibrium;
    e.solveFromIdealMixture(problem_type::fixed_T_and_Fv, 300, 0);
    EXPECT_EQ(e.failureCode(), equilibrium_failure::none);
    e.save();
    e.startNewCurve();
    return e.liquidModel()->molarVolume();
}

TEST(IsoplethPredictor, DewCurveStaysOnTheSaturationCurveAndTurnsAtTheCricondentherm)
{
    TwoPhaseMixture m(light_gas);
    m.equilibrium.solveFromIdealMixture(problem_type::fixed_T_and_Fv, 250, 1);
    ASSERT_EQ(m.equilibrium.failureCode(), equilibrium_failure::none);

    const std::vector<CurvePoint> points = walk_isopleth(m, 1, 80);
    ASSERT_GE(points.size(), 15u);
    ASSERT_LT(points.size(), 80u) << "the walk must end near the critical point";

    for (std::size_t k = 1; k < points.size(); ++k)
        EXPECT_GT(points[k].P, points[k - 1].P) << "point " << k;

    // Temperature rises to the cricondentherm and falls after it; there dP/dT goes through
    // infinity (+ to -), which the predictor crosses in pressure steps.
    const auto hottest = std::max_element(points.begin(), points.end(),
                                          [](const CurvePoint& a, const CurvePoint& b) { return a.T < b.T; });
    const std::size_t top = std::size_t(hottest - points.begin());
    ASSERT_GT(top, 0u);
    ASSERT_LT(top + 1, points.size());
    for (std::size_t k = 1; k <= top; ++k)
        EXPECT_GT(points[k].T, points[k - 1].T) << "point " << k;
    for (std::size_t k = top + 1; k < points.size(); ++k)
        EXPECT_LT(points[k].T, points[k - 1].T) << "point " << k;
    EXPECT_EQ(points[top].type, problem_type::fixed_P_and_Fv);
    EXPECT_EQ(points[top + 1].type, problem_type::fixed_P_and_Fv);
    EXPECT_GT(points[top].slope, 1e5);
    EXPECT_LT(points[top + 1].slope, -1e5);
    // Pressure steps of 5 bar around the turn.
    EXPECT_NEAR(points[top + 1].P - points[top].P, 5e5, 1e-3);

    // Temperature steps of 10 K on the flat part at the start.
    EXPECT_EQ(points.front().type, problem_type::fixed_T_and_Fv);
    EXPECT_NEAR(points[1].T - points[0].T, 10, 1e-9);
}

TEST(IsoplethPredictor, DerivativesMatchNeighbouringSaturationPoints)
{
    TwoPhaseMixture m(light_gas);
    Quenta& e = m.equilibrium;
    const double T = 300;
    const double h = 0.01;
    std::vector<double> pressures;
    std::vector<std::vector<double>> liquids;
    for (double t : {T - h, T + h, T}) {
        e.solveFromIdealMixture(problem_type::fixed_T_and_Fv, t, 1);
        ASSERT_EQ(e.failureCode(), equilibrium_failure::none);
        pressures.push_back(e.currentPressure());
        liquids.push_back(e.liquidComposition());
    }
    std::vector<double> derivatives(e.variableCount());
    ASSERT_TRUE(e.calculate_derivatives(derivatives, Quenta::temperature_quantity,
                                        Quenta::vapour_amount_quantity));
    const double slope = (pressures[1] - pressures[0]) / (2 * h);
    EXPECT_NEAR(derivatives[0], 1, 1e-12);
    EXPECT_NEAR(derivatives[1], slope, 1e-5 * slope);
    EXPECT_NEAR(derivatives[3], 0, 1e-12);  // the vapour amount stays fixed
    for (int i = 0; i < m.size(); ++i) {
        const double dx = (liquids[1][i] - liquids[0][i]) / (2 * h);
        EXPECT_NEAR(derivatives[4 + i], dx, 1e-4 * std::fabs(dx) + 1e-9) << "component " << i;
    }
}

TEST(IsochorePredictor, TwoPhaseIsochoreKeepsItsVolumeAndMatchesItsDerivatives)
{
    TwoPhaseMixture m(light_gas);
    Quenta& e = m.equilibrium;
    const double volume = start_isochore_at_bubble_point(m);

    const std::vector<CurvePoint> points = walk_isochore(m, volume, -5, 12);
    ASSERT_EQ(points.size(), 12u);
    EXPECT_FALSE(e.isochoreReversed());
    double previous_T = 300;
    for (const CurvePoint& point : points) {
        EXPECT_NEAR(point.T, previous_T - 5, 1e-9);
        previous_T = point.T;
    }
    EXPECT_NEAR(e.currentVolume(), volume, 1e-10 * volume);
    expect_on_the_equilibrium_surface(m);
    EXPECT_GT(e.vapourMoles(), 0.01);

    // dP/dT along the isochore against two neighbouring solves at the same volume.
    std::vector<double> derivatives(e.variableCount());
    ASSERT_TRUE(e.calculate_derivatives(derivatives, Quenta::temperature_quantity,
                                        Quenta::molar_volume_quantity));
    const double slope_here = derivatives[1];
    const double T = e.currentTemperature();
    const double h = 0.01;
    double pressures[2];
    for (int k = 0; k < 2; ++k) {
        e.restore();
        e.set_type_of_problem(problem_type::fixed_T_and_v);
        e.set_the_temperature(T + (k == 0 ? -h : h));
        e.set_the_volume(volume);
        e.set_initialization_flag(initialization::from_current_state);
        e.calculateVLE();
        ASSERT_EQ(e.failureCode(), equilibrium_failure::none);
        pressures[k] = e.currentPressure();
    }
    const double slope = (pressures[1] - pressures[0]) / (2 * h);
    EXPECT_NEAR(slope_here, slope, 1e-5 * slope);
}

TEST(IsochorePredictor, StartLeavingTheTwoPhaseRegionIsReversedAndTheFlagStays)
{
    TwoPhaseMixture m(light_gas);
    Quenta& e = m.equilibrium;
    const double volume = start_isochore_at_bubble_point(m);

    // Heating the bubble-point liquid at constant volume leaves the two-phase region.
    const std::vector<CurvePoint> points = walk_isochore(m, volume, +5, 6);
    ASSERT_EQ(points.size(), 6u);
    EXPECT_TRUE(e.isochoreReversed());
    EXPECT_LT(points.front().T, 300);
    for (std::size_t k = 1; k < points.size(); ++k)
        EXPECT_LT(points[k].T, points[k - 1].T);

    // A new curve on the same object starts afresh.
    start_isochore_at_bubble_point(m);
    walk_isochore(m, volume, -5, 2);
    EXPECT_FALSE(e.isochoreReversed());
}

// The step memory belongs to one equilibrium object: two curves traced in turn give the
// same points as each traced alone.
TEST(Predictor, InterleavedCurvesDoNotShareTheirSteps)
{
    const auto first_steps = [](TwoPhaseMixture& m, double first_step, int count) {
        const double volume = m.equilibrium.liquidModel()->molarVolume();
        return walk_isochore(m, volume, first_step, count);
    };

    TwoPhaseMixture alone(light_gas);
    start_isochore_at_bubble_point(alone);
    const std::vector<CurvePoint> reference = first_steps(alone, +5, 4);
    ASSERT_EQ(reference.size(), 4u);

    TwoPhaseMixture a(light_gas);
    TwoPhaseMixture b({{C1, 0.3}, {C3, 0.4}, {nC4, 0.3}});
    start_isochore_at_bubble_point(a);
    start_isochore_at_bubble_point(b);
    const double volume_a = a.equilibrium.liquidModel()->molarVolume();
    const double volume_b = b.equilibrium.liquidModel()->molarVolume();
    std::vector<CurvePoint> interleaved;
    for (int k = 0; k < 4; ++k) {
        const auto point = walk_isochore(a, volume_a, +5, 1);
        ASSERT_EQ(point.size(), 1u);
        interleaved.push_back(point.front());
        ASSERT_EQ(walk_isochore(b, volume_b, -3, 1).size(), 1u);
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_DOUBLE_EQ(interleaved[k].T, reference[k].T) << "point " << k;
        EXPECT_DOUBLE_EQ(interleaved[k].P, reference[k].P) << "point " << k;
    }
    EXPECT_TRUE(a.equilibrium.isochoreReversed());
    EXPECT_FALSE(b.equilibrium.isochoreReversed());
}

// Fault mended: a step fraction that is not a finite number never ended the halving of the
// fraction, and a step that is not one made not-a-number start values. Both are refused
// at once, like a prediction that cannot be made.
TEST(Predictor, StepsThatAreNotFiniteNumbersAreRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        bool isochore;
        double factor, dT, dP;
    };
    const Case cases[] = {
        {"isopleth, fraction not a number", false, nan, 10, 5e5},
        {"isopleth, infinite fraction", false, infinity, 10, 5e5},
        {"isopleth, temperature step not a number", false, 1, nan, 5e5},
        {"isopleth, infinite pressure step", false, 1, 10, infinity},
        {"isochore, fraction not a number", true, nan, -5, 0},
        {"isochore, infinite fraction", true, infinity, -5, 0},
        {"isochore, temperature step not a number", true, 1, nan, 0},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(ends_within(60, [&c] {
            TwoPhaseMixture m(light_gas);
            Quenta& e = m.equilibrium;
            const double volume = start_isochore_at_bubble_point(m);
            const double estimated_P = e.estimatedPressure();
            const auto estimated_x = e.estimatedLiquidComposition();
            bool predicted = true;
            if (c.isochore) {
                e.set_type_of_problem(problem_type::fixed_T_and_v);
                e.set_the_volume(volume);
                predicted = e.estimateNextIsochorPoint(c.factor, c.dT);
            } else {
                predicted = e.estimateNextIsoplethPoint(c.factor, c.dT, c.dP);
            }
            const bool untouched =
                e.estimatedPressure() == estimated_P && e.estimatedLiquidComposition() == estimated_x;
            const bool refused =
                !predicted && e.failureCode() == equilibrium_failure::solve_failed && e.stepCounter() == 0;
            e.calculateVLE();
            return untouched && refused && e.failureCode() == equilibrium_failure::solve_failed;
        })) << c.name;
    }
}

// Fault mended: a singular derivative system used to leave the derivatives of an earlier
// point in place and predict from them. Now the prediction fails, the start values stay
// as they were, and the solve that follows reports the failure instead of converging
// from stale start values.
TEST(Predictor, SingularDerivativeSystemFailsThePrediction)
{
    TwoPhaseMixture m(light_gas);
    Quenta& e = m.equilibrium;
    e.solveFromIdealMixture(problem_type::fixed_T_and_Fv, 250, 0);
    ASSERT_EQ(e.failureCode(), equilibrium_failure::none);
    e.save();
    e.startNewCurve();
    e.set_initialization_flag(initialization::from_estimates);

    // Phase models without amounts: every material-balance row loses all but one entry.
    const auto empty_the_phases = [&] {
        e.liquidModel()->total_number_of_moles(0);
        e.vapourModel()->total_number_of_moles(0);
        e.liquidModel()->composition(std::vector<double>(e.liquidModel()->componentCount(), 0.0));
    };
    empty_the_phases();
    const double specified_T = e.specifiedTemperature();
    const double estimated_P = e.estimatedPressure();
    const auto estimated_y = e.estimatedVapourComposition();
    EXPECT_FALSE(e.estimateNextIsoplethPoint(1, 10, 500000));
    EXPECT_EQ(e.failureCode(), equilibrium_failure::solve_failed);
    EXPECT_EQ(e.specifiedTemperature(), specified_T);
    EXPECT_EQ(e.estimatedPressure(), estimated_P);
    EXPECT_EQ(e.estimatedVapourComposition(), estimated_y);

    const double T = e.currentTemperature();
    const double P = e.currentPressure();
    e.calculateVLE();
    EXPECT_EQ(e.failureCode(), equilibrium_failure::solve_failed);
    EXPECT_EQ(e.currentTemperature(), T);
    EXPECT_EQ(e.currentPressure(), P);

    // Back at the good point the same curve goes on.
    e.restore();
    EXPECT_TRUE(e.estimateNextIsoplethPoint(1, 10, 500000));
    e.calculateVLE();
    EXPECT_EQ(e.failureCode(), equilibrium_failure::none);
    EXPECT_NEAR(e.currentTemperature(), 260, 1e-9);

    // The isochore predictor likewise.
    const double volume = start_isochore_at_bubble_point(m);
    e.set_type_of_problem(problem_type::fixed_T_and_v);
    e.set_the_volume(volume);
    e.setSavedLiquidComposition(std::vector<double>(m.size(), 0.0));
    empty_the_phases();
    EXPECT_FALSE(e.estimateNextIsochorPoint(1, -5));
    EXPECT_EQ(e.failureCode(), equilibrium_failure::solve_failed);
    e.calculateVLE();
    EXPECT_EQ(e.failureCode(), equilibrium_failure::solve_failed);
}

}  // namespace
}  // namespace quorvel::test
