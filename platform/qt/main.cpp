// The desktop program: Qt's application object around the program's own WinMain.
#include <xcb/xcb.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "platform/win32_api.h"

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// Checked before QApplication, which would otherwise abort with a message about
// platform plugins that does not tell the user what to do.
bool HasDesktopSession() {
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

// With only DISPLAY to go by, Qt aborts when that X server cannot be reached.
bool CanReachXServer() {
  if (IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM")) return true;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool reached = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return reached;
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDesktopSession()) {
    std::fputs(
        "tonvela: no desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
        "Start it from a graphical desktop, or use tonvela-script to run the program "
        "headless from a script.\n",
        stderr);
    return 2;
  }
  if (!CanReachXServer()) {
    std::fprintf(stderr,
                 "tonvela: cannot open the display \"%s\". Start it from a graphical desktop, "
                 "or use tonvela-script to run the program headless from a script.\n",
                 std::getenv("DISPLAY"));
    return 2;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tonvela"));
  QApplication::setDesktopFileName(QStringLiteral("tonvela"));
  char commandLine[] = "";
  return WinMain(nullptr, nullptr, commandLine, 0);
}
