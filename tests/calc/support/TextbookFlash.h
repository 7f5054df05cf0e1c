#pragma once

// A textbook two-phase flash on the textbook Peng-Robinson mixture, sharing no code with
// the engine: Newton's method on the unknowns (ln K_1 .. ln K_n, beta) for
//   ln K_i + ln phi_i(y) - ln phi_i(x) = 0,  sum_i (y_i - x_i) = 0,
// x_i = z_i / (1 + beta (K_i - 1)), y_i = K_i x_i, with a Jacobian by central differences and
// the step halved until the residual falls. Starts from Wilson's K-values with their ln K
// shrunk (near a critical point the phases differ little) at several vapour fractions.

#include "TextbookPengRobinson.h"

#include <optional>
#include <vector>

namespace quorvel::textbook {

struct Flash {
    double beta = 0;  // molar vapour fraction
    std::vector<double> x, y;
};

// The split of feed z of the species at T (K) and P (Pa): nothing when no start converges to
// a split with 0 < beta < 1 and phases that differ.
std::optional<Flash> flash(const std::vector<Species>& species, double T, double P, const std::vector<double>& z);

}  // namespace quorvel::textbook
