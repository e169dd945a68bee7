// How many threads the dense linear algebra of the adjustments (OpenBLAS)
// may use, chosen once per process.
//
// The normal equations of a full network (about 2000 unknowns) are factorised
// and inverted in about a tenth of a second on one core. More threads gain
// little at that size and cost much: OpenBLAS's idle workers keep spinning
// for a while after every call, so they take the core that the report
// writing, the statistics and every other program on the machine need, and
// when the cores are busy they slow the computation itself down. The BLAS
// therefore runs on the calling thread alone, unless the user has set
// OPENBLAS_NUM_THREADS (or OMP_NUM_THREADS) in the environment, which is
// then left to decide.
#pragma once

namespace qp {

// Applies the policy the first time it is called (later calls do nothing)
// and returns the number of threads the BLAS uses. Called at start-up by the
// desktop program and the command-line driver, and by the normal-equation
// store when it is created, so that no computation runs without it.
int ApplyNumericThreadPolicy();

}  // namespace qp
