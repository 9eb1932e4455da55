#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "recording_dialog.h"

using ::testing::ElementsAre;

namespace {

int FocusedId() {
  const tv::Window* focused = tv::FindWindowState(tv::GetFocusedControl());
  return focused ? focused->id : 0;
}

bool IsChecked(HWND dialog, int id) { return tv::FindWindowState(GetDlgItem(dialog, id))->checked; }

std::vector<int> CommandIds() {
  std::vector<int> ids;
  for (const Delivered& d : g_delivered) {
    if (d.message == WM_COMMAND) ids.push_back(LOWORD(d.wParam));
  }
  return ids;
}

}  // namespace

class DialogManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlatform();
    dialog = CreateRecordingDialog();
    ASSERT_NE(dialog, nullptr);
    PumpUntilIdle();
    g_delivered.clear();
  }
  void TearDown() override { ResetPlatform(); }

  void Click(int id) {
    const HWND button = GetDlgItem(dialog, id);
    tv::PushInput(MSG{button, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}});
    tv::PushInput(MSG{button, WM_LBUTTONUP, 0, 0, 0, {0, 0}});
    PumpUntilIdle();
  }
  void Key(WPARAM key) {
    HWND target = tv::GetFocusedControl() ? tv::GetFocusedControl() : dialog;
    tv::PushInput(MSG{target, WM_KEYDOWN, key, 0, 0, {0, 0}});
    tv::PushInput(MSG{target, WM_KEYUP, key, 0, 0, {0, 0}});
    PumpUntilIdle();
  }
  HWND dialog = nullptr;
};

TEST_F(DialogManagerTest, CreationInitialisesFocusesTheFirstTabStopAndPaints) {
  ResetPlatform();
  dialog = CreateRecordingDialog();
  EXPECT_THAT(DeliveredMessages(), ElementsAre(WM_INITDIALOG));  // before it returns
  EXPECT_EQ(FocusedId(), 1003);
  PumpUntilIdle();
  EXPECT_THAT(DeliveredMessages(), ElementsAre(WM_INITDIALOG, WM_PAINT));
  for (int id : {1008, 1009, 1010, 1011, 1012, 1039, 1040}) EXPECT_FALSE(IsChecked(dialog, id)) << id;
}

TEST_F(DialogManagerTest, DialogAndControlsHaveTheirPixelGeometry) {
  RECT client;
  ASSERT_TRUE(GetClientRect(dialog, &client));
  EXPECT_EQ(client.right, 646);   // 369 dialog units * 7 / 4, rounded
  EXPECT_EQ(client.bottom, 659);  // 439 * 12 / 8, rounded
  const tv::Window* slider = tv::FindWindowState(GetDlgItem(dialog, 1014));
  EXPECT_EQ(slider->rect.left, 280);   // 160 * 7 / 4
  EXPECT_EQ(slider->rect.top, 614);    // 409 * 12 / 8 = 613.5
  EXPECT_EQ(slider->rect.right, 280 + 250);  // 143 * 7 / 4 = 250.25
  EXPECT_EQ(slider->rect.bottom, 614 + 15);
}

TEST_F(DialogManagerTest, ClickingARadioButtonChecksItAloneAndSendsItsCommand) {
  Click(1008);
  EXPECT_TRUE(IsChecked(dialog, 1008));
  Click(1040);
  EXPECT_TRUE(IsChecked(dialog, 1040));
  EXPECT_FALSE(IsChecked(dialog, 1008));
  Click(1012);  // the sine button sits after the volume buttons, in the same group
  EXPECT_TRUE(IsChecked(dialog, 1012));
  EXPECT_FALSE(IsChecked(dialog, 1040));
  EXPECT_THAT(CommandIds(), ElementsAre(1008, 1040, 1012));
  EXPECT_EQ(HIWORD(g_delivered.back().wParam), BN_CLICKED);
  EXPECT_EQ(g_delivered.back().lParam, reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1012)));
}

TEST_F(DialogManagerTest, PushButtonsDoNotTouchTheRadioGroup) {
  Click(1009);
  Click(1003);
  EXPECT_TRUE(IsChecked(dialog, 1009));
  EXPECT_FALSE(IsChecked(dialog, 1003));
  EXPECT_THAT(CommandIds(), ElementsAre(1009, 1003));
}

