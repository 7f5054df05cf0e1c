// User-composition fluid: vapour-pressure correlations by component name.
#include "thermo/Oil2.h"
#include "thermo/Peng.h"
#include "thermo/PsatCorr.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(Oil2Names, AntoineEntryOfEachName)
{
    const struct { const char* name; int entry; } cases[] = {
        {"N2", 0}, {"CO2", 0}, {"H2S", 0},
        {"C1", 1}, {"CH4", 1}, {"C2", 2}, {"C3", 3}, {"iC4", 4}, {"nC4", 4}, {"C4", 4},
        {"iC5", 5}, {"nC5", 5}, {"C5", 5}, {"C6", 6}, {"C7", 7}, {"C8", 8}, {"C9", 9}, {"C10", 10},
        {"C7+", 12}, {"Cn1", 12}, {"Cn2", 16},
        {"C11", 12}, {"C24", 12}, {"C25", 16}, {"C30", 16}, {"C45", 16},
        {"c1", 12}, {"X", 12}, {"", 12}, {"F 30", 16}, {"F-40", 12}, {"nC6", 12}};
    for (const auto& c : cases)
        EXPECT_EQ(antoineEntryForName(c.name), c.entry) << '"' << c.name << '"';
}

TEST(Oil2Names, BoilingPointsAndMethane)
{
    Peng liquidModel(2), vapourModel(1);
    Oil2 oil(liquidModel, vapourModel);
    const char* names[] = {"N2", "CH4", "C4", "C5", "C1", "C20"};
    oil.number_of_components(6);
    for (short i = 0; i < 6; ++i) {
        liquidModel.critical_temperature[i] = vapourModel.critical_temperature[i] = 300;
        liquidModel.critical_pressure[i] = vapourModel.critical_pressure[i] = 4e6;
        oil.boiling_temperature[i] = 1;  // replaced when the component is added
        oil.add_component(i, names[i]);
    }
    const double z[] = {0.1, 0.3, 0.2, 0.2, 0.15, 0.05};
    for (short i = 0; i < 6; ++i)
        oil.composition(i, z[i]);

    EXPECT_DOUBLE_EQ(oil.boiling_temperature[0], 75);
    EXPECT_NEAR(oil.boiling_temperature[1], 111.7, 0.3);  // methane
    EXPECT_NEAR(oil.boiling_temperature[2], 272.7, 1.0);  // n-butane
    EXPECT_NEAR(oil.boiling_temperature[3], 309.2, 1.0);  // n-pentane
    EXPECT_EQ(oil.boiling_temperature[1], oil.boiling_temperature[4]);
    EXPECT_GT(oil.boiling_temperature[5], 450);
    // The first of "CH4" and "C1".
    EXPECT_DOUBLE_EQ(oil.getCH4(), 0.3);
    EXPECT_EQ(oil.critical_temperature[0], 0.0);  // written by the caller only
}

} // namespace
} // namespace quorvel
