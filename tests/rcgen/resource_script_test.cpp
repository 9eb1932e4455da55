// The resource script carries exactly what the dialog template table says: read back
// statement by statement and compared field by field with the table itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "platform/dialog_template.h"
#include "resource_script_reader.h"
#include "tools/rcgen/resource_script.h"

namespace {

using tv::rcgen::testing::ReadStatements;
using tv::rcgen::testing::Statement;
using tv::rcgen::testing::Token;

const tv::rcgen::ResourceFiles kFiles{"icons/tonvela.ico", "win32/tonvela.manifest"};
const tv::rcgen::VersionInfo kVersion{"2019.05.10", "Tonvela", "Tonvela 複合音の学習",
                                      "tonvela.exe"};

std::int64_t Number(const Token& token) { return std::get<std::int64_t>(token); }
const std::string& Text(const Token& token) { return std::get<std::string>(token); }

class MainDialogScript : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = tv::FindDialogTemplate(kMainDialogResourceId);
    ASSERT_NE(dialog_, nullptr);
    statements_ = ReadStatements(tv::rcgen::ResourceScript(*dialog_, kFiles, kVersion));
  }

  // The statements from the DIALOGEX line up to, not including, BEGIN.
  std::vector<Statement> DialogHeader() const {
    auto begin = std::find_if(statements_.begin(), statements_.end(), [](const Statement& s) {
      return !s.arguments.empty() && s.arguments[0] == Token(std::string("DIALOGEX"));
    });
    auto end = std::find_if(begin, statements_.end(),
                            [](const Statement& s) { return s.word == "BEGIN"; });
    return {begin, end};
  }

  std::vector<Statement> Controls() const {
    std::vector<Statement> controls;
    std::copy_if(statements_.begin(), statements_.end(), std::back_inserter(controls),
                 [](const Statement& s) { return s.word == "CONTROL"; });
    return controls;
  }

  const Statement* Find(const std::vector<Statement>& statements, const std::string& word) const {
    auto it = std::find_if(statements.begin(), statements.end(),
                           [&](const Statement& s) { return s.word == word; });
    return it == statements.end() ? nullptr : &*it;
  }

  const tv::DialogTemplate* dialog_ = nullptr;
  std::vector<Statement> statements_;
};

TEST_F(MainDialogScript, DialogHeaderCarriesTheTemplatesFields) {
  const std::vector<Statement> header = DialogHeader();
  ASSERT_FALSE(header.empty()) << "no DIALOGEX statement";
  const Statement& dialogex = header[0];
  EXPECT_EQ(dialogex.word, std::to_string(dialog_->resourceId));
  ASSERT_EQ(dialogex.arguments.size(), 5u);
  EXPECT_EQ(Number(dialogex.arguments[1]), dialog_->x);
  EXPECT_EQ(Number(dialogex.arguments[2]), dialog_->y);
  EXPECT_EQ(Number(dialogex.arguments[3]), dialog_->width);
  EXPECT_EQ(Number(dialogex.arguments[4]), dialog_->height);

  const Statement* language = Find(header, "LANGUAGE");
  ASSERT_NE(language, nullptr);
  ASSERT_EQ(language->arguments.size(), 2u);
  EXPECT_EQ(Number(language->arguments[0]) | (Number(language->arguments[1]) << 10),
            dialog_->language);

  const Statement* style = Find(header, "STYLE");
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(Number(style->arguments.at(0)), dialog_->style);
  const Statement* exStyle = Find(header, "EXSTYLE");
  ASSERT_NE(exStyle, nullptr);
  EXPECT_EQ(Number(exStyle->arguments.at(0)), dialog_->exStyle);

  const Statement* caption = Find(header, "CAPTION");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(Text(caption->arguments.at(0)), dialog_->caption);

  const Statement* font = Find(header, "FONT");
  ASSERT_NE(font, nullptr);
  ASSERT_EQ(font->arguments.size(), 5u);
  EXPECT_EQ(Number(font->arguments[0]), dialog_->fontPointSize);
  EXPECT_EQ(Text(font->arguments[1]), dialog_->fontFace);
  EXPECT_EQ(Number(font->arguments[2]), dialog_->fontWeight);
  EXPECT_EQ(Number(font->arguments[3]), dialog_->fontItalic ? 1 : 0);
  EXPECT_EQ(Number(font->arguments[4]), dialog_->fontCharset);
}

TEST_F(MainDialogScript, EveryControlInTemplateOrderWithItsFields) {
  const std::vector<Statement> controls = Controls();
  ASSERT_EQ(controls.size(), dialog_->controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const tv::ControlTemplate& expected = dialog_->controls[i];
    const std::vector<Token>& got = controls[i].arguments;
    SCOPED_TRACE("control #" + std::to_string(i + 1) + " id " + std::to_string(expected.id));
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(Text(got[0]), expected.text);
    EXPECT_EQ(Number(got[1]), expected.id);
    EXPECT_EQ(Text(got[2]), tv::rcgen::ControlClassName(expected.kind));
    EXPECT_EQ(Number(got[3]), expected.style);
    EXPECT_EQ(Number(got[4]), expected.x);
    EXPECT_EQ(Number(got[5]), expected.y);
    EXPECT_EQ(Number(got[6]), expected.width);
    EXPECT_EQ(Number(got[7]), expected.height);
  }
}

