// The phase envelope of a fluid: its bubble-point (liquid) and dew-point (vapour) branches
// traced by predictor-corrector continuation, with the liquid-liquid-gas segment and the
// second dew segment that complete them.
#include "calc/CPhaseDiagram.h"
#include "calc/CalculationInterface.h"
#include "calc/FluidRecordKeys.h"
#include "calc/Units.h"

#include <QString>

#include <algorithm>

namespace quorvel {

using namespace units;

namespace {

constexpr double kIsoplethStepT = 10;        // K, predictor temperature increment
constexpr double kIsoplethStepP = 500000;    // Pa, predictor pressure increment
constexpr double kStepGrowth = 1.2;
constexpr double kSmallestIsoplethStep = 0.01;

constexpr double kLiquidBranchFloor = -80;       // degrees Celsius
constexpr double kLowTemperatureFloor = -101;    // degrees Celsius, every branch of a low start
// Dew branches of light fluids run on to ever lower temperatures and pressures.
constexpr double kVapourBranchFloor = -150;      // degrees Celsius
constexpr double kEnvelopeCeiling = 2000;        // bar
// A branch of more points than this has gone astray.
constexpr int kMaxBranchPoints = 2000;

constexpr double kLLGSearchPressure = 1500;      // bar
constexpr double kLLGSearchBelow = 50;           // K below the last liquid point
constexpr double kLLGHeatingStep = 5;            // K
constexpr double kLLGStepShrink = 0.66;
constexpr double kLLGSmallestHeatingStep = 0.01; // K
constexpr double kLLGHeatingRange = 600;         // K above the search start
constexpr int kLLGMaxHeatingSteps = 1000;
constexpr double kNoPhase = 1e-12;               // mol

std::shared_ptr<CIsopleth> makeIsopleth(const CalculationInterface& ci, Homogenisation homog)
{
    auto isopleth = std::make_shared<CIsopleth>();
    const int n = ci.getNumberOfComponents();
    std::vector<double> xref(n);
    for (int i = 0; i < n; ++i)
        xref[i] = ci.getIsoplethComposition(i);
    isopleth->setN(n);
    isopleth->setXref(std::move(xref));
    isopleth->setHomog(homog);
    return isopleth;
}

// Moves the point that closes both branches to the critical point found by the engine.
void placeCriticalPoint(CPhaseDiagram& diagram, double T, double P)
{
    for (const auto& branch : {diagram.liquidIsopleth(), diagram.vapourIsopleth()}) {
        if (!branch || branch->points().empty() || branch->points().back()->otherz() != branch->xref())
            return;
    }
    for (const auto& branch : {diagram.liquidIsopleth(), diagram.vapourIsopleth()}) {
        branch->points().back()->setT(T);
        branch->points().back()->setP(P);
    }
}

bool isFull(const CIsopleth& isopleth)
{
    return static_cast<int>(isopleth.points().size()) >= kMaxBranchPoints;
}

} // namespace

std::shared_ptr<CIsoplethPoint> CalculationInterface::isoplethPoint(double T, double P, bool liquidBranch) const
{
    auto point = std::make_shared<CIsoplethPoint>();
    point->setT(T);
    point->setP(P);
    point->setLiquidVolume(getLiquidVolume());
    point->setVapourVolume(getVapourVolume());
    point->setLiquidDensity(getLiquidDensity());
    point->setVapourDensity(getVapourDensity());
    const int n = getNumberOfComponents();
    std::vector<double> incipient(n);
    for (int i = 0; i < n; ++i)
        incipient[i] = liquidBranch ? getVapourComposition(i) : getLiquidComposition(i);
    point->setN(n);
    point->setOtherz(std::move(incipient));
    return point;
}

equilibrium_failure CalculationInterface::firstIsoplethPoint(double* T, double* P)
{
    if (!isEngineReady())
        return error = equilibrium_failure::solve_failed;
    finalize();
    if (branch == EnvelopeBranch::bubblePoint) {
        const Oil::FirstBubblePoint first = oil->firstLiquidIsoplethPoint(*T, *P);
        error = first.failure;
        lowTemperatureStart = first.lowTemperatureStart;
    } else {
        error = oil->firstGasIsoplethPoint(*T, *P);
    }
    step = 1;
    return error;
}

step_code CalculationInterface::nextIsoplethPoint(double* T, double* P)
{
    if (!isEngineReady())
        return step_code::failed;
    error = oil->stepAlongIsopleth(step, kIsoplethStepT, kIsoplethStepP);
    if (error != equilibrium_failure::none) {
        step *= 0.5;
        if (step < kSmallestIsoplethStep)
            return oil->checkLLG() ? step_code::liquid_liquid_gas : step_code::failed;
        oil->restore();
        return step_code::retry;
    }
    oil->save();
    *T = celsius(oil->currentTemperature());
    *P = oil->currentPressure() * kBarPerPascal;
    if (step < 1)
        step = std::min(1.0, step * kStepGrowth);

    const double floor = lowTemperatureStart                     ? kLowTemperatureFloor
                         : branch == EnvelopeBranch::bubblePoint ? kLiquidBranchFloor
                                                                 : kVapourBranchFloor;
    if (*T < floor || *P > kEnvelopeCeiling)
        return step_code::end_of_curve;
    return step_code::new_point;
}

equilibrium_failure CalculationInterface::heatUntilLiquid()
{
    const double Tstart = oil->currentTemperature();
    double Tlast = Tstart;
    double dT = kLLGHeatingStep;
    bool failed = false;
    for (int turn = 0; turn < kLLGMaxHeatingSteps && (failed || oil->vapourMoles() > kNoPhase); ++turn) {
        if (!failed && oil->liquidMoles() <= kNoPhase)
            return equilibrium_failure::solve_failed;  // all vapour: the liquids never meet again at this pressure
        if (Tlast + dT > Tstart + kLLGHeatingRange)
            return equilibrium_failure::solve_failed;
        failed = oil->solve(problem_type::fixed_T_and_P, Tlast + dT, kLLGSearchPressure, Oil::Start::from_estimates)
                 != equilibrium_failure::none;
        if (!failed) {
            oil->save();
            Tlast = oil->currentTemperature();
            continue;
        }
        dT *= kLLGStepShrink;
        oil->restore();
        if (dT < kLLGSmallestHeatingStep)
            break;
    }
    return oil->solve(problem_type::fixed_T_and_Fv, Tlast, kBubblePointVapourFraction, Oil::Start::from_estimates);
}

equilibrium_failure CalculationInterface::firstLLGIsoplethPoint(double startT, double* T, double* P)
{
    if (!isEngineReady())
        return error = equilibrium_failure::solve_failed;
    error = oil->solve(problem_type::fixed_T_and_P, startT + kCelsiusOffset, kLLGSearchPressure,
                       Oil::Start::new_curve);
    if (error == equilibrium_failure::none) {
        oil->save();
        error = heatUntilLiquid();
    }
    if (error != equilibrium_failure::none) {
        *T = *P = 0;
    } else {
        *T = celsius(oil->currentTemperature());
        *P = oil->currentPressure() * kBarPerPascal;
    }
    return error;
}

EnvelopeTrace CalculationInterface::calculateImmiscibilityLoop(const FluidRecord& record,
                                                               std::shared_ptr<CPhaseDiagram>* diagram)
{
    bool metLiquidLiquidGas = false;
    if (diagram)
        *diagram = nullptr;
    setThermodynamicModel(record);
    double T = 0, P = 0;

    // Liquid branch, and the liquid-liquid-gas segment it may run into.
    std::shared_ptr<CIsopleth> liquid;
    double T0 = 0, P0 = 0;
    std::vector<double> y0;
    setBranch(EnvelopeBranch::bubblePoint);
    if (firstIsoplethPoint(&T, &P) == equilibrium_failure::none) {
        // A first point found stands as the branch's first new point.
        step_code code = step_code::new_point;
        liquid = makeIsopleth(*this, Homogenisation::toLiquid);
        T0 = T;
        P0 = P;
        for (int i = 0; i < getNumberOfComponents(); ++i)
            y0.push_back(getVapourComposition(i));
        double Tllg = T;
        while (true) {
            if (code == step_code::new_point || code == step_code::end_of_curve) {
                liquid->points().push_back(isoplethPoint(T, P, true));
                Tllg = T;
                if (code == step_code::end_of_curve || isFull(*liquid))
                    break;
            }
            code = nextIsoplethPoint(&T, &P);
            if (code == step_code::failed)
                break;
            if (code == step_code::liquid_liquid_gas) {
                metLiquidLiquidGas = true;
                break;
            }
        }
        if (metLiquidLiquidGas) {
            code = firstLLGIsoplethPoint(Tllg - kLLGSearchBelow, &T, &P) == equilibrium_failure::none
                       ? step_code::new_point
                       : step_code::failed;
            bool first = true;
            const std::size_t cap = liquid->points().size() + kMaxBranchPoints;
            // A -3 here ends the segment: the engine state is not restored after it.
            while (code == step_code::new_point || code == step_code::end_of_curve
                   || (code == step_code::retry && !first)) {
                if (code != step_code::retry) {
                    auto point = isoplethPoint(T, P, true);
                    if (first)
                        point->setSkip(CIsoplethPoint::kBreak);
                    first = false;
                    liquid->points().push_back(std::move(point));
                    if (code == step_code::end_of_curve || liquid->points().size() >= cap)
                        break;
                }
                code = nextIsoplethPoint(&T, &P);
            }
        }
    }

    // Vapour branch.
    std::shared_ptr<CIsopleth> vapour;
    setBranch(EnvelopeBranch::dewPoint);
    EnvelopeEnd end = firstIsoplethPoint(&T, &P);
    if (end == EnvelopeEnd{equilibrium_failure::none}) {
        vapour = makeIsopleth(*this, Homogenisation::toVapour);
        step_code code = step_code::new_point;
        while (code == step_code::new_point || code == step_code::end_of_curve || code == step_code::retry) {
            if (code != step_code::retry) {
                vapour->points().push_back(isoplethPoint(T, P, false));
                if (code == step_code::end_of_curve || isFull(*vapour))
                    break;
            }
            code = nextIsoplethPoint(&T, &P);
        }
        end = code;
    }

    // A dew point the vapour branch missed starts a second dew segment.
    if (liquid && vapour) {
        const Oil::FurtherDewPoint further = oil->otherGasIsoplethPoint(Oil::DewSearch::notFound, T0, P0, y0.data());
        if (further.search == Oil::DewSearch::found && !vapour->testPointInclusion(further.T, further.P)) {
            auto separator = std::make_shared<CIsoplethPoint>();
            separator->setSkip(CIsoplethPoint::kBreak);
            separator->setN(getNumberOfComponents());
            vapour->points().push_back(std::move(separator));
            vapour->points().push_back(isoplethPoint(further.T, further.P, false));
            oil->startIsopleth(kDewPointVapourFraction);
            step = 1;
            const std::size_t cap = vapour->points().size() + kMaxBranchPoints;
            while (vapour->points().size() < cap) {
                const step_code code = nextIsoplethPoint(&T, &P);
                end = code;
                if (code == step_code::new_point)
                    vapour->points().push_back(isoplethPoint(T, P, false));
                else if (code != step_code::retry)
                    break;
            }
        }
    }

    if (!liquid && !vapour)
        return {end, metLiquidLiquidGas};
    const std::optional<CriticalState> critical = refineEnvelopeExtremes(liquid.get(), vapour.get());
    auto made = std::make_shared<CPhaseDiagram>();
    made->setThermoModel(record);
    made->setName(record.stringValue(fluidkey::name));
    for (const auto& isopleth : {liquid, vapour}) {
        if (!isopleth)
            continue;
        isopleth->setPhaseDiagram(made);
        isopleth->setName(made->name());
    }
    made->setLiquidIsopleth(liquid);
    made->setVapourIsopleth(vapour);
    calculateGOR();
    made->setGOR(GOR[0]);
    made->setAPI(API[0]);
    if (stockTankResults) {
        made->setMassVolLiq(stockTankResults->liquid_density_standing_katz);
        made->setLiqMolarWeight(stockTankResults->liquid_molar_weight);
    }
    made->setCH4(oil->getCH4() * 100);
    made->buildCriticalPoint();
    if (critical)
        placeCriticalPoint(*made, celsius(critical->T), critical->P * kBarPerPascal);
    if (diagram)
        *diagram = std::move(made);
    return {end, metLiquidLiquidGas};
}

} // namespace quorvel
