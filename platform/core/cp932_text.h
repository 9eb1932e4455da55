// Conversion of the program's code page 932 (Shift_JIS) texts to UTF-8 and back.
#pragma once

#include <string>
#include <string_view>

namespace tv {

// Invalid or truncated sequences become U+FFFD instead of failing the whole text.
std::string Cp932ToUtf8(std::string_view cp932);
// Characters without a code page 932 form become '?'.
std::string Utf8ToCp932(std::string_view utf8);

}  // namespace tv
