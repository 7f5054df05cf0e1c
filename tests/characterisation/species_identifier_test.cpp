#include "characterisation/Correlations.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace quorvel;

struct NameCase
{
    const char* name;
    int identifier;
};

// Every naming rule and its edges: exact names, the general "C" and "nC" rules, plus
// fractions, signs, white space, huge numbers and names that follow no rule.
TEST(SpeciesIdentifier, FollowsTheNamingRules)
{
    const NameCase cases[] = {
        {"N2", -1},          {"CO2", -2},         {"H2S", -3},         {"C1", 1},
        {"C2", 2},           {"C3", 3},           {"iC4", 1004},       {"nC4", 4},
        {"iC5", 1005},       {"nC5", 5},          {"C6", 6},           {"C4", 4},
        {"C5", 5},           {"nC6", 6},          {"C7", 7},           {"C35", 35},
        {"C16", 16},         {"C46", 46},         {"C7+", 2000},       {"Cn1", 2001},
        {"Cn2", 2002},       {"C20+", 3020},      {"nC10+", 3010},     {"C+", 3000},
        {"nC+", 3000},       {"CH4", 0},          {"C7 heavy", 7},     {"C 12", 12},
        {"C", 0},            {"nC", 0},           {"X", 0},            {"", 0},
        {"c7", 0},           {"n", 0},            {"C-2", -2},         {"C+5", 5},
        {"C-5+", 2995},      {"C007", 7},         {"C12abc+", 3012},   {"Methane", 0},
        {"C99999999999", INT_MAX},               {"C-99999999999", INT_MIN},
        {"C99999999999+", INT_MAX},              {"nC2147483647+", INT_MAX},
        {"C2147483647", INT_MAX},                {"C-2147483648", INT_MIN},
        {"C-99999999999+", 3000 + INT_MIN},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(getSpeciesIdentifier(QString::fromUtf8(c.name)), c.identifier) << c.name;
}

struct BuiltInRow
{
    const char* name;
    int nc;
    double Tc, Pc, omega, mw, Vc, Tb, SG;  // K, bar, -, g/mol, cm3/mol, K, -
};

// The light species get their built-in data, keyed by identifier ("C4" receives nC4's
// row), with "corr" the code given although no correlation runs.
TEST(SpeciesIdentifier, NamingALightSpeciesWritesItsBuiltInData)
{
    const BuiltInRow rows[] = {
        {"N2", -1, 126.2, 33.9, 0.04, 28.01, 89, 75, 0},
        {"CO2", -2, 304.21, 73.825, 0.225, 44.01, 93, 185, 0},
        {"H2S", -3, 373.2, 88.2, 0.105, 34.08, 117, 398.8, 0},
        {"C1", 1, 190.555, 45.95, 0.013, 16.04, 99.2, 116.65, 0},
        {"C2", 2, 305.4, 48.2, 0.105, 30.07, 148, 184.52, 0},
        {"C3", 3, 369.95, 41.9, 0.152, 44.1, 203, 231.08, 0.507},
        {"iC4", 1004, 408.8, 35.92, 0.176, 58.12, 263, 261.85, 0.572},
        {"nC4", 4, 425.2, 37.5, 0.193, 58.12, 255, 272.65, 0.572},
        {"C4", 4, 425.2, 37.5, 0.193, 58.12, 255, 272.65, 0.572},
        {"iC5", 1005, 433.8, 31.54, 0.197, 71.95, 306, 301, 0.626},
        {"nC5", 5, 469.7, 33.25, 0.251, 72.15, 304, 309.22, 0.626},
        {"C5", 5, 469.7, 33.25, 0.251, 72.15, 304, 309.22, 0.626},
        {"C6", 6, 507.4, 29.75, 0.296, 85.26, 385, 341.89, 0.663},
        {"nC6", 6, 507.4, 29.75, 0.296, 85.26, 385, 341.89, 0.663},
    };
    for (const BuiltInRow& row : rows) {
        Dictionary component{{"mole", 12.5}};
        EXPECT_EQ(setComponentName(row.name, component, CorrelationCode::riaziDaubert), CorrelationStatus::Applied);
        SCOPED_TRACE(row.name);
        EXPECT_EQ(component.stringValue("name"), QString::fromUtf8(row.name));
        EXPECT_EQ(component.intValue("nc"), row.nc);
        EXPECT_EQ(component.intValue("corr"), 5);
        EXPECT_DOUBLE_EQ(component.doubleValue("Tc"), row.Tc - 273.15);
        EXPECT_DOUBLE_EQ(component.doubleValue("Tb"), row.Tb - 273.15);
        EXPECT_DOUBLE_EQ(component.doubleValue("Pc"), row.Pc);
        EXPECT_DOUBLE_EQ(component.doubleValue("Vc"), row.Vc);
        EXPECT_DOUBLE_EQ(component.doubleValue("omega"), row.omega);
        EXPECT_DOUBLE_EQ(component.doubleValue("mw"), row.mw);
        EXPECT_DOUBLE_EQ(component.doubleValue("SG"), row.SG);
        EXPECT_DOUBLE_EQ(component.doubleValue("mole"), 12.5);  // keys it does not write are kept
        EXPECT_FALSE(component.contains("slope"));
    }
}

}  // namespace
