// The isochores of an inclusion: the two-phase isochore traced from the homogenisation
// point down the envelope's inside, and the one-phase isochore beyond it.
#include "calc/CPhaseDiagram.h"
#include "calc/CalculationInterface.h"
#include "calc/FluidRecordKeys.h"
#include "calc/InclusionRecordKeys.h"
#include "calc/Units.h"
#include "thermo/PhaseStability.h"
#include "widgets/CLogWindow.h"
#include "widgets/StringFormat.h"

#include <QString>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace quorvel {

using namespace units;

namespace {

constexpr double kIsochorStepT = -5;       // K, first two-phase step: downwards from Th
constexpr double kIsochorRetryStepT = -1;  // K, ignored by the predictor once under way
constexpr double kStepGrowth = 1.2;
constexpr double kSmallestIsochorStep = 0.001;
constexpr double kSmallestRestoredStep = 0.1;
constexpr double kMonophasicStepT = 20;          // K, upwards
constexpr double kReversedMonophasicStepT = -5;  // K, downwards after a reversed two-phase isochore
constexpr double kNearCriticalBand = 2;          // degrees Celsius above the branch
constexpr double kTmaxAboveBranch = 150;         // K
constexpr double kPmaxAboveBranch = 500;         // bar
constexpr double kPmaxCeiling = 2000;            // bar
// An isochore of more points than this has gone astray (limits not-a-number, say).
constexpr int kMaxIsochorPoints = 1000;

struct Extent {
    double minT = 0;
    double maxT = 0;
    double maxP = 0;
};

// Extent of a branch's ordinary points; zero for a missing or empty branch.
Extent extentOf(const CIsopleth* isopleth)
{
    Extent extent;
    bool first = true;
    for (const auto& point : isopleth ? isopleth->points() : std::vector<IsoplethPointPtr>{}) {
        if (!point || !point->isOrdinary())
            continue;
        if (first)
            extent = {point->T(), point->T(), point->P()};
        first = false;
        extent.minT = std::min(extent.minT, point->T());
        extent.maxT = std::max(extent.maxT, point->T());
        extent.maxP = std::max(extent.maxP, point->P());
    }
    return extent;
}

// The ordinary point of highest temperature not above T, or null.
IsoplethPointPtr nearestPointBelow(const CIsopleth& isopleth, double T)
{
    IsoplethPointPtr nearest;
    for (const auto& point : isopleth.points())
        if (point && point->isOrdinary() && point->T() <= T && (!nearest || point->T() > nearest->T()))
            nearest = point;
    return nearest;
}

// Reference pressures (bar) beyond every crossing of a branch, to pick its highest or lowest.
constexpr double kAboveEveryCrossing = 1e9;
constexpr double kBelowEveryCrossing = 1e-9;
constexpr double kSameTh = 0.001;  // degrees Celsius

// The lowest and the highest dew pressure (bar) of the vapour branch at Th, when Th meets it
// more than once.
std::optional<std::pair<double, double>> dewPressuresAt(const CIsopleth& vapour, double Th)
{
    bool twoCrossings = false;
    const double upper = vapour.getPh(Th, Homogenisation::toVapour, kAboveEveryCrossing, nullptr, nullptr, twoCrossings);
    if (!twoCrossings)
        return std::nullopt;
    const double lower = vapour.getPh(Th, Homogenisation::toVapour, kBelowEveryCrossing, nullptr, nullptr, twoCrossings);
    return std::pair{lower, upper};
}

// Whether the diagram's fluid was made on this inclusion's alpha-beta curve, that is from
// its measured vapour fraction: the marker the fluid came from carries the inclusion.
bool fluidCameFromInclusion(const CPhaseDiagram& diagram, const InclusionRecord* inclusion, double Th)
{
    const FluidRecord& model = diagram.thermoModel();
    if (!inclusion || fluidTypeOf(model) != FluidType::alphaBeta
        || !model.contains(fluidkey::inclusion))
        return false;
    const Dictionary stored = model.dictionaryValue(fluidkey::inclusion);
    return stored.stringValue(inclusionkey::name) == inclusion->stringValue(inclusionkey::name)
           && std::fabs(stored.doubleValue(inclusionkey::Th) - Th) < kSameTh;
}

// Tells in the shared log window which of the dew points at Th the isochore starts on.
void reportDewPointChosen(double Th, const std::pair<double, double>& dew, double Ph, bool fromVapourFraction)
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    const bool lower = std::fabs(Ph - dew.first) < std::fabs(Ph - dew.second);
    log->appendText(formatString("\nTh = %.2lf°C meets the dew curve twice, at %.2lf and %.2lf bar: the isochor "
                                 "starts on the %s dew point (%.2lf bar)%s.\n",
                                 Th, dew.first, dew.second, lower ? "lower" : "upper", Ph,
                                 fromVapourFraction ? ", on which the vapour fraction of the inclusion was calculated"
                                                    : "")
                        .toUtf8()
                        .constData());
    log->showWindow();
}

