#include "thermo/Oil.h"

#include "thermo/FluidPhase.h"
#include "thermo/ClaCubic0.h"
#include "thermo/ICubic.h"
#include "thermo/StockTankCorrelations.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quorvel {

namespace {

// Flash retries walk up this ladder (bar) until a flash converges there and the
// requested flash converges from its compositions.
constexpr auto kFlashLadder = [] {
    std::array<double, 61> p{};
    int k = 0;
    for (double v : {1, 2, 4, 6, 10, 15, 20, 25, 30, 35, 40, 45, 50})
        p[k++] = v;
    for (int v = 60; v <= 400; v += 10)
        p[k++] = v;
    for (double v : {420, 440, 460, 480, 500})
        p[k++] = v;
    for (int v = 525; v <= 700; v += 25)
        p[k++] = v;
    return p;
}();

// Start pressures (bar) of the bubble-point search, from the highest down.
constexpr double kBubbleLadder[] = {1500, 1200, 1000, 900, 800, 700, 600, 500, 400, 300,
                                    250, 200, 150, 100, 40, 20, 10, 5, 1};

// Components that are not part of the C7+ fraction.
constexpr const char* kLightNames[] = {"C1", "CH4", "C2", "C3", "iC4", "nC4", "C4",
                                       "iC5", "nC5", "C5", "C6", "CO2", "H2S", "N2"};

constexpr double kLbFt3PerGcm3 = 3.048 * 3.048 * 3.048 / 0.4536;
constexpr double kCubicMetrePerCm3 = 1e-6;

// Upper pressure (bar) of the flash walk towards the bubble point at 523.15 K.
constexpr double kFlashWalkLimit = 1500;
// Widest temperature walk (K) of the dew-point search by flashes, its first and largest steps.
constexpr double kDewWalkLimit = 1000;
constexpr double kDewWalkFirstStep = 1;
constexpr double kDewWalkLargestStep = 32;
// Newton steps of the split from the stability trials, and the largest difference of
// ln f_i between the phases that ends them.
constexpr int kTrialSplitSteps = 60;
constexpr double kTrialSplitTolerance = 1e-13;
// Smallest sum |x_i - y_i| of a split that is not the feed itself.
constexpr double kTrivialSplit = 1e-7;
// Vapour fraction at which the walk hands over to the dew-point solve.
constexpr double kDewWalkVapourFraction = 0.98;

double ratio(double numerator, double denominator)
{
    return denominator != 0 && std::isfinite(denominator) ? numerator / denominator : kUnavailable;
}

} // namespace

static_assert(kFlashLadder[60] == 700);

Oil::Oil(FluidPhase& liquidModel, FluidPhase& vapourModel) : Quenta(liquidModel, vapourModel) {}

Oil::~Oil() = default;

void Oil::read_component_data(short, const char*) {}

void Oil::number_of_components(short n)
{
    Quenta::number_of_components(n);
    specific_gravity.assign(n, 0.0);
    carbon_number.assign(n, 0);
    correlation.assign(n, CorrelationCode::jianzhong0);
    critical_volume_cm3.assign(n, 0.0);
    acentric_factor.assign(n, 0.0);
    component_molar_weight.assign(n, 0.0);
    for (auto* v : {&homogenization_liquid_composition, &homogenization_vapour_composition,
                    &inclusion_liquid_composition, &inclusion_vapour_composition,
                    &saved_homogenization_liquid_composition, &saved_homogenization_vapour_composition,
                    &saved_inclusion_liquid_composition, &saved_inclusion_vapour_composition})
        v->assign(n, 0.0);
}

int Oil::methaneIndex() const { return -1; }

double Oil::getCH4() const
{
    const int methane = methaneIndex();
    return methane >= 0 ? feed_composition[methane] : 0;
}

void Oil::setCarbonIndex(int i, int speciesIdentifier) { carbon_number[i] = speciesIdentifier; }

void Oil::setModelFluidType(FluidType type) { model_fluid_type = type; }

bool Oil::isNamed(int i, std::initializer_list<const char*> names) const
{
    return std::any_of(names.begin(), names.end(),
                       [&](const char* name) { return component_name[i] == name; });
}

void Oil::setComponentConstants(short i, const ComponentConstants& c, ClaCubic0& liquidModel,
                                ClaCubic0& vapourModel)
{
    setCarbonIndex(i, c.carbon_number);
    for (ClaCubic0* phase : {&liquidModel, &vapourModel}) {
        phase->setCriticalTemperature(i, c.Tc);
        phase->setCriticalPressure(i, c.Pc);
        phase->setAcentricFactor(i, c.omega);
        if (c.slope) {
            phase->setGivenSlope(i, *c.slope);
        }
        phase->setMolarWeight(i, c.mw);
        phase->setCriticalVolume(i, c.Vc * kCubicMetrePerCm3);
    }
    critical_temperature[i] = c.Tc;
    critical_pressure[i] = c.Pc;
    acentric_factor[i] = c.omega;
    component_molar_weight[i] = c.mw;
    critical_volume_cm3[i] = c.Vc;
    specific_gravity[i] = c.SG;
    boiling_temperature[i] = c.Tb;
    correlation[i] = c.correlation;
}

