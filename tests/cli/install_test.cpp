// What `cmake --install` puts where, and the installed documents checked by the tools
// that distributions check them with.
#include <gtest/gtest.h>

#include "run_program.h"

namespace tv::cli_test {
namespace {

namespace fs = std::filesystem;

TEST(Install, PutsBothProgramsTheirManPagesTheDesktopEntryAndTheIcons) {
  ScratchDir prefix;
  const ProgramRun install =
      RunProgram({CMAKE_COMMAND, "--install", TONVELA_BUILD_DIR, "--prefix", prefix.path().string()}, "");
  ASSERT_EQ(install.status, 0) << install.out << install.err;
  std::vector<std::string> expected = {"bin/tonvela-script", "share/man/man1/tonvela-script.1"};
#ifdef TONVELA_EXE
  for (const char* file : {"bin/tonvela", "share/man/man1/tonvela.1",
                           "share/applications/tonvela.desktop"}) {
    expected.push_back(file);
  }
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string dim = std::to_string(size) + "x" + std::to_string(size);
    expected.push_back("share/icons/hicolor/" + dim + "/apps/tonvela.png");
  }
#endif
  for (const std::string& file : expected) {
    EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
  }
  EXPECT_EQ(RunProgram({(prefix / "bin/tonvela-script").string(), "--version"}, "").status, 0);
}

TEST(Install, ManPagesRenderWithoutWarningsAndDescribeEveryScriptCommand) {
  for (const char* page : {"tonvela.1", "tonvela-script.1"}) {
    const std::string path = std::string(TONVELA_SOURCE_DIR) + "/docs/man/" + page;
    const ProgramRun groff = RunProgram({"groff", "-man", "-ww", "-z", "-Tutf8", path}, "");
    EXPECT_EQ(groff.status, 0) << page;
    EXPECT_EQ(groff.err, "") << page;
  }
  // Every command that --help lists has its entry in the manual.
  const ProgramRun help = RunProgram({TONVELA_SCRIPT_EXE, "--help"}, "");
  const ProgramRun manual = RunProgram(
      {"groff", "-man", "-Tutf8", "-P-cbou", std::string(TONVELA_SOURCE_DIR) + "/docs/man/tonvela-script.1"},
      "");
  ASSERT_EQ(manual.status, 0) << manual.err;
  std::istringstream lines(help.out.substr(help.out.find("Commands:")));
  std::string line;
  std::getline(lines, line);
  int commands = 0;
  while (std::getline(lines, line) && !line.empty()) {
    if (line.rfind("  ", 0) != 0 || line[2] == ' ') continue;  // a continued description
    const std::string command = line.substr(2, line.find(' ', 2) - 2);
    EXPECT_TRUE(Contains(manual.out, "\n       " + command)) << command;
    ++commands;
  }
  EXPECT_GE(commands, 12);
}

TEST(Install, TheDesktopEntryValidates) {
  const ProgramRun validate = RunProgram(
      {"desktop-file-validate", std::string(TONVELA_SOURCE_DIR) + "/platform/qt/tonvela.desktop"}, "");
  EXPECT_EQ(validate.status, 0);
  EXPECT_EQ(validate.out + validate.err, "");
}

}  // namespace
}  // namespace tv::cli_test
