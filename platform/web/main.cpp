// The page's program: WinMain on the browser backend. When the dialog has closed and
// WinMain returns, the page shows that the program has ended.
#include "platform/web/page_bridge.h"
#include "platform/win32_api.h"

int main() {
  char commandLine[] = "";
  const int exitCode = WinMain(nullptr, nullptr, commandLine, 0);
  tv_page_program_ended(exitCode);
  return exitCode;
}