void Oil::clearStockTankResults()
{
    stock_tank_state = StockTankState::None;
    gor.fill(kUnavailable);
    api.fill(kUnavailable);
    for (auto* range : {&gor_standing_katz_range, &api_standing_katz_range, &gor_alani_kennedy_range,
                        &api_alani_kennedy_range, &liquid_density_standing_katz_range,
                        &liquid_density_alani_kennedy_range})
        range->fill(kUnavailable);
    for (double* value : {&api_montel, &api_from_molar_weight, &liquid_molar_weight, &vapour_molar_weight,
                          &liquid_density, &translated_liquid_density, &vapour_density, &liquid_molar_volume,
                          &vapour_molar_volume, &liquid_density_standing_katz, &liquid_density_alani_kennedy,
                          &volumetric_gas_fraction, &volumetric_gas_fraction_standing_katz,
                          &volumetric_gas_fraction_alani_kennedy, &liquid_c7plus_fraction,
                          &liquid_c7plus_molar_weight, &liquid_c7plus_specific_gravity})
        *value = kUnavailable;
}

void Oil::clearBulkResults()
{
    bulk_molar_weight = bulk_density = kUnavailable;
    bulk_density_standing_katz = bulk_density_alani_kennedy = kUnavailable;
    bulk_density_standing_katz_range.fill(kUnavailable);
    bulk_density_alani_kennedy_range.fill(kUnavailable);
}

equilibrium_failure Oil::solve(problem_type problem, double first, double second, Start start)
{
    set_type_of_problem(problem);
    specify(first_quantity(problem), first);
    specify(second_quantity(problem), second);
    if (start == Start::new_curve)
        startNewCurve();
    set_initialization_flag(start == Start::from_ideal_mixture ? initialization::from_ideal_mixture
                                                               : initialization::from_estimates);
    calculateVLE();
    return failure_code;
}

void Oil::takeStartState(double T, double P, const std::vector<double>& x, const std::vector<double>& y)
{
    estimated_temperature = T;
    estimated_pressure = P;
    estimated_liquid_composition = x;
    estimated_vapour_composition = y;
}

equilibrium_failure Oil::stepAlongIsopleth(double factor, double dT, double dP)
{
    set_initialization_flag(initialization::from_estimates);
    // A failed prediction makes the solve fail without solving.
    (void)estimateNextIsoplethPoint(factor, dT, dP);
    calculateVLE();
    return failure_code;
}

void Oil::startIsopleth(double vapourFraction)
{
    startNewCurve();
    set_type_of_problem(problem_type::fixed_T_and_Fv);
    set_initialization_flag(initialization::from_estimates);
    set_the_vaporization_ratio(vapourFraction);
}

void Oil::followIsochore(double v)
{
    set_initialization_flag(initialization::from_estimates);
    set_type_of_problem(problem_type::fixed_T_and_v);
    set_the_volume(v);
}

std::optional<equilibrium_failure> Oil::stepAlongIsochore(double factor, double dT)
{
    if (!estimateNextIsochorPoint(factor, dT))
        return std::nullopt;
    calculateVLE();
    return failure_code;
}

void Oil::setFeed(const std::vector<double>& z)
{
    for (short i = 0; i < component_count; ++i)
        composition(i, z[i]);
}

// ---- Flash -----------------------------------------------------------------------------

void Oil::calculateFlash(double T, double P)
{
    // The tangent-plane test judges the feed first: stable is one phase at once, which spares
    // the equilibrium solve that can only fail there. Unstable is flashed from the
    // ideal-mixture start, the answers the flash always gave where it converges; where it
    // does not, from the trial phases, and the ladder is the last resort.
    const auto fromIdealMixture = [&] { return solveFromIdealMixture(problem_type::fixed_T_and_P, T, P); };
    switch (judgeStability(T, P)) {
    case Stability::stable:
        // Next to the critical point a trial may end just short of proving instability:
        // a split of lower Gibbs energy than the feed's settles it.
        if (!stability->marginal() || !flashFromStabilityTrial(T, P))
            reportOnePhase(T, P);
        break;
    case Stability::unstable:
        if (!twoPhaseFlash(fromIdealMixture) && !flashFromStabilityTrial(T, P))
            flashFromPressureLadder(T, P);
        break;
    case Stability::unknown:
        if (!twoPhaseFlash(fromIdealMixture))
            flashFromPressureLadder(T, P);
        break;
    }
    flashed_phases.reset();
    if (failure_code != equilibrium_failure::none) {
        clearFlashProperties();
        return;
    }
    recordFlashedPhases();

    const double Tk = current_temperature;
    const double Pbar = current_pressure * 1e-5;
    const double nL = liquid_moles;
    const double nV = vapour_moles;
    const double vV = vapour->molarVolume();

    liquid_density_standing_katz = calculateDensityStandingKatzMethod(
        flash_liquid_composition.data(), Tk, Pbar, liquid_density_standing_katz_range[0],
        liquid_density_standing_katz_range[1]);
    liquid_density_alani_kennedy = calculateDensityAlaniKennedyMethod(
        flash_liquid_composition.data(), Tk, Pbar, liquid_c7plus_molar_weight,
        liquid_c7plus_specific_gravity, liquid_density_alani_kennedy_range[0],
        liquid_density_alani_kennedy_range[1]);
    const double gasVolume = vapour_molar_volume * nV;  // cm3
    const auto gasFraction = [&](double density) {
        const double liquidVolume = ratio(liquid_molar_weight, density) * nL;
        return gasVolume / (gasVolume + liquidVolume);
    };
    volumetric_gas_fraction_standing_katz = gasFraction(liquid_density_standing_katz);
    volumetric_gas_fraction_alani_kennedy = gasFraction(liquid_density_alani_kennedy);

    flashed_phases = FlashedPhases{nL, nV, vV};
    oil_formation_volume_factor = gas_formation_volume_factor = kUnavailable;
}