TEST_F(DialogManagerTest, TabCyclesBetweenTheTwoVolumeButtonsOnly) {
  Key(VK_TAB);
  EXPECT_EQ(FocusedId(), 1007);
  Key(VK_TAB);
  EXPECT_EQ(FocusedId(), 1003);
  tv::PushInput(MSG{tv::GetFocusedControl(), WM_KEYDOWN, VK_SHIFT, 0, 0, {0, 0}});
  Key(VK_TAB);
  tv::PushInput(MSG{tv::GetFocusedControl(), WM_KEYUP, VK_SHIFT, 0, 0, {0, 0}});
  PumpUntilIdle();
  EXPECT_EQ(FocusedId(), 1007);
  EXPECT_TRUE(CommandIds().empty());
}

TEST_F(DialogManagerTest, SpaceAndReturnPressTheFocusedPushButton) {
  Key(VK_SPACE);
  Key(VK_TAB);
  Key(VK_RETURN);
  EXPECT_THAT(CommandIds(), ElementsAre(1003, 1007));
}

TEST_F(DialogManagerTest, ReturnAndEscapeOffARadioButtonSendOkAndCancel) {
  Click(1010);
  g_delivered.clear();
  Key(VK_RETURN);
  Key(VK_ESCAPE);
  EXPECT_THAT(CommandIds(), ElementsAre(IDOK, IDCANCEL));
}

TEST_F(DialogManagerTest, ArrowsWalkTheGroupAndClickTheRadioButtonsTheyReach) {
  Key(VK_RIGHT);  // 1003 -> 1007, a push button: focus only
  EXPECT_EQ(FocusedId(), 1007);
  Key(VK_RIGHT);  // -> 1012, the sine preset, unchecked: clicked
  EXPECT_EQ(FocusedId(), 1012);
  EXPECT_TRUE(IsChecked(dialog, 1012));
  Key(VK_DOWN);  // wraps to the group's opening text, which takes the focus too
  EXPECT_EQ(FocusedId(), -1);
  EXPECT_TRUE(IsChecked(dialog, 1012));
  Key(VK_LEFT);  // back to 1012, already checked: focus only
  EXPECT_EQ(FocusedId(), 1012);
  Key(VK_RIGHT);
  Key(VK_RIGHT);  // past the text to 1008
  EXPECT_EQ(FocusedId(), 1008);
  EXPECT_TRUE(IsChecked(dialog, 1008));
  EXPECT_FALSE(IsChecked(dialog, 1012));
  Key(VK_UP);  // the text again
  Key(VK_UP);  // 1012, unchecked now: clicked
  EXPECT_EQ(FocusedId(), 1012);
  EXPECT_THAT(CommandIds(), ElementsAre(1012, 1008, 1012));
}

TEST_F(DialogManagerTest, AControlPassedAsTheDialogGetsOnlyItsOwnHandlingOfKeys) {
  // A loop that passes each message's own target (here the focused volume button) as
  // the dialog: Space still presses the button, Tab is left to the caller, and nothing
  // moves the focus.
  const HWND button = GetDlgItem(dialog, 1003);
  const auto offer = [button](UINT message, WPARAM key) {
    MSG msg{button, message, key, 0, 0, {0, 0}};
    return IsDialogMessageA(button, &msg);
  };
  EXPECT_FALSE(offer(WM_KEYDOWN, VK_TAB));
  EXPECT_TRUE(offer(WM_CHAR, '\t'));
  EXPECT_TRUE(offer(WM_KEYUP, VK_TAB));
  for (const WPARAM key : {VK_SHIFT, VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP, VK_RETURN, VK_ESCAPE}) {
    EXPECT_TRUE(offer(WM_KEYDOWN, key)) << key;
    EXPECT_TRUE(offer(WM_KEYUP, key)) << key;
  }
  EXPECT_EQ(FocusedId(), 1003);
  EXPECT_TRUE(CommandIds().empty());
  EXPECT_TRUE(offer(WM_KEYDOWN, VK_SPACE));
  EXPECT_THAT(CommandIds(), ElementsAre(1003));
  EXPECT_FALSE(offer(WM_LBUTTONDOWN, 0));  // not a key: the caller dispatches it
}

TEST_F(DialogManagerTest, MessagesForOtherWindowsAreNotTheDialogs) {
  MSG thread{nullptr, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  EXPECT_FALSE(IsDialogMessageA(dialog, &thread));
  EXPECT_EQ(FocusedId(), 1003);
  EXPECT_FALSE(IsDialogMessageA(nullptr, &thread));
}
