#include <gtest/gtest.h>

#include "recording_dialog.h"

class WindowStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlatform();
    dialog = CreateRecordingDialog();
    ASSERT_NE(dialog, nullptr);
  }
  void TearDown() override { ResetPlatform(); }
  HWND dialog = nullptr;
};

TEST_F(WindowStateTest, UnknownTemplatesAndNamedResourcesCreateNothing) {
  EXPECT_EQ(CreateDialogParamA(nullptr, MAKEINTRESOURCEA(102), nullptr, RecordingDialogProc, 0), nullptr);
  EXPECT_EQ(CreateDialogParamA(nullptr, "MAIN", nullptr, RecordingDialogProc, 0), nullptr);
}

TEST_F(WindowStateTest, ScrollPositionsShowClampedToTheRange) {
  const HWND slider = GetDlgItem(dialog, 1018);
  SetScrollRange(slider, SB_CTL, 0, 100, TRUE);
  EXPECT_EQ(SetScrollPos(slider, SB_CTL, 125, TRUE), 0);
  EXPECT_EQ(tv::FindWindowState(slider)->scrollPos, 100);
  EXPECT_EQ(SetScrollPos(slider, SB_CTL, -2147483647 - 1, TRUE), 100);
  EXPECT_EQ(tv::FindWindowState(slider)->scrollPos, 0);
}

TEST_F(WindowStateTest, ScrollCallsOnOtherControlsOrBarsFail) {
  const HWND label = GetDlgItem(dialog, 1023);
  EXPECT_FALSE(SetScrollRange(label, SB_CTL, 0, 10, TRUE));
  EXPECT_FALSE(SetScrollRange(GetDlgItem(dialog, 1018), 0, 0, 10, TRUE));
}

TEST_F(WindowStateTest, StaleHandlesFailAndChangeNothing) {
  const HWND label = GetDlgItem(dialog, 1023);
  ASSERT_TRUE(DestroyWindow(dialog));
  EXPECT_FALSE(SetWindowTextA(label, "x"));
  EXPECT_EQ(GetDlgItem(dialog, 1023), nullptr);
  EXPECT_FALSE(InvalidateRect(dialog, nullptr, TRUE));
  EXPECT_FALSE(UpdateWindow(dialog));
  EXPECT_FALSE(DestroyWindow(dialog));
  RECT rect{1, 2, 3, 4};
  EXPECT_FALSE(GetClientRect(dialog, &rect));
  EXPECT_EQ(rect.left, 1);
  PAINTSTRUCT paint;
  EXPECT_EQ(BeginPaint(dialog, &paint), nullptr);
  // A new dialog never gets the old handles back.
  const HWND second = CreateRecordingDialog();
  EXPECT_NE(second, dialog);
  EXPECT_NE(GetDlgItem(second, 1023), label);
}

TEST_F(WindowStateTest, TextsSetInCodePage932ReadBackAsUtf8) {
  const HWND label = GetDlgItem(dialog, 1038);
  // "警告！" in code page 932
  ASSERT_TRUE(SetWindowTextA(label, "\x8C\x78\x8D\x90\x81\x49"));
  EXPECT_EQ(tv::FindWindowState(label)->text, "警告！");
  ASSERT_TRUE(SetWindowTextA(label, ""));
  EXPECT_EQ(tv::FindWindowState(label)->text, "");
}

TEST_F(WindowStateTest, TemplateTextsAreStoredExactly) {
  EXPECT_EQ(tv::FindWindowState(dialog)->text, "TonvelaVer2019.05.10");
  const auto& children = tv::FindWindowState(dialog)->children;
  ASSERT_EQ(children.size(), 49u);
  EXPECT_EQ(tv::FindWindowState(children[22])->text, "基音(基本音・基本波）");
  EXPECT_EQ(tv::FindWindowState(children[32])->text, " 複合音\n（複合波）");
  EXPECT_EQ(tv::FindWindowState(children[48])->text, "８ＫＨz");
}