Oil::FlashResult Oil::flash(double T, double P)
{
    calculateFlash(T, P);
    FlashResult result;
    result.failure = failure_code;
    if (!result.twoPhases())
        return result;
    result.liquid_composition = flash_liquid_composition;
    result.vapour_composition = flash_vapour_composition;
    result.molar_gas_fraction = molar_gas_fraction;
    result.mass_gas_fraction = mass_gas_fraction;
    result.volumetric_gas_fraction = {volumetric_gas_fraction, volumetric_gas_fraction_standing_katz,
                                      volumetric_gas_fraction_alani_kennedy};
    result.gas_compressibility_factor = gas_compressibility_factor;
    return result;
}

Oil::FormationVolumeFactors Oil::formationVolumeFactors()
{
    calculateFormationVolumeFactors();
    return {oil_formation_volume_factor, gas_formation_volume_factor};
}

void Oil::calculateFormationVolumeFactors()
{
    if (!flashed_phases) {
        oil_formation_volume_factor = gas_formation_volume_factor = kUnavailable;
        return;
    }
    const auto [nL, nV, vV] = *flashed_phases;
    const double reservoirLiquidVolume = ratio(liquid_molar_weight, liquid_density_standing_katz) * nL;  // cm3
    const double reservoirGasVolume = vV * nV;  // m3
    const std::vector<double> reservoirFeed = feed_composition;
    separateAtStockTank(reservoirLiquidVolume, reservoirGasVolume, nL, nV);
    // The stock-tank solves flashed the separated phases: give the fluid its feed back.
    setFeed(reservoirFeed);
    failure_code = equilibrium_failure::none;
}

void Oil::flashFromPressureLadder(double T, double P)
{
    for (double ladder : kFlashLadder) {
        if (!solveFromIdealMixture(problem_type::fixed_T_and_P, T, ladder))
            continue;
        estimated_liquid_composition = liquid_composition;
        estimated_vapour_composition = vapour_composition;
        set_the_pressure(P);
        set_initialization_flag(initialization::from_estimates);
        if (twoPhaseFlash([&] { calculateVLE(); return failure_code == equilibrium_failure::none; }))
            return;
    }
}

bool Oil::twoPhaseFlash(const std::function<bool()>& solve)
{
    if (!solve())
        return false;
    // A split with a negative phase amount lies outside the two-phase region.
    if (liquid_moles < 0 || vapour_moles < 0) {
        failure_code = equilibrium_failure::solve_failed;
        return false;
    }
    return true;
}

Oil::Stability Oil::judgeStability(double T, double P)
{
    auto* liquidModel = dynamic_cast<ClaCubic0*>(liquid);
    auto* vapourModel = dynamic_cast<ClaCubic0*>(vapour);
    if (!liquidModel || !vapourModel || liquid_liquid)
        return Stability::unknown;
    const double pressure = P * 1e5;
    if (!stability)
        stability = std::make_unique<PhaseStability>(*liquidModel, *vapourModel);
    const bool stable = stability->test(feed_composition, T, pressure,
                                        PhaseStability::wilson_k_values(*liquidModel, T, pressure));
    return stable ? Stability::stable : Stability::unstable;
}

void Oil::reportOnePhase(double T, double P)
{
    set_type_of_problem(problem_type::fixed_T_and_P);
    set_the_temperature(T);
    set_the_pressure(P);
    failure_code = equilibrium_failure::one_phase;
}

// The split of lowest Gibbs energy along the stability trials' K-values, carried to the
// equilibrium by Newton steps on the Gibbs energy, which stay sound next to the critical
// point where the full equilibrium solve loses its way.
bool Oil::flashFromStabilityTrial(double T, double P)
{
    stability->converge_trials();
    const PhaseStability::Split split = stability->newton_split(
        stability->lowest_gibbs_split(stability->two_phase_k_values()), kTrialSplitSteps, kTrialSplitTolerance);
    double distance = 0;
    for (short i = 0; split.found && i < component_count; ++i)
        distance += std::fabs(split.liquid[i] - split.vapour[i]);
    if (!split.found || distance < kTrivialSplit)
        return false;
    set_type_of_problem(problem_type::fixed_T_and_P);
    set_the_temperature(T);
    set_the_pressure(P);
    current_temperature = T;
    current_pressure = P * 1e5;
    liquid_composition = split.liquid;
    vapour_composition = split.vapour;
    vapour_moles = split.vapour_fraction * total_feed_moles;
    liquid_moles = total_feed_moles - vapour_moles;
    describe();
    failure_code = equilibrium_failure::none;
    return true;
}

