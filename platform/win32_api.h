// The window-manager, drawing and wave-output operations that the app code calls.
//
// On Windows this is the system's own API. Everywhere else the same names are declared
// here and implemented by our platform layer (platform/core plus one backend chosen at
// link time). App code includes only this header and uses the names as the platform
// spells them. Defining TONVELA_OWN_PLATFORM_API selects our declarations on Windows
// too (the unit tests that run as Windows programs test our canvas, not the system's).
//
// Contract of our implementation, beyond each function's comment:
// - Handles are opaque numbers, never pointers into our own memory. A stale handle (a
//   destroyed window, a closed device, a deleted pen) is looked up, not dereferenced:
//   calls with it fail and change nothing.
// - Every function here runs on the GUI thread, except PostMessageA, which any thread
//   may call (the audio device posts its notifications with it).
// - Texts passed to the ...A functions are code page 932 (Shift_JIS).
#pragma once

#if defined(_WIN32) && !defined(TONVELA_OWN_PLATFORM_API)
#include "platform/win32/native_api.h"
#else

#include <cstddef>
#include <cstdint>

// ---- Scalar types ---------------------------------------------------------------------
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using BOOL = int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using LPSTR = char*;
using LPCSTR = const char*;
using COLORREF = DWORD;
using MMRESULT = UINT;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// Calling-convention markers have no meaning outside Windows.
#define WINAPI
#define CALLBACK

// ---- Handles (opaque; see the contract above) ------------------------------------------
struct TvWindowHandle;
struct TvInstanceHandle;
struct TvDeviceContextHandle;
struct TvPenHandle;
struct TvBrushHandle;
struct TvWaveOutHandle;
using HWND = TvWindowHandle*;
using HINSTANCE = TvInstanceHandle*;
using HDC = TvDeviceContextHandle*;
using HGDIOBJ = void*;  // any pen or brush converts to it, as on the platform
using HPEN = TvPenHandle*;
using HBRUSH = TvBrushHandle*;
using HWAVEOUT = TvWaveOutHandle*;

// ---- Records -----------------------------------------------------------------------------
struct POINT {
  LONG x;
  LONG y;
};

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};

struct WAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;
};

struct WAVEHDR {
  LPSTR lpData;
  DWORD dwBufferLength;
  DWORD dwBytesRecorded;
  DWORD_PTR dwUser;
  DWORD dwFlags;
  DWORD dwLoops;
  WAVEHDR* lpNext;
  DWORD_PTR reserved;
};

using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// ---- Word packing ------------------------------------------------------------------------
constexpr WORD LOWORD(std::uintptr_t value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
  return static_cast<WPARAM>(low) | (static_cast<WPARAM>(high) << 16);
}
constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
  return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) |
         (static_cast<COLORREF>(blue) << 16);
}
inline LPCSTR MAKEINTRESOURCEA(int id) {
  return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(id)));
}

// ---- Messages ----------------------------------------------------------------------------
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT MM_WOM_OPEN = 0x03BB;
inline constexpr UINT MM_WOM_CLOSE = 0x03BC;
inline constexpr UINT MM_WOM_DONE = 0x03BD;

// Command identifiers the dialog manager sends for Enter and Escape.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr WORD BN_CLICKED = 0;

// Scroll-bar codes (low word of WM_HSCROLL's wParam) and bar selector.
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;
inline constexpr int SB_CTL = 2;

// Virtual keys that the dialog manager handles.
inline constexpr WPARAM VK_TAB = 0x09;
inline constexpr WPARAM VK_RETURN = 0x0D;
inline constexpr WPARAM VK_SHIFT = 0x10;
inline constexpr WPARAM VK_ESCAPE = 0x1B;
inline constexpr WPARAM VK_SPACE = 0x20;
inline constexpr WPARAM VK_LEFT = 0x25;
inline constexpr WPARAM VK_UP = 0x26;
inline constexpr WPARAM VK_RIGHT = 0x27;
inline constexpr WPARAM VK_DOWN = 0x28;

