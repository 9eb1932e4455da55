#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "recording_dialog.h"

using ::testing::ElementsAre;

class MessageQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlatform();
    dialog = CreateRecordingDialog();
    ASSERT_NE(dialog, nullptr);
    PumpUntilIdle();  // the first paint
    g_delivered.clear();
  }
  void TearDown() override { ResetPlatform(); }
  HWND dialog = nullptr;
};

TEST_F(MessageQueueTest, PostedMessagesComeBeforeInputQueuedEarlier) {
  tv::PushInput(MSG{dialog, WM_COMMAND, 1008, 0, 0, {0, 0}});
  PostMessageA(dialog, MM_WOM_DONE, 0, 1);
  PostMessageA(dialog, MM_WOM_DONE, 0, 2);
  PumpUntilIdle();
  EXPECT_THAT(DeliveredMessages(), ElementsAre(MM_WOM_DONE, MM_WOM_DONE, WM_COMMAND));
  EXPECT_EQ(g_delivered[0].lParam, 1);
  EXPECT_EQ(g_delivered[1].lParam, 2);
}

TEST_F(MessageQueueTest, MessagesPostedToADestroyedWindowAreDropped) {
  PostMessageA(dialog, MM_WOM_DONE, 0, 0);
  PostMessageA(dialog, MM_WOM_CLOSE, 0, 0);
  DestroyWindow(dialog);
  EXPECT_THAT(DeliveredMessages(), ElementsAre(WM_DESTROY));
  MSG msg;
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);  // only the quit request is left
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_THAT(DeliveredMessages(), ElementsAre(WM_DESTROY));
}

TEST_F(MessageQueueTest, QuitComesAfterMessagesPostedBeforeIt) {
  PostMessageA(dialog, MM_WOM_DONE, 0, 0);
  PostQuitMessage(3);
  MSG msg;
  ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
  EXPECT_EQ(msg.message, MM_WOM_DONE);
  ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageQueueTest, AnotherThreadsPostWakesAWaitingLoop) {
  std::thread poster([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    PostMessageA(dialog, MM_WOM_OPEN, 0, 0);
  });
  MSG msg;
  ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);  // waits for the post
  poster.join();
  EXPECT_EQ(msg.message, MM_WOM_OPEN);
}

TEST_F(MessageQueueTest, ManyThreadsPostingLoseNothing) {
  constexpr int kThreads = 4;
  constexpr int kEach = 500;
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t) {
    posters.emplace_back([this] {
      for (int i = 0; i < kEach; ++i) PostMessageA(dialog, MM_WOM_DONE, 0, 0);
    });
  }
  for (auto& poster : posters) poster.join();
  PumpUntilIdle();
  EXPECT_EQ(g_delivered.size(), static_cast<std::size_t>(kThreads * kEach));
}

TEST_F(MessageQueueTest, UpdateWindowPaintsBeforeReturning) {
  InvalidateRect(dialog, nullptr, TRUE);
  UpdateWindow(dialog);
  EXPECT_THAT(DeliveredMessages(), ElementsAre(WM_PAINT));
  EXPECT_FALSE(tv::AnyWindowInvalid());
  UpdateWindow(dialog);  // nothing invalid: no second paint
  EXPECT_THAT(DeliveredMessages(), ElementsAre(WM_PAINT));
}

TEST_F(MessageQueueTest, APendingPaintComesAfterPostedMessagesAndInput) {
  InvalidateRect(dialog, nullptr, TRUE);
  tv::PushInput(MSG{dialog, WM_COMMAND, 1, 0, 0, {0, 0}});
  PostMessageA(dialog, MM_WOM_DONE, 0, 0);
  PumpUntilIdle();
  EXPECT_THAT(DeliveredMessages(), ElementsAre(MM_WOM_DONE, WM_COMMAND, WM_PAINT));
}