void Oil::clearFlashProperties()
{
    liquid_density = vapour_density = 0;
    liquid_molar_volume = vapour_molar_volume = 0;
    liquid_density_standing_katz = liquid_density_alani_kennedy = 0;
    liquid_density_standing_katz_range = {0, 0};
    liquid_density_alani_kennedy_range = {0, 0};
    liquid_c7plus_fraction = liquid_c7plus_molar_weight = liquid_c7plus_specific_gravity = 0;
}

void Oil::recordFlashedPhases()
{
    flash_liquid_composition = liquid->moleFraction();
    flash_vapour_composition = vapour->moleFraction();
    characterizeC7plus(flash_liquid_composition.data());

    const double nL = liquid_moles;
    const double nV = vapour_moles;
    gas_compressibility_factor = vapour->molarVolume() * current_pressure / (gas_constant * current_temperature);
    liquid_molar_weight = 0;
    vapour_molar_weight = 0;
    for (short i = 0; i < component_count; ++i) {
        liquid_molar_weight += flash_liquid_composition[i] * liquid->molarWeight()[i];
        vapour_molar_weight += flash_vapour_composition[i] * vapour->molarWeight()[i];
    }
    molar_gas_fraction = nV / (nL + nV);
    mass_gas_fraction = vapour_molar_weight * nV / (vapour_molar_weight * nV + liquid_molar_weight * nL);
    liquid_molar_volume = liquid->molarVolume() * 1e6;
    vapour_molar_volume = vapour->molarVolume() * 1e6;
    liquid_density = liquid_molar_weight / liquid_molar_volume;
    vapour_density = vapour_molar_weight / vapour_molar_volume;
    volumetric_gas_fraction = vapour_molar_volume * nV
                              / (vapour_molar_volume * nV + liquid_molar_volume * nL);
}

// Bo: reservoir liquid volume over the volume of the stock-tank oil it gives; Bg:
// reservoir gas volume over the volume of the stock-tank gas it gives. Each separated
// phase is flashed on its own at stock-tank conditions.
void Oil::separateAtStockTank(double reservoirLiquidVolume, double reservoirGasVolume,
                              double reservoirLiquidMoles, double reservoirGasMoles)
{
    const std::vector<double> separatedGas = flash_vapour_composition;

    setFeed(flash_liquid_composition);
    if (stockTankFlash()) {
        double stockTankOilWeight = 0;
        for (short i = 0; i < component_count; ++i)
            stockTankOilWeight += liquid->moleFraction()[i] * liquid->molarWeight()[i];
        const double stockTankDensity = calculateDensityStandingKatzMethod(
            liquid->moleFraction().data(), kStockTankTemperature, kStockTankPressure);
        const double stockTankOilVolume =
            ratio(stockTankOilWeight, stockTankDensity) * liquid_moles * reservoirLiquidMoles;
        oil_formation_volume_factor = ratio(reservoirLiquidVolume, stockTankOilVolume);
    } else {
        oil_formation_volume_factor = kUnavailable;
    }

    setFeed(separatedGas);
    double stockTankGasVolume = 0;  // m3 per mole of separated gas
    if (stockTankFlash()) {
        stockTankGasVolume = vapour_moles * vapour->molarVolume();
    } else {
        vapour->composition(separatedGas);
        vapour->temperature(kStockTankTemperature);
        vapour->pressure(kStockTankPressure);
        vapour->calculate_molar_volume();
        stockTankGasVolume = vapour->molarVolume();
    }
    gas_formation_volume_factor = ratio(reservoirGasVolume, stockTankGasVolume * reservoirGasMoles);
}

// ---- Bubble point and first envelope points ----------------------------------------------

void Oil::calculateBubblePressure(double T)
{
    set_initialization_flag(initialization::from_ideal_mixture);
    set_type_of_problem(problem_type::fixed_T_and_Fv);
    set_the_temperature(T);
    set_the_vaporization_ratio(0);
    IdealMixture::calculateVLE();
    const std::vector<double> idealLiquid = liquid_composition;
    const std::vector<double> idealVapour = vapour_composition;
    set_initialization_flag(initialization::from_estimates);
    for (double ladder : kBubbleLadder) {
        estimated_pressure = ladder * 1e5;
        estimated_liquid_composition = idealLiquid;
        estimated_vapour_composition = idealVapour;
        calculateVLE();
        if (failure_code == equilibrium_failure::none)
            return;
    }
}

