#pragma once

#include "thermo/CorrelationCodes.h"
#include "thermo/Homogenisation.h"
#include "thermo/PhaseStability.h"
#include "thermo/Quenta.h"
#include "numeric/Progress.h"
#include "thermo/StockTankCorrelations.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

class ClaCubic0;

// Which of the fluid's two phase models computes a property of the whole feed.
enum class PhaseModel : std::int8_t { vapour, liquid };

// Petroleum fluid on top of the rigorous equilibrium: per-component data of the fluid,
// the block of computed properties the calculation interface reports, and the robust
// entry points: a flash with a pressure ladder of retries, a bubble-point search, the
// first points of the phase envelope, and the stock-tank properties (gas-oil ratio, API
// gravity, bulk and correlation densities, C7+ data).
//
// Entry points take temperatures in K and pressures in bar; the first envelope points are
// returned in degrees Celsius and bar. A property that could not be computed holds
// kUnavailable (not-a-number).
class Oil : public Quenta {
public:
    Oil(FluidPhase& liquid, FluidPhase& vapour);
    ~Oil() override;

    // How a solve starts.
    enum class Start {
        from_estimates,      // the estimated state, normally the previous solution
        new_curve,           // the estimated state; the next predictor step is a curve's first
        from_ideal_mixture,  // an ideal-mixture estimate
    };
    // Poses the problem with its two fixed quantities, in the order of the type's digits and
    // in the units of their setters (T in K, P in bar, molar or volumetric vapour fraction,
    // molar volume in m3/mol), and solves it; the solution is the current state.
    [[nodiscard]] equilibrium_failure solve(problem_type problem, double first, double second, Start start);
    // Start values of the next solve from estimates: T (K), P (Pa), liquid and vapour mole fractions.
    void takeStartState(double T, double P, const std::vector<double>& x, const std::vector<double>& y);
    // The next point of the current isopleth: a predictor step of the given factor from the
    // saved state, then the solve.
    [[nodiscard]] equilibrium_failure stepAlongIsopleth(double factor, double dT, double dP);
    // The next predictor steps trace a new isopleth at the molar vapour fraction from the
    // current point.
    void startIsopleth(double vapourFraction);
    // The next steps follow the isochore of the feed's molar volume v (m3/mol).
    void followIsochore(double v);
    // The next point of the isochore: a predictor step of the given factor from the saved
    // state, then the solve; nothing when the predictor could not make a start.
    [[nodiscard]] std::optional<equilibrium_failure> stepAlongIsochore(double factor, double dT);

    // Asked between the Newton iterations of the next solves; none: never asked.
    void setSolveProgress(ProgressCallback progress) { newton.set_progress(std::move(progress)); }
    // The scaled residual at which a solve stops.
    [[nodiscard]] double solveResidual() const { return newton.epsilon(); }
    void setSolveResidual(double residual) { newton.set_epsilon(residual); }

    // The constants of one component: T in K, P in Pa, Vc in cm3/mol, mw in g/mol; slope,
    // when given, replaces the phase models' alpha-function polynomial.
    struct ComponentConstants {
        double Tc, Pc, omega, mw, Vc, SG, Tb;
        int carbon_number;
        CorrelationCode correlation;
        std::optional<double> slope;
    };
    // Writes component i's constants into the fluid and both phase models, before its
    // add_component.
    void setComponentConstants(short i, const ComponentConstants& c, ClaCubic0& liquidModel, ClaCubic0& vapourModel);

    // Every stock-tank (or bulk) result not-a-number, so that none is left from an earlier
    // calculation where the next one computes nothing.
    void clearStockTankResults();
    void clearBulkResults();

    // Component data are written directly into the members: nothing to read here.
    void read_component_data(short i, const char* name) override;
    void number_of_components(short n) override;
    // Index of methane in the component order, -1 for a fluid without it.
    virtual int methaneIndex() const;
    // Feed mole fraction of methane; 0 for a fluid without it.
    double getCH4() const;

    void setCarbonIndex(int i, int speciesIdentifier);
    void setModelFluidType(FluidType type);

