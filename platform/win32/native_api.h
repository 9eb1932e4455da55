// On Windows the platform layer is the system's own API. This header adds only what the
// program needs on top of it: its texts are code page 932 (Shift_JIS), and they must
// show the same on a Windows whose ANSI code page is not 932.
//
// Capabilities added here:
// - SetWindowTextA takes code page 932 whatever the system's ANSI code page is.
// - CreateDialogParamA creates a Unicode dialog, so that the template's UTF-16 texts
//   never pass through the ANSI code page.
#pragma once

#include <windows.h>
#include <mmsystem.h>

// Converts `text` from code page 932 to UTF-16 and sets it with SetWindowTextW.
BOOL WINAPI TonvelaSetWindowTextCp932(HWND window, LPCSTR text);

// CreateDialogParamW with the same arguments; a template given by name is read as code
// page 932 like every other text of the program.
HWND WINAPI TonvelaCreateDialogParamUnicode(HINSTANCE instance, LPCSTR templateName,
                                            HWND parent, DLGPROC dialogProc,
                                            LPARAM initParam);

// The app calls the ANSI names as the platform spells them; these two must not go
// through the ANSI code page, so they are routed to the functions above.
#define SetWindowTextA TonvelaSetWindowTextCp932
#define CreateDialogParamA TonvelaCreateDialogParamUnicode
