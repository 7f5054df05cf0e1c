#pragma once

#include "numeric/Equation.h"

#include <string>
#include <utility>
#include <vector>

namespace quorvel {

class FluidPhase;

// Molar vapour fractions of the saturation points: the fixed fraction of a solve on a
// saturation curve (fixed_T_and_Fv, fixed_P_and_Fv).
inline constexpr double kBubblePointVapourFraction = 0;
inline constexpr double kDewPointVapourFraction = 1;

// The kind of a saturation point; fluid records store its number ("satPhase", "hexp").
enum class SaturationKind : int {
    dewPoint = 0,
    bubblePoint = 1,
};

[[nodiscard]] constexpr int code_number(SaturationKind kind) { return static_cast<int>(kind); }
// Every stored number but 0 reads as a bubble point.
[[nodiscard]] constexpr SaturationKind saturationKindFromNumber(int number)
{
    return number != 0 ? SaturationKind::bubblePoint : SaturationKind::dewPoint;
}
[[nodiscard]] constexpr double saturationVapourFraction(SaturationKind kind)
{
    return kind == SaturationKind::bubblePoint ? kBubblePointVapourFraction : kDewPointVapourFraction;
}

// Problem types (type_of_problem) are two-digit codes: the tens digit names the quantity
// fixed by the first specification, the units digit the second one, with 1 temperature,
// 2 pressure, 3 molar vapour fraction Fv, 4 molar volume v of the feed, 5 volumetric vapour
// fraction. The order of the digits does not change the problem.
enum class problem_type : short {
    none = 0,
    fixed_T_and_P = 12, fixed_P_and_T = 21,
    fixed_T_and_Fv = 13, fixed_Fv_and_T = 31,
    fixed_P_and_Fv = 23, fixed_Fv_and_P = 32,
    fixed_T_and_v = 14, fixed_v_and_T = 41,
    fixed_P_and_v = 24, fixed_v_and_P = 42,
    fixed_T_and_volumetric_Fv = 15, fixed_volumetric_Fv_and_T = 51,
    fixed_P_and_volumetric_Fv = 25, fixed_volumetric_Fv_and_P = 52,
};

// Constrained quantities: the digits of the type of problem and the codes of Quenta's constraints.
enum class Quantity : short {
    temperature_quantity = 1,
    pressure_quantity = 2,
    vapour_amount_quantity = 3,
    molar_volume_quantity = 4,
    volumetric_fraction_quantity = 5,
};

[[nodiscard]] constexpr int code_number(Quantity q) { return static_cast<int>(q); }

// The quantity fixed by the first or the second specification of a problem type (none
// names no quantity).
[[nodiscard]] constexpr Quantity first_quantity(problem_type t)
{
    return static_cast<Quantity>(static_cast<short>(t) / 10);
}
[[nodiscard]] constexpr Quantity second_quantity(problem_type t)
{
    return static_cast<Quantity>(static_cast<short>(t) % 10);
}

// Outcome of the last solve (failure_code); its number is what reports and logs show.
enum class equilibrium_failure : short {
    none = 0,
    // The ideal-mixture root search, the Newton solve, the predictor or the alpha search failed.
    solve_failed = 1,
    // A flash whose feed the stability test found stable: one phase at the given state, no
    // failure of the solver.
    one_phase = 2,
    // The saturation point at the homogenisation temperature of the alpha-beta volume equation.
    homogenization_point_failed = 5,
    // The two-phase point at the reading temperature and volumetric fraction of that equation.
    inclusion_point_failed = 6,
    // No initial estimate in the alpha-beta start tables.
    no_initial_estimate = 8,
    // Alpha-beta parameters whose distribution has a negative or non-finite mole fraction.
    unsound_distribution = 9,
};

[[nodiscard]] constexpr int code_number(equilibrium_failure f) { return static_cast<int>(f); }

// Start values of the next solve (initialization_flag).
enum class initialization : short {
    from_estimates = 0,
    from_current_state = 1,
    from_ideal_mixture = 2,
};

// Base of the two-phase equilibrium objects: an n-component feed split into a liquid and
// a vapour (or a second liquid), each described by a phase model that the equilibrium
// drives but does not own.
class VLE : public Equation {
public:
    VLE();
    VLE(FluidPhase& a, FluidPhase& b);
    VLE(FluidPhase* a, FluidPhase* b);
    VLE(const VLE&) = delete;
    VLE& operator=(const VLE&) = delete;

