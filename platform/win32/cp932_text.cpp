#include "platform/win32/cp932_text.h"

#include <windows.h>

namespace tv::win32 {

namespace {
constexpr UINT kShiftJisCodePage = 932;
}

std::wstring WideFromCp932(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int wideLength =
      MultiByteToWideChar(kShiftJisCodePage, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(kShiftJisCodePage, 0, text.data(), length, wide.data(), wideLength);
  return wide;
}

}  // namespace tv::win32
