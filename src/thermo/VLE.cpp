#include "thermo/VLE.h"

#include "thermo/FluidPhase.h"

#include <cstdio>

namespace quorvel {

namespace {

constexpr double pascal_per_bar = 1e5;

// The setters take the vapour molar volume as 100 times the liquid's.
constexpr double setter_volume_ratio = 100;

}  // namespace

double VLE::molar_fraction_of_volumetric(double fv, double volume_ratio)
{
    return fv / ((1 - fv) * volume_ratio + fv);
}

VLE::VLE()
{
    VLE::reset_to_zero();
}

VLE::VLE(FluidPhase& a, FluidPhase& b)
{
    VLE::reset_to_zero();
    set_thermodynamic_models(a, b);
}

VLE::VLE(FluidPhase* a, FluidPhase* b)
{
    VLE::reset_to_zero();
    set_thermodynamic_models(a, b);
}

VLE::~VLE() = default;

void VLE::set_thermodynamic_models(FluidPhase& a, FluidPhase& b)
{
    constexpr phase_kind liquid_kind = phase_kind::liquid;
    constexpr phase_kind vapour_kind = phase_kind::vapour;
    if (a.phase_type == liquid_kind && b.phase_type == vapour_kind) {
        liquid = &a;
        vapour = &b;
        liquid_liquid = false;
    } else if (a.phase_type == vapour_kind && b.phase_type == liquid_kind) {
        liquid = &b;
        vapour = &a;
        liquid_liquid = false;
    } else if (a.phase_type == liquid_kind && b.phase_type == liquid_kind) {
        liquid = &a;
        vapour = &b;
        liquid_liquid = true;
    }
}

void VLE::set_thermodynamic_models(FluidPhase* a, FluidPhase* b)
{
    if (a && b)
        set_thermodynamic_models(*a, *b);
}

void VLE::reset_to_zero()
{
    liquid = nullptr;
    vapour = nullptr;
    component_name.clear();
    feed_moles.clear();
    feed_composition.clear();
    liquid_composition.clear();
    vapour_composition.clear();
    estimated_liquid_composition.clear();
    estimated_vapour_composition.clear();
    saved_liquid_composition.clear();
    saved_vapour_composition.clear();
    component_count = 0;
    total_feed_moles = 1;
    vapour_moles = liquid_moles = molar_vaporization_ratio = 0;
    current_temperature = current_pressure = current_volume = 0;
    estimated_temperature = estimated_pressure = 0;
    saved_temperature = saved_pressure = 0;
    specified_vapour_moles = specified_liquid_moles = 0;
    specified_temperature = specified_pressure = specified_volume = specified_volumetric_ratio = 0;
    liquid_liquid = false;
    step_counter = 0;
    type_of_problem = problem_type::none;
    initialization_flag = initialization::from_estimates;
    failure_code = equilibrium_failure::none;
}

void VLE::read_component_data(short, const char*) {}
void VLE::calculate_with_fixed_P_and_T() {}
void VLE::calculate_with_fixed_T_and_Fv() {}
void VLE::calculate_with_fixed_P_and_Fv() {}
void VLE::estimate_next_state() {}

void VLE::number_of_components(short n)
{
    component_count = n;
    const std::size_t size = n > 0 ? std::size_t(n) : 0;
    component_name.assign(size, std::string());
    for (auto* array : {&feed_moles, &feed_composition, &liquid_composition, &vapour_composition,
                        &estimated_liquid_composition, &estimated_vapour_composition,
                        &saved_liquid_composition, &saved_vapour_composition})
        array->assign(size, 0.0);
    if (liquid)
        liquid->number_of_components(n);
    if (vapour)
        vapour->number_of_components(n);
}

void VLE::add_component(short i, const char* name)
{
    if (!is_component(i))
        return;
    // Without a name no data can be read: the component keeps no vapour-pressure
    // correlation, so every solve from ideal-mixture start values fails.
    if (!name || !*name) {
        std::fprintf(stderr, "Component %d has no name: its data are not read\n", i);
        return;
    }
    component_name[i] = name;
    if (liquid)
        liquid->add_component(i, component_name[i]);
    if (vapour)
        vapour->add_component(i, component_name[i]);
    read_component_data(i, name);
}

void VLE::composition(short i, double z)
{
    if (!is_component(i))
        return;
    feed_composition[i] = z;
    feed_moles[i] = total_feed_moles * z;
}

void VLE::xcomposition(short i, double x)
{
    if (!is_component(i))
        return;
    liquid_composition[i] = estimated_liquid_composition[i] = saved_liquid_composition[i] = x;
}

void VLE::ycomposition(short i, double y)
{
    if (!is_component(i))
        return;
    vapour_composition[i] = estimated_vapour_composition[i] = saved_vapour_composition[i] = y;
}

void VLE::set_type_of_problem(problem_type t)
{
    type_of_problem = t;
}

void VLE::set_initialization_flag(initialization flag)
{
    initialization_flag = flag;
}

void VLE::set_the_temperature(double T)
{
    specified_temperature = T;
}

void VLE::set_the_pressure(double P)
{
    specified_pressure = P * pascal_per_bar;
}

void VLE::set_the_volume(double v)
{
    specified_volume = v;
}

void VLE::set_the_vaporization_ratio(double f)
{
    specified_vapour_moles = total_feed_moles * f;
    specified_liquid_moles = total_feed_moles * (1 - f);
}

void VLE::set_the_vaporization_ratio1(double fv)
{
    specified_volumetric_ratio = fv;
    volumetric_vaporization_ratio = fv;
    molar_vaporization_ratio = molar_fraction_of_volumetric(fv, setter_volume_ratio);
    vapour_moles = total_feed_moles * molar_vaporization_ratio;
    liquid_moles = total_feed_moles * (1 - molar_vaporization_ratio);
}

void VLE::temperature(double T)
{
    saved_temperature = estimated_temperature = current_temperature = T;
    if (liquid)
        liquid->temperature(T);
    if (vapour)
        vapour->temperature(T);
}

void VLE::pressure(double P)
{
    saved_pressure = estimated_pressure = current_pressure = P * pascal_per_bar;
    if (liquid)
        liquid->pressure(P);
    if (vapour)
        vapour->pressure(P);
}

void VLE::vaporization_ratio(double f)
{
    molar_vaporization_ratio = f;
    vapour_moles = total_feed_moles * f;
    liquid_moles = total_feed_moles * (1 - f);
    if (vapour)
        vapour->total_number_of_moles(vapour_moles);
    if (liquid)
        liquid->total_number_of_moles(liquid_moles);
}

void VLE::vaporization_ratio1(double fv)
{
    volumetric_vaporization_ratio = fv;
    vaporization_ratio(molar_fraction_of_volumetric(fv, setter_volume_ratio));
}

void VLE::apply_conditions()
{
    if (!has_phase_models())
        return;
    for (FluidPhase* phase : {liquid, vapour}) {
        phase->temperature(current_temperature);
        phase->pressure(current_pressure / pascal_per_bar);
    }
    liquid->total_number_of_moles(liquid_moles);
    vapour->total_number_of_moles(vapour_moles);
    for (short i = 0; i < component_count; ++i) {
        liquid->composition_of_component(i, liquid_composition[i]);
        vapour->composition_of_component(i, vapour_composition[i]);
    }
}

void VLE::take_specified_phase_amounts()
{
    vapour_moles = specified_vapour_moles;
    specified_liquid_moles = total_feed_moles * (1 - specified_vapour_moles);
    liquid_moles = specified_liquid_moles;
    if (!has_phase_models())
        return;
    liquid->total_number_of_moles(liquid_moles);
    vapour->total_number_of_moles(vapour_moles);
}

bool VLE::take_specified_conditions()
{
    switch (type_of_problem) {
    case problem_type::fixed_T_and_P:
    case problem_type::fixed_P_and_T:
        estimated_temperature = specified_temperature;
        estimated_pressure = specified_pressure;
        return true;
    case problem_type::fixed_T_and_Fv:
    case problem_type::fixed_Fv_and_T:
    case problem_type::fixed_T_and_v:
    case problem_type::fixed_T_and_volumetric_Fv:
    case problem_type::fixed_v_and_T:
    case problem_type::fixed_volumetric_Fv_and_T:
        estimated_temperature = specified_temperature;
        return true;
    case problem_type::fixed_P_and_Fv:
    case problem_type::fixed_Fv_and_P:
    case problem_type::fixed_P_and_v:
    case problem_type::fixed_P_and_volumetric_Fv:
    case problem_type::fixed_v_and_P:
    case problem_type::fixed_volumetric_Fv_and_P:
        estimated_pressure = specified_pressure;
        return true;
    default:
        return false;
    }
}

bool VLE::fixes_vapour_fraction() const
{
    using enum problem_type;
    return type_of_problem == fixed_T_and_Fv || type_of_problem == fixed_Fv_and_T
           || type_of_problem == fixed_P_and_Fv || type_of_problem == fixed_Fv_and_P;
}

void VLE::take_estimated_state()
{
    current_temperature = estimated_temperature;
    current_pressure = estimated_pressure;
    liquid_composition = estimated_liquid_composition;
    vapour_composition = estimated_vapour_composition;
}

void VLE::initialize()
{
    if (!take_specified_conditions())
        return;
    if (fixes_vapour_fraction())
        take_specified_phase_amounts();
    take_estimated_state();
}

void VLE::calculateVLE()
{
    initialize();
    switch (type_of_problem) {
    case problem_type::fixed_T_and_P:
    case problem_type::fixed_P_and_T:
        calculate_with_fixed_P_and_T();
        break;
    case problem_type::fixed_T_and_Fv:
    case problem_type::fixed_Fv_and_T:
        calculate_with_fixed_T_and_Fv();
        break;
    case problem_type::fixed_P_and_Fv:
    case problem_type::fixed_Fv_and_P:
        calculate_with_fixed_P_and_Fv();
        break;
    default:
        return;
    }
    estimate_next_state();
}

void VLE::save()
{
    saved_liquid_composition = liquid_composition;
    saved_vapour_composition = vapour_composition;
    saved_pressure = current_pressure;
    saved_temperature = current_temperature;
    saved_vapour_moles = vapour_moles;
    saved_liquid_moles = liquid_moles;
}

void VLE::restore()
{
    liquid_composition = saved_liquid_composition;
    vapour_composition = saved_vapour_composition;
    current_pressure = saved_pressure;
    current_temperature = saved_temperature;
    vapour_moles = saved_vapour_moles;
    liquid_moles = saved_liquid_moles;
    describe();
}

void VLE::describe()
{
    if (!has_phase_models())
        return;
    apply_conditions();
    vapour->describe();
    liquid->describe();
}

}  // namespace quorvel
