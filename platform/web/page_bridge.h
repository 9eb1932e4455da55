// The calls from the backend into the page (page/tonvela-library.js). Handles travel as
// numbers; texts as UTF-8.
#pragma once

#include <cstdint>

extern "C" {

void tv_page_dialog_created(std::uintptr_t dialog, int width, int height, const char* caption,
                            const char* fontFace, int fontPixels);
void tv_page_control_created(std::uintptr_t dialog, std::uintptr_t control, int id, int kind,
                             std::uint32_t style, int left, int top, int width, int height);
void tv_page_control_changed(std::uintptr_t control, const char* text, int scrollMin,
                             int scrollMax, int scrollPos, int checked, int focused);
void tv_page_dialog_destroyed(std::uintptr_t dialog);
// `rgba` holds width * height pixels, 4 bytes each.
void tv_page_present(std::uintptr_t dialog, const std::uint8_t* rgba, int width, int height);
// Suspends the program until the page calls wake (input, a post, a sound event).
void tv_page_wait_for_events();
void tv_page_wake();
void tv_page_beep();
// WinMain has returned: the page shows that the program has ended.
void tv_page_program_ended(int exitCode);

// Web Audio, one output at a time. Open: 1 when the output runs (or will, once the
// browser allows sound), 0 when there is none.
int tv_page_audio_open(int sampleRate);
void tv_page_audio_close();
}
