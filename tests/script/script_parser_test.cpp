#include <gtest/gtest.h>

#include <string>

#include "tools/script/script_parser.h"

using tv::script::ParseScript;
using tv::script::Verb;

TEST(ScriptParser, ReadsEveryCommandAndSkipsBlanksAndComments) {
  const auto script = ParseScript(
      "# start\n\n  click 1008\ncommand 2\nscroll 1018 5 100\nscroll 1014 0\nkey Shift+Tab\n"
      "text 1015\ntexts\nstate\nsnapshot a.png\nfail-open\nplay 0.25\nrecord b.wav\r\nclose\n");
  ASSERT_FALSE(script.error);
  ASSERT_EQ(script.commands.size(), 13u);
  const auto& c = script.commands;
  EXPECT_EQ(c[0].verb, Verb::Click);
  EXPECT_EQ(c[0].id, 1008);
  EXPECT_EQ(c[0].line, 3);
  EXPECT_EQ(c[2].verb, Verb::Scroll);
  EXPECT_EQ(c[2].code, 5);
  EXPECT_EQ(c[2].position, 100);
  EXPECT_EQ(c[3].position, 0);  // POS defaults to 0
  EXPECT_EQ(c[4].name, "Shift+Tab");
  EXPECT_EQ(c[10].seconds, 0.25);
  EXPECT_EQ(c[11].name, "b.wav");  // the CR of a CRLF line is not part of it
  EXPECT_EQ(c[12].verb, Verb::Close);
}

TEST(ScriptParser, RejectsBadLinesNamingTheLine) {
  struct Case {
    const char* script;
    int line;
  };
  const Case cases[] = {
      {"jump 3\n", 1},
      {"state\nclick\n", 2},
      {"click 1008 1009\n", 1},
      {"click abc\n", 1},
      {"click 10x\n", 1},
      {"click 99999999999999999999\n", 1},
      {"scroll 1018 9\n", 1},
      {"scroll 1018 -1\n", 1},
      {"scroll 1018 5 65536\n", 1},
      {"key Escape\n", 1},
      {"play -1\n", 1},
      {"play nan\n", 1},
      {"play inf\n", 1},
      {"snapshot\n", 1},
      {"close\n# fine\nstate\n", 3},
      {"close\nclose\n", 2},
      {"state\n\n\nCLICK 1008\n", 4},
  };
  for (const Case& c : cases) {
    const auto script = ParseScript(c.script);
    ASSERT_TRUE(script.error) << c.script;
    EXPECT_EQ(script.error->line, c.line) << c.script;
    EXPECT_FALSE(script.error->message.empty());
  }
}

TEST(ScriptParser, SurvivesArbitraryBytes) {
  std::string text;
  for (int i = 0; i < 4096; ++i) text += static_cast<char>((i * 7919) % 256);
  const auto script = ParseScript(text);
  EXPECT_TRUE(script.error);
}
