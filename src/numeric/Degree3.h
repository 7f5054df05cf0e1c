#pragma once

#include <span>

namespace quorvel {

// Real roots of c[0] + c[1] x + c[2] x^2 + c[3] x^3 = 0 (c[3] non-zero).
// On return n is 1 or 3 and roots[0..n-1] hold the roots, counted with multiplicity.
void degree3(std::span<const double, 4> c, int& n, std::span<double, 3> roots);

}  // namespace quorvel
