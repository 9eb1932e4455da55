#include "tools/script/script_runner.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "app/tone_state.h"
#include "platform/core/png_writer.h"
#include "platform/core/window_manager.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_backend.h"
#include "tools/script/output_files.h"
#include "tools/script/picture_area.h"
#include "tools/script/window_picture.h"

namespace tv::script {
namespace {

constexpr std::int64_t kSampleRate = 16000;

// A failure of the script that ends the run with the line it happened on.
struct ScriptFailure : std::runtime_error {
  ScriptFailure(int line, const std::string& message) : std::runtime_error(message), line(line) {}
  int line;
};

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

class Runner {
 public:
  Runner(const std::vector<Command>& commands, std::ostream& out) : commands_(commands), out_(out) {}

  // Called by the message loop whenever the program is idle.
  void OnIdle() {
    if (playSamplesLeft_ > 0) {
      playSamplesLeft_ -= headless::AdvanceAudio(playSamplesLeft_);
      return;
    }
    if (std::exchange(timedRecording_, false)) {
      // `record ... for` has played its time: the recording ends here.
      std::string error;
      recording_ = false;
      if (!headless::StopRecording(&error)) throw ScriptFailure(recordingLine_, ExplainRecording(error));
    }
    while (next_ < commands_.size()) {
      const Command& command = commands_[next_++];
      if (Execute(command)) return;  // it queued something for the program to handle
    }
    if (!closeQueued_) {
      // The end of the script closes the window, silently, so that the program cleans up.
      closeQueued_ = true;
      PushToDialog(WM_CLOSE, 0, 0, commands_.empty() ? 0 : commands_.back().line);
      return;
    }
    throw ScriptFailure(0, "the program did not end after its window was closed");
  }

  bool explicitClose() const { return explicitClose_; }
  OutputFiles& files() { return files_; }
  bool recording() const { return recording_; }
  // The recording's line and a writer's message about it in the user's words.
  int recordingLine() const { return recordingLine_; }
  std::string ExplainRecording(const std::string& message) const {
    return files_.Explain(recordingStaged_, message);
  }

 private:
  HWND Dialog(int line) const {
    const HWND dialog = headless::Backend().Dialog();
    if (!dialog) throw ScriptFailure(line, "the dialog is gone");
    return dialog;
  }

  HWND Control(int line, int id) const {
    const HWND control = GetDlgItem(Dialog(line), id);
    if (!control) throw ScriptFailure(line, "no control has the ID " + std::to_string(id));
    return control;
  }

  void PushToDialog(UINT message, WPARAM wParam, LPARAM lParam, int line) {
    PushInput(MSG{Dialog(line), message, wParam, lParam, 0, {0, 0}});
  }

  void PushKey(int line, WPARAM key, UINT message) {
    HWND target = GetFocusedControl();
    if (!target) target = Dialog(line);
    PushInput(MSG{target, message, key, 0, 0, {0, 0}});
  }

