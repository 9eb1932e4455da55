// The transform compiled for x86-64-v3 (AVX2); RealFft calls it only on a CPU
// that has it. Compiled with -march=x86-64-v3 and, like the rest, without
// floating-point contraction.
#include "dsp/real_fft_kernels.h"

namespace tonvela::fft {

void TransformX86_64V3(int n, int direction, double* data, int* work,
                       const double* table, int T, int K) {
  TransformWithTables(n, direction, data, work, table, T, K);
}

}  // namespace tonvela::fft