    // Flash of the feed at T (K) and P (bar) with the flashed-phase properties; the formation
    // volume factors wait for calculateFormationVolumeFactors (unavailable until then). A
    // tangent-plane test decides first: a stable feed is one phase (failure code one_phase);
    // an unstable one is flashed from the ideal-mixture start, then from the test's trial
    // phases and then from a ladder of pressures (solve_failed when none converges). A split
    // with a negative phase amount is no two-phase answer.
    void calculateFlash(double T, double P);
    // The outcome of calculateFlash and, with two phases, what it found.
    struct FlashResult {
        equilibrium_failure failure = equilibrium_failure::solve_failed;
        std::vector<double> liquid_composition;  // empty unless two phases
        std::vector<double> vapour_composition;
        double molar_gas_fraction = kUnavailable;
        double mass_gas_fraction = kUnavailable;
        // By the equation of state, the Standing-Katz and the Alani-Kennedy liquid densities.
        std::array<double, 3> volumetric_gas_fraction{kUnavailable, kUnavailable, kUnavailable};
        double gas_compressibility_factor = kUnavailable;
        [[nodiscard]] bool twoPhases() const { return failure == equilibrium_failure::none; }
    };
    [[nodiscard]] FlashResult flash(double T, double P);
    struct FormationVolumeFactors {
        double Bo, Bg;
    };
    // calculateFormationVolumeFactors with its two results.
    [[nodiscard]] FormationVolumeFactors formationVolumeFactors();
    // Bo and Bg of the last successful flash: each flashed phase separated at stock-tank
    // conditions; unavailable after a failed flash. The feed is given back afterwards.
    void calculateFormationVolumeFactors();
    // Bubble point at T (K), tried from a ladder of start pressures.
    void calculateBubblePressure(double T);

    // First points of the phase envelope (T in degrees C, P in bar, 0 on failure).
    struct FirstBubblePoint {
        equilibrium_failure failure = equilibrium_failure::none;
        bool lowTemperatureStart = false;  // found only by the fallbacks after 273.15 K failed
    };
    [[nodiscard]] FirstBubblePoint firstLiquidIsoplethPoint(double& T, double& P);
    [[nodiscard]] equilibrium_failure firstGasIsoplethPoint(double& T, double& P);
    // A further dew point searched by flashes from T (degrees C), P (bar) and the incipient
    // vapour y: asked with notFound it searches, asked with skipped it does nothing; the
    // point is in degrees C and bar when found.
    enum class DewSearch : std::int8_t { skipped, notFound, found };
    struct FurtherDewPoint {
        DewSearch search = DewSearch::notFound;
        double T = 0, P = 0;
    };
    [[nodiscard]] FurtherDewPoint otherGasIsoplethPoint(DewSearch asked, double T, double P, const double* y);
    void searchGasIsoplethByFlash(double T, double P, const double* y);  // K, Pa
    void firstLiquidLiquidIsoplethPoint(double T, double P, const double* x, const double* y);  // K, Pa
    // True when the phases differ by 0.03 or more in the mole fraction of methane: a
    // liquid-liquid-gas region rather than a failure. Never for a fluid without methane.
    bool checkLLG() const;

    // Stock-tank properties of the feed at 288.7 K and 1 bar; the argument is not used.
    void calculateGOR(double unused = 0);
    // The results of calculateGOR, named as the fields below; failure none when the feed
    // separated into two phases, whose compositions are given.
    struct StockTank {
        equilibrium_failure failure;
        StockTankState state;
        std::array<double, 4> gor, api;
        std::array<double, 2> gor_standing_katz_range, api_standing_katz_range;
        std::array<double, 2> gor_alani_kennedy_range, api_alani_kennedy_range;
        std::vector<double> liquid_composition, vapour_composition;
        double bulk_molar_weight;
        double feed_c7plus_fraction, feed_c7plus_molar_weight, feed_c7plus_specific_gravity;
        double liquid_molar_weight, liquid_molar_volume;
        double liquid_density, translated_liquid_density;
        double liquid_density_standing_katz, liquid_density_alani_kennedy;
        std::array<double, 2> liquid_density_standing_katz_range, liquid_density_alani_kennedy_range;
        double volumetric_gas_fraction, volumetric_gas_fraction_standing_katz, volumetric_gas_fraction_alani_kennedy;
        double liquid_c7plus_fraction, liquid_c7plus_molar_weight, liquid_c7plus_specific_gravity;
        double dorvane_translation_volume;
        TranslationOutcome dorvane_translation_outcome;
    };
    [[nodiscard]] StockTank stockTank();
    // Single-phase densities of the feed at T (K) and P (bar) with the given phase model.
    void calculateBulkDensity(double T, double P, PhaseModel model);
    // C7+ fraction, molar weight and specific gravity of z: the feed triple when z is
    // the feed composition itself, the liquid triple otherwise.
    void characterizeC7plus(const double* z);
    double calculateBulkMw() const;

