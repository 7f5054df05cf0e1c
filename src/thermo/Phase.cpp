#include "thermo/Phase.h"

namespace quorvel {

void Phase::set_the_phase_as(phase_kind type)
{
    phase_type = type;
}

void Phase::number_of_components(short n)
{
    component_count = n;
    mole_fraction.assign(n, 0.0);
    moles.assign(n, 0.0);
    molar_weight.assign(n, 0.0);
    component_name.assign(n, std::string());
    ++names_changes;
    fugacity.assign(n, 0.0);
    fugacity_dt.assign(n, 0.0);
    fugacity_dp.assign(n, 0.0);
    fugacity_dn = Matrix(n, n);
    if (n == 1) {
        total_moles = 1;
        mole_fraction[0] = 1;
        moles[0] = 1;
    }
}

void Phase::add_component(short i, const std::string& name)
{
    component_name[i] = name;
    ++names_changes;
    read_component_data(i, name);
    if (i == component_count - 1)
        read_remaining_component_data();
}

void Phase::read_component_data(short, const std::string&) {}

void Phase::read_remaining_component_data() {}

void Phase::temperature(double T)
{
    temperature_k = T;
}

void Phase::pressure(double P)
{
    pressure_pa = P * 100000.0;
}

void Phase::volume(double v)
{
    molar_volume = v;
}

void Phase::composition_of_component(short i, double x)
{
    mole_fraction[i] = x;
    if (total_moles != 0)
        moles[i] = total_moles * x;
}

void Phase::number_of_moles_of_component(short i, double m)
{
    moles[i] = m;
    if (total_moles != 0)
        mole_fraction[i] = m / total_moles;
}

void Phase::total_number_of_moles(double N)
{
    total_moles = N;
}

void Phase::describe() {}

void Phase::calculate_molar_volume() {}

double Phase::calculate_molar_weight() const
{
    double sum = 0;
    for (short i = 0; i < component_count; ++i)
        sum += mole_fraction[i] * molar_weight[i];
    return sum;
}

void Phase::composition(const double* x)
{
    for (short i = 0; i < component_count; ++i)
        composition_of_component(i, x[i]);
}

}  // namespace quorvel