    virtual void reset_to_zero();
    virtual void read_component_data(short i, const char* name);
    virtual void calculate_with_fixed_P_and_T();
    virtual void calculate_with_fixed_T_and_Fv();
    virtual void calculate_with_fixed_P_and_Fv();
    virtual void apply_conditions();
    virtual void initialize();
    virtual void estimate_next_state();
    virtual ~VLE();
    virtual void set_initialization_flag(initialization flag);
    virtual void set_the_temperature(double T);             // K
    virtual void set_the_pressure(double P);                // bar
    virtual void set_the_volume(double v);                  // m3/mol
    virtual void set_the_vaporization_ratio(double f);      // molar fraction
    virtual void set_the_vaporization_ratio1(double fv);    // volumetric fraction
    virtual void temperature(double T);                     // start value, K
    virtual void pressure(double P);                        // start value, bar
    virtual void vaporization_ratio(double f);              // start value, molar fraction
    virtual void vaporization_ratio1(double fv);            // start value, volumetric fraction
    virtual void number_of_components(short n);
    virtual void set_type_of_problem(problem_type t);
    virtual void add_component(short i, const char* name);  // refused, with a message, without a name
    virtual void composition(short i, double z);            // feed
    virtual void xcomposition(short i, double x);           // liquid start composition
    virtual void ycomposition(short i, double y);           // vapour start composition
    virtual void calculateVLE();

    // Assigns the liquid and vapour roles by the phase types of the two models:
    // (2, 1) and (1, 2) a vapour-liquid pair, (2, 2) a liquid-liquid pair, else nothing.
    void set_thermodynamic_models(FluidPhase& a, FluidPhase& b);
    void set_thermodynamic_models(FluidPhase* a, FluidPhase* b);

    void save();      // current state -> saved state
    void restore();   // saved state -> current state, then describe()
    void describe();  // current state into both phase models, then their describe()

    // The feed.
    [[nodiscard]] short componentCount() const { return component_count; }
    [[nodiscard]] const std::vector<std::string>& componentName() const { return component_name; }
    [[nodiscard]] const std::vector<double>& feedMoles() const { return feed_moles; }
    [[nodiscard]] const std::vector<double>& feedComposition() const { return feed_composition; }
    // The phase models the equilibrium drives (not owned).
    [[nodiscard]] FluidPhase* liquidModel() const { return liquid; }
    [[nodiscard]] FluidPhase* vapourModel() const { return vapour; }
    // 1 when both models are liquids.
    [[nodiscard]] auto liquidLiquid() const { return liquid_liquid; }
    [[nodiscard]] problem_type typeOfProblem() const { return type_of_problem; }

    // The specifications of the next solve.
    [[nodiscard]] double specifiedTemperature() const { return specified_temperature; }    // K
    [[nodiscard]] double specifiedPressure() const { return specified_pressure; }          // Pa
    [[nodiscard]] double specifiedVapourMoles() const { return specified_vapour_moles; }   // mol
    // The volumetric vapour fraction of types 15 and 51 alone, the start amounts kept.
    void setSpecifiedVolumetricRatio(double fv) { specified_volumetric_ratio = fv; }

    // The current state: the last solution, or the start of a solve from it.
    [[nodiscard]] double currentTemperature() const { return current_temperature; }  // K
    [[nodiscard]] double currentPressure() const { return current_pressure; }        // Pa
    [[nodiscard]] double currentVolume() const { return current_volume; }            // m3/mol of feed
    [[nodiscard]] double liquidMoles() const { return liquid_moles; }
    [[nodiscard]] double vapourMoles() const { return vapour_moles; }
    [[nodiscard]] const std::vector<double>& liquidComposition() const { return liquid_composition; }
    [[nodiscard]] const std::vector<double>& vapourComposition() const { return vapour_composition; }
    [[nodiscard]] double volumetricVaporizationRatio() const { return volumetric_vaporization_ratio; }
    void setCurrentTemperature(double T) { current_temperature = T; }  // K
    void setCurrentPressure(double P) { current_pressure = P; }        // Pa
    void setLiquidMoles(double moles) { liquid_moles = moles; }
    void setVapourMoles(double moles) { vapour_moles = moles; }
    void setLiquidComposition(std::vector<double> x) { liquid_composition = std::move(x); }
    void setVapourComposition(std::vector<double> y) { vapour_composition = std::move(y); }