  // Returns true when the command gave the program something to handle.
  bool Execute(const Command& command) {
    switch (command.verb) {
      case Verb::Click: {
        const HWND control = Control(command.line, command.id);
        if (FindWindowState(control)->kind != ControlKind::Button) {
          throw ScriptFailure(command.line, "control " + std::to_string(command.id) + " is not a button");
        }
        PushInput(MSG{control, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}});
        PushInput(MSG{control, WM_LBUTTONUP, 0, 0, 0, {0, 0}});
        return true;
      }
      case Verb::Command:
        PushToDialog(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command.id), 0), 0, command.line);
        return true;
      case Verb::Scroll: {
        // An ID that is no control gives a null handle, which matches no slider.
        const HWND control = GetDlgItem(Dialog(command.line), command.id);
        PushToDialog(WM_HSCROLL,
                     MAKEWPARAM(static_cast<WORD>(command.code), static_cast<WORD>(command.position)),
                     reinterpret_cast<LPARAM>(control), command.line);
        return true;
      }
      case Verb::Set: {
        // A drag of the thumb, as the desktop's scroll bar reports it: moved, released
        // at the same place, ended.
        const LPARAM slider = reinterpret_cast<LPARAM>(Control(command.line, command.id));
        const auto position = static_cast<WORD>(command.position);
        PushToDialog(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), slider, command.line);
        PushToDialog(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), slider, command.line);
        PushToDialog(WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), slider, command.line);
        return true;
      }
      case Verb::Key:
        QueueKey(command);
        return true;
      case Verb::Close:
        explicitClose_ = true;
        closeQueued_ = true;
        PushToDialog(WM_CLOSE, 0, 0, command.line);
        return true;
      case Verb::Text:
        PrintText(Control(command.line, command.id));
        return false;
      case Verb::Texts:
        for (HWND child : FindWindowState(Dialog(command.line))->children) {
          if (FindWindowState(child)->id != -1) PrintText(child);
        }
        return false;
      case Verb::State:
        PrintState(command.line);
        return false;
      case Verb::Snapshot:
        SavePicture(command, FindWindowState(Dialog(command.line))->surface);
        return false;
      case Verb::Picture: {
        const HWND dialog = Dialog(command.line);
        Raster picture;
        std::string error;
        if (!RenderWindowPicture(dialog, PictureAreaRect(command.area, dialog), command.scale,
                                 &picture, &error)) {
          throw ScriptFailure(command.line, error);
        }
        SavePicture(command, picture);
        return false;
      }
      case Verb::FailOpen:
        headless::FailNextWaveOpen();
        return false;
      case Verb::Play:
        playSamplesLeft_ = std::llround(command.seconds * kSampleRate);
        if (playSamplesLeft_ == 0) return false;
        playSamplesLeft_ -= headless::AdvanceAudio(playSamplesLeft_);
        return true;
      case Verb::Record: {
        std::string error;
        if (recording_ && !headless::StopRecording(&error)) {
          throw ScriptFailure(recordingLine_, files_.Explain(recordingStaged_, error));
        }
        const std::string staged = Stage(command);
        const auto fadeSamples = static_cast<std::size_t>(command.fadeMs * kSampleRate / 1000);
        if (!headless::StartRecording(staged, &error, fadeSamples)) {
          throw ScriptFailure(command.line, files_.Explain(staged, error));
        }
        recording_ = true;
        recordingStaged_ = staged;
        recordingLine_ = command.line;
        if (!command.timed) return false;
        timedRecording_ = true;
        playSamplesLeft_ = std::llround(command.seconds * kSampleRate);
        playSamplesLeft_ -= headless::AdvanceAudio(playSamplesLeft_);
        return true;
      }
    }
    return false;
  }

  std::string Stage(const Command& command) {
    try {
      return files_.Stage(command.name, command.line);
    } catch (const OutputError& error) {
      throw ScriptFailure(error.line, error.what());
    }
  }

  void SavePicture(const Command& command, const Raster& picture) {
    std::vector<unsigned char> png;
    std::string error;
    if (!EncodePng(picture, &png, &error)) {
      throw ScriptFailure(command.line, "cannot write " + command.name + ": " + error);
    }
    const std::string staged = Stage(command);
    std::ofstream file(staged, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    file.close();
    if (!file) {
      throw ScriptFailure(command.line, "cannot write " + command.name + ": " + std::strerror(errno));
    }
  }

  void QueueKey(const Command& command) {
    const std::string& name = command.name;
    if (name == "Shift+Tab") {
      PushKey(command.line, VK_SHIFT, WM_KEYDOWN);
      PushKey(command.line, VK_TAB, WM_KEYDOWN);
      PushKey(command.line, VK_TAB, WM_KEYUP);
      PushKey(command.line, VK_SHIFT, WM_KEYUP);
      return;
    }
    WPARAM key = VK_TAB;
    if (name == "Left") key = VK_LEFT;
    if (name == "Right") key = VK_RIGHT;
    if (name == "Up") key = VK_UP;
    if (name == "Down") key = VK_DOWN;
    if (name == "Space") key = VK_SPACE;
    if (name == "Return") key = VK_RETURN;
    PushKey(command.line, key, WM_KEYDOWN);
    PushKey(command.line, key, WM_KEYUP);
  }

  void PrintText(HWND control) {
    const Window* window = FindWindowState(control);
    out_ << window->id << '\t' << window->text << '\n';
  }

  void PrintState(int line) {
    out_ << "frequency " << Number(g_frequencyHz) << '\n';
    out_ << "masterGain " << Number(g_masterGain) << '\n';
    out_ << "phase " << Number(g_phase) << '\n';
    out_ << "streaming " << static_cast<int>(g_streaming) << '\n';
    for (int i = 0; i < kHarmonicCount; ++i) {
      out_ << "amplitude[" << i << "] " << Number(g_amplitude[i]) << '\n';
    }
    for (int i = 0; i < kSliderCount; ++i) {
      out_ << "sliderPos[" << i << "] " << g_sliderPos[i] << '\n';
    }
    const Window* dialog = FindWindowState(Dialog(line));
    int checked = 0;
    bool anyChecked = false;
    for (HWND child : dialog->children) {
      const Window* control = FindWindowState(child);
      if (control->kind == ControlKind::ScrollBar) {
        out_ << "thumb[" << control->id << "] " << control->scrollPos << ' ' << control->scrollMin
             << ' ' << control->scrollMax << '\n';
      }
      if (control->IsAutoRadioButton() && control->checked) {
        checked = control->id;
        anyChecked = true;
      }
    }
    out_ << "checked " << (anyChecked ? std::to_string(checked) : "none") << '\n';
    const Window* focus = FindWindowState(GetFocusedControl());
    out_ << "focus " << (focus ? std::to_string(focus->id) : "none") << '\n';
    out_ << "beeps " << headless::Backend().Beeps().size() << '\n';
  }

  const std::vector<Command>& commands_;
  std::ostream& out_;
  std::size_t next_ = 0;
  std::int64_t playSamplesLeft_ = 0;
  bool closeQueued_ = false;
  bool explicitClose_ = false;
  bool recording_ = false;
  std::string recordingStaged_;
  int recordingLine_ = 0;
  bool timedRecording_ = false;  // a `record ... for` is playing its time
  OutputFiles files_;
};

}  // namespace
}  // namespace tv::script

