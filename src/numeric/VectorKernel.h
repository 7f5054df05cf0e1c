#pragma once

// Marks a kernel of n x n loops that is also compiled for AVX2 and run in that form where the
// processor has it: twice the numbers per instruction. Fused multiply-adds stay out of both
// forms, so the two give the same bits.
#define QUORVEL_VECTOR_KERNEL [[gnu::target_clones("avx512f", "avx2", "default")]]

// A helper of such kernels: inlined into each form, so that it runs with the kernel's
// instructions rather than as a call to the default form.
#define QUORVEL_INLINE_KERNEL [[gnu::always_inline]] inline
