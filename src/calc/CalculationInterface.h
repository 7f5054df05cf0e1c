#pragma once

#include "calc/FluidRecordKeys.h"
#include "numeric/Progress.h"
#include "platform/Value.h"
#include "thermo/ClaCubic0.h"
#include "thermo/Oil.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace quorvel {

class CIsochor;
class CIsopleth;
class CIsoplethPoint;
class CPhaseDiagram;

// A fluid record ("fluidType", "components", the alpha-beta keys, ...) and one entry of its
// "components" array ("name", "nc", "mole", "mw", "SG", "Tc", "Tb", "Pc", "Vc", "omega",
// "corr", optionally "slope"). Record units: degrees Celsius, bar, cm3/mol, mole percent.
using FluidRecord = Dictionary;
using ComponentRecord = Dictionary;
// An inclusion of the inclusion-data document; the isochores read only its "name".
using InclusionRecord = Dictionary;

// How a value that could not be computed shows in reports and panels.
inline constexpr const char* kNotAvailableText = "not available";

// The value calculateSaturation gives when there is no saturation point.
inline constexpr double kSaturationFailure = -10000;

// Result of a next-point step of an envelope or isochore continuation.
enum class step_code : std::int8_t {
    new_point = 0,
    retry = 1,               // retried with a halved step (envelope only)
    failed = -1,             // the curve is abandoned
    end_of_curve = -2,       // a limit was passed; the point belongs to the curve
    liquid_liquid_gas = -3,  // two distinct liquids met (envelope only)
};

// How an envelope trace ended: the last step of its last branch, or the failure of that
// branch's first point.
using EnvelopeEnd = std::variant<equilibrium_failure, step_code>;

// How an envelope trace ended, and what its liquid branch met.
struct EnvelopeTrace
{
    EnvelopeEnd end;
    bool metLiquidLiquidGas = false;  // the liquid branch ran into a liquid-liquid-gas region
};

// The branch of the phase envelope being traced.
enum class EnvelopeBranch : std::int8_t { dewPoint, bubblePoint };

// Outcome of a flash: two phases, a feed that stays one phase, or a solver that found no
// answer.
enum class FlashOutcome { twoPhases, onePhase, failed };

// Results of calculateIsochors and of the first point of an isochore.
enum class isochor_result : std::int8_t {
    both_made = -2,       // both isochores made
    started = 0,          // the first point of the two-phase isochore was found
    below_envelope = 1,   // Th below the branch's temperatures
    above_envelope = 2,   // Th 2 degrees or more above them
    no_branch = 3,        // no branch of the homogenisation type
    start_failed = 4,     // no saturation point at Th
};

// The door to the thermodynamic engine for one fluid: owns a liquid-type and a vapour-type
// phase model and the equilibrium object on them, loads a fluid record into them, runs
// point calculations and property reports, and keeps the results callers read back.
//
// An interface answers calculations only once a fluid is loaded: a component fluid after a
// successful setModelFluid, the alpha-beta fluid from construction on. Without an engine,
// after a record of another fluid type or a refused record, every calculation gives its
// failure value (kSaturationFailure, false or not-a-number) without reaching the engine.
class CalculationInterface {
public:
    CalculationInterface(FluidType fluidType, EquationOfState eos);
    virtual ~CalculationInterface();
    CalculationInterface(const CalculationInterface&) = delete;
    CalculationInterface& operator=(const CalculationInterface&) = delete;

    // ---- Loading ----
    // Loads a record of the interface's own fluid type; another type is refused with a
    // message on standard error.
    void setThermodynamicModel(const FluidRecord& record);
    // Loads the record's components into both phase models and the equilibrium object.
    // Returns false, with a message on standard error and nothing loaded, for a record
    // the engine cannot take (a component without a positive critical temperature or
    // pressure, an alpha-beta fluid without its 17 components, no engine).
    bool setModelFluid(FluidType modelFluidType, const FluidRecord& record);
    // Hands the alpha-beta fields to the alpha-beta model fluid; nothing for other types.
    // Fields whose distribution has a negative or non-finite mole fraction leave nothing
    // loaded, with a message on standard error.
    void finalize();
    bool isLoaded() const { return loaded; }

    [[nodiscard]] FluidType getFluidType() const { return fluidType; }

    // ---- The engine and its phase models: null for a fluid type without one ----
    [[nodiscard]] Oil* engine() const { return oil.get(); }
    [[nodiscard]] ClaCubic0* liquidModel() const { return liquidPhase.get(); }
    [[nodiscard]] ClaCubic0* vapourModel() const { return vapourPhase.get(); }
    // The phase model of the homogeneous fluid in the last trapping-pressure or one-phase
    // isochore calculation (not owned; null before one).
    [[nodiscard]] FluidPhase* getCurrentPhase() const { return currentPhase; }

