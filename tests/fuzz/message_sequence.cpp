#include "message_sequence.h"

#include <cstdio>
#include <deque>
#include <string>
#include <utility>

#include "app/tone_state.h"
#include "fuzz_heap.h"
#include "idle_invariants.h"
#include "platform/core/window_manager.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_backend.h"
#include "sound/wave_stream.h"
#include "support/program_state.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int);

namespace tv::fuzz {
namespace {

constexpr std::size_t kRecentSteps = 24;

// Thrown out of the message loop when an invariant broke; the session is over.
struct SessionAbort {};

std::string Format(const char* format, long long a, long long b = 0, long long c = 0) {
  char text[96];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

void ResetProcess() { testing::ResetProgramState(); }

class Session {
 public:
  Session(ByteSource& bytes, FuzzHeap& heap, RunReport& report)
      : bytes_(bytes), heap_(heap), report_(report) {}

  void Run() {
    headless::Backend().SetIdleHandler([this] { OnIdle(); });
    bool aborted = false;
    int exitCode = 0;
    try {
      exitCode = WinMain(nullptr, nullptr, const_cast<LPSTR>(""), 0);
    } catch (const SessionAbort&) {
      aborted = true;
    }
    headless::Backend().SetIdleHandler(nullptr);
    if (!aborted) CheckAfterExit(exitCode);
    // A broken session may have left a device and blocks behind.
    if (g_hWaveOut != nullptr) CloseWaveOut();
    FreeWaveBlocks();
    heap_.ReleaseAll();
  }

 private:
  void OnIdle() {
    if (closing_) Fail("the program did not end after its window was closed");
    if (dialog_ == nullptr) FindControls();
    CheckIdle();
    if (audioLeft_ > 0) {
      // Stops right after a header has been played, so that the program handles its
      // MM_WOM_DONE before more time passes, as it would in real time.
      const std::int64_t played = headless::AdvanceAudio(audioLeft_);
      audioLeft_ -= played;
      report_.samplesPlayed += played;
      return;
    }
    if (bytes_.Empty()) {
      Note("close (end of input)");
      PushClose();
      return;
    }
    ++report_.steps;
    TakeStep();
  }

  void FindControls() {
    dialog_ = headless::Backend().Dialog();
    const Window* dialog = FindWindowState(dialog_);
    if (dialog == nullptr) Fail("the program is idle without its dialog");
    for (HWND child : dialog->children) {
      const Window* control = FindWindowState(child);
      controls_.push_back(child);
      if (control->kind == ControlKind::Button) buttons_.push_back(child);
    }
    for (int id : g_sliderIds) sliders_.push_back(GetDlgItem(dialog_, id));
  }

  void CheckIdle() {
    std::vector<std::string> violations;
    CheckPhase(violations);
    CheckLabels(dialog_, violations);
    CheckStream(heap_.Held(), violations);
    CheckToneState(violations);
    CheckBeepsAndOpens(violations);
    for (std::string& fault : heap_.TakeFaults()) violations.push_back(std::move(fault));
    if (!violations.empty()) Fail(violations.front());
  }

  // One exclamation beep for each failed opening and for nothing else; an opening that
  // was told to fail never succeeds.
  void CheckBeepsAndOpens(std::vector<std::string>& violations) {
    const std::vector<UINT>& beeps = headless::Backend().Beeps();
    const long long newBeeps = static_cast<long long>(beeps.size() - beepsSeen_);
    for (std::size_t i = beepsSeen_; i < beeps.size(); ++i) {
      if (beeps[i] != MB_ICONEXCLAMATION) violations.push_back("a beep that is not the exclamation beep");
    }
    beepsSeen_ = beeps.size();
    report_.failedOpens += newBeeps;
    const long long byDevice = newBeeps - heap_.TakeFailuresHappened();
    if (byDevice < 0) {
      violations.push_back("an allocation in OpenWaveOut failed without the exclamation beep");
    } else if (byDevice > 1 || (byDevice == 1 && !failOpenArmed_)) {
      violations.push_back("an exclamation beep without a failed opening");
    } else if (byDevice == 1) {
      failOpenArmed_ = false;
    }
    if (g_hWaveOut != nullptr && g_hWaveOut != lastDevice_) {
      ++report_.opens;
      lastDevice_ = g_hWaveOut;
      if (failOpenArmed_) violations.push_back("the output device opened although its opening was to fail");
    }
  }

  void CheckAfterExit(int exitCode) {
    std::vector<std::string> violations;
    if (exitCode != 0) violations.push_back("WinMain returned " + std::to_string(exitCode));
    if (g_hWaveOut != nullptr) violations.push_back("the output device is still open after WinMain");
    if (!heap_.Held().empty()) {
      violations.push_back(std::to_string(heap_.Held().size()) + " playback blocks leaked at exit");
    }
    for (std::string& fault : heap_.TakeFaults()) violations.push_back(std::move(fault));
    if (!violations.empty()) Record(violations.front());
  }

  void TakeStep() {
    const int op = bytes_.Byte() % 32;
    if (op < 8) {
      Click(buttons_[bytes_.Below(static_cast<std::uint32_t>(buttons_.size()))], 1);
    } else if (op < 10) {
      // The same button again and again, as when the volume is stepped far.
      Click(buttons_[bytes_.Below(static_cast<std::uint32_t>(buttons_.size()))], 1 + bytes_.Below(48));
    } else if (op == 10) {
      const WORD id = bytes_.Word();
      const WORD code = bytes_.Word();
      Note(Format("command %lld code %lld", id, code));
      PushToDialog(WM_COMMAND, MAKEWPARAM(id, code), 0);
    } else if (op == 11) {
      const WORD id = static_cast<WORD>(1 + bytes_.Below(2));  // IDOK, IDCANCEL
      Note(Format("command %lld", id));
      PushToDialog(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    } else if (op < 17) {
      const auto [wParam, lParam] = ScrollMessage();
      PushToDialog(WM_HSCROLL, wParam, lParam);
    } else if (op < 20) {
      Key();
    } else if (op < 26) {
      Audio();
    } else if (op == 26) {
      Note("fail-open");
      headless::FailNextWaveOpen();
      failOpenArmed_ = true;
    } else if (op == 27) {
      const int nth = 1 + static_cast<int>(bytes_.Below(4));
      Note(Format("fail allocation %lld of the next opening", nth));
      heap_.FailAllocation(nth);
    } else if (op == 28) {
      if (bytes_.Byte() < 8) {
        Note("close");
        PushClose();
      }
    } else {
      LateNotifications();
    }
  }

  void Click(HWND button, int times) {
    Note(Format("click %lld x%lld", FindWindowState(button)->id, times));
    for (int i = 0; i < times; ++i) {
      PushInput(MSG{button, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}});
      PushInput(MSG{button, WM_LBUTTONUP, 0, 0, 0, {0, 0}});
    }
  }

  // Any scroll code (mostly the nine the platform sends) with any thumb position, from a
  // slider, from another control, or from no window at all.
  std::pair<WPARAM, LPARAM> ScrollMessage() {
    const std::uint8_t from = bytes_.Byte();
    HWND control = nullptr;
    if (from < 230) {
      control = sliders_[from % sliders_.size()];
    } else if (from < 250) {
      control = controls_[bytes_.Below(static_cast<std::uint32_t>(controls_.size()))];
    }
    const std::uint8_t pick = bytes_.Byte();
    const WORD code = pick < 240 ? static_cast<WORD>(pick % 9) : bytes_.Word();
    const WORD position = bytes_.Word();
    const Window* window = FindWindowState(control);
    Note(Format("scroll %lld code %lld pos %lld", window ? window->id : 0, code, position));
    return {MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(control)};
  }

  void Key() {
    static constexpr WPARAM kKeys[] = {VK_TAB, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_SPACE, VK_RETURN, VK_ESCAPE};
    const std::uint8_t pick = bytes_.Byte();
    HWND target = GetFocusedControl();
    if (target == nullptr) target = dialog_;
    if (pick < 16) {
      Note("key Shift+Tab");
      PushKeys(target, {VK_SHIFT, VK_TAB});
      return;
    }
    const WPARAM key = pick < 240 ? kKeys[pick % std::size(kKeys)] : bytes_.Byte();
    Note(Format("key %lld", static_cast<long long>(key)));
    PushKeys(target, {key});
  }

  void PushKeys(HWND target, std::initializer_list<WPARAM> keys) {
    for (WPARAM key : keys) PushInput(MSG{target, WM_KEYDOWN, key, 0, 0, {0, 0}});
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
      PushInput(MSG{target, WM_KEYUP, *key, 0, 0, {0, 0}});
    }
  }

  // Audio time in any amount: a few samples, part of a buffer, exactly one, or seconds.
  void Audio() {
    switch (bytes_.Byte() % 4) {
      case 0: audioLeft_ = 1 + bytes_.Below(64); break;
      case 1: audioLeft_ = 1 + bytes_.Below(4000); break;
      case 2: audioLeft_ = 2000; break;
      default: audioLeft_ = 1 + bytes_.Below(24000); break;
    }
    Note(Format("play %lld samples", audioLeft_));
  }

  // User actions handled one after the other before the device's notifications arrive,
  // as when a real driver posts them late: sent straight to the dialog procedure while
  // posted messages wait.
  void LateNotifications() {
    const int count = 2 + static_cast<int>(bytes_.Below(5));
    std::string note = "without notifications:";
    for (int i = 0; i < count; ++i) {
      Window* dialog = FindWindowState(dialog_);
      const std::uint8_t kind = bytes_.Byte();
      if (kind < 4) {
        note += " close";
        Note(note);
        closing_ = true;
        SendToDialog(*dialog, WM_CLOSE, 0, 0);
        return;
      }
      if (kind < 160) {
        const int id = FindWindowState(buttons_[bytes_.Below(static_cast<std::uint32_t>(buttons_.size()))])->id;
        note += Format(" command %lld", id);
        SendToDialog(*dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
      } else {
        const auto [wParam, lParam] = ScrollMessage();
        note += Format(" scroll code %lld", LOWORD(wParam));
        SendToDialog(*dialog, WM_HSCROLL, wParam, lParam);
      }
    }
    Note(note);
  }

  void PushToDialog(UINT message, WPARAM wParam, LPARAM lParam) {
    PushInput(MSG{dialog_, message, wParam, lParam, 0, {0, 0}});
  }

  void PushClose() {
    closing_ = true;
    PushToDialog(WM_CLOSE, 0, 0);
  }

  void Note(std::string step) {
    recent_.push_back(std::move(step));
    if (recent_.size() > kRecentSteps) recent_.pop_front();
  }

  void Record(const std::string& what) {
    std::string failure = what + "\n  after session " + std::to_string(report_.sessions) + ", step " +
                          std::to_string(report_.steps) + "; the last steps:";
    for (const std::string& step : recent_) failure += "\n    " + step;
    report_.failures.push_back(std::move(failure));
  }

  [[noreturn]] void Fail(const std::string& what) {
    Record(what);
    throw SessionAbort{};
  }

  ByteSource& bytes_;
  FuzzHeap& heap_;
  RunReport& report_;
  HWND dialog_ = nullptr;
  std::vector<HWND> controls_;
  std::vector<HWND> buttons_;
  std::vector<HWND> sliders_;
  std::int64_t audioLeft_ = 0;
  bool closing_ = false;
  bool failOpenArmed_ = false;
  std::size_t beepsSeen_ = 0;
  HWAVEOUT lastDevice_ = nullptr;
  std::deque<std::string> recent_;
};

}  // namespace

RunReport RunMessageSequences(ByteSource& bytes) {
  RunReport report;
  FuzzHeap heap;
  heap.Install();
  do {
    ResetProcess();
    heap.FailAllocation(0);
    heap.TakeFailuresHappened();
    ++report.sessions;
    Session(bytes, heap, report).Run();
  } while (!bytes.Empty() && report.failures.empty());
  ResetProcess();
  heap.Uninstall();
  return report;
}

}  // namespace tv::fuzz
