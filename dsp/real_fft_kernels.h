// The transform proper, once the tables exist: the bit-reversal permutation,
// the radix-4 butterfly stages and the real split step, in both directions.
//
// This header is compiled once per instruction set (real_fft_baseline.cpp,
// real_fft_x86_64_v3.cpp); everything in it has internal linkage so the two
// copies never mix. It includes no library header, so no inline function of
// a library is compiled for a wider instruction set than the caller's.
//
// Every value is produced by the same operations in the same order on every
// path: a vector lane runs exactly the operation the scalar algorithm runs,
// x - y is x + (-y) and (-s)*z is -(s*z) exactly, and the target is compiled
// without floating-point contraction. Only the grouping of independent
// butterflies into vectors and the order of passes over memory differ.
#pragma once

namespace {

// One complex pair (re, im).
typedef double Pair __attribute__((vector_size(16)));

inline Pair LoadPair(const double* p) {
  Pair v;
  __builtin_memcpy(&v, p, sizeof v);
  return v;
}
inline void Store(double* p, Pair v) { __builtin_memcpy(p, &v, sizeof v); }
// Per pair: (im, re), (re, re), (im, im).
inline Pair SwapReIm(Pair v) { return __builtin_shufflevector(v, v, 1, 0); }
inline Pair DupRe(Pair v) { return __builtin_shufflevector(v, v, 0, 0); }
inline Pair DupIm(Pair v) { return __builtin_shufflevector(v, v, 1, 1); }
// Per pair: (a.re, b.im) and (a.im, b.re).
inline Pair ReOfAImOfB(Pair a, Pair b) { return __builtin_shufflevector(a, b, 0, 3); }
inline Pair ImOfAReOfB(Pair a, Pair b) { return __builtin_shufflevector(a, b, 1, 2); }

// Two pairs side by side: one AVX register where the instruction set has
// them, else two pair registers.
#if defined(__AVX__)
typedef double Pair2 __attribute__((vector_size(32)));

inline Pair2 LoadPair2(const double* p) {
  Pair2 v;
  __builtin_memcpy(&v, p, sizeof v);
  return v;
}
inline void Store(double* p, Pair2 v) { __builtin_memcpy(p, &v, sizeof v); }
inline Pair2 SwapReIm(Pair2 v) { return __builtin_shufflevector(v, v, 1, 0, 3, 2); }
inline Pair2 DupRe(Pair2 v) { return __builtin_shufflevector(v, v, 0, 0, 2, 2); }
inline Pair2 DupIm(Pair2 v) { return __builtin_shufflevector(v, v, 1, 1, 3, 3); }
inline Pair2 ReOfAImOfB(Pair2 a, Pair2 b) {
  return __builtin_shufflevector(a, b, 0, 5, 2, 7);
}
inline Pair2 ImOfAReOfB(Pair2 a, Pair2 b) {
  return __builtin_shufflevector(a, b, 1, 4, 3, 6);
}
// The pairs (a, b); the two pairs of v in the opposite order; the low pairs
// and the high pairs of two vectors.
inline Pair2 Join(Pair a, Pair b) { return __builtin_shufflevector(a, b, 0, 1, 2, 3); }
inline Pair2 ReversePairs(Pair2 v) { return __builtin_shufflevector(v, v, 2, 3, 0, 1); }
inline Pair2 LowPairs(Pair2 a, Pair2 b) { return __builtin_shufflevector(a, b, 0, 1, 4, 5); }
inline Pair2 HighPairs(Pair2 a, Pair2 b) { return __builtin_shufflevector(a, b, 2, 3, 6, 7); }
// (re, re, im, im) and (im, im, re, re) of one pair.
inline Pair2 SpreadPair(Pair v) { return __builtin_shufflevector(v, v, 0, 0, 1, 1); }
inline Pair2 SpreadPairReversed(Pair v) { return __builtin_shufflevector(v, v, 1, 1, 0, 0); }
// (c, s, -s, c) from the pair (c, s).
inline Pair2 PairAndTimesI(Pair v) {
  return __builtin_shufflevector(v, v, 0, 1, 1, 0) * Pair2{1.0, 1.0, -1.0, 1.0};
}
#else
struct Pair2 {
  Pair lo, hi;
};
inline Pair2 operator+(Pair2 a, Pair2 b) { return {a.lo + b.lo, a.hi + b.hi}; }
inline Pair2 operator-(Pair2 a, Pair2 b) { return {a.lo - b.lo, a.hi - b.hi}; }
inline Pair2 operator*(Pair2 a, Pair2 b) { return {a.lo * b.lo, a.hi * b.hi}; }
inline Pair2 operator-(Pair2 a) { return {-a.lo, -a.hi}; }

inline Pair2 LoadPair2(const double* p) { return {LoadPair(p), LoadPair(p + 2)}; }
inline void Store(double* p, Pair2 v) {
  Store(p, v.lo);
  Store(p + 2, v.hi);
}
inline Pair2 SwapReIm(Pair2 v) { return {SwapReIm(v.lo), SwapReIm(v.hi)}; }
inline Pair2 DupRe(Pair2 v) { return {DupRe(v.lo), DupRe(v.hi)}; }
inline Pair2 DupIm(Pair2 v) { return {DupIm(v.lo), DupIm(v.hi)}; }
inline Pair2 ReOfAImOfB(Pair2 a, Pair2 b) {
  return {ReOfAImOfB(a.lo, b.lo), ReOfAImOfB(a.hi, b.hi)};
}
inline Pair2 ImOfAReOfB(Pair2 a, Pair2 b) {
  return {ImOfAReOfB(a.lo, b.lo), ImOfAReOfB(a.hi, b.hi)};
}
inline Pair2 Join(Pair a, Pair b) { return {a, b}; }
inline Pair2 ReversePairs(Pair2 v) { return {v.hi, v.lo}; }
inline Pair2 LowPairs(Pair2 a, Pair2 b) { return {a.lo, b.lo}; }
inline Pair2 HighPairs(Pair2 a, Pair2 b) { return {a.hi, b.hi}; }
inline Pair2 SpreadPair(Pair v) { return {DupRe(v), DupIm(v)}; }
inline Pair2 SpreadPairReversed(Pair v) { return {DupIm(v), DupRe(v)}; }
inline Pair2 PairAndTimesI(Pair v) { return {v, Pair{-1.0, 1.0} * SwapReIm(v)}; }
#endif

template <class V> inline V Splat(double x);
template <> inline Pair Splat<Pair>(double x) { return Pair{x, x}; }
template <> inline Pair2 Splat<Pair2>(double x) { return Join(Pair{x, x}, Pair{x, x}); }
// Multiplying by these flips the sign of the real or imaginary part exactly.
template <class V> inline V NegateRe();
template <> inline Pair NegateRe<Pair>() { return Pair{-1.0, 1.0}; }
template <> inline Pair2 NegateRe<Pair2>() { return Join(Pair{-1.0, 1.0}, Pair{-1.0, 1.0}); }
template <class V> inline V Conjugate() { return -NegateRe<V>(); }

// Per pair: (a.re - b.re, a.im + b.im).
inline Pair AddSub(Pair a, Pair b) { return __builtin_shufflevector(a - b, a + b, 0, 3); }
inline Pair2 AddSub(Pair2 a, Pair2 b) { return ReOfAImOfB(a - b, a + b); }

// A twiddle (c, s) in the form Rotate takes: cc = (c, c), ss = (s, s).
template <class V> struct Twiddle {
  V cc, ss;
};
template <class V> inline Twiddle<V> MakeTwiddle(V w) { return {DupRe(w), DupIm(w)}; }
// z times the twiddle (c, s): (c*re - s*im, c*im + s*re).
template <class V> inline V Rotate(V z, const Twiddle<V>& w) {
  return AddSub(w.cc * z, w.ss * SwapReIm(z));
}

// --- The radix-4 butterfly on the pairs P0..P3 (offsets j, j+l, j+2l, j+3l).

template <class V> struct Quad {
  V p0, p1, p2, p3;
};

// x0 = P0 + P1, x1 = P0 - P1, x2 = P2 + P3, x3 = P2 - P3,
// u = x1 + i*x3, v = x1 - i*x3.
template <class V> struct Sums {
  V x0, x2, u, v;
};
template <class V> inline Sums<V> ButterflySums(const Quad<V>& p) {
  const V x1 = p.p0 - p.p1;
  const V x3 = p.p2 - p.p3;
  const V ix3 = NegateRe<V>() * SwapReIm(x3);  // (-x3.im, x3.re)
  return {p.p0 + p.p1, p.p2 + p.p3, x1 + ix3, x1 - ix3};
}

// Block 0: unit twiddles.
template <class V> inline Quad<V> ButterflyUnit(const Quad<V>& p) {
  const Sums<V> x = ButterflySums(p);
  return {x.x0 + x.x2, x.u, x.x0 - x.x2, x.v};
}

// Block 1: W1 is the pi/4 pair, rr = (r, r) with r = cos(pi/4).
template <class V> inline Quad<V> ButterflyQuarter(const Quad<V>& p, V rr) {
  const Sums<V> x = ButterflySums(p);
  const V neg = NegateRe<V>();
  return {
      x.x0 + x.x2,
      // r*(u.re - u.im, u.re + u.im)
      rr * (DupRe(x.u) + neg * DupIm(x.u)),
      // i*(x0 - x2) = (x2.im - x0.im, x0.re - x2.re)
      ImOfAReOfB(x.x2, x.x0) - ImOfAReOfB(x.x0, x.x2),
      // r*(-v.im - v.re, v.re - v.im)
      rr * (neg * SwapReIm(x.v) - x.v),
  };
}

// A general block with twiddles W1, W2, W3.
template <class V> struct BlockTwiddles {
  Twiddle<V> w1, w2, w3;
};
template <class V>
inline Quad<V> ButterflyTwiddled(const Quad<V>& p, const BlockTwiddles<V>& w) {
  const Sums<V> x = ButterflySums(p);
  return {x.x0 + x.x2, Rotate(x.u, w.w1), Rotate(x.x0 - x.x2, w.w2), Rotate(x.v, w.w3)};
}

// The twiddles of block b >= 2 as pairs: W1 = table pair b; W2 = table pair
// b/2, multiplied by i for odd b; W3 = (W1.re - 2*W2.im*W1.im,
// 2*W2.im*W1.re - W1.im).
struct BlockPairs {
  Pair w1, w2, w3;
};
inline BlockPairs BlockTwiddlePairs(const double* table, int b) {
  const int even = b & ~1;
  const double w2r = (b & 1) ? -table[even + 1] : table[even];
  const double w2i = (b & 1) ? table[even] : table[even + 1];
  const double w1r = table[2 * b], w1i = table[2 * b + 1];
  const double w3r = w1r - 2 * w2i * w1i;
  const double w3i = 2 * w2i * w1r - w1i;
  return {Pair{w1r, w1i}, Pair{w2r, w2i}, Pair{w3r, w3i}};
}
inline BlockTwiddles<Pair> TwiddlesOfBlock(const double* table, int b) {
  const BlockPairs w = BlockTwiddlePairs(table, b);
  return {MakeTwiddle(w.w1), MakeTwiddle(w.w2), MakeTwiddle(w.w3)};
}
template <class V> inline Quad<V> LoadQuad(const double* a, int l);
template <> inline Quad<Pair> LoadQuad<Pair>(const double* a, int l) {
  return {LoadPair(a), LoadPair(a + l), LoadPair(a + 2 * l), LoadPair(a + 3 * l)};
}
template <> inline Quad<Pair2> LoadQuad<Pair2>(const double* a, int l) {
  return {LoadPair2(a), LoadPair2(a + l), LoadPair2(a + 2 * l), LoadPair2(a + 3 * l)};
}
template <class V> inline void StoreQuad(double* a, int l, const Quad<V>& q) {
  Store(a, q.p0);
  Store(a + l, q.p1);
  Store(a + 2 * l, q.p2);
  Store(a + 3 * l, q.p3);
}
template <class V> inline Quad<V> ConjugateQuad(const Quad<V>& q) {
  const V c = Conjugate<V>();
  return {c * q.p0, c * q.p1, c * q.p2, c * q.p3};
}

// --- Stages. -------------------------------------------------------------

// Twiddles of the adjacent blocks b (low pair) and b + 1 (high pair), b even:
// W1 = table pairs b and b + 1 in one load; W2 = pair b/2 for b and the same
// pair times i, (-s, c), for b + 1; W3 = (W1.re - t*W1.im, t*W1.re - W1.im)
// with t = 2*W2.im, lane by lane the operations of BlockTwiddlePairs.
inline BlockTwiddles<Pair2> TwiddlesOfBlockPair(const double* table, int b) {
  const Pair2 w1 = LoadPair2(table + 2 * b);
  const Pair w2Pair = LoadPair(table + b);
  const Pair2 w2 = PairAndTimesI(w2Pair);
  const Pair2 t = Splat<Pair2>(2.0) * DupIm(w2);
  const Pair2 w3 = Conjugate<Pair2>() * w1 + NegateRe<Pair2>() * (t * SwapReIm(w1));
  return {MakeTwiddle(w1), MakeTwiddle(w2), MakeTwiddle(w3)};
}

// The butterflies of one block of a stage of span l (l >= 4), two at a time.
template <class Butterfly>
inline void ButterfliesOfBlock(double* block, int l, Butterfly butterfly) {
  for (int j = 0; j < l; j += 4)
    StoreQuad(block + j, l, butterfly(LoadQuad<Pair2>(block + j, l)));
}

inline BlockTwiddles<Pair2> LowBlock(const BlockTwiddles<Pair2>& w) {
  return {{LowPairs(w.w1.cc, w.w1.cc), LowPairs(w.w1.ss, w.w1.ss)},
          {LowPairs(w.w2.cc, w.w2.cc), LowPairs(w.w2.ss, w.w2.ss)},
          {LowPairs(w.w3.cc, w.w3.cc), LowPairs(w.w3.ss, w.w3.ss)}};
}
inline BlockTwiddles<Pair2> HighBlock(const BlockTwiddles<Pair2>& w) {
  return {{HighPairs(w.w1.cc, w.w1.cc), HighPairs(w.w1.ss, w.w1.ss)},
          {HighPairs(w.w2.cc, w.w2.cc), HighPairs(w.w2.ss, w.w2.ss)},
          {HighPairs(w.w3.cc, w.w3.cc), HighPairs(w.w3.ss, w.w3.ss)}};
}

// One stage of span l (l >= 4) over the doubles [begin, end) of a, both
// multiples of 8*l; blocks are numbered from the start of a.
inline void StageRange(int l, double* a, int begin, int end, const double* table) {
  for (int start = begin; start < end; start += 8 * l) {
    const int b = start / (4 * l);
    double* block = a + start;
    if (b == 0) {
      ButterfliesOfBlock(block, l, [](const Quad<Pair2>& p) { return ButterflyUnit(p); });
      const Pair2 rr = Splat<Pair2>(table[2]);
      ButterfliesOfBlock(block + 4 * l, l,
                         [rr](const Quad<Pair2>& p) { return ButterflyQuarter(p, rr); });
    } else {
      // Blocks b and b + 1 share the table pair of W2: their twiddles come
      // from one computation.
      const BlockTwiddles<Pair2> both = TwiddlesOfBlockPair(table, b);
      const BlockTwiddles<Pair2> even = LowBlock(both), odd = HighBlock(both);
      ButterfliesOfBlock(block, l,
                         [&even](const Quad<Pair2>& p) { return ButterflyTwiddled(p, even); });
      ButterfliesOfBlock(block + 4 * l, l,
                         [&odd](const Quad<Pair2>& p) { return ButterflyTwiddled(p, odd); });
    }
  }
}

// The stage of span 2 on pairs already in bit-reversed order (n < 128).
inline void FirstStageInPlace(int n, double* a, const double* table) {
  StoreQuad(a, 2, ButterflyUnit(LoadQuad<Pair>(a, 2)));
  StoreQuad(a + 8, 2, ButterflyQuarter(LoadQuad<Pair>(a + 8, 2), Splat<Pair>(table[2])));
  for (int b = 2; 8 * b < n; ++b)
    StoreQuad(a + 8 * b, 2, ButterflyTwiddled(LoadQuad<Pair>(a + 8 * b, 2),
                                             TwiddlesOfBlock(table, b)));
}

// The bit-reversal permutation fused with the stage of span 2, for n >= 128.
//
// With N = n/2 pairs, write a pair index as p = (h, x, k): h and k two bits
// each, x the log2(N) - 4 bits between. The permutation brings the pair
// (rk, rx, rh) to p, r reversing the bits of each field. So the butterfly of
// span 2 on the quartet (h, x) reads element rh of the input quartets
// (0..3, rx), as P0..P3 = quartets 0, 2, 1, 3.
//
// Write x = (t, y, u) with t its top bit and u its low bit. The butterflies of
// the quartets (h, (t, y, 0)) and (h, (t, y, 1)), blocks b and b + 1, run side
// by side in one vector; they read the quartets (j, (0, ry, t)) and
// (j, (1, ry, t)). The quartets of y and those of ry read each other only, so
// the pass runs over y <= ry: it keeps a copy of the quartets of y, writes
// them from those of ry, then writes the quartets of ry from the copy.
// Quartet (j, x) of an array laid out like the data, N/4 = quarter.
inline const double* QuartetAt(const double* base, int quarter, int j, int x) {
  return base + 2 * (j * quarter + 4 * x);
}

// The butterfly of the quartets (h, x0) and (h, x0 + 1), x0 even, side by side.
inline void FusedButterfly(double* a, int pairs, int h, int x0, const Quad<Pair2>& in,
                           const double* table) {
  const BlockTwiddles<Pair2> w = TwiddlesOfBlockPair(table, h * (pairs / 16) + x0);
  const Quad<Pair2> r = ButterflyTwiddled(in, w);
  double* out = a + 2 * (h * (pairs / 4) + 4 * x0);
  Store(out, LowPairs(r.p0, r.p1));
  Store(out + 4, LowPairs(r.p2, r.p3));
  Store(out + 8, HighPairs(r.p0, r.p1));
  Store(out + 12, HighPairs(r.p2, r.p3));
}

// The butterflies of the quartets (h, x0) and (h, x0 + 1), h = 0..3. The input
// quartet (j, .) of lane u starts at source + j*jStride + u*uStride; elements
// 0, 1 of it feed h = 0, 2 and elements 2, 3 feed h = 1, 3.
inline void FusedButterflies(double* a, int pairs, int x0, const double* source,
                             int jStride, int uStride, const double* table) {
  for (int half = 0; half < 2; ++half) {  // elements 0, 1, then 2, 3
    Pair2 first[4], second[4];
    for (int j = 0; j < 4; ++j) {
      const double* q = source + j * jStride + 4 * half;
      const Pair2 lane0 = LoadPair2(q), lane1 = LoadPair2(q + uStride);
      first[j] = LowPairs(lane0, lane1);
      second[j] = HighPairs(lane0, lane1);
    }
    // P0..P3 are the quartets 0, 2, 1, 3.
    FusedButterfly(a, pairs, half, x0, {first[0], first[2], first[1], first[3]}, table);
    FusedButterfly(a, pairs, half + 2, x0, {second[0], second[2], second[1], second[3]},
                   table);
  }
}

// The quartets (j, (t, y, u)) for all j, t, u: 16 quartets, 64 pairs. Quartets
// x and x + 1 are 8 contiguous pairs, kept as slot (j, t).
constexpr int kRowCopyDoubles = 128;
inline void CopyRow(const double* a, int pairs, int y, double* copy) {
  const int quarter = pairs / 4, groups = pairs / 16;
  for (int j = 0; j < 4; ++j) {
    for (int t = 0; t < 2; ++t) {
      const double* from = QuartetAt(a, quarter, j, t * (groups / 2) + 2 * y);
      double* to = copy + 16 * (2 * j + t);
      for (int i = 0; i < 16; i += 4) Store(to + i, LoadPair2(from + i));
    }
  }
}

// The butterflies of the quartets (h, (t, y, u)) for t = 0, 1. Their inputs
// are the quartets (j, (u, ry, t)): in the data, or in a copy of row ry.
inline void RowFromData(double* a, int pairs, int y, int ry, const double* table) {
  const int quarter = pairs / 4, groups = pairs / 16;
  for (int t = 0; t < 2; ++t)
    FusedButterflies(a, pairs, t * (groups / 2) + 2 * y,
                     QuartetAt(a, quarter, 0, 2 * ry + t), 2 * quarter, 4 * groups, table);
}
inline void RowFromCopy(double* a, int pairs, int y, const double* copy,
                        const double* table) {
  const int groups = pairs / 16;
  for (int t = 0; t < 2; ++t)
    FusedButterflies(a, pairs, t * (groups / 2) + 2 * y, copy + 8 * t, 32, 16, table);
}

inline void BitReverseFirstStage(int n, double* a, const double* table) {
  const int pairs = n / 2, quarter = pairs / 4, rows = pairs / 64;
  // Blocks 0 and 1 take their multiplication-free forms: read their inputs
  // first, and write them over the general results at the end.
  const Quad<Pair> block0{LoadPair(a), LoadPair(a + 4 * quarter),
                          LoadPair(a + 2 * quarter), LoadPair(a + 6 * quarter)};
  const double* in1 = a + pairs / 4;  // pair N/8
  const Quad<Pair> block1{LoadPair(in1), LoadPair(in1 + 4 * quarter),
                          LoadPair(in1 + 2 * quarter), LoadPair(in1 + 6 * quarter)};

  double copy[kRowCopyDoubles];
  int ry = 0;  // y with its bits reversed
  for (int y = 0; y < rows; ++y) {
    if (y <= ry) {
      CopyRow(a, pairs, y, copy);
      if (y != ry) RowFromData(a, pairs, y, ry, table);
      RowFromCopy(a, pairs, ry, copy, table);
    }
    // Count ry up in bit-reversed order.
    int bit = rows >> 1;
    while (bit > 0 && (ry & bit)) {
      ry ^= bit;
      bit >>= 1;
    }
    ry |= bit;
  }
  StoreQuad(a, 2, ButterflyUnit(block0));
  StoreQuad(a + 8, 2, ButterflyQuarter(block1, Splat<Pair>(table[2])));
}

// The middle stages of span 8, 32, ... below `end`.
inline void MiddleStages(int n, int end, double* a, const double* table) {
  // Stages whose blocks fit in a chunk of the first-level cache run chunk by
  // chunk, so that the chunk stays in cache from one stage to the next.
  constexpr int kChunk = 4096;  // doubles
  const int chunk = n < kChunk ? n : kChunk;
  int l = 8;
  while (l < end && 8 * l <= chunk) l *= 4;
  for (int begin = 0; begin < n; begin += chunk)
    for (int s = 8; s < l; s *= 4) StageRange(s, a, begin, begin + chunk, table);
  for (; l < end; l *= 4) StageRange(l, a, 0, n, table);
}

// The last middle stage (span l >= 8) and the last stage (span 4*l, unit
// twiddles, conjugated outputs when kConjugate) in one pass. The last stage is
// radix-4 when 16*l = n: its butterfly at j + r*l reads output r of the four
// blocks of the middle stage, blocks 0, 1 (multiplication-free) and 2, 3.
// Otherwise 8*l = n and it is radix-2 on output r of blocks 0 and 1.
template <bool kConjugate>
inline void LastTwoStages(int n, int l, double* a, const double* table) {
  const Pair2 rr = Splat<Pair2>(table[2]);
  const auto finish = [](const Quad<Pair2>& y) { return kConjugate ? ConjugateQuad(y) : y; };
  if (16 * l == n) {
    const BlockTwiddles<Pair2> both = TwiddlesOfBlockPair(table, 2);
    const BlockTwiddles<Pair2> even = LowBlock(both), odd = HighBlock(both);
    for (int j = 0; j < l; j += 4) {
      double* p = a + j;
      const Quad<Pair2> b0 = ButterflyUnit(LoadQuad<Pair2>(p, l));
      const Quad<Pair2> b1 = ButterflyQuarter(LoadQuad<Pair2>(p + 4 * l, l), rr);
      const Quad<Pair2> b2 = ButterflyTwiddled(LoadQuad<Pair2>(p + 8 * l, l), even);
      const Quad<Pair2> b3 = ButterflyTwiddled(LoadQuad<Pair2>(p + 12 * l, l), odd);
      StoreQuad(p, 4 * l, finish(ButterflyUnit(Quad<Pair2>{b0.p0, b1.p0, b2.p0, b3.p0})));
      StoreQuad(p + l, 4 * l, finish(ButterflyUnit(Quad<Pair2>{b0.p1, b1.p1, b2.p1, b3.p1})));
      StoreQuad(p + 2 * l, 4 * l,
                finish(ButterflyUnit(Quad<Pair2>{b0.p2, b1.p2, b2.p2, b3.p2})));
      StoreQuad(p + 3 * l, 4 * l,
                finish(ButterflyUnit(Quad<Pair2>{b0.p3, b1.p3, b2.p3, b3.p3})));
    }
  } else {
    const Pair2 c = kConjugate ? Conjugate<Pair2>() : Splat<Pair2>(1.0);
    for (int j = 0; j < l; j += 4) {
      double* p = a + j;
      const Quad<Pair2> b0 = ButterflyUnit(LoadQuad<Pair2>(p, l));
      const Quad<Pair2> b1 = ButterflyQuarter(LoadQuad<Pair2>(p + 4 * l, l), rr);
      const Pair2 sum[4] = {b0.p0 + b1.p0, b0.p1 + b1.p1, b0.p2 + b1.p2, b0.p3 + b1.p3};
      const Pair2 diff[4] = {b0.p0 - b1.p0, b0.p1 - b1.p1, b0.p2 - b1.p2, b0.p3 - b1.p3};
      for (int r = 0; r < 4; ++r) {
        Store(p + r * l, kConjugate ? c * sum[r] : sum[r]);
        Store(p + 4 * l + r * l, kConjugate ? c * diff[r] : diff[r]);
      }
    }
  }
}

// The last stage alone, for n < 128: radix-4 when 4*l = n, else radix-2.
template <bool kConjugate>
inline void LastStage(int n, int l, double* a) {
  if (4 * l == n) {
    for (int j = 0; j < l; j += 4) {
      const Quad<Pair2> y = ButterflyUnit(LoadQuad<Pair2>(a + j, l));
      StoreQuad(a + j, l, kConjugate ? ConjugateQuad(y) : y);
    }
  } else {
    const Pair2 c = Conjugate<Pair2>();
    for (int j = 0; j < l; j += 4) {
      const Pair2 p = LoadPair2(a + j), q = LoadPair2(a + j + l);
      Store(a + j, kConjugate ? c * (p + q) : p + q);
      Store(a + j + l, kConjugate ? c * (p - q) : p - q);
    }
  }
}

// --- The bit-reversal permutation of pairs (small n and the twiddle table).

// Writes the offsets of the first m pair indices with their bits reversed
// (as doubles) to t, and returns m; m*m*8 is n or 2*n.
inline int BitReverseOffsets(int n, int* t) {
  t[0] = 0;
  int l = n;
  int m = 1;
  while (8 * m < l) {
    l /= 2;
    for (int j = 0; j < m; ++j) t[m + j] = t[j] + l;
    m *= 2;
  }
  return m;
}

inline void SwapPairs(double* a, int p, int q) {
  const Pair x = LoadPair(a + p);
  Store(a + p, LoadPair(a + q));
  Store(a + q, x);
}

inline void BitReversePairs(int n, int* t, double* a) {
  const int m = BitReverseOffsets(n, t);
  const int s = 2 * m;
  if (8 * m * m == n) {
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

// --- The complex transform of the n/2 pairs. -------------------------------

// Bit reversal, then the butterfly stages; output in natural order, each
// pair conjugated when kConjugate.
template <bool kConjugate>
inline void ComplexFft(int n, double* a, int* offsets, const double* table) {
  if (n >= 128) {
    BitReverseOffsets(n, offsets);  // left in the work area as the permutation's scratch
    BitReverseFirstStage(n, a, table);
    // The last stage has span n/4 (radix-4) when log2(n) is odd, else n/2.
    const int odd = __builtin_ctz(static_cast<unsigned>(n)) & 1;
    const int secondLast = (odd ? n / 4 : n / 2) / 4;
    MiddleStages(n, secondLast, a, table);
    LastTwoStages<kConjugate>(n, secondLast, a, table);
    return;
  }
  BitReversePairs(n, offsets, a);
  if (n >= 16) {
    FirstStageInPlace(n, a, table);
    int l = 8;
    while (4 * l < n) l *= 4;
    MiddleStages(n, l, a, table);
    LastStage<kConjugate>(n, l, a);
  } else if (n == 8) {
    const Quad<Pair> y = ButterflyUnit(LoadQuad<Pair>(a, 2));
    StoreQuad(a, 2, kConjugate ? ConjugateQuad(y) : y);
  }
}

// The complex transform of two pairs (n = 4), in both directions.
inline void ComplexFftOfFour(double* a) {
  const Pair p = LoadPair(a), q = LoadPair(a + 2);
  Store(a, p + q);
  Store(a + 2, p - q);
}

// --- The real split step. ----------------------------------------------------

// Split coefficients of the bins at e and e + s: (wr, wr) and (wi, wi) per pair,
// wr = 0.5 - c[K - e], wi = c[e].
struct SplitWeights {
  Pair2 wr, wi;
};
inline SplitWeights SplitWeightsAt(const double* c, int K, int e, int s) {
  if (s == 1) {  // tables built for this n: neighbouring entries
    const Pair wi = LoadPair(c + e), ck = LoadPair(c + K - e - 1);
    return {Splat<Pair2>(0.5) - SpreadPairReversed(ck), SpreadPair(wi)};
  }
  const double wi0 = c[e], wi1 = c[e + s];
  const double ck0 = c[K - e], ck1 = c[K - e - s];
  return {Splat<Pair2>(0.5) - Join(Splat<Pair>(ck0), Splat<Pair>(ck1)),
          Join(Splat<Pair>(wi0), Splat<Pair>(wi1))};
}

// Turns the complex spectrum of the pairs into the real spectrum: pair j/2
// and its mirror pair (n - j)/2 for j = 2, 4, ..., n/2 - 2, two at a time.
inline void RealSplitForward(int n, double* a, int K, const double* c) {
  const int h = n / 2;
  const int s = (2 * K) / h;
  const Pair2 neg = NegateRe<Pair2>(), conj = Conjugate<Pair2>();
  int j = 2;
  for (; j + 2 <= h - 2; j += 4) {
    const int jm = n - j;
    const SplitWeights w = SplitWeightsAt(c, K, s * (j / 2), s);
    const Pair2 p = LoadPair2(a + j);
    const Pair2 q = ReversePairs(LoadPair2(a + jm - 2));
    // x = (p.re - q.re, p.im + q.im); y = (wr*xr - wi*xi, wr*xi + wi*xr).
    const Pair2 x = p + neg * q;
    const Pair2 y = Rotate(x, Twiddle<Pair2>{w.wr, w.wi});
    Store(a + j, p - y);
    Store(a + jm - 2, ReversePairs(q + conj * y));
  }
  if (j < h) {  // the last bin below n/4 when the count is odd
    const int jm = n - j, e = s * (j / 2);
    const Pair wr = Splat<Pair>(0.5 - c[K - e]), wi = Splat<Pair>(c[e]);
    const Pair p = LoadPair(a + j), q = LoadPair(a + jm);
    const Pair x = p + NegateRe<Pair>() * q;
    const Pair y = Rotate(x, Twiddle<Pair>{wr, wi});
    Store(a + j, p - y);
    Store(a + jm, q + Conjugate<Pair>() * y);
  }
}

// The reverse preparation ahead of the backward complex transform.
inline void RealSplitBackward(int n, double* a, int K, const double* c) {
  a[1] = -a[1];
  const int h = n / 2;
  const int s = (2 * K) / h;
  const Pair2 neg = NegateRe<Pair2>(), conj = Conjugate<Pair2>();
  int j = 2;
  for (; j + 2 <= h - 2; j += 4) {
    const int jm = n - j;
    const SplitWeights w = SplitWeightsAt(c, K, s * (j / 2), s);
    const Pair2 p = LoadPair2(a + j);
    const Pair2 q = ReversePairs(LoadPair2(a + jm - 2));
    // x as forward; y = (wr*xr + wi*xi, wr*xi - wi*xr).
    const Pair2 x = p + neg * q;
    const Pair2 y = Rotate(x, Twiddle<Pair2>{w.wr, -w.wi});
    // (p.re - yr, yi - p.im) and (q.re + yr, yi - q.im).
    Store(a + j, ReOfAImOfB(p, y) - ReOfAImOfB(y, p));
    Store(a + jm - 2, ReversePairs(ReOfAImOfB(q, y) + conj * ReOfAImOfB(y, q)));
  }
  if (j < h) {
    const int jm = n - j, e = s * (j / 2);
    const Pair wr = Splat<Pair>(0.5 - c[K - e]), wi = Splat<Pair>(c[e]);
    const Pair p = LoadPair(a + j), q = LoadPair(a + jm);
    const Pair x = p + NegateRe<Pair>() * q;
    const Pair y = Rotate(x, Twiddle<Pair>{wr, -wi});
    Store(a + j, ReOfAImOfB(p, y) - ReOfAImOfB(y, p));
    Store(a + jm, ReOfAImOfB(q, y) + Conjugate<Pair>() * ReOfAImOfB(y, q));
  }
  a[h + 1] = -a[h + 1];
}

// --- The whole transform with the tables built: T and K are their lengths.

// The transform for one direction; always inlined so that a constant n turns
// every loop and offset into constants.
template <bool kBackward>
__attribute__((always_inline)) inline void TransformOneWay(int n, double* data, int* work,
                                                     const double* table, int T, int K) {
  if (!kBackward) {
    if (n > 4) {
      ComplexFft<false>(n, data, work + 2, table);
      RealSplitForward(n, data, K, table + T);
    } else if (n == 4) {
      ComplexFftOfFour(data);
    }
    const double difference = data[0] - data[1];
    data[0] += data[1];
    data[1] = difference;
  } else {
    data[1] = 0.5 * (data[0] - data[1]);
    data[0] -= data[1];
    if (n > 4) {
      RealSplitBackward(n, data, K, table + T);
      ComplexFft<true>(n, data, work + 2, table);
    } else if (n == 4) {
      ComplexFftOfFour(data);
    }
  }
}

inline void TransformWithTables(int n, int direction, double* data, int* work,
                                const double* table, int T, int K) {
  // The spectrum panel's length gets code of its own.
  if (direction >= 0) {
    if (n == 128) TransformOneWay<false>(128, data, work, table, T, K);
    else TransformOneWay<false>(n, data, work, table, T, K);
  } else {
    if (n == 128) TransformOneWay<true>(128, data, work, table, T, K);
    else TransformOneWay<true>(n, data, work, table, T, K);
  }
}

}  // namespace
