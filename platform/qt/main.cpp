// The desktop program: Qt's application object around the program's own WinMain.
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
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tonvela"));
  QApplication::setDesktopFileName(QStringLiteral("tonvela"));
  char commandLine[] = "";
  return WinMain(nullptr, nullptr, commandLine, 0);
}