    // ---- Inputs ----
    [[nodiscard]] Homogenisation getHomog() const { return homog; }
    void setHomog(Homogenisation value) { homog = value; }
    bool homogenisesToLiquid() const { return homog == Homogenisation::toLiquid; }
    // The phase model of the fluid homogenised the way `homog` says.
    [[nodiscard]] PhaseModel homogeneousPhaseModel() const
    {
        return homogenisesToLiquid() ? PhaseModel::liquid : PhaseModel::vapour;
    }
    [[nodiscard]] double getTh() const { return Th; }  // degrees Celsius
    void setTh(double value) { Th = value; }
    [[nodiscard]] double getPh() const { return Ph; }  // bar
    void setPh(double value) { Ph = value; }
    [[nodiscard]] double getBulkVolume() const { return bulkVolume; }  // m3/mol
    void setBulkVolume(double value) { bulkVolume = value; }
    // The alpha-beta fluid; the gases as mole fractions.
    [[nodiscard]] double getAlpha() const { return alpha; }
    void setAlpha(double value) { alpha = value; }
    [[nodiscard]] double getBeta() const { return beta; }
    void setBeta(double value) { beta = value; }
    [[nodiscard]] double getCO2() const { return CO2; }
    void setCO2(double value) { CO2 = value; }
    [[nodiscard]] double getN2() const { return N2; }
    void setN2(double value) { N2 = value; }
    [[nodiscard]] double getH2S() const { return H2S; }
    void setH2S(double value) { H2S = value; }
    [[nodiscard]] EnvelopeBranch getBranch() const { return branch; }
    void setBranch(EnvelopeBranch value) { branch = value; }
    // The envelope branch the isochores start from (not owned).
    [[nodiscard]] CIsopleth* getIsopleth() const { return isopleth; }
    void setIsopleth(CIsopleth* value) { isopleth = value; }

    // ---- Results ----
    // Stock-tank results of calculateGOR, by method: non-translated PR EOS, Standing-Katz,
    // Alani-Kennedy, translated PR EOS.
    [[nodiscard]] const std::array<double, 4>& getGOR() const { return GOR; }  // Stdm3/Stdm3
    [[nodiscard]] const std::array<double, 4>& getAPI() const { return API; }  // degrees API
    [[nodiscard]] double getCH4() const { return CH4; }                 // mole percent
    // The feed's C7+ part as calculateGOR found it.
    [[nodiscard]] double getStockTankC7plus() const { return C7plus; }  // mole percent
    [[nodiscard]] double getMwC7plus() const { return mwC7plus; }       // g/mol
    [[nodiscard]] double getSGC7plus() const { return SGC7plus; }
    // The homogeneous fluid of the last two-phase isochore's first point.
    [[nodiscard]] double getBulkMolarWeight() const { return bulkMolarWeight; }  // g/mol
    [[nodiscard]] double getBulkDensity0() const { return bulkDensity0; }  // g/cm3, equation of state
    [[nodiscard]] double getBulkDensity1() const { return bulkDensity1; }  // g/cm3, Standing-Katz
    // Whether the liquid branch's first point was found by the low-temperature start.
    [[nodiscard]] bool isLowTemperatureStart() const { return lowTemperatureStart; }
    // Factor of the continuation step of the current envelope branch or isochore.
    [[nodiscard]] double getStep() const { return step; }
    // Bounds of the two-phase isochores (Tmin in degrees Celsius, Tmax in K, Pmax in bar).
    [[nodiscard]] double getTmin() const { return Tmin; }
    [[nodiscard]] double getTmax() const { return Tmax; }
    [[nodiscard]] double getPmax() const { return Pmax; }
    // Equilibrium failure of the last envelope or isochore step.
    [[nodiscard]] equilibrium_failure getError() const { return error; }

    // ---- The loaded fluid and the engine's present phases (none or not-a-number without an engine) ----
    int getNumberOfComponents() const;
    double getIsoplethComposition(int i) const;  // feed mole fraction
    double getLiquidVolume() const;              // m3/mol
    double getLiquidDensity() const;             // g/cm3
    double getVapourVolume() const;              // m3/mol
    double getVapourDensity() const;             // g/cm3
    double getLiquidComposition(int i) const;
    double getVapourComposition(int i) const;
    double getBubbleVolumeFraction() const;
    double getC7plus() const;                    // mole percent of the feed