QString isochorName(const CPhaseDiagram& diagram, const InclusionRecord* inclusion, double Th, Homogenisation homog)
{
    const QString fluid = diagram.thermoModel().stringValue(fluidkey::name);
    if (inclusion)
        return QStringLiteral("%1 : %2").arg(fluid, inclusion->stringValue(inclusionkey::name));
    return QStringLiteral("%1 : Th = %2°C (%3)")
        .arg(fluid, QString::asprintf("%.0f", Th),
             homog == Homogenisation::toLiquid ? QStringLiteral("L") : QStringLiteral("G"));
}

} // namespace

void CalculationInterface::calculateIsochorsLimits(const CIsopleth* liquid, const CIsopleth* vapour)
{
    const Extent l = extentOf(liquid);
    const Extent v = extentOf(vapour);
    Tmin = std::min(l.minT, v.minT);
    Tmax = std::max(l.maxT, v.maxT) + kTmaxAboveBranch + kCelsiusOffset;
    Pmax = std::min(std::max(l.maxP, v.maxP) + kPmaxAboveBranch, kPmaxCeiling);
}

bool CalculationInterface::setIsochorStart(IsoplethPointPtr first, IsoplethPointPtr second,
                                           bool& twoCrossings)
{
    if (!first || !second) {
        // Near the critical point or in a break of the branch: start from the nearest
        // point below, at the user's pressure above the branch.
        first = second = nearestPointBelow(*isopleth, Th);
        if (!first)
            return false;
        twoCrossings = Th > extentOf(isopleth).maxT;
    }
    const double span = second->T() - first->T();
    const double r = span != 0 ? (Th - first->T()) / span : 0;
    const int n = getNumberOfComponents();
    const std::vector<double>& xref = isopleth->xref();
    if (static_cast<int>(xref.size()) != n || static_cast<int>(first->otherz().size()) != n
        || static_cast<int>(second->otherz().size()) != n)
        return false;
    for (short i = 0; i < n; ++i) {
        const double incipient = first->otherz()[i] * (1 - r) + second->otherz()[i] * r;
        oil->composition(i, xref[i]);
        if (homogenisesToLiquid()) {
            oil->xcomposition(i, xref[i]);
            oil->ycomposition(i, incipient);
        } else {
            oil->ycomposition(i, xref[i]);
            oil->xcomposition(i, incipient);
        }
    }
    oil->pressure(first->P() * (1 - r) + second->P() * r);
    if (twoCrossings && !(Ph > 0))
        Ph = first->P();
    return true;
}

isochor_result CalculationInterface::firstIsochor2Point(double* T, double* P)
{
    step = 1;
    if (!isEngineReady() || !isopleth) {
        error = equilibrium_failure::solve_failed;
        return isochor_result::start_failed;
    }
    finalize();
    const Extent extent = extentOf(isopleth);
    IsoplethPointPtr first, second;
    bool twoCrossings = false;
    if (isopleth->getPh(Th, homog, Ph, &first, &second, twoCrossings) == 0) {
        if (Th < extent.minT)
            return isochor_result::below_envelope;
        if (Th >= extent.maxT + kNearCriticalBand)
            return isochor_result::above_envelope;
    }
    if (!setIsochorStart(first, second, twoCrossings)) {
        error = equilibrium_failure::solve_failed;
        return isochor_result::start_failed;
    }

    const double saturation = homogenisesToLiquid() ? kBubblePointVapourFraction : kDewPointVapourFraction;
    if (twoCrossings) {
        oil->temperature(Th + kCelsiusOffset);
        error = oil->solve(problem_type::fixed_P_and_Fv, Ph, saturation, Oil::Start::new_curve);
    } else {
        error = oil->solve(problem_type::fixed_T_and_Fv, Th + kCelsiusOffset, saturation, Oil::Start::new_curve);
    }
    if (error != equilibrium_failure::none)
        return isochor_result::start_failed;

    Ph = oil->currentPressure() * kBarPerPascal;
    oil->save();
    const FluidPhase& homogeneous = homogenisesToLiquid() ? *liquidPhase : *vapourPhase;
    bulkVolume = homogeneous.molarVolume();
    bulkMolarWeight = homogeneous.calculate_molar_weight();
    bulkDensity0 = bulkMolarWeight / (bulkVolume * 1e6);
    calculateBulkDensity(Th + kCelsiusOffset, Ph, homogeneousPhaseModel());
    bulkDensity1 = oil->bulkDensityStandingKatz();
    *T = celsius(oil->currentTemperature());
    *P = Ph;
    return isochor_result::started;
}

