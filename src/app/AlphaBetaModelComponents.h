#pragma once
// The components of the alpha-beta model fluid as records: the engine's 17 components,
// named and characterised by their names, carrying the model's own mole percents, molar
// weights and critical constants in the records' units.

#include "platform/Value.h"

namespace quorvel {

class CAlphaBetaModelInterface;

// Engine components after C10: the two heavy cuts Cn1 and Cn2.
inline constexpr int kLastNamedAlphaBetaComponent = 14;

// Writes engine component i of the model's current composition into the record: "mole"
// (percent), "mw", "Tc" (degrees Celsius), "Pc" (bar), "Vc" (cm3/mol), "omega" and, for the
// two heavy cuts, the "SG" of the reference series at their molar weight.
void writeAlphaBetaModelProperties(const CAlphaBetaModelInterface& model, int i, Dictionary component);

// A new record of engine component i: named and characterised (code 0), then given the
// model's properties.
Dictionary alphaBetaModelComponent(const CAlphaBetaModelInterface& model, int i);

}  // namespace quorvel