Oil::FirstBubblePoint Oil::firstLiquidIsoplethPoint(double& T, double& P)
{
    bool lowTemperatureStart = false;
    step_counter = 0;
    const auto bubble = [this](double Tk) {
        return solveFromIdealMixture(problem_type::fixed_T_and_Fv, Tk, 0);
    };
    constexpr double kLowPressure = 2e6;  // Pa

    if (bubble(273.15)) {
        if (current_pressure > kLowPressure) {
            if (bubble(224.15)) {
                if (current_pressure > kLowPressure && !bubble(200.15))
                    bubble(224.15);
            } else {
                bubble(273.15);
            }
        }
    } else if (bubble(224.15)) {
        lowTemperatureStart = true;
        if (current_pressure > kLowPressure && !bubble(194.15))
            bubble(224.15);
    } else {
        bool found = false;
        for (int step = 0; step <= 10 && !found; ++step)
            found = bubble(373.15 + 10 * step);
        if (!found) {
            lowTemperatureStart = true;
            if (!bubble(194.15))
                bubblePointFromFlashSearch();
        }
    }

    if (failure_code == equilibrium_failure::none) {
        save();
        T = current_temperature - 273.15;
        P = current_pressure * 1e-5;
    } else {
        T = P = 0;
    }
    return {failure_code, lowTemperatureStart};
}

// Walks flashes at 523.15 K up in pressure until the liquid takes nearly all the feed,
// then solves the bubble point from there; falls back to the pressure ladder at 373.15 K.
void Oil::bubblePointFromFlashSearch()
{
    constexpr double T = 523.15;
    double P = 100;
    bool converged = solveFromIdealMixture(problem_type::fixed_T_and_P, T, P);
    while (converged && liquid_moles < 0.99 && P < kFlashWalkLimit) {
        P += 1;
        estimated_liquid_composition = liquid_composition;
        estimated_vapour_composition = vapour_composition;
        set_the_pressure(P);
        set_initialization_flag(initialization::from_estimates);
        calculateVLE();
        converged = failure_code == equilibrium_failure::none;
    }
    if (converged) {
        estimated_pressure = current_pressure;
        estimated_liquid_composition = liquid_composition;
        estimated_vapour_composition = vapour_composition;
        set_type_of_problem(problem_type::fixed_T_and_Fv);
        set_the_temperature(T);
        set_the_vaporization_ratio(0);
        set_initialization_flag(initialization::from_estimates);
        calculateVLE();
    }
    if (failure_code != equilibrium_failure::none)
        calculateBubblePressure(373.15);
}

equilibrium_failure Oil::firstGasIsoplethPoint(double& T, double& P)
{
    step_counter = 0;
    const auto dew = [this](double Tk) {
        return solveFromIdealMixture(problem_type::fixed_T_and_Fv, Tk, 1);
    };
    constexpr double kLowPressure = 10000;  // Pa

    if (dew(373.15)) {
        if (current_pressure > kLowPressure && !dew(273.15))
            dew(373.15);
    } else {
        for (double Tk : {273.15, 323.15, 223.15, 173.15})
            if (dew(Tk))
                break;
    }

    if (failure_code == equilibrium_failure::none) {
        save();
        T = current_temperature - 273.15;
        P = current_pressure * 1e-5;
    } else {
        T = P = 0;
    }
    return failure_code;
}

Oil::FurtherDewPoint Oil::otherGasIsoplethPoint(DewSearch asked, double T, double P, const double* y)
{
    if (asked == DewSearch::skipped)
        return {DewSearch::skipped};
    searchGasIsoplethByFlash(T + 273.15, P * 1e5, y);
    if (failure_code != equilibrium_failure::none)
        return {DewSearch::notFound};
    save();
    return {DewSearch::found, current_temperature - 273.15, current_pressure * 1e-5};
}

void Oil::searchGasIsoplethByFlash(double T, double P, const double* y)
{
    set_initialization_flag(initialization::from_estimates);
    set_type_of_problem(problem_type::fixed_T_and_P);
    set_the_temperature(T);
    set_the_pressure(P * 1e-5);
    failure_code = equilibrium_failure::none;
    estimated_liquid_composition = feed_composition;
    estimated_vapour_composition.assign(y, y + component_count);
    calculateVLE();
    set_initialization_flag(initialization::from_estimates);

    // Heat at the fixed pressure until the vapour takes nearly all the feed, in steps that
    // double while the flashes converge; a flash that fails is taken back and retried with
    // half the step, down to the first step.
    double Tlast = T;
    double dT = kDewWalkFirstStep;
    while (failure_code == equilibrium_failure::none && std::fabs(vapour_moles) <= kDewWalkVapourFraction
           && Tlast + dT <= T + kDewWalkLimit) {
        const std::vector<double> x = liquid_composition;
        const std::vector<double> yLast = vapour_composition;
        estimated_liquid_composition = x;
        estimated_vapour_composition = yLast;
        set_the_temperature(Tlast + dT);
        calculateVLE();
        if (failure_code == equilibrium_failure::none) {
            Tlast += dT;
            dT = std::min(2 * dT, kDewWalkLargestStep);
        } else if (dT > kDewWalkFirstStep) {
            dT = std::max(dT / 4, kDewWalkFirstStep);
            set_the_temperature(Tlast);
            estimated_liquid_composition = x;
            estimated_vapour_composition = yLast;
            calculateVLE();
        }
    }
    set_type_of_problem(problem_type::fixed_P_and_Fv);
    set_the_vaporization_ratio(1);
    calculateVLE();
}

