// The code paths of RealFft. Each path is the same transform, compiled for
// another instruction set; all give the same results bit for bit. RealFft takes
// the widest path the CPU runs; tests and benchmarks can name one.
#pragma once

namespace tonvela::fft {

enum class Path {
  kBaseline,  // what every CPU of the build's architecture runs
  kX86_64V3,  // AVX2 (x86-64-v3), chosen when the CPU has it
};

inline constexpr Path kAllPaths[] = {Path::kBaseline, Path::kX86_64V3};

const char* PathName(Path path);

// Whether this build has the path and this CPU can run it.
bool PathAvailable(Path path);

// The path RealFft takes on this CPU.
Path ChosenPath();

// RealFft on the given path, which must be available.
void RealFftOnPath(Path path, int n, int direction, double* data, int* work,
                   double* table);

}  // namespace tonvela::fft
