// Dialog resource 101: the caption, font and the 49 controls in template order (which is
// also their z-order and tab order). The Windows build generates its resource script
// from this table.
#include "app/main_dialog.h"
#include "app/resource.h"
#include "platform/dialog_template.h"

namespace {

using tv::ControlKind;
using tv::ControlTemplate;

constexpr std::uint32_t kSlider = WS_CHILD | WS_VISIBLE | SBS_HORZ;
constexpr std::uint32_t kText = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
constexpr std::uint32_t kPreset = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
constexpr std::uint32_t kVolume = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON;
static_assert(kSlider == 0x50000000 && kText == 0x50020000 && kPreset == 0x50000009 &&
              kVolume == 0x50012000);

constexpr ControlKind S = ControlKind::ScrollBar;
constexpr ControlKind T = ControlKind::Static;
constexpr ControlKind B = ControlKind::Button;

constexpr ControlTemplate kControls[] = {
    {IDC_FREQUENCY_SLIDER, S, kSlider, 160, 409, 143, 10, ""},
    {IDC_FREQUENCY_LABEL, T, kText, 169, 421, 132, 9, "選択された周波数"},
    {IDC_HARMONIC1_SLIDER, S, kSlider, 206, 29, 139, 9, ""},
    {IDC_HARMONIC2_SLIDER, S, kSlider, 206, 55, 139, 9, ""},
    {IDC_HARMONIC3_SLIDER, S, kSlider, 206, 82, 139, 9, ""},
    {IDC_HARMONIC4_SLIDER, S, kSlider, 206, 111, 139, 9, ""},
    {IDC_HARMONIC5_SLIDER, S, kSlider, 206, 138, 139, 9, ""},
    {IDC_HARMONIC1_LABEL, T, kText, 236, 39, 121, 14, "Static"},
    {IDC_HARMONIC2_LABEL, T, kText, 236, 67, 121, 14, "Static"},
    {IDC_HARMONIC3_LABEL, T, kText, 236, 97, 121, 14, "Static"},
    {IDC_HARMONIC4_LABEL, T, kText, 236, 122, 121, 14, "Static"},
    {IDC_HARMONIC5_LABEL, T, kText, 236, 148, 121, 14, "Static"},
    {IDC_HARMONIC6_SLIDER, S, kSlider, 206, 164, 139, 9, ""},
    {IDC_HARMONIC7_SLIDER, S, kSlider, 206, 190, 139, 9, ""},
    {IDC_HARMONIC8_SLIDER, S, kSlider, 206, 217, 139, 9, ""},
    {IDC_HARMONIC9_SLIDER, S, kSlider, 206, 244, 139, 9, ""},
    {IDC_HARMONIC10_SLIDER, S, kSlider, 206, 269, 139, 9, ""},
    {IDC_HARMONIC6_LABEL, T, kText, 236, 173, 121, 14, "Static"},
    {IDC_HARMONIC7_LABEL, T, kText, 236, 201, 121, 14, "Static"},
    {IDC_HARMONIC8_LABEL, T, kText, 236, 230, 121, 14, "Static"},
    {IDC_HARMONIC9_LABEL, T, kText, 236, 256, 121, 14, "Static"},
    {IDC_HARMONIC10_LABEL, T, kText, 237, 279, 121, 14, "Static"},
    {IDC_STATIC, T, kText, 128, 30, 74, 10, "基音(基本音・基本波）"},
    {IDC_STATIC, T, kText, 128, 56, 74, 9, "第２倍音（第２高調波）"},
    {IDC_STATIC, T, kText, 128, 82, 74, 9, "第３倍音（第３高調波）"},
    {IDC_STATIC, T, kText, 128, 111, 74, 9, "第４倍音（第４高調波）"},
    {IDC_STATIC, T, kText, 128, 137, 74, 9, "第５倍音（第５高調波）"},
    {IDC_STATIC, T, kText, 128, 164, 74, 9, "第６倍音（第６高調波）"},
    {IDC_STATIC, T, kText, 128, 190, 74, 9, "第７倍音（第７高調波）"},
    {IDC_STATIC, T, kText, 128, 219, 74, 9, "第８倍音（第８高調波）"},
    {IDC_STATIC, T, kText, 128, 245, 74, 9, "第９倍音（第９高調波）"},
    {IDC_STATIC, T, kText, 128, 270, 74, 9, "第１０倍音（第１０高調波）"},
    {IDC_STATIC, T, kText, 122, 339, 28, 16, " 複合音\n（複合波）"},
    {IDC_STATIC, T, kText, 159, 322, 10, 8, "ｄＢ"},
    {IDC_STATIC, T, kText, 171, 384, 15, 8, "０Ｈｚ"},
    {IDC_STATIC, T, kText, 313, 307, 48, 68,
     "サンプリング周波数は16KHzです。\n"
     "  このため倍音が８ＫＨｚ以上の場合、その音は折り返し雑音となります。"},
    {IDC_STATIC, T, kText, 217, 301, 35, 10, "スペクトル"},
    {IDC_WARNING_LABEL, T, kText, 26, 385, 79, 24, "Static"},
    {IDC_STATIC, T, kText, 228, 19, 107, 8, "振幅（音量）設定を設定して下さい。"},
    {IDC_SQUARE, B, kPreset, 131, 1, 33, 8, "矩形波"},
    {IDC_SAWTOOTH, B, kPreset, 166, 1, 41, 8, "ノコギリ波"},
    {IDC_TRIANGLE, B, kPreset, 210, 1, 32, 8, "三角波"},
    {IDC_REPEATED_PULSE, B, kPreset, 244, 1, 47, 8, "くり返パルス"},
    {IDC_FEMALE_VOWEL_A, B, kPreset, 292, 1, 44, 8, "女性の「ア」"},
    {IDC_CLEAR, B, kPreset, 338, 1, 30, 8, "クリア"},
    {IDC_VOLUME_DOWN, B, kVolume, 8, 417, 58, 14, "音量全体を下げる"},
    {IDC_VOLUME_UP, B, kVolume, 77, 417, 58, 14, "音量全体を上げる"},
    {IDC_SINE, B, kPreset, 131, 11, 38, 8, "サイン波"},
    {IDC_STATIC, T, kText, 284, 384, 18, 11, "８ＫＨz"},
};

constexpr tv::DialogTemplate kMainDialog = {
    kMainDialogResourceId,
    0x0411,      // Japanese (Japan)
    WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME | DS_SETFONT,
    WS_EX_CONTROLPARENT,
    0, 0, 369, 439,
    "TonvelaVer2019.05.10",
    "ＭＳ Ｐゴシック",
    9, 0, false, 1,
    kControls,
};

}  // namespace

const tv::DialogTemplate* tv::FindDialogTemplate(int resourceId) {
  return resourceId == kMainDialogResourceId ? &kMainDialog : nullptr;
}
