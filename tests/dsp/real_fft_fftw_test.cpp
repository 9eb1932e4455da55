// RealFft against FFTW3 for large n (2^11 .. 2^20), forward and backward.
//
// FFTW's r2c uses exp(-2*pi*i*j*k/n): X[k] = R[k] - i*I[k] in RealFft's packed
// layout. Its c2r of that X is twice RealFft's backward result.
#include <fftw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fft_test_support.h"

namespace {

using fft_test::PowersOfTwo;
using fft_test::RandomSignal;
using fft_test::EachPath;
using fft_test::Tables;

class RealFftVsFftw : public EachPath {};

constexpr double kEps = std::numeric_limits<double>::epsilon();

double Tolerance(int n) {
  return 2.0 * kEps * (1.0 + std::log2(n)) * std::sqrt(static_cast<double>(n));
}

TEST_P(RealFftVsFftw, LargeLengths) {
  for (int n : PowersOfTwo(1 << 11, 1 << 20)) {
    SCOPED_TRACE("n = " + std::to_string(n));
    const int bins = n / 2 + 1;
    double* real = fftw_alloc_real(n);
    fftw_complex* spectrum = fftw_alloc_complex(bins);
    fftw_plan r2c = fftw_plan_dft_r2c_1d(n, real, spectrum, FFTW_ESTIMATE);
    fftw_plan c2r = fftw_plan_dft_c2r_1d(n, spectrum, real, FFTW_ESTIMATE);
    Tables t(n, path());

    // Forward.
    std::vector<double> data = RandomSignal(n, 5000 + n);
    std::copy(data.begin(), data.end(), real);
    fftw_execute(r2c);
    t.Run(n, 1, data.data());
    double worst = std::max(std::abs(data[0] - spectrum[0][0]),
                            std::abs(data[1] - spectrum[n / 2][0]));
    for (int k = 1; k < n / 2; ++k) {
      worst = std::max(worst, std::abs(data[2 * k] - spectrum[k][0]));
      worst = std::max(worst, std::abs(data[2 * k + 1] + spectrum[k][1]));
    }
    EXPECT_LE(worst, Tolerance(n)) << "forward";

    // Backward of an arbitrary packed spectrum.
    data = RandomSignal(n, 6000 + n);
    spectrum[0][0] = data[0];
    spectrum[0][1] = 0;
    spectrum[n / 2][0] = data[1];
    spectrum[n / 2][1] = 0;
    for (int k = 1; k < n / 2; ++k) {
      spectrum[k][0] = data[2 * k];
      spectrum[k][1] = -data[2 * k + 1];
    }
    fftw_execute(c2r);  // destroys its input, which is no longer needed
    t.Run(n, -1, data.data());
    worst = 0;
    for (int j = 0; j < n; ++j)
      worst = std::max(worst, std::abs(data[j] - 0.5 * real[j]));
    EXPECT_LE(worst, Tolerance(n)) << "backward";

    fftw_destroy_plan(r2c);
    fftw_destroy_plan(c2r);
    fftw_free(real);
    fftw_free(spectrum);
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, RealFftVsFftw, testing::ValuesIn(tonvela::fft::kAllPaths),
                         fft_test::PathTestName);

}  // namespace