    // Standing-Katz density (g/cm3) of composition x at T (K), P (bar), with the values for
    // a C7+ density 5 % lower and higher.
    double calculateDensityStandingKatzMethod(const double* x, double T, double P, double& low,
                                              double& high) const;
    double calculateDensityStandingKatzMethod(const double* x, double T, double P) const;
    // Alani-Kennedy density (g/cm3) with the smallest and largest value over 5 % changes
    // of the C7+ molar weight and specific gravity.
    double calculateDensityAlaniKennedyMethod(const double* x, double T, double P, double M7,
                                              double SG7, double& min, double& max) const;
    // Volume translations, cm3/mol.
    double calculateMontelTranslationVolume(const double* x) const;
    double calculateDorvaneTranslationVolume(const double* x, double M) const;

    // The inclusion of the alpha-beta searches: molar volume at Th (m3/mol) and type.
    [[nodiscard]] double homogenizationVolume() const { return homogenization_volume; }
    [[nodiscard]] Homogenisation inclusionType() const { return inclusion_type; }
    void setInclusionType(Homogenisation type) { inclusion_type = type; }

    // Stock-tank results, by method as in the fields below.
    [[nodiscard]] StockTankState stockTankState() const { return stock_tank_state; }
    [[nodiscard]] const std::array<double, 4>& gasOilRatios() const { return gor; }
    [[nodiscard]] const std::array<double, 4>& apiGravities() const { return api; }
    [[nodiscard]] double apiMontel() const { return api_montel; }
    [[nodiscard]] double apiByMolarWeight() const { return api_from_molar_weight; }
    [[nodiscard]] const std::array<double, 2>& gorStandingKatzRange() const { return gor_standing_katz_range; }
    [[nodiscard]] const std::array<double, 2>& apiStandingKatzRange() const { return api_standing_katz_range; }
    [[nodiscard]] const std::array<double, 2>& gorAlaniKennedyRange() const { return gor_alani_kennedy_range; }
    [[nodiscard]] const std::array<double, 2>& apiAlaniKennedyRange() const { return api_alani_kennedy_range; }

    // Bulk, flashed-phase and stock-tank properties, in the units of the fields below.
    [[nodiscard]] double bulkMolarWeight() const { return bulk_molar_weight; }
    [[nodiscard]] double bulkDensity() const { return bulk_density; }
    [[nodiscard]] double bulkDensityStandingKatz() const { return bulk_density_standing_katz; }
    [[nodiscard]] double bulkDensityAlaniKennedy() const { return bulk_density_alani_kennedy; }
    [[nodiscard]] const std::array<double, 2>& bulkDensityStandingKatzRange() const { return bulk_density_standing_katz_range; }
    [[nodiscard]] const std::array<double, 2>& bulkDensityAlaniKennedyRange() const { return bulk_density_alani_kennedy_range; }
    [[nodiscard]] double liquidMolarWeight() const { return liquid_molar_weight; }
    [[nodiscard]] double liquidDensity() const { return liquid_density; }
    [[nodiscard]] double translatedLiquidDensity() const { return translated_liquid_density; }
    [[nodiscard]] double dorvaneTranslationVolume() const { return dorvane_translation_volume; }
    [[nodiscard]] TranslationOutcome dorvaneTranslationOutcome() const { return dorvane_translation_outcome; }
    [[nodiscard]] double vapourDensity() const { return vapour_density; }
    [[nodiscard]] double liquidMolarVolume() const { return liquid_molar_volume; }
    [[nodiscard]] double vapourMolarVolume() const { return vapour_molar_volume; }
    [[nodiscard]] double liquidDensityStandingKatz() const { return liquid_density_standing_katz; }
    [[nodiscard]] const std::array<double, 2>& liquidDensityStandingKatzRange() const { return liquid_density_standing_katz_range; }
    [[nodiscard]] double liquidDensityAlaniKennedy() const { return liquid_density_alani_kennedy; }
    [[nodiscard]] const std::array<double, 2>& liquidDensityAlaniKennedyRange() const { return liquid_density_alani_kennedy_range; }
    [[nodiscard]] double volumetricGasFraction() const { return volumetric_gas_fraction; }
    [[nodiscard]] double volumetricGasFractionStandingKatz() const { return volumetric_gas_fraction_standing_katz; }
    [[nodiscard]] double volumetricGasFractionAlaniKennedy() const { return volumetric_gas_fraction_alani_kennedy; }
    [[nodiscard]] double gasCompressibilityFactor() const { return gas_compressibility_factor; }
    [[nodiscard]] double molarGasFraction() const { return molar_gas_fraction; }
    [[nodiscard]] double massGasFraction() const { return mass_gas_fraction; }
    [[nodiscard]] double feedC7plusFraction() const { return feed_c7plus_fraction; }
    [[nodiscard]] double feedC7plusMolarWeight() const { return feed_c7plus_molar_weight; }
    [[nodiscard]] double feedC7plusSpecificGravity() const { return feed_c7plus_specific_gravity; }
    [[nodiscard]] double liquidC7plusFraction() const { return liquid_c7plus_fraction; }
    [[nodiscard]] double liquidC7plusMolarWeight() const { return liquid_c7plus_molar_weight; }
    [[nodiscard]] double liquidC7plusSpecificGravity() const { return liquid_c7plus_specific_gravity; }

