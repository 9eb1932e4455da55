#include <gtest/gtest.h>

#include <set>

#include "platform/core/cp932_text.h"
#include "platform/dialog_template.h"

TEST(DialogResource, Template101HoldsTheDialogAndItsFortyNineControls) {
  const tv::DialogTemplate* dialog = tv::FindDialogTemplate(101);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(tv::FindDialogTemplate(100), nullptr);
  EXPECT_EQ(dialog->style, 0x10CB00C0u);
  EXPECT_EQ(dialog->exStyle, 0x00010000u);
  EXPECT_EQ(dialog->language, 0x0411);
  EXPECT_EQ(dialog->caption, "TonvelaVer2019.05.10");
  EXPECT_EQ(dialog->fontFace, "ＭＳ Ｐゴシック");
  EXPECT_EQ(dialog->fontFace, "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF");
  ASSERT_EQ(dialog->controls.size(), 49u);

  std::set<int> ids;
  for (const tv::ControlTemplate& control : dialog->controls) {
    if (control.id != -1) {
      EXPECT_TRUE(ids.insert(control.id).second) << "duplicate " << control.id;
    }
    const std::uint32_t expectedStyle = control.kind == tv::ControlKind::ScrollBar ? 0x50000000u
                                        : control.kind == tv::ControlKind::Static  ? 0x50020000u
                                        : control.id == 1003 || control.id == 1007 ? 0x50012000u
                                                                                    : 0x50000009u;
    EXPECT_EQ(control.style, expectedStyle) << control.id;
    // Every text has a code page 932 form, as the Windows resource needs.
    EXPECT_EQ(tv::Cp932ToUtf8(tv::Utf8ToCp932(control.text)), control.text) << control.id;
  }
  EXPECT_EQ(ids.size(), 32u);  // 11 sliders, 12 texts, 9 buttons
  EXPECT_EQ(dialog->controls[21].x, 237);  // the tenth amplitude label, one unit right
  EXPECT_EQ(dialog->controls[35].text,
            "サンプリング周波数は16KHzです。\n  このため倍音が８ＫＨｚ以上の場合、その音は折り返し雑音となります。");
}
