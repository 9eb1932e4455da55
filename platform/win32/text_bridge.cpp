// The two ANSI entry points that native_api.h routes here. The real functions are
// reached through the wide names, which that header leaves alone.
#include "platform/win32/native_api.h"
#include "platform/win32/cp932_text.h"

#include <string>

BOOL WINAPI TonvelaSetWindowTextCp932(HWND window, LPCSTR text) {
  if (!text) return SetWindowTextW(window, nullptr);
  const std::wstring wide = tv::win32::WideFromCp932(text);
  return SetWindowTextW(window, wide.c_str());
}

HWND WINAPI TonvelaCreateDialogParamUnicode(HINSTANCE instance, LPCSTR templateName,
                                            HWND parent, DLGPROC dialogProc,
                                            LPARAM initParam) {
  if (IS_INTRESOURCE(templateName)) {
    const auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(templateName));
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(id), parent, dialogProc,
                              initParam);
  }
  const std::wstring name = tv::win32::WideFromCp932(templateName);
  return CreateDialogParamW(instance, name.c_str(), parent, dialogProc, initParam);
}