step_code CalculationInterface::nextIsochor2Point(double* T, double* P)
{
    oil->followIsochore(bulkVolume);
    std::optional<equilibrium_failure> outcome = oil->stepAlongIsochore(step, kIsochorStepT);
    const auto solveFailed = [&] { return outcome && *outcome != equilibrium_failure::none; };
    if (solveFailed()) {
        do {
            step *= 0.5;
            outcome = oil->stepAlongIsochore(step, kIsochorRetryStepT);
        } while (solveFailed() && step >= kSmallestIsochorStep);
    }
    error = outcome.value_or(equilibrium_failure::solve_failed);
    if (error != equilibrium_failure::none) {
        step *= 0.5;
        if (step >= kSmallestRestoredStep)
            oil->restore();
        return step_code::failed;
    }
    oil->save();
    *T = celsius(oil->currentTemperature());
    *P = oil->currentPressure() * kBarPerPascal;
    if (step < 1)
        step = std::min(1.0, step * kStepGrowth);
    if (*T < Tmin || *T + kCelsiusOffset > Tmax || *P > Pmax)
        return step_code::end_of_curve;
    return step_code::new_point;
}

void CalculationInterface::firstIsochor1Point(double* T, double* P)
{
    finalize();
    currentPhase = homogenisesToLiquid() ? liquidPhase.get() : vapourPhase.get();
    const std::vector<double>& xref = isopleth->xref();
    for (short i = 0; i < static_cast<short>(xref.size()); ++i)
        currentPhase->composition_of_component(i, xref[i]);
    currentPhase->volume(bulkVolume);
    currentPhase->temperature(Th + kCelsiusOffset);
    currentPhase->calculate_pressure();
    *T = celsius(currentPhase->temperatureK());
    *P = currentPhase->pressurePa() * kBarPerPascal;
    Ph = *P;
}

bool CalculationInterface::isOnePhaseAt(double T, double P)
{
    const std::vector<double>& z = isopleth->xref();
    PhaseStability stability(*liquidPhase, *vapourPhase);
    const bool stable = stability.test(z, T, P, PhaseStability::wilson_k_values(*liquidPhase, T, P));
    // The test leaves its trial compositions in both models: the isochore's fluid again.
    for (short i = 0; i < static_cast<short>(z.size()); ++i)
        currentPhase->composition_of_component(i, z[i]);
    currentPhase->volume(bulkVolume);
    currentPhase->temperature(T);
    return stable;
}

step_code CalculationInterface::nextIsochor1Point(double* T, double* P)
{
    const double dT = oil->isochoreReversed() ? kReversedMonophasicStepT : kMonophasicStepT;
    const double next = currentPhase->temperatureK() + dT;
    currentPhase->temperature(next);
    currentPhase->calculate_pressure();
    const double pressure = currentPhase->pressurePa();
    // No point at a pressure the inclusion cannot hold, nor where its fluid splits in two.
    if (!(pressure > 0) || !isOnePhaseAt(next, pressure))
        return step_code::failed;
    *T = celsius(next);
    *P = pressure * kBarPerPascal;
    if (*P > Pmax || next > Tmax || *T < Tmin)
        return step_code::end_of_curve;
    return step_code::new_point;
}

