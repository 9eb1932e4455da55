// Real FFT: an in-place, table-driven transform of n real
// doubles, n a power of two. Used by the spectrum panel.
#pragma once

// RealFft(n, direction, data, work, table)
//
// n          A power of two, n >= 2. Not validated.
// direction  >= 0 (0 included): forward transform. < 0: backward transform.
// data       double[n], transformed in place.
// work       int array owned by the caller; persists between calls.
//              work[0] = T, length in doubles of the twiddle table (0 = no
//                        tables built yet: set work[0] = 0 before the first
//                        call; work[1] needs no initial value).
//              work[1] = K, length in doubles of the cosine table.
//              work[2..] scratch for the bit-reversal permutation.
// table      double array owned by the caller; persists between calls.
//              table[0 .. T-1]   twiddle table, T/2 pairs (cos, sin) of
//                                q*pi/T in bit-reversed order of q.
//              table[T .. T+K-1] cosine table c[0] = cos(pi/4),
//                                c[j] = 0.5*cos(j*pi/(2K)), 1 <= j < K.
//
// Minimum sizes for length n:
//   data   n doubles;
//   table  n/2 doubles (T = K = n/4) -- or L/2 if tables were already built
//          for a longer length L; nothing for n <= 4;
//   work   2 + M ints, M the smallest power of two with 8*M*M >= n
//          (n = 128: 6 ints; n = 256: 10; n = 2^20: 514); 2 ints for n <= 4.
//
// Tables are built lazily: a call with n > 4*work[0] rebuilds both tables for
// n; tables built for a length L serve every shorter length unchanged. Every
// call on the same `table` must pass the same `work`, and two calls on the
// same arrays must not run at the same time. No allocation; after the tables
// exist, no maths-library call.
//
// Forward, for input x[0 .. n-1] (sums over j = 0 .. n-1), "+" sign convention:
//   data[0]    = R[0]   = sum x[j]
//   data[1]    = R[n/2] = sum x[j]*(-1)^j
//   data[2k]   = R[k]   = sum x[j]*cos(2*pi*j*k/n)   1 <= k < n/2
//   data[2k+1] = I[k]   = sum x[j]*sin(2*pi*j*k/n)   1 <= k < n/2
//   i.e. R[k] + i*I[k] = sum x[j]*exp(+2*pi*i*j*k/n).
//
// Backward: input in the same packed layout; output, for 0 <= j < n,
//   x[j] = (R[0] + R[n/2]*(-1)^j)/2
//          + sum_{k=1}^{n/2-1} (R[k]*cos(2*pi*j*k/n) + I[k]*sin(2*pi*j*k/n)).
//   It is unnormalised: backward after forward returns (n/2)*x; multiply by
//   2/n for the inverse.
void RealFft(int n, int direction, double* data, int* work, double* table);
