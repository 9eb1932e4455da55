// Random interleavings of everything a user and the output device can do, over the real
// program, from fixed seeds: the same run every time. TONVELA_FUZZ_SECONDS runs more
// seeds for that long (scripts/fuzz-long.sh).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "message_sequence.h"

namespace tv::fuzz {
namespace {

// About 1200 steps per seed: eight seeds take about a minute under the sanitizers.
constexpr std::size_t kBytesPerSeed = 4800;

RunReport RunSeed(std::uint64_t seed, std::size_t size) {
  const std::vector<std::uint8_t> data = SeededBytes(seed, size);
  ByteSource bytes(data.data(), data.size());
  return RunMessageSequences(bytes);
}

std::string Summary(std::uint64_t seed, const RunReport& report) {
  return "seed " + std::to_string(seed) + ": " + std::to_string(report.steps) + " steps in " +
         std::to_string(report.sessions) + " sessions, " + std::to_string(report.samplesPlayed / 16000) +
         " s of audio, " + std::to_string(report.opens) + " devices opened, " +
         std::to_string(report.failedOpens) + " failed openings";
}

class MessageSequenceFuzz : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(MessageSequenceFuzz, EveryInvariantHoldsAtEveryIdleMoment) {
  const RunReport report = RunSeed(GetParam(), kBytesPerSeed);
  std::cout << Summary(GetParam(), report) << '\n';
  for (const std::string& failure : report.failures) ADD_FAILURE() << failure;
  // A run that never reached the device would prove little about streaming.
  EXPECT_GT(report.opens, 0);
  EXPECT_GT(report.failedOpens, 0);
  EXPECT_GT(report.samplesPlayed, 16000 * 30);
}

INSTANTIATE_TEST_SUITE_P(Seeds, MessageSequenceFuzz, ::testing::Range<std::uint64_t>(1, 9));

TEST(MessageSequenceFuzzLong, SeedsForTheGivenTime) {
  const char* seconds = std::getenv("TONVELA_FUZZ_SECONDS");
  if (seconds == nullptr) GTEST_SKIP() << "set TONVELA_FUZZ_SECONDS to run";
  const char* first = std::getenv("TONVELA_FUZZ_FIRST_SEED");
  std::uint64_t seed = first ? std::strtoull(first, nullptr, 10) : 1000;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(seconds));
  std::int64_t steps = 0;
  int seeds = 0;
  while (std::chrono::steady_clock::now() < end) {
    const RunReport report = RunSeed(seed, kBytesPerSeed * 4);
    steps += report.steps;
    ++seeds;
    for (const std::string& failure : report.failures) ADD_FAILURE() << "seed " << seed << ": " << failure;
    if (!report.failures.empty()) break;
    ++seed;
  }
  std::cout << seeds << " seeds, " << steps << " steps\n";
}

}  // namespace
}  // namespace tv::fuzz
