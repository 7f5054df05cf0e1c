#pragma once

#include <functional>

namespace quorvel {

// Asked between the steps of a long calculation with the steps done and the steps at most
// (a bound, not a promise); answers whether to go on. A calculation told to stop gives up
// as soon as it can, as after a failure.
using ProgressCallback = std::function<bool(int done, int steps)>;

}  // namespace quorvel
