#pragma once

#include <array>

namespace quorvel {

// Cuts a gamma distribution of the heavy fraction over boiling temperature into
// carbon-number groups: single carbon numbers up to C10, groups of `delta` carbon numbers
// above.
class GammaModelInterface {
public:
    static constexpr int kSampleCount = 600;
    static constexpr int kMaxEntries = 100;
    // Entries 0 to 3 stand for carbon numbers 0 to 3 and stay empty; groups start here.
    static constexpr int kFirstGroup = 4;

    // Fills the fields from the shape and scale (K) of the distribution, the group width
    // above C10 (clamped to 1 .. 50) and the gas mole fractions, for which the groups leave
    // room: they sum to 100 (1 - CO2 - N2 - H2S) mole percent. A shape of 1 or less counts
    // as just above 1. Returns false, with no entries, for a scale that is not positive or
    // gas fractions that leave no room for hydrocarbons.
    bool calculateFrom(double shape, double scale, int delta, double CO2, double N2, double H2S);

    [[nodiscard]] int count() const { return entries; }  // entries in use
    [[nodiscard]] double molePercent(int i) const { return entryPercent[i]; }  // for i below count()
    // The carbon number where entry i's interval ends.
    [[nodiscard]] int carbonNumber(int i) const { return entryCarbonNumber[i]; }

private:
    std::array<double, kSampleCount> entryPercent{};
    std::array<int, kMaxEntries> entryCarbonNumber{};
    int entries = 0;
};

} // namespace quorvel
