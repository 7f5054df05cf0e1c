#pragma once
// What every C7+ split shares: the composition summary of a fluid record, the split
// record with the source's light components, the single-carbon-number components made
// from split fractions (optionally matched to the heavy part's molar weight and
// gravity), the single C7+ component made when a method cannot run, and the comparison
// of measured with split mole fractions on the characterisation log.

#include "platform/Value.h"
#include "thermo/CorrelationCodes.h"

#include <array>
#include <vector>

namespace quorvel {

// The composition summary of a fluid record; all mole fractions ("mole" x 0.01).
struct CompositionSummary
{
    int heavyCount = 0;  // components outside the light names with "nc" above 6
    double zC7plus = 0;
    double mwC7plus = 0;  // g/mol, mole-weighted
    double SGC7plus = 0;  // sum(z M) / sum(z M / SG)
    double C1 = 0, C2 = 0, C3 = 0, C4 = 0, C5 = 0, C6 = 0;
    double C7 = 0, C8 = 0, C9 = 0, C10 = 0;
    double N2 = 0, CO2 = 0, H2S = 0;
};

// Split fractions: entry i is the mole fraction of carbon number i + 7 (C7 to C46).
inline constexpr int kSplitFractionCount = 40;
inline constexpr int kFirstSplitCarbonNumber = 7;
using SplitFractions = std::array<double, kSplitFractionCount>;

// Last carbon numbers a split can name: the single cuts and the plus fraction stay
// within the carbon-number tables (the plus fraction is at most C45+).
inline constexpr int kLowestLastCarbonNumber = 6;
inline constexpr int kHighestLastCarbonNumber = 44;

CompositionSummary analyseFluidComposition(const Dictionary& fluid);

// A new split record named after the source and the method word, holding copies of
// the source's light components; summary receives the source's composition summary.
Dictionary createSplittedFluid(const Dictionary& source, const QString& methodWord, CompositionSummary& summary);

// The heavy part a split must reproduce: the source's stored "C7+" (mole percent, here
// as a fraction), "mwC7+" and "SGC7+", or the values of its own components when a key
// is absent or disagrees with them (one log line says so).
struct HeavyPartTarget
{
    double z = 0;
    double mw = 0;
    double SG = 0;
};
HeavyPartTarget readHeavyPartTarget(const Dictionary& source);

// One single-carbon-number cut (or plus fraction) of a split: its record, mole fraction,
// molar weight and gravity.
struct SplitCut
{
    Dictionary record;
    double z = 0;
    double mw = 0;
    double SG = 0;
};

// The cut of a carbon number named by nameFormat ("C%1", "C%1+"), characterised with the
// correlation code, with its table molar weight and the correlation's gravity.
SplitCut makeSplitCut(int carbonNumber, double z, const QString& nameFormat, CorrelationCode code);

// Scales the cuts' and the plus fraction's molar weights and gravities so that the heavy
// part mixes to the target's (one log line when the target has none to match).
void matchHeavyPart(std::vector<SplitCut>& cuts, SplitCut& plus, const HeavyPartTarget& target,
                    const QString& fluidName);

// Writes the cut's mole percent, molar weight and gravity into its record.
void writeSplitCut(const SplitCut& cut);

// The plus fraction C(n)+ of fraction zPlus (made with closingCode) whose molar weight and
// gravity close the heavy part's mass and volume on the target; when that plus fraction
// would not be plausible (not heavier than the cut before it, or a gravity outside those of
// heavy petroleum fractions), one log line and the heavy part matched instead, the plus
// fraction made with matchingCode.
SplitCut closeOrMatchHeavyPart(std::vector<SplitCut>& cuts, int plusCarbonNumber, double zPlus,
                               const HeavyPartTarget& target, const QString& fluidName,
                               CorrelationCode closingCode, CorrelationCode matchingCode);

// Appends C7 .. C(L) and the plus fraction C(L+1)+ (fewer when the fractions end
// earlier) to the split record's components. L is clamped to 6 .. 44. With matching the
// heavy part's mixed molar weight and gravity equal the target's; without it the plus
// fraction carries the difference, and matching is used when that plus fraction would not
// be plausible (closeOrMatchHeavyPart).
void fillSplittedFluids(const Dictionary& source, Dictionary splitFluid, const SplitFractions& fractions, int count,
                        int lastCarbonNumber, bool matching);

// Appends the one "C7+" component of the source's heavy part (nothing when it has none).
void fillSplittedFluidsByDefault(const Dictionary& source, Dictionary splitFluid);

// Compares the source's heavy components with their namesakes in the split record;
// stores "ardx" and "aadx" (percent) on the split record when a row was compared and
// answers them as fractions. With writeLog the table goes to the characterisation log.
void compareSplittedFluids(const Dictionary& source, Dictionary splitFluid, double& ardx, double& aadx,
                           bool writeLog);

// The closing lines of a comparison log: average and average absolute deviations
// (fractions, written in percent).
void logAverageDeviations(double ard, double aad);

}  // namespace quorvel
