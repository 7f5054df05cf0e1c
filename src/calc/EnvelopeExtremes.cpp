// The extremes of a traced envelope: the cricondenbar (dP/dT = 0) and the cricondentherm
// (dT/dP = 0), found between the walked points around them by a few saturation solves,
// and the critical point, where the incipient phase becomes the feed.
#include "calc/CPhaseDiagram.h"
#include "calc/CalculationInterface.h"
#include "calc/Units.h"

#include <array>
#include <cmath>
#include <optional>

namespace quorvel {

using namespace units;

namespace {

// A search ends when its interval or step is this small, relative to the variable.
constexpr double kExtremeTolerance = 1e-10;
constexpr int kMaxExtremeSolves = 40;
// Distances from the critical point, in multiples of a branch's last point's, of the points
// it is read on.
constexpr double kCriticalSampleDistances[] = {2, 3, 4};
// The residual the refining solves stop at: near the critical point the incipient phase's
// composition, on which the critical point is read, needs more than a traced point.
constexpr double kRefiningResidual = 1e-12;

// Solves of the equilibrium object at a residual of its own for the guard's life.
class ResidualGuard {
public:
    ResidualGuard(Oil& oil, double residual) : mOil(oil), mKept(oil.solveResidual())
    {
        mOil.setSolveResidual(residual);
    }
    ~ResidualGuard() { mOil.setSolveResidual(mKept); }
    ResidualGuard(const ResidualGuard&) = delete;
    ResidualGuard& operator=(const ResidualGuard&) = delete;

private:
    Oil& mOil;
    double mKept;
};

// Number of leading ordinary points of a branch: its first stretch.
std::size_t firstStretchSize(const CIsopleth& branch)
{
    std::size_t n = 0;
    for (const auto& point : branch.points()) {
        if (!point || !point->isOrdinary())
            break;
        ++n;
    }
    return n;
}

// The point of the first stretch with the largest key, when it has a walked point on
// either side.
template <typename Key>
std::optional<std::size_t> interiorMaximum(const CIsopleth& branch, Key key)
{
    const std::size_t n = firstStretchSize(branch);
    if (n < 3)
        return std::nullopt;
    std::size_t top = 0;
    for (std::size_t i = 1; i < n; ++i)
        if (key(*branch.points()[i]) > key(*branch.points()[top]))
            top = i;
    if (top == 0 || top + 1 == n)
        return std::nullopt;
    return top;
}

// The root of f between a and b, where f(a) = fa and f(b) = fb differ in sign, by the
// Illinois variant of regula falsi; nothing when an evaluation fails or the search does
// not close in. f is evaluated last at the root it returns.
template <typename F>
std::optional<double> bracketedRoot(double a, double fa, double b, double fb, F f)
{
    if (!(fa * fb < 0))
        return std::nullopt;
    int kept = 0;  // which end the last two steps kept
    double previous = a;
    for (int solve = 0; solve < kMaxExtremeSolves; ++solve) {
        const double c = (a * fb - b * fa) / (fb - fa);
        const std::optional<double> fc = f(c);
        if (!fc)
            return std::nullopt;
        if (*fc == 0 || std::fabs(c - previous) < kExtremeTolerance * std::fabs(c)
            || std::fabs(b - a) < kExtremeTolerance * std::fabs(c))
            return c;
        previous = c;
        if (*fc * fb > 0) {
            b = c, fb = *fc;
            if (kept == -1)
                fa /= 2;
            kept = -1;
        } else {
            a = c, fa = *fc;
            if (kept == 1)
                fb /= 2;
            kept = 1;
        }
    }
    return std::nullopt;
}

// Lagrange interpolation of the samples' values at 0.
double valueAtZero(const std::vector<double>& at, const std::vector<double>& values)
{
    double sum = 0;
    for (std::size_t i = 0; i < at.size(); ++i) {
        double weight = 1;
        for (std::size_t j = 0; j < at.size(); ++j)
            if (j != i)
                weight *= -at[j] / (at[i] - at[j]);
        sum += weight * values[i];
    }
    return sum;
}

}  // namespace

CalculationInterface::SaturationState CalculationInterface::stateOf(const CIsoplethPoint& point,
                                                                    bool liquidBranch) const
{
    return {point.T() + kCelsiusOffset, point.P() * kPascalPerBar, liquidBranch ? isoplethFeed : point.otherz(),
            liquidBranch ? point.otherz() : isoplethFeed};
}

CalculationInterface::SaturationState CalculationInterface::solvedState() const
{
    return {oil->currentTemperature(), oil->currentPressure(), oil->liquidComposition(), oil->vapourComposition()};
}

bool CalculationInterface::solveSaturation(const SaturationState& start, bool liquidBranch, bool fixedTemperature,
                                           double value)
{
    oil->takeStartState(start.T, start.P, start.x, start.y);
    const double saturation = liquidBranch ? kBubblePointVapourFraction : kDewPointVapourFraction;
    const equilibrium_failure outcome =
        fixedTemperature
            ? oil->solve(problem_type::fixed_T_and_Fv, value, saturation, Oil::Start::from_estimates)
            : oil->solve(problem_type::fixed_P_and_Fv, value / kPascalPerBar, saturation, Oil::Start::from_estimates);
    return outcome == equilibrium_failure::none;
}

// dP/dT (fixed temperature) or dT/dP (fixed pressure) along the branch at the saturation
// point of the given temperature (K) or pressure (Pa), solved from the nearest known state.
std::optional<double> CalculationInterface::branchSlopeAt(std::vector<SaturationState>& known, bool liquidBranch,
                                                          bool fixedTemperature, double value)
{
    const auto distance = [&](const SaturationState& s) { return std::fabs((fixedTemperature ? s.T : s.P) - value); };
    const SaturationState* nearest = &known.front();
    for (const SaturationState& s : known)
        if (distance(s) < distance(*nearest))
            nearest = &s;
    if (!solveSaturation(*nearest, liquidBranch, fixedTemperature, value))
        return std::nullopt;
    known.push_back(solvedState());
    const Quantity fixed = fixedTemperature ? Quenta::temperature_quantity : Quenta::pressure_quantity;
    std::vector<double> derivatives(oil->variableCount());
    if (!oil->calculate_derivatives(derivatives, fixed, Quenta::vapour_amount_quantity))
        return std::nullopt;
    return derivatives[fixedTemperature ? 1 : 0];
}

void CalculationInterface::refineBranchMaximum(CIsopleth& branch, bool liquidBranch, bool inPressure)
{
    const auto key = [inPressure](const CIsoplethPoint& p) { return inPressure ? p.P() : p.T(); };
    const std::optional<std::size_t> top = interiorMaximum(branch, key);
    if (!top)
        return;
    auto& points = branch.points();
    // The cricondenbar is solved in temperature, the cricondentherm in pressure.
    const bool fixedTemperature = inPressure;
    const auto variable = [&](const CIsoplethPoint& p) {
        return fixedTemperature ? p.T() + kCelsiusOffset : p.P() * kPascalPerBar;
    };
    std::vector<SaturationState> known;
    for (std::size_t i = *top - 1; i <= *top + 1; ++i)
        known.push_back(stateOf(*points[i], liquidBranch));
    const auto slope = [&](double value) { return branchSlopeAt(known, liquidBranch, fixedTemperature, value); };

    const double middle = variable(*points[*top]);
    const std::optional<double> atMiddle = slope(middle);
    if (!atMiddle)
        return;
    // The neighbour on the side where the slope changes sign brackets the extreme.
    for (const std::size_t neighbour : {*top - 1, *top + 1}) {
        const double end = variable(*points[neighbour]);
        const std::optional<double> atEnd = slope(end);
        if (!atEnd || !(*atEnd * *atMiddle < 0))
            continue;
        const std::optional<double> root = bracketedRoot(middle, *atMiddle, end, *atEnd, slope);
        if (!root)
            return;
        auto refined = isoplethPoint(celsius(oil->currentTemperature()), oil->currentPressure() * kBarPerPascal,
                                     liquidBranch);
        points.insert(points.begin() + static_cast<std::ptrdiff_t>(std::max(neighbour, *top)), std::move(refined));
        return;
    }
}

std::optional<CalculationInterface::CriticalState> CalculationInterface::refineCriticalPoint(CIsopleth& liquid,
                                                                                           CIsopleth& vapour)
{
    const int n = getNumberOfComponents();
    const std::vector<double>& z = isoplethFeed;
    // The ln K of the lightest component, incipient over feed: positive on the bubble side,
    // negative on the dew side, 0 at the critical point, where T and P are smooth in it.
    int light = -1;
    const std::vector<double>& Tc = liquidPhase->criticalTemperature();
    for (int i = 0; i < n; ++i)
        if (z[i] > 0 && (light < 0 || Tc[i] < Tc[light]))
            light = i;
    if (light < 0)
        return std::nullopt;
    const auto lnKOf = [&](const std::vector<double>& incipient) {
        return incipient[light] > 0 ? std::log(incipient[light] / z[light]) : 0.0;
    };

    struct Side {
        CIsopleth& branch;
        bool liquidBranch;
        std::vector<double> lnK, T, P;  // the samples the critical point is read on
    };
    std::array<Side, 2> sides{Side{liquid, true, {}, {}, {}}, Side{vapour, false, {}, {}, {}}};
    const auto wellPlaced = [](const Side& side, double lnK) { return side.liquidBranch ? lnK > 0 : lnK < 0; };
    const auto estimate = [&] {
        std::vector<double> lnK, T, P;
        for (const Side& side : sides) {
            lnK.insert(lnK.end(), side.lnK.begin(), side.lnK.end());
            T.insert(T.end(), side.T.begin(), side.T.end());
            P.insert(P.end(), side.P.begin(), side.P.end());
        }
        return CriticalState{valueAtZero(lnK, T), valueAtZero(lnK, P)};
    };

    // A first estimate from the last two walked points of each branch.
    for (Side& side : sides) {
        const auto& points = side.branch.points();
        if (points.size() < 2)
            return std::nullopt;
        for (std::size_t i = points.size() - 2; i < points.size(); ++i) {
            const CIsoplethPoint& p = *points[i];
            if (!p.isOrdinary() || static_cast<int>(p.otherz().size()) != n || !wellPlaced(side, lnKOf(p.otherz())))
                return std::nullopt;
            side.lnK.push_back(lnKOf(p.otherz()));
            side.T.push_back(p.T() + kCelsiusOffset);
            side.P.push_back(p.P() * kPascalPerBar);
        }
    }
    if (std::fabs(sides[0].T.back() - sides[1].T.back()) > CPhaseDiagram::kCriticalPointGap)
        return std::nullopt;
    const CriticalState first = estimate();

    // The branches end where the two phases are too much alike to be solved apart, and their
    // last points are solved no closer than a traced point needs. The critical point is read
    // again on points solved at two, three and four times the last point's distance from the
    // first estimate, started from the last point with its ln K and its pressure offset
    // stretched in proportion.
    for (Side& side : sides) {
        const SaturationState last = stateOf(*side.branch.points().back(), side.liquidBranch);
        const std::vector<double>& lastIncipient = side.liquidBranch ? last.y : last.x;
        side.lnK.clear(), side.T.clear(), side.P.clear();
        for (const double times : kCriticalSampleDistances) {
            SaturationState start = last;
            std::vector<double>& w = side.liquidBranch ? start.y : start.x;
            double sum = 0;
            for (int i = 0; i < n; ++i)
                sum += w[i] = z[i] > 0 ? z[i] * std::pow(lastIncipient[i] / z[i], times) : 0;
            for (double& wi : w)
                wi /= sum;
            start.P = first.P + times * (last.P - first.P);
            if (!solveSaturation(start, side.liquidBranch, true, first.T + times * (last.T - first.T)))
                return std::nullopt;
            const double lnK = lnKOf(side.liquidBranch ? oil->vapourComposition() : oil->liquidComposition());
            if (!wellPlaced(side, lnK))
                return std::nullopt;
            side.lnK.push_back(lnK);
            side.T.push_back(oil->currentTemperature());
            side.P.push_back(oil->currentPressure());
        }
    }
    const CriticalState critical = estimate();
    if (!std::isfinite(critical.T) || !std::isfinite(critical.P))
        return std::nullopt;
    return critical;
}

std::optional<CalculationInterface::CriticalState> CalculationInterface::refineEnvelopeExtremes(CIsopleth* liquid,
                                                                                              CIsopleth* vapour)
{
    const int n = getNumberOfComponents();
    isoplethFeed.assign(n, 0.0);
    for (int i = 0; i < n; ++i)
        isoplethFeed[i] = getIsoplethComposition(i);
    const ResidualGuard tight(*oil, kRefiningResidual);
    std::optional<CriticalState> critical;
    if (liquid && vapour)
        critical = refineCriticalPoint(*liquid, *vapour);
    for (const auto& [branch, liquidBranch] : {std::pair{liquid, true}, std::pair{vapour, false}}) {
        if (!branch)
            continue;
        refineBranchMaximum(*branch, liquidBranch, true);
        refineBranchMaximum(*branch, liquidBranch, false);
    }
    return critical;
}

}  // namespace quorvel
