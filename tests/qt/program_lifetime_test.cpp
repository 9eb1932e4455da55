// The whole program on the Qt backend: WinMain's loop waits in Qt's event loop, wakes
// for messages posted by other threads, and ends with 0 when the window is closed.
#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

#include "platform/qt/qt_backend.h"
#include "platform/wave/wave_device_table.h"
#include "platform/wave/wave_sink.h"
#include "qt_test_support.h"
#include "sound/wave_stream.h"

namespace tv::qt_test {
namespace {

QWidget* ProgramWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == QStringLiteral("TonvelaVer2019.05.10")) {
      return widget;
    }
  }
  return nullptr;
}

class SilentSink final : public WaveSink {
 public:
  bool Start(WaveSource&) override { return true; }
  void Stop() override {}
};

class ProgramLifetimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowManager();
    qt::Backend().SetWaveSinkFactory([] { return std::make_unique<SilentSink>(); });
  }
  void TearDown() override {
    ForgetWaveDevices();
    ResetWindowManager();
    qt::Backend().SetWaveSinkFactory(nullptr);
  }

  static int RunWinMain() {
    char commandLine[] = "";
    return WinMain(nullptr, nullptr, commandLine, 0);
  }
};

TEST_F(ProgramLifetimeTest, ClosingTheWindowEndsWinMainWithZeroAndRemovesTheWindow) {
  bool closed = false;
  QTimer::singleShot(0, [&] {
    QWidget* window = ProgramWindow();
    ASSERT_NE(window, nullptr);
    closed = window->close();  // refused by the widget: the program destroys it itself
  });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_FALSE(closed);
  EXPECT_EQ(ProgramWindow(), nullptr);
}

TEST_F(ProgramLifetimeTest, ClosingWhileTheSinePlaysClosesTheDeviceAndEndsWithZero) {
  QTimer::singleShot(0, [] {
    QWidget* window = ProgramWindow();
    ASSERT_NE(window, nullptr);
    for (QRadioButton* preset : window->findChildren<QRadioButton*>()) {
      if (preset->text() == QStringLiteral("サイン波")) {
        QTest::mouseClick(preset, Qt::LeftButton, Qt::NoModifier, QPoint(5, preset->height() / 2));
      }
    }
  });
  bool wasPlaying = false;
  QTimer::singleShot(200, [&] {
    wasPlaying = g_hWaveOut != nullptr;
    ProgramWindow()->close();
  });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_TRUE(wasPlaying);
  EXPECT_EQ(g_hWaveOut, nullptr);
}

class MessageLoopTest : public QtDialogTest {};

TEST_F(MessageLoopTest, AMessagePostedByAnotherThreadWakesTheWaitingLoop) {
  constexpr UINT kPrivateMessage = 0x0400;
  std::thread poster([dialog = Dialog()] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    PostMessageA(dialog, kPrivateMessage, 42, 0);
  });
  MSG msg{};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));  // waits in Qt's event loop
  const auto waited = std::chrono::steady_clock::now() - start;
  poster.join();
  EXPECT_EQ(msg.message, kPrivateMessage);
  EXPECT_EQ(msg.wParam, 42u);
  EXPECT_GE(waited, std::chrono::milliseconds(50));
}

}  // namespace
}  // namespace tv::qt_test
