#pragma once

// Marks a kernel of n x n loops that is also compiled for AVX-512 and AVX2 and run in the
// widest form the processor has. The layers holding such kernels are compiled without
// contracting a multiply and an add into one rounding (-ffp-contract=off), so every form
// gives the same bits.
#define QUORVEL_VECTOR_KERNEL [[gnu::target_clones("avx512f", "avx2", "default")]]

// A helper of such kernels: inlined into each form, so that it runs with the kernel's
// instructions rather than as a call to the default form.
#define QUORVEL_INLINE_KERNEL [[gnu::always_inline]] inline