    // Start values of a solve from estimates.
    [[nodiscard]] double estimatedTemperature() const { return estimated_temperature; }  // K
    [[nodiscard]] double estimatedPressure() const { return estimated_pressure; }        // Pa
    [[nodiscard]] const std::vector<double>& estimatedLiquidComposition() const { return estimated_liquid_composition; }
    [[nodiscard]] const std::vector<double>& estimatedVapourComposition() const { return estimated_vapour_composition; }
    void setEstimatedTemperature(double T) { estimated_temperature = T; }  // K
    void setEstimatedPressure(double P) { estimated_pressure = P; }        // Pa
    void setEstimatedLiquidComposition(std::vector<double> x) { estimated_liquid_composition = std::move(x); }
    void setEstimatedVapourComposition(std::vector<double> y) { estimated_vapour_composition = std::move(y); }

    // The state kept by save() for restore().
    [[nodiscard]] double savedTemperature() const { return saved_temperature; }  // K
    [[nodiscard]] double savedPressure() const { return saved_pressure; }        // Pa
    [[nodiscard]] double savedLiquidMoles() const { return saved_liquid_moles; }
    [[nodiscard]] double savedVapourMoles() const { return saved_vapour_moles; }
    [[nodiscard]] const std::vector<double>& savedLiquidComposition() const { return saved_liquid_composition; }
    [[nodiscard]] const std::vector<double>& savedVapourComposition() const { return saved_vapour_composition; }
    void setSavedLiquidMoles(double moles) { saved_liquid_moles = moles; }
    void setSavedVapourMoles(double moles) { saved_vapour_moles = moles; }
    void setSavedLiquidComposition(std::vector<double> x) { saved_liquid_composition = std::move(x); }

    // Outcome of the last solve.
    [[nodiscard]] equilibrium_failure failureCode() const { return failure_code; }
    // Predictor steps taken along the current curve.
    [[nodiscard]] short stepCounter() const { return step_counter; }
    // The next predictor step is the first of a new curve.
    void startNewCurve() { step_counter = 0; }
    bool has_phase_models() const { return liquid && vapour; }
    // The per-component setters ignore an index outside 0 .. component_count - 1.
    bool is_component(short i) const { return i >= 0 && i < component_count; }

protected:
    std::vector<std::string> component_name;
    short component_count = 0;
    std::vector<double> feed_moles;
    std::vector<double> feed_composition;
    double total_feed_moles = 1;
    FluidPhase* liquid = nullptr;
    FluidPhase* vapour = nullptr;
    double specified_temperature = 0;       // K
    double specified_pressure = 0;          // Pa
    double specified_vapour_moles = 0;      // mol
    double specified_liquid_moles = 0;      // mol
    double specified_volume = 0;            // m3/mol
    double specified_volumetric_ratio = 0;
    double current_temperature = 0;         // K
    double current_pressure = 0;            // Pa
    double current_volume = 0;              // m3/mol of feed
    double vapour_moles = 0;
    double liquid_moles = 0;
    std::vector<double> liquid_composition;
    std::vector<double> vapour_composition;
    double molar_vaporization_ratio = 0;
    double volumetric_vaporization_ratio = 0;
    double estimated_temperature = 0;       // K
    double estimated_pressure = 0;          // Pa
    std::vector<double> estimated_liquid_composition;
    std::vector<double> estimated_vapour_composition;
    double saved_temperature = 0;           // K
    double saved_pressure = 0;              // Pa
    std::vector<double> saved_liquid_composition;
    std::vector<double> saved_vapour_composition;
    double saved_vapour_moles = 0;
    double saved_liquid_moles = 0;
    bool liquid_liquid = false;  // both phase models are liquids
    problem_type type_of_problem = problem_type::none;
    initialization initialization_flag = initialization::from_estimates;

    equilibrium_failure failure_code = equilibrium_failure::none;
    short step_counter = 0;  // predictor steps along the current curve; 0 starts a new one

    // Molar vapour fraction of a volumetric one fv, the vapour molar volume taken as
    // volume_ratio times the liquid's (a start value only).
    static double molar_fraction_of_volumetric(double fv, double volume_ratio);
    // The specified temperature or pressure (or both) as estimates, by type of problem;
    // false for a type that fixes neither.
    bool take_specified_conditions();
    // Types 13, 31, 23 and 32, where the molar vapour fraction is fixed.
    bool fixes_vapour_fraction() const;
    // Start values of the two phase amounts from the specified vapour amount.
    void take_specified_phase_amounts();
    // The estimated temperature, pressure and compositions become the current state.
    void take_estimated_state();
};

}  // namespace quorvel