void Oil::firstLiquidLiquidIsoplethPoint(double T, double P, const double* x, const double* y)
{
    estimated_liquid_composition.assign(x, x + component_count);
    estimated_vapour_composition.assign(y, y + component_count);
    saved_liquid_composition = estimated_liquid_composition;
    saved_vapour_composition = estimated_vapour_composition;
    estimated_temperature = saved_temperature = T;
    estimated_pressure = saved_pressure = P;
    set_type_of_problem(problem_type::fixed_T_and_P);
    set_the_temperature(T);
    set_the_pressure(P * 1e-5);
    calculateVLE();
}

bool Oil::checkLLG() const
{
    const int methane = methaneIndex();
    if (methane < 0)
        return false;
    return std::fabs(liquid->moleFraction()[methane] - vapour->moleFraction()[methane]) >= 0.03;
}

// ---- Stock-tank properties -----------------------------------------------------------------

double Oil::calculateBulkMw() const
{
    double m = 0;
    for (short i = 0; i < component_count; ++i)
        m += feed_composition[i] * liquid->molarWeight()[i];
    return m;
}

void Oil::characterizeC7plus(const double* z)
{
    double f = 0, m = 0, s = 0;
    for (short i = 0; i < component_count; ++i) {
        if (std::any_of(std::begin(kLightNames), std::end(kLightNames),
                        [&](const char* name) { return component_name[i] == name; }))
            continue;
        f += z[i];
        m += z[i] * liquid->molarWeight()[i];
        s += z[i] * specific_gravity[i];
    }
    const double weight = f > 0 ? m / f : 0;
    const double gravity = f > 0 ? s / f : 0;
    if (z == feed_composition.data()) {
        feed_c7plus_fraction = f;
        feed_c7plus_molar_weight = weight;
        feed_c7plus_specific_gravity = gravity;
    } else {
        liquid_c7plus_fraction = f;
        liquid_c7plus_molar_weight = weight;
        liquid_c7plus_specific_gravity = gravity;
    }
}

bool Oil::stockTankFlash()
{
    return solveFromIdealMixture(problem_type::fixed_T_and_P, kStockTankTemperature, kStockTankPressure);
}

void Oil::calculateGOR(double)
{
    bulk_molar_weight = calculateBulkMw();
    characterizeC7plus(feed_composition.data());
    if (stockTankFlash())
        stockTankTwoPhase();
    else
        stockTankSinglePhase();
}

Oil::StockTank Oil::stockTank()
{
    calculateGOR(0);
    return {.failure = failure_code, .state = stock_tank_state, .gor = gor, .api = api,
            .gor_standing_katz_range = gor_standing_katz_range, .api_standing_katz_range = api_standing_katz_range,
            .gor_alani_kennedy_range = gor_alani_kennedy_range, .api_alani_kennedy_range = api_alani_kennedy_range,
            .liquid_composition = liquid_composition, .vapour_composition = vapour_composition,
            .bulk_molar_weight = bulk_molar_weight, .feed_c7plus_fraction = feed_c7plus_fraction,
            .feed_c7plus_molar_weight = feed_c7plus_molar_weight,
            .feed_c7plus_specific_gravity = feed_c7plus_specific_gravity, .liquid_molar_weight = liquid_molar_weight,
            .liquid_molar_volume = liquid_molar_volume, .liquid_density = liquid_density,
            .translated_liquid_density = translated_liquid_density,
            .liquid_density_standing_katz = liquid_density_standing_katz,
            .liquid_density_alani_kennedy = liquid_density_alani_kennedy,
            .liquid_density_standing_katz_range = liquid_density_standing_katz_range,
            .liquid_density_alani_kennedy_range = liquid_density_alani_kennedy_range,
            .volumetric_gas_fraction = volumetric_gas_fraction,
            .volumetric_gas_fraction_standing_katz = volumetric_gas_fraction_standing_katz,
            .volumetric_gas_fraction_alani_kennedy = volumetric_gas_fraction_alani_kennedy,
            .liquid_c7plus_fraction = liquid_c7plus_fraction, .liquid_c7plus_molar_weight = liquid_c7plus_molar_weight,
            .liquid_c7plus_specific_gravity = liquid_c7plus_specific_gravity,
            .dorvane_translation_volume = dorvane_translation_volume,
            .dorvane_translation_outcome = dorvane_translation_outcome};
}

