// The extremes of a traced envelope against the textbook Peng-Robinson solver: the
// cricondenbar and the cricondentherm where the textbook curve's slope vanishes, and the
// critical point where the textbook bubble and dew curves meet, all to 1e-6.
#include "calc/CPhaseDiagram.h"
#include "calc/CalculationInterface.h"

#include "support/TestFluids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace quorvel {
namespace {

using test::ComponentData;

constexpr double kKelvin = 273.15;

struct Fluid {
    const char* name;
    std::vector<ComponentData> components;
};

std::vector<Fluid> fluids()
{
    using namespace test;
    return {{"ternary", {withMole(kC1, 50), withMole(kC3, 30), withMole(kC6, 20)}},
            {"condensate",
             {withMole(kN2, 1), withMole(kCO2, 2), withMole(kC1, 60), withMole(kC2, 8), withMole(kC3, 5),
              withMole(knC4, 4), withMole(knC5, 3), withMole(kC6, 3), withMole(kC10, 14)}},
            {"oil", nineComponentOil()}};
}

// The ordinary points of a branch without the critical point that closes it.
std::vector<IsoplethPointPtr> branchPoints(const CIsopleth& branch)
{
    std::vector<IsoplethPointPtr> points;
    for (const auto& point : branch.points())
        if (point->isOrdinary() && point->otherz() != branch.xref())
            points.push_back(point);
    return points;
}

struct Extreme {
    IsoplethPointPtr point;
    bool bubble = true;
};

Extreme largest(const CPhaseDiagram& diagram, const std::function<double(const CIsoplethPoint&)>& key)
{
    Extreme top;
    for (const bool bubble : {true, false})
        for (const auto& point : branchPoints(bubble ? *diagram.liquidIsopleth() : *diagram.vapourIsopleth()))
            if (!top.point || key(*point) > key(*top.point))
                top = {point, bubble};
    return top;
}

// Where the slope of f vanishes in [a, b], by bisection on central differences of step h.
double flatPoint(double a, double b, double h, const std::function<double(double)>& f)
{
    const auto slope = [&](double x) { return f(x + h) - f(x - h); };
    double sa = slope(a);
    for (int i = 0; i < 200 && b - a > 1e-12 * std::fabs(b); ++i) {
        const double m = (a + b) / 2;
        const double sm = slope(m);
        if ((sm > 0) == (sa > 0))
            a = m, sa = sm;
        else
            b = m;
    }
    return (a + b) / 2;
}

void PrintTo(const Fluid& fluid, std::ostream* os) { *os << fluid.name; }

class EnvelopeExtremes : public ::testing::TestWithParam<Fluid> {
protected:
    void SetUp() override
    {
        diagram = test::componentEnvelope(components);
        ASSERT_TRUE(diagram);
    }
    const std::vector<ComponentData>& components = GetParam().components;
    PhaseDiagramPtr diagram;
    const textbook::PengRobinsonMixture reference = test::textbookMixture(components);
    const std::vector<double> z = test::moleFractions(components);
};

TEST_P(EnvelopeExtremes, CricondenbarWhereTheTextbookBranchIsFlat)
{
    const Extreme top = largest(*diagram, [](const CIsoplethPoint& p) { return p.P(); });
    const double T0 = top.point->T() + kKelvin;
    const auto pressure = [&](double T) {
        return reference.saturationPressureFrom(T, z, top.bubble, top.point->P() * 1e5, top.point->otherz())
            .value_or(std::nan(""));
    };
    const double T = flatPoint(T0 - 2, T0 + 2, 0.01, pressure);
    EXPECT_NEAR(top.point->T() + kKelvin, T, 1e-6 * T);
    EXPECT_NEAR(top.point->P() * 1e5, pressure(T), 1e-6 * pressure(T));
}

TEST_P(EnvelopeExtremes, CricondenthermWhereTheTextbookBranchIsFlat)
{
    const Extreme hottest = largest(*diagram, [](const CIsoplethPoint& p) { return p.T(); });
    const double P0 = hottest.point->P() * 1e5;
    const auto temperature = [&](double P) {
        return reference
            .saturationTemperatureFrom(P, z, hottest.bubble, hottest.point->T() + kKelvin, hottest.point->otherz())
            .value_or(std::nan(""));
    };
    const double P = flatPoint(P0 - 3e5, P0 + 3e5, 1e4, temperature);
    EXPECT_NEAR(hottest.point->P() * 1e5, P, 1e-6 * P);
    EXPECT_NEAR(hottest.point->T() + kKelvin, temperature(P), 1e-6 * temperature(P));
}

TEST_P(EnvelopeExtremes, CriticalPointWhereTheTextbookBranchesMeet)
{
    const auto& closing = diagram->liquidIsopleth()->points().back();
    ASSERT_EQ(closing->otherz(), diagram->liquidIsopleth()->xref());
    const auto liquid = branchPoints(*diagram->liquidIsopleth());
    const auto vapour = branchPoints(*diagram->vapourIsopleth());
    const double Tc = closing->T() + kKelvin;
    // Bubble points below, dew points above the critical temperature, each side followed from
    // its branch's last point, with the lightest component's ln K, incipient over feed,
    // through which T and P pass smoothly to the critical point at ln K = 0.
    int light = 0;
    for (std::size_t i = 0; i < components.size(); ++i)
        if (components[i].Tc < components[light].Tc && components[i].nc > 0)
            light = static_cast<int>(i);
    std::vector<double> lnK, T, P;
    for (const bool bubble : {true, false}) {
        const auto& last = bubble ? liquid.back() : vapour.back();
        double Pstart = last->P() * 1e5;
        std::vector<double> w = last->otherz();
        std::vector<double> offsets = bubble ? std::vector<double>{-1.0, -0.5} : std::vector<double>{1.0, 1.5};
        const double Tlast = last->T() + kKelvin;
        std::sort(offsets.begin(), offsets.end(),
                  [&](double a, double b) { return std::fabs(Tc + a - Tlast) < std::fabs(Tc + b - Tlast); });
        double from = Tlast - Tc;
        for (const double d : offsets) {
            // ln K is nearly proportional to the distance from the critical temperature.
            for (std::size_t i = 0; i < w.size(); ++i)
                w[i] = z[i] * std::exp(std::log(w[i] / z[i]) * d / from);
            std::vector<double> incipient;
            const auto p = reference.saturationPressureByNewton(Tc + d, z, bubble, Pstart, w, &incipient);
            ASSERT_TRUE(p) << d;
            lnK.push_back(std::log(incipient[light] / z[light]));
            ASSERT_EQ(lnK.back() > 0, bubble) << d;
            T.push_back(Tc + d);
            P.push_back(*p);
            Pstart = *p;
            w = incipient;
            from = d;
        }
    }
    double Tref = 0, Pref = 0;
    for (std::size_t i = 0; i < lnK.size(); ++i) {
        double weight = 1;
        for (std::size_t j = 0; j < lnK.size(); ++j)
            if (j != i)
                weight *= -lnK[j] / (lnK[i] - lnK[j]);
        Tref += weight * T[i];
        Pref += weight * P[i];
    }
    EXPECT_NEAR(Tc, Tref, 1e-6 * Tref);
    EXPECT_NEAR(closing->P() * 1e5, Pref, 1e-6 * Pref);
}

INSTANTIATE_TEST_SUITE_P(Fluids, EnvelopeExtremes, ::testing::ValuesIn(fluids()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvel
