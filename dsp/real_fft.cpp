// Real FFT. Every arithmetic step below is done in a fixed order of operations; the target is compiled with
// floating-point contraction off so the results do not depend on whether the
// machine has fused multiply-add.
#include "dsp/real_fft.h"

#include <cmath>

namespace {

void BitReversePairs(int n, int* t, double* a);

inline void SwapPairs(double* a, int p, int q);

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

// --- Pair arithmetic. --------------------------------------------------------
// A pair (re, im) is held in one two-lane vector where the compiler offers
// them; each lane runs the very operation the scalar algorithm runs, so the
// results are the same bits. x - y is x + (-y) and (-s)*z is -(s*z) exactly.
#if defined(__GNUC__)
typedef double Pair __attribute__((vector_size(16)));
inline Pair Make(double lo, double hi) { return Pair{lo, hi}; }
inline double Lo(Pair p) { return p[0]; }
inline double Hi(Pair p) { return p[1]; }
inline Pair Swap(Pair p) { return __builtin_shufflevector(p, p, 1, 0); }
#else
struct Pair {
  double lo, hi;
};
inline Pair Make(double lo, double hi) { return Pair{lo, hi}; }
inline double Lo(Pair p) { return p.lo; }
inline double Hi(Pair p) { return p.hi; }
inline Pair Swap(Pair p) { return Pair{p.hi, p.lo}; }
inline Pair operator+(Pair a, Pair b) { return {a.lo + b.lo, a.hi + b.hi}; }
inline Pair operator-(Pair a, Pair b) { return {a.lo - b.lo, a.hi - b.hi}; }
inline Pair operator*(Pair a, Pair b) { return {a.lo * b.lo, a.hi * b.hi}; }
#endif

// Multiplying by (1, -1) conjugates: it flips the sign of the second lane.
const Pair kConjugate = Make(1.0, -1.0);
// Multiplying by (-1, 1) flips the sign of the first lane.
const Pair kNegateRe = Make(-1.0, 1.0);

inline Pair Load(const double* p) { return Make(p[0], p[1]); }
inline void Store(double* p, Pair v) {
  p[0] = Lo(v);
  p[1] = Hi(v);
}

// Exchanges the pairs that begin at offsets p and q.
inline void SwapPairs(double* a, int p, int q) {
  const Pair x = Load(a + p);
  Store(a + p, Load(a + q));
  Store(a + q, x);
}

// z times the twiddle (c, s), given as cc = (c, c) and ss = (-s, s):
// (c*re - s*im, c*im + s*re).
inline Pair Rotate(Pair z, Pair cc, Pair ss) { return cc * z + ss * Swap(z); }

// A twiddle (c, s) in the form Rotate takes.
struct Twiddle {
  Pair cc, ss;
};
inline Twiddle MakeTwiddle(double c, double s) {
  return {Make(c, c), Make(-s, s)};
}

// --- The radix-4 butterfly on the pairs at p0, p1 = p0 + l, p2, p3. ---------

// First half shared by every form: x0 = P0 + P1, x1 = P0 - P1, x2 = P2 + P3,
// x3 = P2 - P3, u = x1 + i*x3, v = x1 - i*x3.
struct Sums {
  Pair x0, x2, u, v;
};

inline Sums ButterflySums(const double* p0, const double* p1, const double* p2,
                          const double* p3) {
  const Pair a0 = Load(p0), a1 = Load(p1), a2 = Load(p2), a3 = Load(p3);
  const Pair x1 = a0 - a1;
  const Pair x3 = a2 - a3;
  const Pair ix3 = Make(-Hi(x3), Lo(x3));  // i*x3 = (-x3.im, x3.re)
  return {a0 + a1, a2 + a3, x1 + ix3, x1 - ix3};
}

// Block 0: unit twiddles.
inline void ButterflyUnit(double* a, int j, int l) {
  double* p0 = a + j;
  double* p1 = p0 + l;
  double* p2 = p1 + l;
  double* p3 = p2 + l;
  const Sums x = ButterflySums(p0, p1, p2, p3);
  Store(p0, x.x0 + x.x2);
  Store(p2, x.x0 - x.x2);
  Store(p1, x.u);
  Store(p3, x.v);
}

// Block 0 of the backward last stage: conjugated outputs.
inline void ButterflyUnitConj(double* a, int j, int l) {
  double* p0 = a + j;
  double* p1 = p0 + l;
  double* p2 = p1 + l;
  double* p3 = p2 + l;
  const Sums x = ButterflySums(p0, p1, p2, p3);
  Store(p0, kConjugate * (x.x0 + x.x2));
  Store(p2, kConjugate * (x.x0 - x.x2));
  Store(p1, kConjugate * x.u);
  Store(p3, kConjugate * x.v);
}

// Block 1: W1 is the pi/4 pair, rr = (r, r) with r = cos(pi/4).
inline void ButterflyQuarter(double* a, int j, int l, Pair rr) {
  double* p0 = a + j;
  double* p1 = p0 + l;
  double* p2 = p1 + l;
  double* p3 = p2 + l;
  const Sums x = ButterflySums(p0, p1, p2, p3);
  Store(p0, x.x0 + x.x2);
  // i*(x0 - x2) = (x2.im - x0.im, x0.re - x2.re)
  Store(p2, Make(Hi(x.x2), Lo(x.x0)) - Make(Hi(x.x0), Lo(x.x2)));
  // r*(u.re - u.im, u.re + u.im)
  Store(p1, rr * (Make(Lo(x.u), Lo(x.u)) + Make(-Hi(x.u), Hi(x.u))));
  // r*(-v.im - v.re, v.re - v.im)
  Store(p3, rr * (Make(-Hi(x.v), Lo(x.v)) - Make(Lo(x.v), Hi(x.v))));
}

// General block with twiddles W1, W2, W3.
inline void ButterflyTwiddled(double* a, int j, int l, const Twiddle& w1,
                              const Twiddle& w2, const Twiddle& w3) {
  double* p0 = a + j;
  double* p1 = p0 + l;
  double* p2 = p1 + l;
  double* p3 = p2 + l;
  const Sums x = ButterflySums(p0, p1, p2, p3);
  Store(p0, x.x0 + x.x2);
  Store(p2, Rotate(x.x0 - x.x2, w2.cc, w2.ss));
  Store(p1, Rotate(x.u, w1.cc, w1.ss));
  Store(p3, Rotate(x.v, w3.cc, w3.ss));
}

// Twiddles of the even block b (W2 = pair b/2 as read) and of the odd block
// b + 1 (W2 multiplied by i), W3 formed from W1 and W2.
struct BlockTwiddles {
  Twiddle w1, w2, w3;
};
inline BlockTwiddles EvenBlockTwiddles(const double* table, int b) {
  const double w2r = table[b], w2i = table[b + 1];
  const double w1r = table[2 * b], w1i = table[2 * b + 1];
  const double w3r = w1r - 2 * w2i * w1i;
  const double w3i = 2 * w2i * w1r - w1i;
  return {MakeTwiddle(w1r, w1i), MakeTwiddle(w2r, w2i), MakeTwiddle(w3r, w3i)};
}
inline BlockTwiddles OddBlockTwiddles(const double* table, int b) {
  const double w2r = table[b], w2i = table[b + 1];
  const double w1r = table[2 * b + 2], w1i = table[2 * b + 3];
  const double w3r = w1r - 2 * w2r * w1i;
  const double w3i = 2 * w2r * w1r - w1i;
  return {MakeTwiddle(w1r, w1i), MakeTwiddle(-w2i, w2r), MakeTwiddle(w3r, w3i)};
}

// Runs the twiddled blocks b = 2, 3, ... of a stage of span l.
inline void TwiddledBlocks(int n, int l, double* a, const double* table) {
  const int blockSize = 4 * l;
  for (int b = 2; blockSize * b < n; b += 2) {
    const BlockTwiddles even = EvenBlockTwiddles(table, b);
    int start = blockSize * b;
    for (int j = start; j < start + l; j += 2)
      ButterflyTwiddled(a, j, l, even.w1, even.w2, even.w3);
    const BlockTwiddles odd = OddBlockTwiddles(table, b);
    start += blockSize;
    for (int j = start; j < start + l; j += 2)
      ButterflyTwiddled(a, j, l, odd.w1, odd.w2, odd.w3);
  }
}

void Radix4FirstStage(int n, double* a, const double* table) {
  // Span 2: each block of 8 doubles holds one butterfly.
  ButterflyUnit(a, 0, 2);
  ButterflyQuarter(a, 8, 2, Make(table[2], table[2]));
  for (int b = 2; 8 * b < n; b += 2) {
    const BlockTwiddles even = EvenBlockTwiddles(table, b);
    ButterflyTwiddled(a, 8 * b, 2, even.w1, even.w2, even.w3);
    const BlockTwiddles odd = OddBlockTwiddles(table, b);
    ButterflyTwiddled(a, 8 * b + 8, 2, odd.w1, odd.w2, odd.w3);
  }
}

void Radix4MiddleStage(int n, int l, double* a, const double* table) {
  for (int j = 0; j < l; j += 2) ButterflyUnit(a, j, l);
  const Pair rr = Make(table[2], table[2]);
  for (int j = 4 * l; j < 5 * l; j += 2) ButterflyQuarter(a, j, l, rr);
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
      const Pair p = Load(a + j), q = Load(a + j + l);
      Store(a + j, p + q);
      Store(a + j + l, p - q);
    }
  }
}

void ComplexFftBackward(int n, double* a, const double* table) {
  const int l = EarlyStages(n, a, table);
  if (4 * l == n) {
    for (int j = 0; j < l; j += 2) ButterflyUnitConj(a, j, l);
  } else {
    for (int j = 0; j < l; j += 2) {
      const Pair p = Load(a + j), q = Load(a + j + l);
      Store(a + j, kConjugate * (p + q));
      Store(a + j + l, kConjugate * (p - q));
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
    const Pair p = Load(a + j), q = Load(a + jm);
    // x = (p.re - q.re, p.im + q.im); y = (wr*xr - wi*xi, wr*xi + wi*xr).
    const Pair x = p + kNegateRe * q;
    const Pair y = Rotate(x, Make(wr, wr), Make(-wi, wi));
    Store(a + j, p - y);
    Store(a + jm, q + kConjugate * y);
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
    const Pair p = Load(a + j), q = Load(a + jm);
    // x as forward; y = (wr*xr + wi*xi, wr*xi - wi*xr).
    const Pair x = p + kNegateRe * q;
    const Pair y = Rotate(x, Make(wr, wr), Make(wi, -wi));
    const double yr = Lo(y), yi = Hi(y);
    // (p.re - yr, yi - p.im) and (q.re + yr, yi - q.im).
    Store(a + j, Make(Lo(p), yi) - Make(yr, Hi(p)));
    Store(a + jm, Make(Lo(q), yi) + Make(yr, -Hi(q)));
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