void Oil::stockTankTwoPhase()
{
    stock_tank_state = StockTankState::TwoPhases;
    const double nL = liquid_moles;
    const double nV = vapour_moles;
    const double* x = liquid->moleFraction().data();
    characterizeC7plus(x);

    const double gasVolume = vapour->molarVolume() * nV;  // m3
    gor[0] = gasVolume / (liquid->molarVolume() * nL);
    liquid_molar_weight = liquid->calculate_molar_weight();
    vapour_molar_weight = vapour->calculate_molar_weight();
    liquid_molar_volume = liquid->molarVolume() * 1e6;
    vapour_molar_volume = vapour->molarVolume() * 1e6;
    liquid_density = liquid_molar_weight / liquid_molar_volume;
    vapour_density = vapour_molar_weight / vapour_molar_volume;
    api[0] = apiGravity(liquid_density);
    const double gasVolumeCm3 = nV * vapour_molar_volume;
    volumetric_gas_fraction = gasVolumeCm3 / (gasVolumeCm3 + nL * liquid_molar_volume);

    const double Ml = liquid_molar_weight;
    gor[3] = gor[0] * liquid_molar_volume / applyDorvaneTranslation(x, Ml, liquid_molar_volume);
    api_montel = apiGravity(Ml / translateVolume(liquid_molar_volume, calculateMontelTranslationVolume(x)).volume);

    // Gas-oil ratio, API gravity and gas fraction with the oil volume from a density.
    const auto gorFrom = [&](double density) { return 1e6 * gasVolume / (ratio(Ml, density) * nL); };
    const auto gasFractionFrom = [&](double density) {
        return gasVolumeCm3 / (gasVolumeCm3 + nL * ratio(Ml, density));
    };

    double& rhoSK = liquid_density_standing_katz;
    auto& skRange = liquid_density_standing_katz_range;
    rhoSK = calculateDensityStandingKatzMethod(x, kStockTankTemperature, kStockTankPressure,
                                               skRange[0], skRange[1]);
    gor[1] = gorFrom(rhoSK);
    gor_standing_katz_range = {gorFrom(skRange[0]), gorFrom(skRange[1])};
    api[1] = apiGravity(rhoSK);
    api_standing_katz_range = {apiGravity(skRange[1]), apiGravity(skRange[0])};
    volumetric_gas_fraction_standing_katz = gasFractionFrom(rhoSK);

    double& rhoAK = liquid_density_alani_kennedy;
    auto& akRange = liquid_density_alani_kennedy_range;
    rhoAK = calculateDensityAlaniKennedyMethod(x, kStockTankTemperature, kStockTankPressure,
                                               liquid_c7plus_molar_weight, liquid_c7plus_specific_gravity,
                                               akRange[0], akRange[1]);
    gor[2] = gorFrom(rhoAK);
    gor_alani_kennedy_range = {gorFrom(akRange[0]), gorFrom(akRange[1])};
    api[2] = apiGravity(rhoAK);
    api_alani_kennedy_range = {apiGravity(akRange[1]), apiGravity(akRange[0])};
    volumetric_gas_fraction_alani_kennedy = gasFractionFrom(rhoAK);

    api_from_molar_weight = apiFromMolarWeight(Ml);
}

void Oil::stockTankSinglePhase()
{
    gor = {0, 0, 0, 0};
    gor_standing_katz_range = {0, 0};
    gor_alani_kennedy_range = {0, 0};

    liquid->temperature(288.75);
    liquid->pressure(kStockTankPressure);
    liquid->composition(feed_composition);
    liquid->calculate_molar_volume();
    stock_tank_state = liquid->compressibilityFactor() <= 0.5 ? StockTankState::Liquid : StockTankState::Gas;

    const double Mb = bulk_molar_weight;
    liquid_molar_volume = liquid->molarVolume() * 1e6;
    liquid_density = Mb / liquid_molar_volume;
    api[0] = apiGravity(liquid_density);
    if (stock_tank_state == StockTankState::Gas) {
        api[3] = api[0];
        return;
    }

    const double* z = feed_composition.data();
    applyDorvaneTranslation(z, Mb, liquid_molar_volume);
    const double montel = calculateMontelTranslationVolume(liquid->moleFraction().data());
    api_montel = apiGravity(Mb / translateVolume(liquid_molar_volume, montel).volume);

    auto& skRange = liquid_density_standing_katz_range;
    liquid_density_standing_katz = calculateDensityStandingKatzMethod(
        z, kStockTankTemperature, kStockTankPressure, skRange[0], skRange[1]);
    api[1] = apiGravity(liquid_density_standing_katz);
    api_standing_katz_range = {apiGravity(skRange[1]), apiGravity(skRange[0])};

    auto& akRange = liquid_density_alani_kennedy_range;
    liquid_density_alani_kennedy = calculateDensityAlaniKennedyMethod(
        z, kStockTankTemperature, kStockTankPressure, feed_c7plus_molar_weight,
        feed_c7plus_specific_gravity, akRange[0], akRange[1]);
    api[2] = apiGravity(liquid_density_alani_kennedy);
    api_alani_kennedy_range = {apiGravity(akRange[1]), apiGravity(akRange[0])};
}

double Oil::applyDorvaneTranslation(const double* x, double M, double V)
{
    dorvane_translation_volume = calculateDorvaneTranslationVolume(x, M);
    const TranslatedVolume translated = translateVolume(V, dorvane_translation_volume);
    dorvane_translation_outcome = translated.outcome;
    translated_liquid_density = M / translated.volume;
    api[3] = apiGravity(translated_liquid_density);
    return translated.volume;
}

