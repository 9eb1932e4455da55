#include <gmock/gmock.h>

#include "app_fixture.h"

using DispatchTest = AppTest;

TEST_F(DispatchTest, ReturnValuesFollowTheDispatchTable) {
  struct Case {
    UINT message;
    WPARAM wParam;
    INT_PTR expected;
  };
  const Case cases[] = {
      {WM_COMMAND, IDOK, FALSE},
      {WM_COMMAND, IDCANCEL, FALSE},
      {WM_COMMAND, 1005, FALSE},
      {WM_COMMAND, 0xFFFF, FALSE},
      {WM_HSCROLL, SB_ENDSCROLL, FALSE},  // from no slider: ignored
      {WM_PAINT, 0, TRUE},
      {MM_WOM_CLOSE, 0, FALSE},
      {0x0200, 0, FALSE},  // a message the dialog does not handle
      {0x0401, 0, FALSE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MainDialogProc(dialog, c.message, c.wParam, 0), c.expected) << std::hex << c.message;
  }
  EXPECT_TRUE(tv::FindWindowState(dialog));  // IDOK and IDCANCEL do not close it
}

TEST_F(DispatchTest, DeviceMessagesThatNoDeviceSentChangeNothing) {
  // Any window can be posted these; without a device, or with a header that is not
  // one of the program's two, nothing is filled or queued.
  EXPECT_EQ(MainDialogProc(dialog, MM_WOM_OPEN, 0, 0), TRUE);
  EXPECT_EQ(MainDialogProc(dialog, MM_WOM_DONE, 0, 0), TRUE);
  MainDialogProc(dialog, WM_COMMAND, 1012, 0);  // sine: now streaming
  Pump();
  ASSERT_EQ(g_streaming, 1);
  WAVEHDR stranger{};
  const double phase = g_phase;
  EXPECT_EQ(MainDialogProc(dialog, MM_WOM_DONE, 0, reinterpret_cast<LPARAM>(&stranger)), TRUE);
  EXPECT_EQ(MainDialogProc(dialog, MM_WOM_DONE, 0, 0), TRUE);
  EXPECT_EQ(g_phase, phase);  // nothing was filled
  EXPECT_EQ(stranger.dwFlags, 0u);
}

TEST_F(DispatchTest, CloseBeforeAnyPresetEndsTheLoopWithoutTouchingADevice) {
  EXPECT_EQ(MainDialogProc(dialog, WM_CLOSE, 0, 0), TRUE);
  EXPECT_EQ(tv::FindWindowState(dialog), nullptr);
  MSG msg;
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(g_hWaveOut, nullptr);
  EXPECT_TRUE(tv::headless::Backend().Beeps().empty());
}

TEST_F(DispatchTest, WinMainReturnsZeroWhenTheWindowIsClosed) {
  tv::ResetWindowManager();
  tv::headless::Backend().SetIdleHandler([] {
    const HWND dialog = tv::headless::Backend().Dialog();
    tv::PushInput(MSG{dialog, WM_CLOSE, 0, 0, 0, {0, 0}});
  });
  EXPECT_EQ(WinMain(nullptr, nullptr, const_cast<LPSTR>(""), 0), 0);
  tv::headless::Backend().SetIdleHandler(nullptr);
}
