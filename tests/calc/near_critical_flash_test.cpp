// Flashes of the nine-component gas condensate within 0.02 bar of its envelope on both
// sides of the critical point (about 451 K, 204 bar), against the textbook flash: the phases
// differ by about a hundredth there, and the vapour fraction swings from 0 to 1 over a
// tenth of a bar.
#include "support/TestFluids.h"
#include "support/TextbookFlash.h"

#include "calc/CalculationInterface.h"
#include "thermo/Oil.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

using test::nineComponentCondensate;

struct NearCriticalState {
    double T;  // K
    double P;  // bar
};

// 0.01 bar below the envelope, and 0.002 bar at the critical point (about 451 K): closer
// still, a difference of 1e-12 in ln f moves the vapour fraction by 1e-4.
constexpr NearCriticalState kStates[] = {
    {447, 207.0207},   {449, 205.4037},   {450, 204.5855},   {450.5, 204.1679}, {451, 203.7436},
    {451, 203.7516},   {451.2, 203.5740}, {451.5, 203.3205}, {452, 202.8947},   {454, 201.1487},
    {456, 199.3460},
};
constexpr double kEnvelopeDistance = 0.02;  // bar

TEST(NearCriticalFlash, VapourFractionAndPhasesAsTheTextbookFlash)
{
    const auto fluid = nineComponentCondensate();
    const auto species = test::textbookSpecies(fluid);
    const auto z = test::moleFractions(fluid);
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    ci.setModelFluid(FluidType::componentList, test::fluidRecord(2, fluid));
    ASSERT_TRUE(ci.isLoaded());
    const Oil& oil = *ci.engine();
    for (const NearCriticalState& s : kStates) {
        const auto reference = textbook::flash(species, s.T, s.P * 1e5, z);
        ASSERT_TRUE(reference) << s.T << " K, " << s.P << " bar";
        // One phase by both solvers a little further out: the state is next to the envelope.
        EXPECT_FALSE(textbook::flash(species, s.T, (s.P + kEnvelopeDistance) * 1e5, z)) << s.T << " K";

        EXPECT_EQ(ci.calculateFlash(s.T, s.P, std::nullopt, std::nullopt), FlashOutcome::twoPhases) << s.T << " K, " << s.P << " bar";
        EXPECT_NEAR(oil.molarGasFraction(), reference->beta, 1e-6) << s.T << " K, " << s.P << " bar";
        for (std::size_t i = 0; i < z.size(); ++i) {
            EXPECT_NEAR(oil.flashLiquidComposition()[i], reference->x[i], 1e-6) << s.T << " K, component " << i;
            EXPECT_NEAR(oil.flashVapourComposition()[i], reference->y[i], 1e-6) << s.T << " K, component " << i;
        }
        EXPECT_EQ(ci.calculateFlash(s.T, s.P + kEnvelopeDistance, std::nullopt, std::nullopt), FlashOutcome::onePhase) << s.T << " K";
    }
}

}  // namespace
}  // namespace quorvel
