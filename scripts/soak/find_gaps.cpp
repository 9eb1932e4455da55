// Reads a 16-bit mono PCM WAV file and reports its runs of zero samples: the longest, and
// how many are longer than a limit. A tone sits at zero only for a sample or two around
// a crossing (the low byte of every sample is dropped, so small positive values play as
// 0); a device that ran dry plays zeros for a whole buffer or more.
//   find_gaps FILE.wav [LIMIT_SAMPLES]   exit 1 if any run exceeds the limit
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Finds the "data" chunk of a RIFF/WAVE file and returns its offset and size.
bool FindData(std::ifstream& in, std::uint32_t* size) {
  char riff[12];
  if (!in.read(riff, 12) || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
    return false;
  }
  char header[8];
  while (in.read(header, 8)) {
    std::uint32_t length = 0;
    std::memcpy(&length, header + 4, 4);
    if (std::memcmp(header, "data", 4) == 0) {
      *size = length;
      return true;
    }
    in.seekg(length + (length & 1), std::ios::cur);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: find_gaps FILE.wav [LIMIT_SAMPLES]\n";
    return 2;
  }
  const long limit = argc > 2 ? std::atol(argv[2]) : 320;
  std::ifstream in(argv[1], std::ios::binary);
  std::uint32_t bytes = 0;
  if (!in || !FindData(in, &bytes)) {
    std::cerr << "find_gaps: " << argv[1] << " is not a WAV file\n";
    return 2;
  }
  std::vector<std::int16_t> chunk(1 << 16);
  long long samples = 0, run = 0, longest = 0, longestAt = 0, gaps = 0;
  const long long total = bytes / 2;
  while (samples < total) {
    const long long want = std::min<long long>(static_cast<long long>(chunk.size()), total - samples);
    if (!in.read(reinterpret_cast<char*>(chunk.data()), want * 2)) break;
    for (long long i = 0; i < want; ++i, ++samples) {
      if (chunk[static_cast<std::size_t>(i)] == 0) {
        if (++run == limit + 1) ++gaps;
        if (run > longest) {
          longest = run;
          longestAt = samples - run + 1;
        }
      } else {
        run = 0;
      }
    }
  }
  std::printf("samples %lld (%.1f s)\nlongest zero run %lld samples (%.2f ms) at %.3f s\nruns over %ld samples: %lld\n",
              samples, samples / 16000.0, longest, longest / 16.0, longestAt / 16000.0, limit, gaps);
  return gaps == 0 ? 0 : 1;
}
