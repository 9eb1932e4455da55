#include "platform/wave/portaudio/portaudio_library.h"

#include <alsa/asoundlib.h>
#include <portaudio.h>

#include <mutex>

#if TONVELA_HAVE_JACK
#include <jack/jack.h>
#endif

namespace tv {
namespace {

std::mutex g_libraryMutex;

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

}  // namespace

PortAudioLibrary::PortAudioLibrary() {
  std::lock_guard lock(g_libraryMutex);
  SilenceSoundServerMessages();
  ready_ = Pa_Initialize() == paNoError;
}

PortAudioLibrary::~PortAudioLibrary() {
  std::lock_guard lock(g_libraryMutex);
  if (ready_) Pa_Terminate();
}

}  // namespace tv
