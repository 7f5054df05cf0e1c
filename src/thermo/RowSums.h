#pragma once

#include "numeric/Matrix.h"
#include "numeric/VectorKernel.h"

namespace quorvel {

// sum[j] = sum_k weights[k] m[k][j] for the n x n matrix m, the rows added in the order of k:
// the sums of a symmetric matrix's rows, in loops along memory. Four rows per pass read and
// write the sums a quarter as often, with the bits of one row at a time.
QUORVEL_INLINE_KERNEL void weighted_row_sums(double* __restrict sum, const Matrix& m, const double* weights, int n)
{
    for (int j = 0; j < n; ++j)
        sum[j] = 0;
    int k = 0;
    for (; k + 4 <= n; k += 4) {
        const double* __restrict r0 = m[k];
        const double* __restrict r1 = m[k + 1];
        const double* __restrict r2 = m[k + 2];
        const double* __restrict r3 = m[k + 3];
        const double w0 = weights[k], w1 = weights[k + 1], w2 = weights[k + 2], w3 = weights[k + 3];
        for (int j = 0; j < n; ++j)
            sum[j] = (((sum[j] + w0 * r0[j]) + w1 * r1[j]) + w2 * r2[j]) + w3 * r3[j];
    }
    for (; k < n; ++k) {
        const double* __restrict row = m[k];
        const double w = weights[k];
        for (int j = 0; j < n; ++j)
            sum[j] += w * row[j];
    }
}

}  // namespace quorvel
