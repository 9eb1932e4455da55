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

TEST(ScriptParser, NamesStandForTheirNumbers) {
  const auto named = ParseScript(
      "click volume-up\nclick vowel-a\nscroll harmonic3 track 40\nscroll frequency pageleft\n"
      "scroll harmonic10 end\ntext warning\ntext harmonic2-label\ncommand clear\n");
  const auto numbered = ParseScript(
      "click 1007\nclick 1039\nscroll 1020 5 40\nscroll 1014 2\nscroll 1032 8\ntext 1038\n"
      "text 1024\ncommand 1040\n");
  ASSERT_FALSE(named.error) << named.error->message;
  ASSERT_FALSE(numbered.error);
  ASSERT_EQ(named.commands.size(), numbered.commands.size());
  for (std::size_t i = 0; i < named.commands.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(named.commands[i].verb, numbered.commands[i].verb);
    EXPECT_EQ(named.commands[i].id, numbered.commands[i].id);
    EXPECT_EQ(named.commands[i].code, numbered.commands[i].code);
    EXPECT_EQ(named.commands[i].position, numbered.commands[i].position);
  }
  // Every scroll code has one name, in code order.
  int expected = 0;
  for (const auto& code : tv::script::ScrollCodeNames()) EXPECT_EQ(code.code, expected++);
  EXPECT_EQ(expected, 9);
}

TEST(ScriptParser, SetNamesASliderAndAPositionInItsRange) {
  const auto script = ParseScript("set frequency 0\nset frequency 2000\nset harmonic 1 0\nset harmonic 10 100\n");
  ASSERT_FALSE(script.error) << script.error->message;
  const auto& c = script.commands;
  EXPECT_EQ(c[0].verb, Verb::Set);
  EXPECT_EQ(c[0].id, 1014);
  EXPECT_EQ(c[1].position, 2000);
  EXPECT_EQ(c[2].id, 1018);
  EXPECT_EQ(c[3].id, 1032);
  EXPECT_EQ(c[3].position, 100);
}

TEST(ScriptParser, QuotedWordsKeepSpacesAndAByteOrderMarkIsSkipped) {
  const auto script = ParseScript(
      "\xEF\xBB\xBFsnapshot \"my picture.png\"\npicture \"a \\\"b\\\" \\\\c.png\" spectrum scale 3\n"
      "record \"x y.wav\" fade for 2.5\nrecord z.wav for 1\nrecord w.wav fade 25\n");
  ASSERT_FALSE(script.error) << script.error->message;
  const auto& c = script.commands;
  EXPECT_EQ(c[0].line, 1);
  EXPECT_EQ(c[0].name, "my picture.png");
  EXPECT_EQ(c[1].name, "a \"b\" \\c.png");
  EXPECT_EQ(c[1].area, tv::script::PictureArea::Spectrum);
  EXPECT_EQ(c[1].scale, 3);
  EXPECT_EQ(c[2].name, "x y.wav");
  EXPECT_EQ(c[2].fadeMs, 10);
  EXPECT_TRUE(c[2].timed);
  EXPECT_EQ(c[2].seconds, 2.5);
  EXPECT_EQ(c[3].fadeMs, 0);  // exact unless asked
  EXPECT_EQ(c[4].fadeMs, 25);
  EXPECT_FALSE(c[4].timed);
}

TEST(ScriptParser, RejectsBadNewFormsNamingTheLine) {
  const char* scripts[] = {
      "set frequency 2001\n",        "set frequency -1\n",        "set frequency 440.5\n",
      "set harmonic 0 50\n",         "set harmonic 11 50\n",      "set harmonic 3 101\n",
      "set harmonic 3\n",            "set volume 3\n",            "set frequency\n",
      "click harmonic11\n",          "click Square\n",            "scroll frequency middle\n",
      "snapshot \"unclosed.png\n",   "snapshot \"a\"b.png\n",     "snapshot \"\"\n",
      "picture a.png scale 5\n",     "picture a.png scale 0\n",   "picture a.png scale\n",
      "picture a.png waves spectrum\n", "picture a.png big\n",    "record a.wav for 0\n",
      "record a.wav for\n",          "record a.wav fade 0\n",     "record a.wav fade 1001\n",
      "record a.wav for 1 for 2\n",  "record a.wav loud\n",       "\xEF\xBB\xBF\xEF\xBB\xBFstate\n",
  };
  for (const char* text : scripts) {
    const auto script = ParseScript(std::string("state\n") + text);
    ASSERT_TRUE(script.error) << text;
    EXPECT_EQ(script.error->line, 2) << text;
    EXPECT_EQ(script.commands.size(), 1u) << text;
  }
}

TEST(ScriptParser, MessagesQuoteAtMostEightyCharactersWithControlsEscaped) {
  using tv::script::Quoted;
  EXPECT_EQ(Quoted("frobnicate"), "'frobnicate'");
  EXPECT_EQ(Quoted("a\tb\x1b[31m\x7f"), "'a\\tb\\x1B[31m\\x7F'");
  EXPECT_EQ(Quoted("it's \\"), "'it\\'s \\\\'");
  EXPECT_EQ(Quoted("矩形波"), "'矩形波'");                    // UTF-8 is kept whole
  EXPECT_EQ(Quoted("\xE7\x9F"), "'\\xE7\\x9F'");             // a cut sequence is not
  EXPECT_EQ(Quoted("\xC2\x9B"), "'\\xC2\\x9B'");             // nor a C1 control
  EXPECT_EQ(Quoted(std::string(80, 'x')), "'" + std::string(80, 'x') + "'");
  EXPECT_EQ(Quoted(std::string(81, 'x')), "'" + std::string(80, 'x') + "...'");
  std::string wide;
  for (int i = 0; i < 100; ++i) wide += "波";
  std::string eighty;
  for (int i = 0; i < 80; ++i) eighty += "波";
  EXPECT_EQ(Quoted(wide), "'" + eighty + "...'");

  // In a message: a line of 10,000 bytes and escape sequences comes back short and inert.
  const auto script = ParseScript("\x1b]0;owned\x07" + std::string(10000, 'z') + "\n");
  ASSERT_TRUE(script.error);
  EXPECT_LT(script.error->message.size(), 200u);
  EXPECT_EQ(script.error->message.find('\x1b'), std::string::npos);
  EXPECT_EQ(script.error->message.find('\x07'), std::string::npos);
}
