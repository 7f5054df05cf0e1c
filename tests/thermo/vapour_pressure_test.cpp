#include "thermo/Antoine.h"
#include "thermo/Clapeyron.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace quorvel {
namespace {

constexpr double pa_per_mmhg = 101325.0 / 760.0;

TEST(Antoine, FollowsTheMillimetreOfMercuryFormulaAndInvertsIt)
{
    Antoine antoine;
    EXPECT_EQ(antoine.a, 0);
    antoine.set_constants(7, 1000, 200);
    for (const double T : {250.0, 300.0, 373.15, 450.0, 600.0}) {
        const double t = T - 273.15;
        const double expected = std::pow(10.0, 7 - 1000 / (200 + t)) * pa_per_mmhg;
        EXPECT_NEAR(antoine.Psat(T), expected, 1e-12 * expected) << T;
        EXPECT_NEAR(antoine.Tsat(expected), T, 1e-9) << T;
    }
    EXPECT_NEAR(antoine.Psat(373.15), std::pow(10.0, 7 - 1000.0 / 300) * pa_per_mmhg, 1e-9);
}

TEST(Antoine, ClampsKeepThePressurePositiveAndFinite)
{
    struct Case {
        double a, b, c, T;
        double expected;
    };
    const Case cases[] = {
        {7, 1000, 200, 50, 1e-20},                            // c + t < 0
        {7, 1000, 200, 73.15, std::exp(-100) * pa_per_mmhg},  // c + t = 0: exponent -inf, clamped
        {7, 1000, 200, 74.15, std::exp(-100) * pa_per_mmhg},  // 7 - 1000 (huge negative)
        {300, 1000, 200, 400, std::exp(500) * pa_per_mmhg},   // 10^296.8 clamped to e^500
    };
    for (const Case& c : cases) {
        Antoine antoine;
        antoine.set_constants(c.a, c.b, c.c);
        const double P = antoine.Psat(c.T);
        EXPECT_TRUE(std::isfinite(P));
        EXPECT_NEAR(P, c.expected, 1e-12 * c.expected) << c.T;
    }
}

TEST(Clapeyron, StraightLineOfLnPAgainstInverseTemperature)
{
    // Nitrogen: critical point and normal boiling point.
    Clapeyron clapeyron;
    EXPECT_EQ(clapeyron.t1, 0);
    clapeyron.set_constants(126.2, 3390000, 75, 101325);
    EXPECT_NEAR(clapeyron.Psat(126.2), 3390000, 1e-6);
    EXPECT_NEAR(clapeyron.Psat(75), 101325, 1e-8);
    EXPECT_NEAR(clapeyron.Tsat(3390000), 126.2, 1e-12);
    EXPECT_NEAR(clapeyron.Tsat(101325), 75, 1e-12);

    // ln P = A - B / T through both points.
    const double B = std::log(3390000.0 / 101325) / (1 / 75.0 - 1 / 126.2);
    const double A = std::log(101325.0) + B / 75;
    for (const double T : {60.0, 90.0, 110.0, 150.0}) {
        const double expected = std::exp(A - B / T);
        EXPECT_NEAR(clapeyron.Psat(T), expected, 1e-12 * expected) << T;
        EXPECT_NEAR(clapeyron.Tsat(expected), T, 1e-10) << T;
    }
}

TEST(PsatCorr, BaseAnswersZeroAndKindsAnswerThroughTheBase)
{
    PsatCorr none;
    EXPECT_EQ(none.Psat(300), 0);
    EXPECT_EQ(none.Tsat(1e5), 0);

    std::unique_ptr<PsatCorr> antoine = std::make_unique<Antoine>();
    static_cast<Antoine&>(*antoine).set_constants(7, 1000, 200);
    EXPECT_NEAR(antoine->Tsat(antoine->Psat(320)), 320, 1e-9);
    std::unique_ptr<PsatCorr> clapeyron = std::make_unique<Clapeyron>();
    static_cast<Clapeyron&>(*clapeyron).set_constants(304.21, 7382500, 185, 101325);
    EXPECT_NEAR(clapeyron->Psat(clapeyron->Tsat(5e5)), 5e5, 1e-6);
}

}  // namespace
}  // namespace quorvel
