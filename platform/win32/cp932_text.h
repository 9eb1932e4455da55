// Code page 932 (Shift_JIS) texts as UTF-16, for the wide functions of the API.
#pragma once

#include <string>
#include <string_view>

namespace tv::win32 {

// Converts with the system's code page 932 table, independent of the ANSI code page.
// Bytes that are not valid Shift_JIS become U+30FB or the system's default character.
std::wstring WideFromCp932(std::string_view text);

}  // namespace tv::win32
