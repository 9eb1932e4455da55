// The real dialog on the headless backend with its simulated output device, reset to a
// fresh process before each test. The four playback blocks are obtained through a
// counting heap so that tests can see what is held and make an allocation fail.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/win32_api.h"

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // What the user does: a click on a button, messages handled until none is left.
  void Click(int id);
  void Pump();
  // Plays audio time, handling every notification as it comes, and returns what was
  // heard. Stops right after `headers` headers have been played, if that comes first.
  std::vector<std::int16_t> Listen(std::int64_t samples, int headers = -1);
  void CloseWindow();

  std::string Text(int id);
  int BeepCount();

  static std::vector<std::int16_t> Samples(const char* block);

  HWND dialog = nullptr;

 public:
  // The counting heap: blocks held now, and which allocation (1-based) is to fail.
  static std::set<void*> s_held;
  static int s_allocations;
  static int s_failAllocation;
};
