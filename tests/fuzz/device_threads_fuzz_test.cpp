// The wave-output device core under a sound-card-like sink: the sink pulls on a callback
// thread of its own, started by Start and joined by Stop, as PortAudio does, while this
// thread (the program's GUI thread) opens, writes, rewrites, resets, unprepares and
// closes at random and handles the notifications as posted messages. Run it under
// ThreadSanitizer (scripts/tsan.sh).
#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/wave/wave_device_table.h"

namespace tv::fuzz {
namespace {

constexpr int kHeaders = 3;
constexpr std::int16_t kLargestSample = 1000;

// Pulls odd amounts on its own thread; can be told to fail its start or to stop calling
// back for a while, as a stream that stalls.
class CallbackThreadSink final : public WaveSink {
 public:
  CallbackThreadSink(std::uint64_t seed, bool failStart, std::atomic<bool>& stalled,
                     std::atomic<std::int64_t>& badSamples)
      : seed_(seed), failStart_(failStart), stalled_(stalled), badSamples_(badSamples) {}
  ~CallbackThreadSink() override { Stop(); }

  bool Start(WaveSource& source) override {
    if (failStart_) return false;
    running_ = true;
    thread_ = std::thread([this, &source] { CallbackLoop(source); });
    return true;
  }

  void Stop() override {
    running_ = false;
    if (thread_.joinable()) thread_.join();
  }

 private:
  void CallbackLoop(WaveSource& source) {
    std::mt19937 random(static_cast<std::uint32_t>(seed_));
    std::vector<std::int16_t> out(512);
    while (running_) {
      if (stalled_) {
        std::this_thread::yield();
        continue;
      }
      const std::size_t frames = 1 + random() % out.size();
      source.Pull(out.data(), frames, false);
      for (std::size_t i = 0; i < frames; ++i) {
        if (out[i] < 0 || out[i] > kLargestSample) ++badSamples_;
      }
      if (random() % 4 == 0) std::this_thread::yield();
    }
  }

  const std::uint64_t seed_;
  const bool failStart_;
  std::atomic<bool>& stalled_;
  std::atomic<std::int64_t>& badSamples_;
  std::atomic<bool> running_{false};
  std::thread thread_;
};

struct Block {
  std::vector<char> bytes = std::vector<char>(2 * 700);
  WAVEHDR header{};
  void Fill(std::int16_t value) {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      bytes[i] = static_cast<char>(value & 0xFF);
      bytes[i + 1] = static_cast<char>(value >> 8);
    }
    header.lpData = bytes.data();
    header.dwBufferLength = static_cast<DWORD>(bytes.size());
  }
};

// The notifications as the GUI thread's message queue holds them, with the faults that
// the notifying side can see: a header handed back that was not queued, a header queued
// twice, anything after MM_WOM_CLOSE.
class PostedNotifications {
 public:
  WaveNotifier Notifier() {
    return [this](UINT message, WPARAM wParam, LPARAM lParam) {
      std::lock_guard lock(mutex_);
      if (closed_.count(wParam) != 0) faults_.push_back("a notification after MM_WOM_CLOSE");
      if (message == MM_WOM_CLOSE) closed_.insert(wParam);
      if (message == MM_WOM_DONE && --inQueue_[lParam] < 0) faults_.push_back("a header handed back that was not queued");
      posted_.push_back({message, lParam});
    };
  }
  // Counts a write before it is made, so that a hand-back racing with it finds it counted.
  void WillWrite(const WAVEHDR* header) {
    std::lock_guard lock(mutex_);
    ++inQueue_[reinterpret_cast<LPARAM>(header)];
  }
  void Written(const WAVEHDR* header, MMRESULT result) {
    std::lock_guard lock(mutex_);
    int& count = inQueue_[reinterpret_cast<LPARAM>(header)];
    if (result != MMSYSERR_NOERROR) --count;
    if (count > 1) faults_.push_back("a header was queued twice");
  }
  std::deque<std::pair<UINT, LPARAM>> Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(posted_, {});
  }
  int InQueue(const WAVEHDR* header) {
    std::lock_guard lock(mutex_);
    return inQueue_[reinterpret_cast<LPARAM>(header)];
  }
  std::vector<std::string> Faults() {
    std::lock_guard lock(mutex_);
    return faults_;
  }

 private:
  std::mutex mutex_;
  std::deque<std::pair<UINT, LPARAM>> posted_;
  std::map<LPARAM, int> inQueue_;
  std::set<WPARAM> closed_;
  std::vector<std::string> faults_;
};

