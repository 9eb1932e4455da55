// The desktop program: Qt's application object around the program's own WinMain.
#include <xcb/xcb.h>

#include <QApplication>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/wave/portaudio/portaudio_library.h"
#include "platform/win32_api.h"
#include "tonvela_version.h"

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

constexpr char kUsage[] =
    "Usage: tonvela [--help | --version]\n"
    "Opens the Tonvela window: a tone built from a fundamental and its 2nd to 10th\n"
    "harmonics, played without pause, with its component waves, their sum and the\n"
    "spectrum of the sum. Needs a desktop session; without one, tonvela-script runs the\n"
    "same program from a script (see tonvela-script --help).\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n";

// The exit status when the command line asks for something other than the window.
std::optional<int> HandleCommandLine(int argc, char** argv) {
  if (argc < 2) return std::nullopt;
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::fputs("tonvela " TONVELA_VERSION "\n", stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
  }
  const char* first = argv[1];
  if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "--version") == 0) first = argv[2];
  if (first[0] == '-') {
    std::fprintf(stderr, "tonvela: unknown option '%s'\n", first);
  } else {
    std::fprintf(stderr, "tonvela: takes no file or other argument ('%s')\n", first);
  }
  std::fputs("Try 'tonvela --help'.\n", stderr);
  return 2;
}

constexpr char kHeadlessHint[] =
    "Start it from a graphical desktop, or use tonvela-script to run the program "
    "headless from a script.\n";

// Qt ends the process with a fatal message when no platform plugin can open a window
// (no X server for xcb, a Wayland-only session without the Wayland plugin, an X server
// that refuses the connection). While the application starts, such a message becomes
// ours: what went wrong, what to do, and exit status 2 instead of an abort.
QtMessageHandler g_qtHandler = nullptr;
std::atomic<bool> g_starting{true};

const char* ValueOr(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg && g_starting.load()) {
    std::fprintf(stderr,
                 "tonvela: cannot open a window: no display could be reached "
                 "(DISPLAY=%s, WAYLAND_DISPLAY=%s, QT_QPA_PLATFORM=%s).\n%s",
                 ValueOr("DISPLAY", "unset"), ValueOr("WAYLAND_DISPLAY", "unset"),
                 ValueOr("QT_QPA_PLATFORM", "unset"), kHeadlessHint);
    std::fflush(stderr);
    std::_Exit(2);
  }
  if (g_qtHandler) g_qtHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> status = HandleCommandLine(argc, argv)) return *status;
  if (!HasDesktopSession()) {
    std::fprintf(stderr, "tonvela: no desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set).\n%s",
                 kHeadlessHint);
    return 2;
  }
  if (!CanReachXServer()) {
    std::fprintf(stderr, "tonvela: cannot open the display \"%s\". %s", std::getenv("DISPLAY"),
                 kHeadlessHint);
    return 2;
  }
  // While the process has one thread; the sound devices are listed in a child meanwhile.
  tv::StartSoundDeviceProbe();
  g_qtHandler = qInstallMessageHandler(OnQtMessage);
  QApplication application(argc, argv);
  g_starting = false;
  QApplication::setApplicationName(QStringLiteral("tonvela"));
  QApplication::setDesktopFileName(QStringLiteral("tonvela"));
  char commandLine[] = "";
  return WinMain(nullptr, nullptr, commandLine, 0);
}