    // ---- Point calculations ----
    // Pressure (bar) of the homogeneous fluid at T (K) and bulkVolume, with the phase model
    // chosen by homog.
    double calculateTrappingPressure(double T);
    // Bubble or dew pressure (bar) at T (degrees Celsius), or kSaturationFailure.
    double calculateSaturation(double T, SaturationKind kind);
    // Flash at T (K) and P (bar); with two phases fills the given records with them. The
    // feed is given back afterwards. Writes nothing when the fluid stays one phase or the
    // flash fails (no fluid loaded counts as a failure).
    [[nodiscard]] FlashOutcome calculateFlash(double T, double P, std::optional<FluidRecord> liquid,
                                              std::optional<FluidRecord> vapour);
    // The last flash's liquid or vapour (any other phase: the vapour) as a new component fluid.
    void recuperateFlashedFluid(FluidRecord record, phase_kind phase);
    // Single-phase properties of the feed at T (K) and P (bar), left in the engine; true when
    // the equation of state gave a finite density.
    bool calculateBulkDensity(double T, double P, PhaseModel model);
    // Stock-tank gas-oil ratios, API gravities, CH4 and C7+ data into the fields. True when
    // the fluid separates into gas and oil at stock-tank conditions; a value that could not
    // be computed is not-a-number.
    bool calculateGOR();
    // Asked between the Newton iterations of the stock-tank calculation; once it answers
    // to stop, the calculation gives up and stockTankStopped() is true until the next one.
    void setStockTankProgress(ProgressCallback progress) { stockTankProgress = std::move(progress); }
    [[nodiscard]] bool stockTankStopped() const { return stockTankWasStopped; }
    // Why the translated PR EOS values of the last calculateGOR are not available; empty
    // when they are, or when there was no tank oil to translate.
    std::string translationNote() const;
    // Appends the note, when there is one, to the shared log window.
    void logTranslationNote() const;
    // Ahmed split of the loaded fluid's C7+ part into single carbon numbers from C7 on: at
    // most 38 mole fractions, summing to the C7+ fraction; none for a fluid without heavy
    // components or with a C7+ molar weight not above that of C7.
    std::vector<double> generateAhmedFluid() const;

    // ---- Phase envelope (degrees Celsius, bar) ----
    // Traces the envelope of the record into a new diagram (null when neither branch has a
    // point).
    EnvelopeTrace calculateImmiscibilityLoop(const FluidRecord& record, std::shared_ptr<CPhaseDiagram>* diagram);
    // First point of the branch named by `branch`.
    [[nodiscard]] equilibrium_failure firstIsoplethPoint(double* T, double* P);
    // Next point of the current branch.
    [[nodiscard]] virtual step_code nextIsoplethPoint(double* T, double* P);
    // First point of the liquid-liquid-gas segment, searched from startT by heating at
    // 1500 bar.
    // Both steps are virtual so that a test can force the rare codes of the continuation.
    [[nodiscard]] virtual equilibrium_failure firstLLGIsoplethPoint(double startT, double* T, double* P);

    // ---- Isochores (degrees Celsius, bar) ----
    // The two-phase isochore of the inclusion homogenising at Th as homog says and the
    // one-phase isochore beyond it, appended to the diagram's lists and handed out through
    // the places given (each may be null). Adds nothing unless both were made.
    isochor_result calculateIsochors(const std::shared_ptr<CPhaseDiagram>& diagram, const InclusionRecord* inclusion,
                          double Th, double Ph, Homogenisation homog, std::shared_ptr<CIsochor>* monophasic,
                          std::shared_ptr<CIsochor>* biphasic);
    // Tmin, Tmax (K) and Pmax from the ordinary points of the branches (either may be null).
    void calculateIsochorsLimits(const CIsopleth* liquid, const CIsopleth* vapour);
    [[nodiscard]] isochor_result firstIsochor2Point(double* T, double* P);  // started or a failure
    [[nodiscard]] step_code nextIsochor2Point(double* T, double* P);   // new_point, failed or end_of_curve
    void firstIsochor1Point(double* T, double* P);
    // new_point, end_of_curve, or failed without a point where the pressure is not positive
    // or the fluid is no longer one phase.
    [[nodiscard]] step_code nextIsochor1Point(double* T, double* P);

    // ---- Reports into the shared log window ----
    void printFlashProperties(double T, double P);  // K, bar
    void printSTProperties();
    void printBulkProperties(double T, double P);   // K, bar

private:
    bool isEngineReady() const { return oil && loaded; }
    // Why the record cannot be loaded, or an empty text.
    std::string refusalOf(const FluidRecord& record) const;
    void writeComponent(int i, const ComponentRecord& component);
    // The engine's flash, keeping the feed; the flashed phases of a two-phase answer are kept
    // for recuperateFlashedFluid.
    Oil::FlashResult runFlash(double T, double P);
    // A component's critical data as the flash used them.
    struct ComponentData
    {
        double Tc, Pc, Vc, omega, mw;  // K, Pa, cm3/mol, -, g/mol
    };
    ComponentData flashedComponentData(int i) const;
    // The engine's stock-tank calculation with no result of an earlier one left over; the
    // results stay in stockTankResults.
    const Oil::StockTank& runStockTank();
    void clearStockTankFields();