namespace tv::script {

RunResult RunScript(const std::vector<Command>& commands, std::ostream& out) {
  Runner runner(commands, out);
  headless::Backend().SetIdleHandler([&runner] { runner.OnIdle(); });
  RunResult result;
  try {
    const int exitCode = WinMain(nullptr, nullptr, const_cast<LPSTR>(""), 0);
    if (runner.explicitClose()) out << "exit " << exitCode << '\n';
  } catch (const ScriptFailure& failure) {
    result = RunResult{false, failure.line, failure.what()};
  }
  headless::Backend().SetIdleHandler(nullptr);
  EndWindowPictures();
  std::string error;
  if (runner.recording() && !headless::StopRecording(&error) && result.ok) {
    result = RunResult{false, runner.recordingLine(), runner.ExplainRecording(error)};
  }
  errno = 0;
  if (result.ok && !out.flush()) {
    const int reason = errno;
    result = RunResult{false, 0, std::string("cannot write to standard output") +
                                     (reason != 0 ? std::string(": ") + std::strerror(reason) : "")};
  }
  if (!result.ok) {
    runner.files().DiscardAll();
    return result;
  }
  try {
    runner.files().CommitAll();
  } catch (const OutputError& failure) {
    result = RunResult{false, failure.line, failure.what()};
  }
  return result;
}

}  // namespace tv::script
