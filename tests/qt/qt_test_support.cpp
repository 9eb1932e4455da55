#include "qt_test_support.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <ostream>

#include "app/main_dialog.h"
#include "app/tone_state.h"
#include "platform/qt/qt_backend.h"
#include "platform/wave/wave_device_table.h"
#include "platform/wave/wave_sink.h"
#include "sound/wave_stream.h"

namespace tv::qt_test {
namespace {

// One QApplication for the whole test binary, gone before static destructors run.
class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "qt_backend_tests";
    static char* argv[] = {name, nullptr};
    application_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { application_.reset(); }

 private:
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const kApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

// An output device that opens and then never plays: the program's state after a preset
// is the headless driver's before any audio time has passed.
class NeverPlayingSink final : public WaveSink {
 public:
  bool Start(WaveSource&) override { return true; }
  void Stop() override {}
};

std::vector<Notification>& Recorded() {
  static std::vector<Notification> recorded;
  return recorded;
}

bool g_withholdScrolls = false;  // see WithholdScrollsFromProgram

INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HSCROLL) {
    Recorded().push_back(HScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)));
    if (g_withholdScrolls) return FALSE;
  } else if (message == WM_COMMAND) {
    Recorded().push_back(Command(LOWORD(wParam), reinterpret_cast<HWND>(lParam)));
  }
  return MainDialogProc(dialog, message, wParam, lParam);
}

}  // namespace

void PrintTo(const Notification& n, std::ostream* out) {
  if (n.message == WM_HSCROLL) {
    *out << "WM_HSCROLL{code " << n.code << ", position " << n.position << "}";
  } else {
    *out << "WM_COMMAND{id " << n.code << "}";
  }
}

Notification HScroll(int code, int position, HWND control) {
  return Notification{WM_HSCROLL, code, position, control};
}

Notification Command(int id, HWND control) { return Notification{WM_COMMAND, id, 0, control}; }

void QtDialogTest::SetUp() {
  ResetWindowManager();
  // As in a fresh process: the phase and the amplitudes survive the dialog, the process
  // does not.
  g_phase = 0.0;
  for (double& amplitude : g_amplitude) amplitude = 0.0;
  Recorded().clear();
  g_withholdScrolls = false;
  qt::Backend().SetWaveSinkFactory([] { return std::make_unique<NeverPlayingSink>(); });
  dialog_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(kMainDialogResourceId), nullptr,
                               RecordingDialogProc, 0);
  ASSERT_NE(dialog_, nullptr);
  PumpUntilIdle();
  Recorded().clear();
}

void QtDialogTest::TearDown() {
  if (FindWindowState(dialog_)) {
    PushInput(MSG{dialog_, WM_CLOSE, 0, 0, 0, {0, 0}});
    PumpUntilIdle();
  }
  if (g_hWaveOut) CloseWaveOut();
  ForgetWaveDevices();
  ResetWindowManager();
  qt::Backend().SetWaveSinkFactory(nullptr);
}

void QtDialogTest::PumpUntilIdle() {
  // Qt may hand over input in more than one pass (a release after its press).
  for (int pass = 0; pass < 3; ++pass) {
    QCoreApplication::processEvents();
    MSG msg;
    while (HasQueuedMessages() || AnyWindowInvalid()) {
      if (!GetMessageA(&msg, nullptr, 0, 0)) break;  // WM_QUIT: the program has ended
      if (!IsDialogMessageA(dialog_, &msg)) {  // as WinMain does
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
}

HWND QtDialogTest::Control(int id) const {
  const HWND control = GetDlgItem(dialog_, id);
  if (!control) throw std::logic_error("no control " + std::to_string(id));
  return control;
}

const Window& QtDialogTest::State(int id) const { return *FindWindowState(Control(id)); }

QWidget& QtDialogTest::DialogWidget() const {
  QWidget* widget = qt::Backend().WidgetFor(dialog_);
  if (!widget) throw std::logic_error("the dialog has no widget");
  return *widget;
}

QWidget& QtDialogTest::Widget(int id) const {
  QWidget* widget = qt::Backend().WidgetFor(Control(id));
  if (!widget) throw std::logic_error("control " + std::to_string(id) + " has no widget");
  return *widget;
}

QRect QtDialogTest::ScrollBarPart(int id, QStyle::SubControl part) const {
  auto& bar = WidgetAs<QScrollBar>(id);
  QStyleOptionSlider option;
  option.initFrom(&bar);
  option.orientation = Qt::Horizontal;
  option.minimum = bar.minimum();
  option.maximum = bar.maximum();
  option.sliderPosition = bar.sliderPosition();
  option.sliderValue = bar.value();
  option.singleStep = bar.singleStep();
  option.pageStep = bar.pageStep();
  option.upsideDown = bar.invertedAppearance();
  return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
}

void QtDialogTest::WithholdScrollsFromProgram() { g_withholdScrolls = true; }

std::vector<Notification> QtDialogTest::TakeNotifications() {
  std::vector<Notification> taken;
  taken.swap(Recorded());
  return taken;
}

void QtDialogTest::Click(int id) { Click(id, Widget(id).rect().center()); }

void QtDialogTest::Click(int id, QPoint point) {
  QTest::mouseClick(&Widget(id), Qt::LeftButton, Qt::NoModifier, point);
  PumpUntilIdle();
}

}  // namespace tv::qt_test
