// How long the program takes to show its dialog, and what a whole run costs in memory.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/main_dialog.h"
#include "app/tone_state.h"
#include "platform/core/window_manager.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_backend.h"

extern char** environ;
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int);

namespace {

using Clock = std::chrono::steady_clock;

// WinMain from its first line to the moment the message loop is first idle: the dialog
// created and initialised and its first paint done. The close that follows is not timed.
void BM_WinMainToFirstPaint(benchmark::State& state) {
  auto& backend = tv::headless::Backend();
  for (auto _ : state) {
    tv::ResetWindowManager();
    backend.Reset();
    tv::headless::ResetAudio();
    Clock::time_point start;
    Clock::time_point firstIdle;
    bool closing = false;
    backend.SetIdleHandler([&] {
      if (closing) return;
      firstIdle = Clock::now();
      closing = true;
      tv::PushInput(MSG{backend.Dialog(), WM_CLOSE, 0, 0, 0, {0, 0}});
    });
    start = Clock::now();
    WinMain(nullptr, nullptr, const_cast<LPSTR>(""), 0);
    state.SetIterationTime(std::chrono::duration<double>(firstIdle - start).count());
    benchmark::DoNotOptimize(g_phase);
  }
  state.counters["paints"] = backend.PaintCount();
  backend.SetIdleHandler(nullptr);
}
BENCHMARK(BM_WinMainToFirstPaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

#ifdef TONVELA_SCRIPT_PATH
// tonvela-script as a process: exec, start-up, first paint, `state`, close, exit. Peak
// resident memory comes from the kernel's account of the finished child.
void BM_ScriptProcessStartToExit(benchmark::State& state) {
  long peakKiB = 0;
  for (auto _ : state) {
    int input[2];
    if (pipe(input) != 0) {
      state.SkipWithError("pipe failed");
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, input[1]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(TONVELA_SCRIPT_PATH), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, TONVELA_SCRIPT_PATH, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    if (spawned != 0) {
      close(input[1]);
      state.SkipWithError("cannot start tonvela-script");
      return;
    }
    static constexpr char kScript[] = "state\nclose\n";
    if (write(input[1], kScript, sizeof kScript - 1) < 0) state.SkipWithError("write failed");
    close(input[1]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("tonvela-script failed");
      return;
    }
    peakKiB = std::max(peakKiB, usage.ru_maxrss);
  }
  state.counters["peak_rss_KiB"] = static_cast<double>(peakKiB);
}
BENCHMARK(BM_ScriptProcessStartToExit)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace

BENCHMARK_MAIN();
