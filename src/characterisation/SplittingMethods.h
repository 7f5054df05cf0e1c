#pragma once
// The five C7+ splitting methods: an algorithm that turns values of the composition
// summary into split fractions, and a driver that builds the split record with them.

#include "characterisation/SplittingFramework.h"

namespace quorvel {

// Every algorithm fills all 40 fractions and the count of meaningful ones; the last of
// those holds the remainder, so they add up to zC7plus and none is negative (a split
// that would overshoot ends at the cut where it reaches zC7plus).
void applyAhmedSplittingAlgorithm(double zC7plus, double mwC7plus, SplitFractions& fractions, int& count);
// Needs a C7+ molar weight above 86.2 g/mol; otherwise every fraction and the count are 0.
void applyAlMeshariSplittingAlgorithm(double zC7plus, double mwC7plus, SplitFractions& fractions, int& count);
void applyKatzSplittingAlgorithm(double zC7plus, SplitFractions& fractions, int& count);
// Fit an exponential (Pedersen) or a quadratic in the exponent (Lohrenz) to the measured
// C6 to C10; false, with the fractions untouched, when fewer than two measured cuts can
// be fitted (Lohrenz also needs a positive C6).
bool applyPedersenSplittingAlgorithm(double zC7plus, double C6, double C7, double C8, double C9, double C10,
                                     SplitFractions& fractions, int& count);
bool applyLohrenzSplittingAlgorithm(double zC7plus, double C6, double C7, double C8, double C9, double C10,
                                    SplitFractions& fractions, int& count);

// Drivers: a new split record of the source ("<name> - <method>") with its light
// components, single carbon numbers up to lastCarbonNumber and a plus fraction; the
// comparison goes to the characterisation log when writeLog is set.
Dictionary getAhmedSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool matching);
Dictionary getAlMeshariSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool matching);
Dictionary getKatzSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool matching);
Dictionary getPedersenSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool matching);
Dictionary getLohrenzSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool matching);

}  // namespace quorvel