// ---- Window and control styles (as stored in dialog templates) ---------------------------
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
inline constexpr DWORD DS_SETFONT = 0x00000040;
inline constexpr DWORD DS_MODALFRAME = 0x00000080;
inline constexpr DWORD SS_LEFT = 0x00000000;
inline constexpr DWORD SBS_HORZ = 0x00000000;
inline constexpr DWORD BS_PUSHBUTTON = 0x00000000;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x00000009;
inline constexpr DWORD BS_MULTILINE = 0x00002000;

// ---- Window manager ----------------------------------------------------------------------
// Creates the modeless dialog from the template with that resource id (MAKEINTRESOURCEA).
// WM_INITDIALOG reaches `dialogProc` before this returns; if it returns TRUE the focus
// goes to the first WS_TABSTOP control. Null when the template is unknown.
HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent,
                        DLGPROC dialogProc, LPARAM initParam);
// Next message of the thread: posted messages first, then user input, then WM_PAINT
// for an invalid window. Waits while there is none. 0 once WM_QUIT is retrieved.
// Messages posted to a window that has since been destroyed are dropped.
BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
// The dialog manager's keyboard handling (Tab, Shift+Tab, arrows, Space, Enter, Escape)
// for the dialog that `dialog` is or belongs to. Nonzero when it consumed the message.
BOOL IsDialogMessageA(HWND dialog, MSG* msg);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
// Thread-safe. Queues the message for the window's thread; false for a stale handle.
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// WM_DESTROY reaches the dialog procedure before this returns.
BOOL DestroyWindow(HWND window);
HWND GetDlgItem(HWND dialog, int controlId);
BOOL SetScrollRange(HWND window, int bar, int minPos, int maxPos, BOOL redraw);
// Returns the previous position. A position outside the range shows at the nearer end.
int SetScrollPos(HWND window, int bar, int pos, BOOL redraw);
BOOL SetWindowTextA(HWND window, LPCSTR text);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
// Delivers WM_PAINT to the window's procedure before returning, if it is invalid.
BOOL UpdateWindow(HWND window);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
BOOL MessageBeep(UINT type);

// ---- Drawing -----------------------------------------------------------------------------
// Pixel rules: Rectangle fills with the selected brush and outlines with the selected
// pen, its right and bottom edges lying outside; LineTo draws from the current position
// up to, not including, the end point, which becomes the current position. One-pixel
// lines, no anti-aliasing. A device context starts with a black pen and a white brush.
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int PS_SOLID = 0;
HGDIOBJ GetStockObject(int object);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HPEN CreatePen(int style, int width, COLORREF colour);
BOOL DeleteObject(HGDIOBJ object);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL LineTo(HDC dc, int x, int y);

// ---- Wave output -------------------------------------------------------------------------
inline constexpr UINT WAVE_MAPPER = 0xFFFFFFFFu;
inline constexpr WORD WAVE_FORMAT_PCM = 1;
inline constexpr DWORD CALLBACK_WINDOW = 0x00010000;
inline constexpr DWORD WHDR_DONE = 0x00000001;
inline constexpr DWORD WHDR_PREPARED = 0x00000002;
inline constexpr DWORD WHDR_INQUEUE = 0x00000010;
inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
inline constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT WAVERR_BADFORMAT = 32;
inline constexpr MMRESULT WAVERR_STILLPLAYING = 33;
inline constexpr MMRESULT WAVERR_UNPREPARED = 34;

// Opens the default output with notifications posted to the window `callback`
// (CALLBACK_WINDOW): MM_WOM_OPEN once, MM_WOM_DONE(lParam = header) each time a queued
// header has been played or handed back by a reset, MM_WOM_CLOSE once after the close.
MMRESULT waveOutOpen(HWAVEOUT* device, UINT deviceId, const WAVEFORMATEX* format,
                     DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, UINT headerSize);
MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, UINT headerSize);
// Queues behind the headers already queued; a header still queued is refused with
// WAVERR_STILLPLAYING and the queue is left as it was.
MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, UINT headerSize);
// Stops at once and hands back every queued header, in queue order.
MMRESULT waveOutReset(HWAVEOUT device);
MMRESULT waveOutClose(HWAVEOUT device);

// The program's entry point, defined by the app.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                   int showCommand);

#endif
