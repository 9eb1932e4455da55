// Real FFT, spec Part 4.1. Every arithmetic step below follows the spec's
// Algorithms in the same operations and order; the target is compiled with
// floating-point contraction off so the results do not depend on whether the
// machine has fused multiply-add.
#include "dsp/real_fft.h"

#include <cmath>

namespace {

void BitReversePairs(int n, int* t, double* a);

// Exchanges the pairs that begin at offsets p and q.
inline void SwapPairs(double* a, int p, int q) {
  const double xr = a[p];
  const double xi = a[p + 1];
  a[p] = a[q];
  a[p + 1] = a[q + 1];
  a[q] = xr;
  a[q + 1] = xi;
}

void MakeTwiddleTable(int T, int* work, double* w) {
  work[0] = T;
  work[1] = 1;
  if (T <= 2) return;
  const int h = T / 2;
  const double delta = std::atan(1.0) / static_cast<double>(h);
  w[0] = 1;
  w[1] = 0;
  w[h] = std::cos(static_cast<double>(h) * delta);
  w[h + 1] = w[h];
  if (h <= 2) return;
  for (int j = 2; j < h; j += 2) {
    const double x = std::cos(static_cast<double>(j) * delta);
    const double y = std::sin(static_cast<double>(j) * delta);
    w[j] = x;
    w[j + 1] = y;
    w[T - j] = y;
    w[T - j + 1] = x;
  }
  BitReversePairs(T, work + 2, w);
}

void MakeCosineTable(int K, int* work, double* c) {
  work[1] = K;
  if (K <= 1) return;
  const int h = K / 2;
  const double delta = std::atan(1.0) / static_cast<double>(h);
  c[0] = std::cos(static_cast<double>(h) * delta);
  c[h] = 0.5 * c[0];
  for (int j = 1; j < h; ++j) {
    c[j] = 0.5 * std::cos(static_cast<double>(j) * delta);
    c[K - j] = 0.5 * std::sin(static_cast<double>(j) * delta);
  }
}

void BitReversePairs(int n, int* t, double* a) {
  t[0] = 0;
  int l = n;
  int m = 1;
  while (8 * m < l) {
    l /= 2;
    for (int j = 0; j < m; ++j) t[m + j] = t[j] + l;
    m *= 2;
  }
  const int s = 2 * m;
  if (8 * m == l) {
    for (int k = 0; k < m; ++k) {
      for (int j = 0; j < k; ++j) {
        int p = 2 * j + t[k];
        int q = 2 * k + t[j];
        SwapPairs(a, p, q);
        p += s;
        q += 2 * s;
        SwapPairs(a, p, q);
        p += s;
        q -= s;
        SwapPairs(a, p, q);
        p += s;
        q += 2 * s;
        SwapPairs(a, p, q);
      }
      const int p = 2 * k + s + t[k];
      SwapPairs(a, p, p + s);
    }
  } else {
    for (int k = 1; k < m; ++k) {
      for (int j = 0; j < k; ++j) {
        int p = 2 * j + t[k];
        int q = 2 * k + t[j];
        SwapPairs(a, p, q);
        p += s;
        q += s;
        SwapPairs(a, p, q);
      }
    }
  }
}

// --- The radix-4 butterfly on the pairs at p0, p1 = p0 + l, p2, p3. ---------

// First half shared by every form: x0 = P0 + P1, x1 = P0 - P1, x2 = P2 + P3,
// x3 = P2 - P3.
struct Sums {
  double x0r, x0i, x1r, x1i, x2r, x2i, x3r, x3i;
};

inline Sums ButterflySums(const double* p0, const double* p1, const double* p2,
                          const double* p3) {
  return {p0[0] + p1[0], p0[1] + p1[1], p0[0] - p1[0], p0[1] - p1[1],
          p2[0] + p3[0], p2[1] + p3[1], p2[0] - p3[0], p2[1] - p3[1]};
}

// Block 0: unit twiddles.
inline void ButterflyUnit(double* a, int j, int l) {
  double* p0 = a + j;
  double* p1 = p0 + l;
  double* p2 = p1 + l;
  double* p3 = p2 + l;
  const Sums x = ButterflySums(p0, p1, p2, p3);
  p0[0] = x.x0r + x.x2r;
  p0[1] = x.x0i + x.x2i;
  p2[0] = x.x0r - x.x2r;
  p2[1] = x.x0i - x.x2i;
  p1[0] = x.x1r - x.x3i;  // u = x1 + i*x3
  p1[1] = x.x1i + x.x3r;
  p3[0] = x.x1r + x.x3i;  // v = x1 - i*x3
  p3[1] = x.x1i - x.x3r;
}

// Block 0 of the backward last stage: conjugated outputs.
inline void ButterflyUnitConj(double* a, int j, int l) {
  double* p0 = a + j;
  double* p1 = p0 + l;
  double* p2 = p1 + l;
  double* p3 = p2 + l;
  const Sums x = ButterflySums(p0, p1, p2, p3);
  p0[0] = x.x0r + x.x2r;
  p0[1] = -(x.x0i + x.x2i);
  p2[0] = x.x0r - x.x2r;
  p2[1] = -(x.x0i - x.x2i);
  p1[0] = x.x1r - x.x3i;
  p1[1] = -(x.x1i + x.x3r);
  p3[0] = x.x1r + x.x3i;
  p3[1] = -(x.x1i - x.x3r);
}

// Block 1: W1 is the pi/4 pair, r = cos(pi/4).
inline void ButterflyQuarter(double* a, int j, int l, double r) {
  double* p0 = a + j;
  double* p1 = p0 + l;
  double* p2 = p1 + l;
  double* p3 = p2 + l;
  const Sums x = ButterflySums(p0, p1, p2, p3);
  p0[0] = x.x0r + x.x2r;
  p0[1] = x.x0i + x.x2i;
  p2[0] = x.x2i - x.x0i;  // i*(x0 - x2)
  p2[1] = x.x0r - x.x2r;
  const double ur = x.x1r - x.x3i;
  const double ui = x.x1i + x.x3r;
  p1[0] = r * (ur - ui);
  p1[1] = r * (ur + ui);
  const double vr = x.x1r + x.x3i;
  const double vi = x.x1i - x.x3r;
  p3[0] = r * (-vi - vr);
  p3[1] = r * (vr - vi);
}

// General block with twiddles W1 = (w1r, w1i), W2 = (w2r, w2i), W3.
inline void ButterflyTwiddled(double* a, int j, int l, double w1r, double w1i,
                              double w2r, double w2i, double w3r, double w3i) {
  double* p0 = a + j;
  double* p1 = p0 + l;
  double* p2 = p1 + l;
  double* p3 = p2 + l;
  const Sums x = ButterflySums(p0, p1, p2, p3);
  p0[0] = x.x0r + x.x2r;
  p0[1] = x.x0i + x.x2i;
  const double dr = x.x0r - x.x2r;
  const double di = x.x0i - x.x2i;
  p2[0] = w2r * dr - w2i * di;
  p2[1] = w2r * di + w2i * dr;
  const double ur = x.x1r - x.x3i;
  const double ui = x.x1i + x.x3r;
  p1[0] = w1r * ur - w1i * ui;
  p1[1] = w1r * ui + w1i * ur;
  const double vr = x.x1r + x.x3i;
  const double vi = x.x1i - x.x3r;
  p3[0] = w3r * vr - w3i * vi;
  p3[1] = w3r * vi + w3i * vr;
}

// Runs the twiddled blocks b = 2, 3, ... of a stage of span l.
inline void TwiddledBlocks(int n, int l, double* a, const double* table) {
  const int blockSize = 4 * l;
  for (int b = 2; blockSize * b < n; b += 2) {
    const double w2r = table[b];  // pair b/2
    const double w2i = table[b + 1];
    // Even block b: W1 = pair b, W2 as read.
    {
      const double w1r = table[2 * b];
      const double w1i = table[2 * b + 1];
      const double w3r = w1r - 2 * w2i * w1i;
      const double w3i = 2 * w2i * w1r - w1i;
      const int start = blockSize * b;
      for (int j = start; j < start + l; j += 2) {
        ButterflyTwiddled(a, j, l, w1r, w1i, w2r, w2i, w3r, w3i);
      }
    }
    // Odd block b + 1: W1 = pair b + 1, W2 multiplied by i: (-w2i, w2r).
    {
      const double w1r = table[2 * b + 2];
      const double w1i = table[2 * b + 3];
      const double w3r = w1r - 2 * w2r * w1i;
      const double w3i = 2 * w2r * w1r - w1i;
      const int start = blockSize * (b + 1);
      for (int j = start; j < start + l; j += 2) {
        ButterflyTwiddled(a, j, l, w1r, w1i, -w2i, w2r, w3r, w3i);
      }
    }
  }
}

void Radix4FirstStage(int n, double* a, const double* table) {
  // Span 2: each block of 8 doubles holds one butterfly.
  ButterflyUnit(a, 0, 2);
  ButterflyQuarter(a, 8, 2, table[2]);
  for (int b = 2; 8 * b < n; b += 2) {
    const double w2r = table[b];
    const double w2i = table[b + 1];
    double w1r = table[2 * b];
    double w1i = table[2 * b + 1];
    double w3r = w1r - 2 * w2i * w1i;
    double w3i = 2 * w2i * w1r - w1i;
    ButterflyTwiddled(a, 8 * b, 2, w1r, w1i, w2r, w2i, w3r, w3i);
    w1r = table[2 * b + 2];
    w1i = table[2 * b + 3];
    w3r = w1r - 2 * w2r * w1i;
    w3i = 2 * w2r * w1r - w1i;
    ButterflyTwiddled(a, 8 * b + 8, 2, w1r, w1i, -w2i, w2r, w3r, w3i);
  }
}

void Radix4MiddleStage(int n, int l, double* a, const double* table) {
  for (int j = 0; j < l; j += 2) ButterflyUnit(a, j, l);
  const double r = table[2];
  for (int j = 4 * l; j < 5 * l; j += 2) ButterflyQuarter(a, j, l, r);
  TwiddledBlocks(n, l, a, table);
}

// First and middle stages shared by both directions; returns the span of the
// last stage.
int EarlyStages(int n, double* a, const double* table) {
  int l = 2;
  if (n > 8) {
    Radix4FirstStage(n, a, table);
    l = 8;
    while (4 * l < n) {
      Radix4MiddleStage(n, l, a, table);
      l *= 4;
    }
  }
  return l;
}

void ComplexFftForward(int n, double* a, const double* table) {
  const int l = EarlyStages(n, a, table);
  if (4 * l == n) {
    for (int j = 0; j < l; j += 2) ButterflyUnit(a, j, l);
  } else {
    for (int j = 0; j < l; j += 2) {
      double* p = a + j;
      double* q = p + l;
      const double dr = p[0] - q[0];
      const double di = p[1] - q[1];
      p[0] += q[0];
      p[1] += q[1];
      q[0] = dr;
      q[1] = di;
    }
  }
}

void ComplexFftBackward(int n, double* a, const double* table) {
  const int l = EarlyStages(n, a, table);
  if (4 * l == n) {
    for (int j = 0; j < l; j += 2) ButterflyUnitConj(a, j, l);
  } else {
    for (int j = 0; j < l; j += 2) {
      double* p = a + j;
      double* q = p + l;
      const double dr = p[0] - q[0];
      const double di = p[1] - q[1];
      p[0] += q[0];
      p[1] = -(p[1] + q[1]);
      q[0] = dr;
      q[1] = -di;
    }
  }
}

void RealSplitForward(int n, double* a, int K, const double* c) {
  const int h = n / 2;
  const int s = (2 * K) / h;
  int e = 0;
  for (int j = 2; j < h; j += 2) {
    const int jm = n - j;
    e += s;
    const double wr = 0.5 - c[K - e];
    const double wi = c[e];
    const double xr = a[j] - a[jm];
    const double xi = a[j + 1] + a[jm + 1];
    const double yr = wr * xr - wi * xi;
    const double yi = wr * xi + wi * xr;
    a[j] -= yr;
    a[j + 1] -= yi;
    a[jm] += yr;
    a[jm + 1] -= yi;
  }
}

void RealSplitBackward(int n, double* a, int K, const double* c) {
  a[1] = -a[1];
  const int h = n / 2;
  const int s = (2 * K) / h;
  int e = 0;
  for (int j = 2; j < h; j += 2) {
    const int jm = n - j;
    e += s;
    const double wr = 0.5 - c[K - e];
    const double wi = c[e];
    const double xr = a[j] - a[jm];
    const double xi = a[j + 1] + a[jm + 1];
    const double yr = wr * xr + wi * xi;
    const double yi = wr * xi - wi * xr;
    a[j] -= yr;
    a[j + 1] = yi - a[j + 1];
    a[jm] += yr;
    a[jm + 1] = yi - a[jm + 1];
  }
  a[h + 1] = -a[h + 1];
}

}  // namespace

void RealFft(int n, int direction, double* data, int* work, double* table) {
  int T = work[0];
  if (n > 4 * T) {
    T = n / 4;
    MakeTwiddleTable(T, work, table);
  }
  int K = work[1];
  if (n > 4 * K) {
    K = n / 4;
    MakeCosineTable(K, work, table + T);
  }
  if (direction >= 0) {
    if (n > 4) {
      BitReversePairs(n, work + 2, data);
      ComplexFftForward(n, data, table);
      RealSplitForward(n, data, K, table + T);
    } else if (n == 4) {
      ComplexFftForward(4, data, table);
    }
    const double difference = data[0] - data[1];
    data[0] += data[1];
    data[1] = difference;
  } else {
    data[1] = 0.5 * (data[0] - data[1]);
    data[0] -= data[1];
    if (n > 4) {
      RealSplitBackward(n, data, K, table + T);
      BitReversePairs(n, work + 2, data);
      ComplexFftBackward(n, data, table);
    } else if (n == 4) {
      ComplexFftForward(4, data, table);
    }
  }
}