class DeviceThreadsFuzz : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(DeviceThreadsFuzz, RandomProgramCallsAgainstACallbackThread) {
  std::mt19937_64 random(GetParam());
  std::atomic<bool> stalled{false};
  std::atomic<std::int64_t> badSamples{0};
  PostedNotifications posted;
  Block blocks[kHeaders];
  for (Block& block : blocks) block.Fill(1);
  HWAVEOUT device = nullptr;
  bool closing = false;  // closed, MM_WOM_CLOSE not yet handled
  bool streaming = false;
  int opens = 0, closes = 0, refills = 0;

  auto handleNotifications = [&] {
    for (const auto& [message, lParam] : posted.Take()) {
      if (message == MM_WOM_CLOSE) {
        ++closes;
        closing = false;
        for (Block& block : blocks) EXPECT_EQ(posted.InQueue(&block.header), 0);
        continue;
      }
      if (message != MM_WOM_DONE || !streaming || device == nullptr) continue;
      auto* header = reinterpret_cast<WAVEHDR*>(lParam);
      for (Block& block : blocks) {
        if (&block.header == header) block.Fill(static_cast<std::int16_t>(1 + random() % kLargestSample));
      }
      posted.WillWrite(header);
      posted.Written(header, waveOutWrite(device, header, sizeof(WAVEHDR)));
      ++refills;
    }
  };

  for (int step = 0; step < 6000; ++step) {
    Block& block = blocks[random() % kHeaders];
    switch (random() % 12) {
      case 0:
        if (device == nullptr && !closing) {
          const bool failStart = random() % 8 == 0;
          const MMRESULT opened = OpenWaveDevice(
              std::make_unique<CallbackThreadSink>(random(), failStart, stalled, badSamples), posted.Notifier(),
              &device);
          ASSERT_EQ(opened, failStart ? MMSYSERR_NODRIVER : MMSYSERR_NOERROR);
          if (!failStart) {
            ++opens;
            streaming = true;
            for (Block& each : blocks) waveOutPrepareHeader(device, &each.header, sizeof(WAVEHDR));
          }
        }
        break;
      case 1:
      case 2:
        if (device != nullptr) {
          block.Fill(static_cast<std::int16_t>(1 + random() % kLargestSample));
          posted.WillWrite(&block.header);
          posted.Written(&block.header, waveOutWrite(device, &block.header, sizeof(WAVEHDR)));
        }
        break;
      case 3:
        if (device != nullptr) {
          EXPECT_EQ(waveOutReset(device), MMSYSERR_NOERROR);
        }
        break;
      case 4:
        if (device != nullptr && random() % 3 == 0) {
          // Clear: reset, then close; the close notification releases the headers.
          streaming = false;
          EXPECT_EQ(waveOutReset(device), MMSYSERR_NOERROR);
          EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
          device = nullptr;
          closing = true;
        } else if (device != nullptr) {
          const MMRESULT closed = waveOutClose(device);
          EXPECT_TRUE(closed == MMSYSERR_NOERROR || closed == WAVERR_STILLPLAYING) << closed;
          if (closed == MMSYSERR_NOERROR) {
            device = nullptr;
            closing = true;
            streaming = false;
          }
        }
        break;
      case 5:
        if (device != nullptr) {
          const MMRESULT result = waveOutUnprepareHeader(device, &block.header, sizeof(WAVEHDR));
          EXPECT_TRUE(result == MMSYSERR_NOERROR || result == WAVERR_STILLPLAYING) << result;
          if (result == MMSYSERR_NOERROR) waveOutPrepareHeader(device, &block.header, sizeof(WAVEHDR));
        }
        break;
      case 6:
        stalled = !stalled;  // the stream stops calling back, or resumes
        break;
      case 7:
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 300));
        break;
      default:
        handleNotifications();
        break;
    }
    if (HasFatalFailure()) return;
  }

  stalled = false;
  if (device != nullptr) {
    EXPECT_EQ(waveOutReset(device), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
  }
  streaming = false;
  handleNotifications();
  EXPECT_FALSE(closing) << "MM_WOM_CLOSE arrived for every close";
  EXPECT_EQ(opens, closes);
  for (Block& block : blocks) EXPECT_EQ(posted.InQueue(&block.header), 0);
  for (const std::string& fault : posted.Faults()) ADD_FAILURE() << fault;
  EXPECT_EQ(badSamples.load(), 0) << "samples that no block held";
  EXPECT_GT(opens, 10);
  EXPECT_GT(refills, 100);
}

INSTANTIATE_TEST_SUITE_P(Seeds, DeviceThreadsFuzz, ::testing::Range<std::uint64_t>(1, 7));

}  // namespace
}  // namespace tv::fuzz
