#pragma once
// The outcomes of the alpha-beta model's curve steps and target searches.

#include "thermo/VLE.h"

#include <cstdint>

namespace quorvel {

// Outcome of a next point of an alpha-beta curve. The first point's outcome is the
// equilibrium failure of its solve (none: a point).
enum class AlphaBetaStep : std::int8_t {
    pointFound,
    retry,     // call again: the beta step was halved
    curveEnd,
};

// Outcome of a search for the alpha of a given beta that meets a stock-tank target.
enum class AlphaSearch : std::int8_t { found, notFound };

}  // namespace quorvel
