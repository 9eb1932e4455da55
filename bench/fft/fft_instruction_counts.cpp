// Instructions per transform of RealFft (each code path) and of FFTW's measured
// plan, counted by callgrind, which is free of the timing noise of a shared
// machine. Three steps (scripts/bench-report.sh runs them):
//   tonvela_fft_instruction_counts plan WISDOM
//       plans every case natively with FFTW_MEASURE and saves FFTW's wisdom;
//   valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file=DIR/out
//       tonvela_fft_instruction_counts count WISDOM
//       reuses those plans and dumps callgrind's counts once per case;
//   tonvela_fft_instruction_counts report DIR
//       prints the table: instructions per transform and their ratio.
// Each case first runs one transform outside the count, so that tables and
// plans exist; the counted transforms then run on their own output (no branch
// depends on the values).
#include <fftw3.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "dsp/real_fft_paths.h"

namespace {

constexpr int kSizes[] = {128,  256,   512,   1024,   2048,   4096,   8192,
                          16384, 32768, 65536, 131072, 262144, 524288, 1 << 20};
constexpr int kRepeats = 8;

using tonvela::fft::Path;

const char* DirectionName(int direction) { return direction > 0 ? "forward" : "backward"; }

fftw_plan MakePlan(int n, int direction, double* real, fftw_complex* spectrum,
                   unsigned flags) {
  return direction > 0 ? fftw_plan_dft_r2c_1d(n, real, spectrum, flags)
                       : fftw_plan_dft_c2r_1d(n, spectrum, real, flags);
}

int Plan(const char* wisdom) {
  for (int n : kSizes) {
    double* real = fftw_alloc_real(n);
    fftw_complex* spectrum = fftw_alloc_complex(n / 2 + 1);
    for (int direction : {1, -1})
      fftw_destroy_plan(MakePlan(n, direction, real, spectrum, FFTW_MEASURE));
    fftw_free(real);
    fftw_free(spectrum);
  }
  return fftw_export_wisdom_to_filename(wisdom) ? 0 : 1;
}

template <class Transform>
void CountCase(const std::string& label, Transform transform) {
  transform();
  CALLGRIND_ZERO_STATS;
  CALLGRIND_TOGGLE_COLLECT;
  for (int r = 0; r < kRepeats; ++r) transform();
  CALLGRIND_TOGGLE_COLLECT;
  CALLGRIND_DUMP_STATS_AT(label.c_str());
}

int Count(const char* wisdom) {
  if (!fftw_import_wisdom_from_filename(wisdom)) {
    std::fprintf(stderr, "cannot read FFTW wisdom from %s\n", wisdom);
    return 1;
  }
  for (int n : kSizes) {
    std::vector<double> data(n, 0.25);
    std::vector<int> work(2 + n, 0);
    std::vector<double> table(n / 2);
    double* real = fftw_alloc_real(n);
    fftw_complex* spectrum = fftw_alloc_complex(n / 2 + 1);
    for (int direction : {1, -1}) {
      const std::string suffix = std::string("/") + DirectionName(direction) + "/" +
                                 std::to_string(n);
      for (Path path : tonvela::fft::kAllPaths) {
        if (!tonvela::fft::PathAvailable(path)) continue;
        CountCase(std::string("RealFft-") + tonvela::fft::PathName(path) + suffix, [&] {
          tonvela::fft::RealFftOnPath(path, n, direction, data.data(), work.data(),
                                      table.data());
        });
      }
      std::fill(real, real + n, 0.25);
      std::fill(&spectrum[0][0], &spectrum[0][0] + n + 2, 0.25);
      // The plan comes from the wisdom saved natively: FFTW_WISDOM_ONLY makes
      // no measurement under the instrumentation.
      fftw_plan plan = MakePlan(n, direction, real, spectrum, FFTW_MEASURE | FFTW_WISDOM_ONLY);
      if (plan == nullptr) {
        std::fprintf(stderr, "no FFTW plan in the wisdom for n = %d\n", n);
        return 1;
      }
      CountCase("FFTW" + suffix, [&] { fftw_execute(plan); });
      fftw_destroy_plan(plan);
    }
    fftw_free(real);
    fftw_free(spectrum);
  }
  return 0;
}

// Reads the label ("desc: Trigger: Client Request: LABEL") and the total of
// every dump in dir.
int Report(const char* dir) {
  std::map<std::string, double> perTransform;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path());
    std::string line, label;
    double total = -1;
    const std::string trigger = "desc: Trigger: Client Request: ";
    while (std::getline(in, line)) {
      if (line.rfind(trigger, 0) == 0) label = line.substr(trigger.size());
      if (line.rfind("totals: ", 0) == 0) total = std::stod(line.substr(8));
    }
    if (!label.empty() && total >= 0) perTransform[label] = total / kRepeats;
  }
  std::printf("| transform | n | RealFft path | RealFft instructions | FFTW instructions | ratio |\n");
  std::printf("|---|---|---|---|---|---|\n");
  for (int direction : {1, -1}) {
    for (int n : kSizes) {
      const std::string suffix = std::string("/") + DirectionName(direction) + "/" +
                                 std::to_string(n);
      const auto fftw = perTransform.find("FFTW" + suffix);
      if (fftw == perTransform.end()) continue;
      for (Path path : tonvela::fft::kAllPaths) {
        const auto ours =
            perTransform.find(std::string("RealFft-") + tonvela::fft::PathName(path) + suffix);
        if (ours == perTransform.end()) continue;
        std::printf("| %s | %d | %s | %.0f | %.0f | %.2fx |\n", DirectionName(direction), n,
                    tonvela::fft::PathName(path), ours->second, fftw->second,
                    ours->second / fftw->second);
      }
    }
  }
  return perTransform.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[1] : "";
  if (mode == "plan") return Plan(argv[2]);
  if (mode == "count") return Count(argv[2]);
  if (mode == "report") return Report(argv[2]);
  std::fprintf(stderr, "usage: %s plan WISDOM | count WISDOM | report DIR\n", argv[0]);
  return 2;
}