    // Per-component data, written by setComponentConstants.
    [[nodiscard]] const std::vector<double>& specificGravity() const { return specific_gravity; }
    // Specific gravity of component i alone, the other constants kept.
    void setSpecificGravity(short i, double sg) { specific_gravity[i] = sg; }
    [[nodiscard]] const std::vector<double>& acentricFactor() const { return acentric_factor; }
    [[nodiscard]] const std::vector<double>& criticalVolumeCm3() const { return critical_volume_cm3; }
    [[nodiscard]] const std::vector<double>& componentMolarWeight() const { return component_molar_weight; }
    [[nodiscard]] const std::vector<int>& carbonNumber() const { return carbon_number; }
    [[nodiscard]] const auto& correlationCodes() const { return correlation; }
    [[nodiscard]] FluidType modelFluidType() const { return model_fluid_type; }

    // The last flash.
    [[nodiscard]] double oilFormationVolumeFactor() const { return oil_formation_volume_factor; }
    [[nodiscard]] double gasFormationVolumeFactor() const { return gas_formation_volume_factor; }
    [[nodiscard]] const std::vector<double>& flashLiquidComposition() const { return flash_liquid_composition; }
    [[nodiscard]] const std::vector<double>& flashVapourComposition() const { return flash_vapour_composition; }

    // Saturation pressure at Th of the alpha-beta searches and its kept copy (Pa; 0 = none).
    [[nodiscard]] double homogenizationPressure() const { return homogenization_pressure; }
    [[nodiscard]] double savedHomogenizationPressure() const { return saved_homogenization_pressure; }

protected:
    // Inclusion measurement and alpha-beta working states (driven by Oil1).
    double homogenization_temperature = 0;  // K
    double inclusion_temperature = 0;       // K
    double inclusion_vapour_fraction = 0;   // volumetric
    double homogenization_volume = 0;       // m3/mol
    Homogenisation inclusion_type = Homogenisation::toLiquid;

    // Stock-tank properties: index 0 untranslated equation of state, 1 Standing-Katz,
    // 2 Alani-Kennedy, 3 Dorvane-translated equation of state. Ranges hold (low, high).
    StockTankState stock_tank_state = StockTankState::None;
    std::array<double, 4> gor{};  // Stdm3/Stdm3
    std::array<double, 4> api{};
    double api_montel = 0;
    double api_from_molar_weight = 0;
    std::array<double, 2> gor_standing_katz_range{};
    std::array<double, 2> api_standing_katz_range{};
    std::array<double, 2> gor_alani_kennedy_range{};
    std::array<double, 2> api_alani_kennedy_range{};