TEST_F(MainDialogScript, CodePageFirstThenIconAndManifestInNoLanguage) {
  ASSERT_GE(statements_.size(), 4u);
  EXPECT_EQ(statements_[0].word, "#pragma code_page(65001)");
  EXPECT_EQ(statements_[1].word, "LANGUAGE");
  EXPECT_EQ(statements_[1].arguments, (std::vector<Token>{std::int64_t{0}, std::int64_t{0}}));

  const std::vector<Token> icon{std::string("ICON"), kFiles.iconPath};
  const std::vector<Token> manifest{std::int64_t{24}, kFiles.manifestPath};  // RT_MANIFEST
  auto before_dialog = std::find_if(statements_.begin(), statements_.end(),
                                    [](const Statement& s) { return s.word == "101"; });
  auto has = [&](const std::string& word, const std::vector<Token>& arguments) {
    return std::any_of(statements_.begin(), before_dialog, [&](const Statement& s) {
      return s.word == word && s.arguments == arguments;
    });
  };
  EXPECT_TRUE(has("1", icon)) << "application icon 1";
  EXPECT_TRUE(has("1", manifest)) << "process manifest 1";
}

TEST_F(MainDialogScript, VersionResourceAfterTheDialogInItsLanguage) {
  auto versionInfo = std::find_if(statements_.begin(), statements_.end(), [](const Statement& s) {
    return s.word == "1" && s.arguments == std::vector<Token>{std::string("VERSIONINFO")};
  });
  ASSERT_NE(versionInfo, statements_.end()) << "no VERSIONINFO 1";
  ASSERT_NE(versionInfo, statements_.begin());
  const Statement& language = *(versionInfo - 1);
  ASSERT_EQ(language.word, "LANGUAGE");
  ASSERT_EQ(language.arguments.size(), 2u);
  EXPECT_EQ(Number(language.arguments[0]) | (Number(language.arguments[1]) << 10),
            dialog_->language);
  const std::vector<Statement> version(versionInfo, statements_.end());

  const std::vector<Token> binary{std::int64_t{2019}, std::int64_t{5}, std::int64_t{10},
                                  std::int64_t{0}};
  ASSERT_NE(Find(version, "FILEVERSION"), nullptr);
  EXPECT_EQ(Find(version, "FILEVERSION")->arguments, binary);
  ASSERT_NE(Find(version, "PRODUCTVERSION"), nullptr);
  EXPECT_EQ(Find(version, "PRODUCTVERSION")->arguments, binary);
  ASSERT_NE(Find(version, "FILETYPE"), nullptr);
  EXPECT_EQ(Find(version, "FILETYPE")->arguments, std::vector<Token>{std::int64_t{1}})
      << "VFT_APP";

  // The string table of the dialog's language in UTF-16, and the translation naming it.
  char table[16];
  std::snprintf(table, sizeof table, "%04X04B0", dialog_->language);
  std::vector<std::vector<Token>> blocks;
  std::vector<std::pair<std::string, Token>> values;
  for (const Statement& s : version) {
    if (s.word == "BLOCK") blocks.push_back(s.arguments);
    if (s.word == "VALUE" && s.arguments.size() >= 2)
      values.emplace_back(Text(s.arguments[0]), s.arguments[1]);
  }
  EXPECT_EQ(blocks, (std::vector<std::vector<Token>>{{std::string("StringFileInfo")},
                                                      {std::string(table)},
                                                      {std::string("VarFileInfo")}}));
  const std::vector<std::pair<std::string, Token>> expected{
      {"FileDescription", kVersion.description},
      {"FileVersion", std::string("2019.05.10")},
      {"InternalName", std::string("tonvela")},
      {"OriginalFilename", std::string("tonvela.exe")},
      {"ProductName", std::string("Tonvela")},
      {"ProductVersion", std::string("2019.05.10")},
      {"Translation", std::int64_t{dialog_->language}},
  };
  EXPECT_EQ(values, expected);
  const Statement* translation = nullptr;
  for (const Statement& s : version)
    if (s.word == "VALUE" && Text(s.arguments.at(0)) == "Translation") translation = &s;
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ(translation->arguments.back(), Token(std::int64_t{1200})) << "UTF-16";
}

TEST(FileVersion, DottedNumbersOnly) {
  using Numbers = std::array<std::uint16_t, 4>;
  const std::pair<std::string, std::optional<Numbers>> cases[] = {
      {"2019.05.10", Numbers{2019, 5, 10, 0}},
      {"7", Numbers{7, 0, 0, 0}},
      {"1.2.3.4", Numbers{1, 2, 3, 4}},
      {"65535.0.65535", Numbers{65535, 0, 65535, 0}},
      {"65536", std::nullopt},
      {"1.99999999999999999999", std::nullopt},
      {"1.2.3.4.5", std::nullopt},
      {"", std::nullopt},
      {"1.", std::nullopt},
      {".1", std::nullopt},
      {"1..2", std::nullopt},
      {"-1", std::nullopt},
      {"+1", std::nullopt},
      {" 1", std::nullopt},
      {"1.2-rc1", std::nullopt},
      {"v1", std::nullopt},
  };
  for (const auto& [text, numbers] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(tv::rcgen::ParseFileVersion(text), numbers);
  }
}

TEST(ResourceStringQuoting, ReadsBackAsTheSameBytes) {
  const std::string cases[] = {
      "",
      "Static",
      " 複合音\n（複合波）",
      "say \"yes\"",
      "C:\\path\\tonvela.ico",
      "\"\"\\n\\\"",
      "８ＫＨz",
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text);
    const std::string quoted = tv::rcgen::QuoteResourceString(text);
    EXPECT_EQ(quoted.find('\n'), std::string::npos) << "a statement stays on one line";
    const std::vector<Statement> read = ReadStatements("CAPTION " + quoted + "\n");
    ASSERT_EQ(read.size(), 1u);
    ASSERT_EQ(read[0].arguments.size(), 1u);
    EXPECT_EQ(Text(read[0].arguments[0]), text);
  }
}

}  // namespace
