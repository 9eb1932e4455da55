#include "platform/wave/portaudio/portaudio_library.h"

#include <alsa/asoundlib.h>
#include <fcntl.h>
#include <portaudio.h>
#include <signal.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <mutex>

#if TONVELA_HAVE_JACK
#include <jack/jack.h>
#endif

namespace tv {
namespace {

// Probing the sound servers and cards writes dozens of lines to standard error on a
// machine without them; failures are reported through the open's result instead.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
#if TONVELA_HAVE_JACK
void IgnoreJackMessage(const char*) {}
#endif

void SilenceSoundServerMessages() {
  snd_lib_error_set_handler(&IgnoreAlsaError);
#if TONVELA_HAVE_JACK
  jack_set_error_function(&IgnoreJackMessage);
  jack_set_info_function(&IgnoreJackMessage);
#endif
}

std::mutex g_mutex;
pid_t g_probe = -1;         // the probing child while it has not been judged
std::string g_probeFailure;  // why the probe says not to initialise; empty when fine
std::shared_ptr<PortAudioLibrary> g_library;  // once initialised, kept until the process ends

// Waits for the probe, if one was started. Lock held.
void JudgeProbe() {
  if (g_probe < 0) return;
  int status = 0;
  pid_t ended;
  do {
    ended = ::waitpid(g_probe, &status, 0);
  } while (ended < 0 && errno == EINTR);
  g_probe = -1;
  if (ended < 0) return;  // not ours to judge after all (SIGCHLD ignored): go ahead
  if (WIFSIGNALED(status)) {
    g_probeFailure = std::string("the sound library aborted while listing the devices (") +
                     ::strsignal(WTERMSIG(status)) + ")";
  }
}

}  // namespace

void StartSoundDeviceProbe() {
  std::lock_guard lock(g_mutex);
  if (g_probe >= 0) return;
  const pid_t child = ::fork();
  if (child == 0) {
    // Nothing of the child may reach the terminal: an abort message is what we judge.
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
      ::dup2(null, STDOUT_FILENO);
      ::dup2(null, STDERR_FILENO);
    }
    ::signal(SIGABRT, SIG_DFL);
    SilenceSoundServerMessages();
    Pa_Initialize();
    ::_exit(0);  // no Pa_Terminate, no exit handlers of the parent
  }
  g_probe = child;  // -1 when fork failed: Acquire initialises directly
}

std::shared_ptr<PortAudioLibrary> PortAudioLibrary::Acquire(std::string* error) {
  std::lock_guard lock(g_mutex);
  if (g_library) return g_library;
  JudgeProbe();
  if (!g_probeFailure.empty()) {
    if (error) *error = g_probeFailure;
    return nullptr;
  }
  SilenceSoundServerMessages();
  const PaError initialised = Pa_Initialize();
  if (initialised != paNoError) {
    if (error) *error = Pa_GetErrorText(initialised);
    return nullptr;
  }
  g_library.reset(new PortAudioLibrary);
  return g_library;
}

PortAudioLibrary::~PortAudioLibrary() { Pa_Terminate(); }

}  // namespace tv