    // Densities in g/cm3, molar weights in g/mol, molar volumes in cm3/mol.
    double bulk_molar_weight = 0;
    double bulk_density = 0;
    double bulk_density_standing_katz = 0;
    double bulk_density_alani_kennedy = 0;
    std::array<double, 2> bulk_density_standing_katz_range{};
    std::array<double, 2> bulk_density_alani_kennedy_range{};
    double liquid_molar_weight = 0;
    double vapour_molar_weight = 0;
    double liquid_density = 0;
    double translated_liquid_density = 0;
    // The Dorvane translation of the last stock-tank oil (cm3/mol) and what became of it:
    // translated values stay unavailable unless it was applied.
    double dorvane_translation_volume = 0;
    TranslationOutcome dorvane_translation_outcome = TranslationOutcome::undefined;
    double vapour_density = 0;
    double liquid_molar_volume = 0;
    double vapour_molar_volume = 0;
    double liquid_density_standing_katz = 0;
    std::array<double, 2> liquid_density_standing_katz_range{};
    double liquid_density_alani_kennedy = 0;
    std::array<double, 2> liquid_density_alani_kennedy_range{};
    double volumetric_gas_fraction = 0;
    double volumetric_gas_fraction_standing_katz = 0;
    double volumetric_gas_fraction_alani_kennedy = 0;
    double gas_compressibility_factor = 0;
    double molar_gas_fraction = 0;
    double mass_gas_fraction = 0;
    double feed_c7plus_fraction = 0;
    double feed_c7plus_molar_weight = 0;
    double feed_c7plus_specific_gravity = 0;
    double liquid_c7plus_fraction = 0;
    double liquid_c7plus_molar_weight = 0;
    double liquid_c7plus_specific_gravity = 0;

    // Per-component data written by the calculation interface.
    std::vector<double> specific_gravity;
    std::vector<double> acentric_factor;
    std::vector<double> critical_volume_cm3;
    std::vector<double> component_molar_weight;
    std::vector<int> carbon_number;  // species identifiers
    std::vector<CorrelationCode> correlation;
    FluidType model_fluid_type = FluidType::none;

    // Formation volume factors of the last flash: reservoir volume over stock-tank volume.
    double oil_formation_volume_factor = 0;  // "Bo"
    double gas_formation_volume_factor = 0;  // "Bg"
    std::vector<double> flash_liquid_composition;
    std::vector<double> flash_vapour_composition;

    // Saturation point at Th and two-phase point at T of the alpha-beta searches (Pa;
    // 0 = none), with the copies kept after the last successful search.
    double homogenization_pressure = 0;
    std::vector<double> homogenization_liquid_composition;
    std::vector<double> homogenization_vapour_composition;
    double inclusion_pressure = 0;
    std::vector<double> inclusion_liquid_composition;
    std::vector<double> inclusion_vapour_composition;
    double saved_homogenization_pressure = 0;
    std::vector<double> saved_homogenization_liquid_composition;
    std::vector<double> saved_homogenization_vapour_composition;
    double saved_inclusion_pressure = 0;
    std::vector<double> saved_inclusion_liquid_composition;
    std::vector<double> saved_inclusion_vapour_composition;

    void setFeed(const std::vector<double>& z);

private:
    enum class Stability { stable, unstable, unknown };
    // Tangent-plane test of the feed at T (K) and P (bar); unknown for models it cannot test.
    Stability judgeStability(double T, double P);
    void reportOnePhase(double T, double P);
    bool flashFromStabilityTrial(double T, double P);
    // A converged solve with both phase amounts non-negative.
    bool twoPhaseFlash(const std::function<bool()>& solve);
    void flashFromPressureLadder(double T, double P);
    // Flash of the feed at stock-tank conditions from ideal-mixture start values.
    bool stockTankFlash();
    void clearFlashProperties();
    void recordFlashedPhases();
    void separateAtStockTank(double reservoirLiquidVolume, double reservoirGasVolume,
                             double reservoirLiquidMoles, double reservoirGasMoles);
    void stockTankTwoPhase();
    void stockTankSinglePhase();
    // Translated density and API gravity of an oil of composition x, molar weight M and
    // molar volume V (cm3/mol); answers the translated volume, unavailable when refused.
    double applyDorvaneTranslation(const double* x, double M, double V);
    void bubblePointFromFlashSearch();
    bool isNamed(int i, std::initializer_list<const char*> names) const;

    std::unique_ptr<PhaseStability> stability;
    // Phase amounts and vapour molar volume (m3/mol) of the last successful flash.
    struct FlashedPhases {
        double liquid_moles;
        double vapour_moles;
        double vapour_molar_volume;
    };
    std::optional<FlashedPhases> flashed_phases;
};

}  // namespace quorvel
