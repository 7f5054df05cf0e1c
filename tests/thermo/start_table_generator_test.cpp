// The two records of the original start tables given in full are the best independent
// check of the alpha-beta engine: distribution, heavy cuts, Montel phases, saturation
// points and the isochore down to 293.15 K.
#include "alpha_beta_tables/StartTableGenerator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel::start_tables {
namespace {

struct PublishedRecord {
    double alpha;
    bool bubble;
    double Th, P, fraction;
    std::array<double, kModelComponentCount> incipient;
};

const PublishedRecord kAlpha35Record4 = {
    0.35, true, 303.149994, 20186399.841309, 36.58,
    {0, 0, 0, 0.76644, 0.079109, 0.041801, 0.005408, 0.011862, 0.003426, 0.005472, 0.03366,
     0.03446, 0.012297, 0.004363, 0.001543, 0.00016, 0}};

const PublishedRecord kAlpha95Record10 = {
    0.95, false, 960.15, 2473360.061646, 90.67,
    {0, 0, 0, 0.008482, 0.001455, 0.003127, 0.001241, 0.00284, 0.002502, 0.004059, 0.011482,
     0.01348, 0.014713, 0.015666, 0.016472, 0.163862, 0.740619}};

// Saturation pressure and incipient phase: to the six digits published.
constexpr double kPressureTolerance = 1e-5;     // relative
constexpr double kCompositionTolerance = 1e-6;  // absolute, half a unit of the last digit
// Vapour fraction at 293.15 K (percentage points). The published fractions lie 0.14
// (bubble) and 2.1 (dew) points above what the isochore of the same fluid gives, while
// pressures and compositions agree to every published digit: the original read its
// fractions in a way not known to us. Its reading temperature would be 292.97 K for the
// bubble record, and none explains the dew record (88.4 to 88.65 % from 273 to 373 K);
// molar or mass fractions, Montel or Dorvane translations and Standing-Katz or
// Alani-Kennedy liquid volumes reproduce neither record (translating the heavy cuts by
// their shift factors gives 90.64 % for the dew record but leaves the bubble record).
constexpr double kBubbleFractionTolerance = 0.3;
constexpr double kDewFractionTolerance = 2.5;

void expectReproduced(const PublishedRecord& published, const Record& record)
{
    EXPECT_NEAR(record.P / published.P, 1.0, kPressureTolerance);
    for (int i = 0; i < kModelComponentCount; ++i)
        EXPECT_NEAR(record.incipient[i], published.incipient[i], kCompositionTolerance) << "component " << i;
    EXPECT_NEAR(record.fraction, published.fraction,
                published.bubble ? kBubbleFractionTolerance : kDewFractionTolerance);
}

TEST(StartTableRecords, Alpha35BubbleRecord4)
{
    StartTableGenerator generator(kAlpha35Record4.alpha);
    const auto record = generator.bubbleRecord(kAlpha35Record4.Th);
    ASSERT_TRUE(record);
    expectReproduced(kAlpha35Record4, *record);
}

TEST(StartTableRecords, Alpha95DewRecord10)
{
    StartTableGenerator generator(kAlpha95Record10.alpha);
    const auto record = generator.dewRecord(kAlpha95Record10.Th, 2.5e6);
    ASSERT_TRUE(record);
    expectReproduced(kAlpha95Record10, *record);
}

TEST(StartTableRecords, CompiledTablesFollowTheLayout)
{
    for (int t = 0; t < kStartTableCount; ++t) {
        const auto& table = *kAlphaBetaStartTables[t];
        EXPECT_EQ(table[0], kStartTableAlphas[t]);
        EXPECT_EQ(table[1], 0.0);
        const auto fraction = [&](int r) { return table[4 + kStartRecordSize * r]; };
        const auto temperature = [&](int r) { return table[2 + kStartRecordSize * r]; };
        for (int r = 0; r < kStartRecordCount; ++r) {
            double sum = 0;
            for (int i = 0; i < kModelComponentCount; ++i)
                sum += table[5 + kStartRecordSize * r + i];
            EXPECT_NEAR(sum, 1.0, 1e-9) << "table " << t << " record " << r;
            if (temperature(r) <= kStartTableReadingTemperature) {
                EXPECT_EQ(fraction(r), kNoVapour);
            }
        }
        for (int r = 1; r < kFirstDewRecord; ++r)
            EXPECT_GE(fraction(r), fraction(r - 1)) << "table " << t << " bubble record " << r;
        for (int r = kFirstDewRecord + 1; r < kStartRecordCount; ++r)
            EXPECT_LE(fraction(r), fraction(r - 1)) << "table " << t << " dew record " << r;
    }
}

} // namespace
} // namespace quorvel::start_tables
