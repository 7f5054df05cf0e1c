#pragma once

#include <cstdint>

namespace quorvel {

// Results of the two calculation steps read by the calculation panel.
enum class AlphaBetaTurn : std::int8_t {
    point,             // a point (or, in the all-inclusions run, a stored curve)
    retry,             // the engine halved its step: no point, ask again
    firstPointFailed,  // the curve has no first point: the calculation is over
    done,              // the curve, or the whole run, has ended
};

}  // namespace quorvel
