#pragma once

#include "numeric/VectorKernel.h"

namespace quorvel {

// sum gets f[k] times row k of the four, added in the order of k: the bits of four passes of
// one row each, with the sums read and written once.
QUORVEL_INLINE_KERNEL void add_four_scaled_rows(double* __restrict sum, const double* __restrict r0,
                                                const double* __restrict r1, const double* __restrict r2,
                                                const double* __restrict r3, const double* f, int n)
{
    const double f0 = f[0], f1 = f[1], f2 = f[2], f3 = f[3];
    for (int i = 0; i < n; ++i)
        sum[i] = (((sum[i] + f0 * r0[i]) + f1 * r1[i]) + f2 * r2[i]) + f3 * r3[i];
}

}  // namespace quorvel
