// The program's thread opens, writes, resets and closes while another thread plays the
// device and hands headers back, as a sound card's thread does.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <thread>

#include "platform/wave/wave_device_table.h"
#include "wave_test_support.h"

namespace tv::testing {
namespace {

// Owned by each device in turn; plays through one sink that outlives them all.
class ForwardingSink final : public WaveSink {
 public:
  explicit ForwardingSink(SimulatedWaveSink& target) : target_(target) {}
  bool Start(WaveSource& source) override { return target_.Start(source); }
  void Stop() override { target_.Stop(); }

 private:
  SimulatedWaveSink& target_;
};

TEST(WaveDeviceThreads, HeadersComeBackOnceEachWhileAnotherThreadPlays) {
  SimulatedWaveSink card;
  std::atomic<bool> finished{false};
  std::atomic<std::int64_t> unexpectedSamples{0};
  // Every round's log outlives the player thread, so that a notification arriving after
  // its device was closed is seen below instead of writing into a destroyed log.
  std::vector<std::unique_ptr<NotificationLog>> logs;
  std::vector<std::size_t> sizesAtClose;
  std::thread player([&] {
    std::vector<std::int16_t> out(97);
    while (!finished.load()) {
      card.Play(out.data(), out.size(), false);
      for (std::int16_t sample : out) {
        if (sample != 0 && sample != 1111 && sample != 2222) ++unexpectedSamples;
      }
      std::this_thread::yield();
    }
  });
  // A failed assertion returns early: stop and join the player before anything it uses
  // goes away.
  struct JoinOnExit {
    std::atomic<bool>& finished;
    std::thread& player;
    ~JoinOnExit() {
      finished = true;
      if (player.joinable()) player.join();
    }
  } joinOnExit{finished, player};

  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    NotificationLog& log = *logs.emplace_back(std::make_unique<NotificationLog>());
    HWAVEOUT device = nullptr;
    ASSERT_EQ(OpenWaveDevice(std::make_unique<ForwardingSink>(card), log.Notifier(), &device),
              MMSYSERR_NOERROR);
    TestBuffer first(std::vector<std::int16_t>(300, 1111));
    TestBuffer second(std::vector<std::int16_t>(200, 2222));
    std::map<LPARAM, int> queued;
    for (TestBuffer* buffer : {&first, &second}) {
      waveOutPrepareHeader(device, &buffer->header, sizeof(WAVEHDR));
      ASSERT_EQ(waveOutWrite(device, &buffer->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
      ++queued[reinterpret_cast<LPARAM>(&buffer->header)];
    }

    // Refill every header handed back, as the streaming code does, for a while.
    int refills = 0;
    std::size_t seen = 1;  // MM_WOM_OPEN
    while (refills < 10) {
      const std::vector<Notification> all = log.All();
      for (; seen < all.size(); ++seen) {
        ASSERT_EQ(all[seen].message, MM_WOM_DONE);
        ASSERT_GE(--queued[all[seen].lParam], 0) << "a header came back that was not queued";
        // Refused when the extra write below has queued it again already.
        auto* header = reinterpret_cast<WAVEHDR*>(all[seen].lParam);
        const MMRESULT result = waveOutWrite(device, header, sizeof(WAVEHDR));
        if (result == MMSYSERR_NOERROR) {
          ++queued[all[seen].lParam];
        } else {
          ASSERT_EQ(result, WAVERR_STILLPLAYING);
        }
        ++refills;
      }
      // A write of a header that is still queued is refused; the player may have just
      // handed it back (its MM_WOM_DONE not yet read here), in which case it is queued
      // again and must come back once more.
      const MMRESULT again = waveOutWrite(device, &first.header, sizeof(WAVEHDR));
      if (again == MMSYSERR_NOERROR) {
        ++queued[reinterpret_cast<LPARAM>(&first.header)];
      } else {
        ASSERT_EQ(again, WAVERR_STILLPLAYING);
      }
      std::this_thread::yield();
    }

    ASSERT_EQ(waveOutReset(device), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
    const std::vector<Notification> all = log.All();
    for (; seen + 1 < all.size(); ++seen) {
      ASSERT_EQ(all[seen].message, MM_WOM_DONE);
      --queued[all[seen].lParam];
    }
    EXPECT_EQ(all.back(), Close(device));
    for (const auto& [header, count] : queued) EXPECT_EQ(count, 0) << "every write came back once";
    sizesAtClose.push_back(all.size());
  }
  finished = true;
  player.join();
  EXPECT_EQ(unexpectedSamples.load(), 0);
  for (std::size_t round = 0; round < sizesAtClose.size(); ++round) {
    EXPECT_EQ(logs[round]->All().size(), sizesAtClose[round]) << "nothing after MM_WOM_CLOSE, round " << round;
  }
}

}  // namespace
}  // namespace tv::testing