void Oil::calculateBulkDensity(double T, double P, PhaseModel model)
{
    bulk_molar_weight = calculateBulkMw();
    temperature(T);
    pressure(P);
    FluidPhase* phase = model == PhaseModel::vapour ? vapour : liquid;
    const std::vector<double> kept = phase->moleFraction();
    phase->composition(feed_composition);
    phase->calculate_molar_volume();
    const double molarVolume = phase->molarVolume();
    phase->composition(kept);
    bulk_density = bulk_molar_weight / (molarVolume * 1e6);

    const double* z = feed_composition.data();
    bulk_density_standing_katz = calculateDensityStandingKatzMethod(
        z, T, P, bulk_density_standing_katz_range[0], bulk_density_standing_katz_range[1]);
    characterizeC7plus(z);
    bulk_density_alani_kennedy = calculateDensityAlaniKennedyMethod(
        z, T, P, feed_c7plus_molar_weight, feed_c7plus_specific_gravity,
        bulk_density_alani_kennedy_range[0], bulk_density_alani_kennedy_range[1]);
}

double Oil::calculateDensityStandingKatzMethod(const double* x, double T, double P, double& low,
                                               double& high) const
{
    std::array<double, 7> m{};  // C1, C2, C3, C4, C5, C6, C7+ per mole of mixture
    double x7 = 0, s7 = 0;
    for (short i = 0; i < component_count; ++i) {
        const double mass = x[i] * liquid->molarWeight()[i];
        if (isNamed(i, {"C1", "CH4"}))
            m[0] += mass;
        else if (isNamed(i, {"C2"}))
            m[1] += mass;
        else if (isNamed(i, {"C3"}))
            m[2] += mass;
        else if (isNamed(i, {"iC4", "nC4"}))
            m[3] += mass;
        else if (isNamed(i, {"iC5", "nC5"}))
            m[4] += mass;
        else if (isNamed(i, {"C6"}))
            m[5] += mass;
        else if (!isNamed(i, {"CO2", "H2S", "N2"})) {
            x7 += x[i];
            m[6] += mass;
            s7 += x[i] * specific_gravity[i];
        }
    }
    const double rho7 = x7 > 0 ? s7 / x7 * kLbFt3PerGcm3 : 0;
    low = getDensityByStandingKatz(T, P, 0.95 * rho7, m);
    high = getDensityByStandingKatz(T, P, 1.05 * rho7, m);
    return getDensityByStandingKatz(T, P, rho7, m);
}

double Oil::calculateDensityStandingKatzMethod(const double* x, double T, double P) const
{
    double low, high;
    return calculateDensityStandingKatzMethod(x, T, P, low, high);
}

namespace {

// The sums of an Alani-Kennedy density: the light components' constants weighted by their
// mole fractions, the mixture's mass and the C7+ mole fraction, whose constants depend on
// the C7+ molar weight and specific gravity and are added per density.
struct AlaniKennedySums {
    double a = 0, b = 0, mass = 0, x7 = 0;
};

double alaniKennedyDensity(AlaniKennedySums sums, double M7, double SG7, double t, double p)
{
    if (sums.x7 > 0) {
        double a7, b7;
        alaniKennedyHeavyFraction(M7, SG7, t, a7, b7);
        sums.a += sums.x7 * a7;
        sums.b += sums.x7 * b7;
    }
    return sums.mass / (62.4291 * alaniKennedyVolume(sums.a, sums.b, t, p));
}

} // namespace

double Oil::calculateDensityAlaniKennedyMethod(const double* x, double T, double P, double M7,
                                               double SG7, double& min, double& max) const
{
    const double t = 1.8 * T;
    const double p = P / 0.068948;
    AlaniKennedySums sums;
    for (short i = 0; i < component_count; ++i) {
        sums.mass += x[i] * liquid->molarWeight()[i];
        double ai, bi;
        if (alaniKennedyLightComponent(component_name[i].c_str(), t, ai, bi)) {
            sums.a += x[i] * ai;
            sums.b += x[i] * bi;
        } else {
            sums.x7 += x[i];
        }
    }
    const double changed[] = {alaniKennedyDensity(sums, M7 * 0.95, SG7, t, p),
                              alaniKennedyDensity(sums, M7 * 1.05, SG7, t, p),
                              alaniKennedyDensity(sums, M7, SG7 * 0.95, t, p),
                              alaniKennedyDensity(sums, M7, SG7 * 1.05, t, p)};
    min = *std::min_element(std::begin(changed), std::end(changed));
    max = *std::max_element(std::begin(changed), std::end(changed));
    return alaniKennedyDensity(sums, M7, SG7, t, p);
}

double Oil::calculateMontelTranslationVolume(const double* x) const
{
    constexpr double kOmegaBR = 0.0778 * gas_constant;
    double c = 0;
    for (short i = 0; i < component_count; ++i)
        c += x[i] * montelShiftFactor(carbon_number[i]) * kOmegaBR * critical_temperature[i]
             / critical_pressure[i] * 1e6;
    return c;
}

double Oil::calculateDorvaneTranslationVolume(const double* x, double M) const
{
    double Mx = 0;
    for (short i = 0; i < component_count; ++i)
        Mx += x[i] * liquid->molarWeight()[i];
    const auto* cubic = dynamic_cast<const ICubic*>(liquid);
    const double B = cubic ? cubic->bMix() * 1e6 : kUnavailable;
    return dorvaneTranslation(model_fluid_type, Mx, B, M);
}

} // namespace quorvel