isochor_result CalculationInterface::calculateIsochors(const std::shared_ptr<CPhaseDiagram>& diagram,
                                            const InclusionRecord* inclusion, double ThC, double PhBar,
                                            Homogenisation homogType, std::shared_ptr<CIsochor>* monophasic,
                                            std::shared_ptr<CIsochor>* biphasic)
{
    if (!diagram)
        return isochor_result::no_branch;
    setThermodynamicModel(diagram->thermoModel());
    setTh(ThC);
    setPh(PhBar);
    setHomog(homogType);
    const IsoplethPtr& branchOfType = homogenisesToLiquid() ? diagram->liquidIsopleth() : diagram->vapourIsopleth();
    if (!branchOfType)
        return isochor_result::no_branch;
    setIsopleth(branchOfType.get());
    calculateIsochorsLimits(diagram->liquidIsopleth().get(), diagram->vapourIsopleth().get());

    // An inclusion whose fluid came from its vapour fraction homogenises on the dew point
    // that vapour fraction was calculated on: the one the ideal-mixture start gives.
    const bool fromVapourFraction = !homogenisesToLiquid() && fluidCameFromInclusion(*diagram, inclusion, ThC);
    if (fromVapourFraction
        && oil->solve(problem_type::fixed_T_and_Fv, ThC + kCelsiusOffset, kDewPointVapourFraction,
                      Oil::Start::from_ideal_mixture)
               == equilibrium_failure::none)
        setPh(oil->currentPressure() * kBarPerPascal);

    double T = 0, P = 0;
    if (const isochor_result start = firstIsochor2Point(&T, &P); start != isochor_result::started)
        return start;
    setPh(P);
    if (!homogenisesToLiquid())
        if (const auto dew = dewPressuresAt(*branchOfType, ThC))
            reportDewPointChosen(ThC, *dew, P, fromVapourFraction);

    const auto fill = [&](CIsochor& isochor, bool isBiphasic) {
        isochor.setTh(Th);
        isochor.setPh(Ph);
        isochor.setBulkVolume(bulkVolume);
        isochor.setBulkDensity0(oil->bulkDensity());
        isochor.setBulkDensity1(oil->bulkDensityStandingKatz());
        isochor.setBulkMolarWeight(oil->bulkMolarWeight());
        isochor.setHomog(homog);
        isochor.setPhaseDiagram(diagram);
        isochor.setGOR(diagram->GOR());
        isochor.setAPI(diagram->API());
        isochor.setCH4(diagram->CH4());
        isochor.setIsBiphasic(isBiphasic);
        isochor.setName(isochorName(*diagram, inclusion, Th, homog));
    };

    auto twoPhase = std::make_shared<CIsochor>();
    fill(*twoPhase, true);
    twoPhase->setMinT(Th);
    twoPhase->setMaxT(Th);
    twoPhase->setMinFv(0);
    twoPhase->setMaxFv(0);
    const int n = getNumberOfComponents();
    for (step_code status = step_code::new_point;;) {
        if (status == step_code::new_point || status == step_code::end_of_curve) {
            auto point = std::make_shared<CBiphasicIsochorPoint>();
            point->setT(T);
            point->setP(P);
            point->setFv(getBubbleVolumeFraction() * 100);
            point->setN(n);
            point->setOtherV(homogenisesToLiquid() ? getVapourVolume() : getLiquidVolume());
            std::vector<double> other(n);
            for (int i = 0; i < n; ++i)
                other[i] = homogenisesToLiquid() ? getVapourComposition(i) : getLiquidComposition(i);
            point->setOtherz(std::move(other));
            twoPhase->setMinT(std::min(twoPhase->minT(), T));
            twoPhase->setMaxT(std::max(twoPhase->maxT(), T));
            twoPhase->setMaxFv(std::max(twoPhase->maxFv(), point->Fv()));
            twoPhase->points().push_back(std::move(point));
            if (status == step_code::end_of_curve
                || static_cast<int>(twoPhase->points().size()) >= kMaxIsochorPoints)
                break;
        }
        status = nextIsochor2Point(&T, &P);
        if (status == step_code::failed)
            break;
    }
    diagram->biphasicIsochors().push_back(twoPhase);
    if (biphasic)
        *biphasic = twoPhase;

    // The one-phase isochore: the twin of the two-phase one at the same Th, Ph and densities.
    const double solvedPh = twoPhase->Ph();
    firstIsochor1Point(&T, &P);
    auto onePhase = std::make_shared<CIsochor>();
    fill(*onePhase, false);
    onePhase->setPh(solvedPh);
    onePhase->setBulkDensity0(twoPhase->bulkDensity0());
    onePhase->setBulkDensity1(twoPhase->bulkDensity1());
    onePhase->setBulkMolarWeight(twoPhase->bulkMolarWeight());
    onePhase->setSister(twoPhase);
    twoPhase->setSister(onePhase);
    for (step_code status = step_code::new_point; status != step_code::failed;) {
        auto point = std::make_shared<CIsochorPoint>();
        point->setT(T);
        point->setP(P);
        onePhase->points().push_back(std::move(point));
        if (status == step_code::end_of_curve || static_cast<int>(onePhase->points().size()) >= kMaxIsochorPoints)
            break;
        status = nextIsochor1Point(&T, &P);
    }
    diagram->monophasicIsochors().push_back(onePhase);
    if (monophasic)
        *monophasic = onePhase;
    return isochor_result::both_made;
}

} // namespace quorvel
