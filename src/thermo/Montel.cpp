#include "thermo/Montel.h"

#include "thermo/Peng.h"

#include <array>
#include <utility>

namespace quorvel {

namespace {

struct BuiltinComponent {
    const char* name;
    double tc;     // K
    double pc;     // bar
    double omega;
    double mw;     // g/mol
    double vc;     // cm3/mol
};

// Positions 15 and 16 (the heavy cuts) take their data from the phase's cn1 and cn2 members.
constexpr std::array<BuiltinComponent, Montel::builtin_component_count> builtin_components = {{
    {"N2", 126.2, 33.94, 0.04, 28.01, 89},
    {"CO2", 304.2, 73.76, 0.225, 44.01, 93},
    {"H2S", 373.2, 89.37, 0.1, 34.08, 117},
    {"C1", 190.6, 45, 0.0115, 16.04, 99.2},
    {"C2", 305.4, 48, 0.0908, 30.07, 148},
    {"C3", 369.8, 42.46, 0.1454, 44.1, 203},
    {"iC4", 408.2, 36.48, 0.176, 58.12, 263},
    {"nC4", 425.3, 38, 0.1928, 58.12, 255},
    {"iC5", 464.7, 34.72, 0.2235, 71.95, 306},
    {"nC5", 469.6, 33.74, 0.2273, 72.15, 304},
    {"C6", 513, 32, 0.2637, 85.26, 385},
    {"C7", 551, 30, 0.2897, 98.4, 425},
    {"C8", 583, 28.5, 0.3245, 112, 506},
    {"C9", 609, 26.5, 0.3791, 126, 570},
    {"C10", 631, 24.8, 0.4363, 140, 630},
    {"Cn1", 0, 0, 0, 0, 0},
    {"Cn2", 0, 0, 0, 0, 0},
}};

enum : short { N2, CO2, H2S, C1, C2, C3, C6 = 10, C10 = 14, Cn1, Cn2 };

// Built-in interaction coefficient on a of the positions i and j (symmetric, zero diagonal).
double builtin_kaij(short i, short j)
{
    if (i > j)
        std::swap(i, j);
    switch (i) {
    case N2:
        switch (j) {
        case CO2: return -0.02;
        case H2S: return 0.18;
        case C1: return 0.04;
        case C2: return 0.05;
        case C3: return 0.08;
        default: return 0;
        }
    case CO2:
        switch (j) {
        case H2S: return 0.1;
        case C1: return 0.1;
        case C2: return 0.14;
        case C3: return 0.14;
        default: return 0;
        }
    case H2S:
        return j == C1 || j == C2 || j == C3 ? 0.08 : 0;
    case C1:
    case C2:
    case C3: {
        // Light hydrocarbon with C6..C10, Cn1 and Cn2.
        static constexpr double with_c6_c10[] = {0.03, 0.02, 0.01};
        static constexpr double with_cn1[] = {0.05, 0.03, 0.01};
        static constexpr double with_cn2[] = {0.07, 0.05, 0.03};
        const int row = i - C1;
        if (j >= C6 && j <= C10)
            return with_c6_c10[row];
        if (j == Cn1)
            return with_cn1[row];
        if (j == Cn2)
            return with_cn2[row];
        return 0;
    }
    default:
        return 0;
    }
}

}  // namespace

Montel::Montel(phase_kind type)
{
    phase_type = type;
    set_equation_constants(peng_robinson_constants);
}

void Montel::read_component_data(short i, const std::string& name)
{
    if (i < 0 || i >= builtin_component_count || name != builtin_components[i].name)
        return;
    if (i == Cn1 || i == Cn2) {
        const HeavyCutData& cut = i == Cn1 ? cn1 : cn2;
        critical_temperature[i] = cut.tc;
        critical_pressure[i] = cut.pc;
        acentric_factor[i] = cut.omega;
        molar_weight[i] = cut.mw;
        critical_volume[i] = cut.vc;
    } else {
        const BuiltinComponent& c = builtin_components[i];
        critical_temperature[i] = c.tc;
        critical_pressure[i] = c.pc * 100000.0;
        acentric_factor[i] = c.omega;
        molar_weight[i] = c.mw;
        critical_volume[i] = c.vc * 1e-6;
    }
    set_classic_parameters(i);
    if (i == component_count - 1)
        read_BIP();
}

void Montel::apply_interaction_coefficients()
{
    if (calculates_with_builtin_table)
        read_BIP();
    else
        ClaCubic0::read_BIP();
}

void Montel::read_BIP()
{
    for (short i = 0; i < component_count; ++i)
        for (short j = 0; j < i; ++j)
            set_binary_interaction_kaij(i, j, builtin_kaij(i, j));
}

}  // namespace quorvel
