// The desktop program where it cannot open a window: a clear message and status 2 in
// every case, never the toolkit's abort.
#include <gtest/gtest.h>

#include "run_program.h"

#ifdef TONVELA_EXE
namespace tv::cli_test {
namespace {

TEST(DesktopStart, WithoutAReachableDisplayExplainsAndExitsWithTwo) {
  ScratchDir runtime;
  struct Case {
    const char* name;
    std::vector<std::string> environment;
    const char* message;
  };
  const Case cases[] = {
      {"no session at all", {}, "no desktop session"},
      {"an X display that does not exist", {"DISPLAY=:9876"}, "cannot open the display \":9876\""},
      {"a Wayland-only session", {"WAYLAND_DISPLAY=wayland-9", "XDG_RUNTIME_DIR=" + runtime.path().string()},
       "cannot open a window"},
      {"xcb asked for without DISPLAY", {"QT_QPA_PLATFORM=xcb"}, "cannot open a window"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> argv = {"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u",
                                     "QT_QPA_PLATFORM"};
    argv.insert(argv.end(), c.environment.begin(), c.environment.end());
    argv.push_back(TONVELA_EXE);
    const ProgramRun run = RunProgram(argv, "");
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    EXPECT_TRUE(Contains(run.err, "tonvela-script")) << run.err;
  }
}

}  // namespace
}  // namespace tv::cli_test
#endif