    // Envelope extremes (EnvelopeExtremes.cpp). A saturation state in engine units: K, Pa,
    // liquid and vapour mole fractions.
    struct SaturationState {
        double T = 0, P = 0;
        std::vector<double> x, y;
    };
    struct CriticalState {
        double T = 0, P = 0;  // K, Pa
    };
    // Inserts the cricondenbar and the cricondentherm into the branch that holds them;
    // answers the critical point between the branches' ends when it could be pinned down.
    std::optional<CriticalState> refineEnvelopeExtremes(CIsopleth* liquid, CIsopleth* vapour);
    // The highest pressure (inPressure) or temperature of a branch between its walked points.
    void refineBranchMaximum(CIsopleth& branch, bool liquidBranch, bool inPressure);
    std::optional<CriticalState> refineCriticalPoint(CIsopleth& liquid, CIsopleth& vapour);
    std::optional<double> branchSlopeAt(std::vector<SaturationState>& known, bool liquidBranch,
                                        bool fixedTemperature, double value);
    // The bubble or dew point at a temperature (K) or pressure (Pa) from the start given.
    bool solveSaturation(const SaturationState& start, bool liquidBranch, bool fixedTemperature, double value);
    SaturationState stateOf(const CIsoplethPoint& point, bool liquidBranch) const;
    SaturationState solvedState() const;

    // Point of an envelope branch at the engine's present state.
    std::shared_ptr<CIsoplethPoint> isoplethPoint(double T, double P, bool liquidBranch) const;
    // Heats the flash at 1500 bar from the saved state until no vapour is left, then solves
    // the bubble point there; solve_failed when the fluid turns into one vapour phase, or
    // no such temperature is reached.
    [[nodiscard]] equilibrium_failure heatUntilLiquid();
    // Start values of the isochore's first point from the branch points bracketing Th
    // (null when none do); false when there is nothing to start from.
    // Whether the isochore's fluid is one phase at T (K) and P (Pa); the homogeneous phase
    // model is left at the isochore's composition, volume and T.
    bool isOnePhaseAt(double T, double P);
    bool setIsochorStart(std::shared_ptr<CIsoplethPoint> first, std::shared_ptr<CIsoplethPoint> second,
                         bool& twoCrossings);

    std::unique_ptr<ClaCubic0> liquidPhase;
    std::unique_ptr<ClaCubic0> vapourPhase;
    std::unique_ptr<Oil> oil;
    EnvelopeBranch branch = EnvelopeBranch::bubblePoint;
    bool lowTemperatureStart = false;  // of the liquid branch's first point
    FluidType fluidType = FluidType::none;
    double alpha = 0;
    double beta = 0;
    double CO2 = 0;                 // mole fraction
    double N2 = 0;                  // mole fraction
    double H2S = 0;                 // mole fraction
    // Non-translated PR EOS, Standing-Katz, Alani-Kennedy, translated PR EOS.
    std::array<double, 4> GOR{};    // Stdm3/Stdm3
    std::array<double, 4> API{};    // degrees API
    double CH4 = 0;                 // mole percent
    double C7plus = 0;              // mole percent
    double mwC7plus = 0;            // g/mol
    double SGC7plus = 0;
    double bulkDensity1 = 0;        // g/cm3, Standing-Katz
    double step = 0;
    Homogenisation homog = Homogenisation::toLiquid;
    double Th = 0;                  // degrees Celsius
    double bulkVolume = 0;          // m3/mol
    double bulkMolarWeight = 0;     // g/mol
    double bulkDensity0 = 0;        // g/cm3, equation of state
    double Ph = 0;                  // bar
    CIsopleth* isopleth = nullptr;  // not owned
    FluidPhase* currentPhase = nullptr;  // not owned
    double Tmin = 0;
    double Tmax = 0;
    double Pmax = 0;
    equilibrium_failure error = equilibrium_failure::none;
    bool loaded = false;
    ProgressCallback stockTankProgress;
    bool stockTankWasStopped = false;
    std::vector<double> isoplethFeed;  // the envelope's feed while its extremes are refined
    std::optional<Oil::StockTank> stockTankResults;  // of the last stock-tank calculation
    std::vector<double> flashedLiquid;  // of the last two-phase flash
    std::vector<double> flashedVapour;
};

} // namespace quorvel
