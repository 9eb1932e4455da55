// PortAudio, initialised once per process on first use and kept until the process ends:
// every initialisation probes every host API and card again, which takes time and
// fills standard error on a machine without them.
#pragma once

#include <memory>
#include <string>

namespace tv {

class PortAudioLibrary {
 public:
  // The initialised library, or null with the reason in `error` (PortAudio's own text,
  // or what the device probe saw).
  static std::shared_ptr<PortAudioLibrary> Acquire(std::string* error);

  ~PortAudioLibrary();
  PortAudioLibrary(const PortAudioLibrary&) = delete;
  PortAudioLibrary& operator=(const PortAudioLibrary&) = delete;

 private:
  PortAudioLibrary() = default;
};

// Some sound configurations make the sound libraries abort the whole process while
// PortAudio lists the devices (an empty ALSA configuration trips an assertion inside
// the ALSA host API). This runs that listing once in a child process, started now and
// judged at the first Acquire: when the child did not end normally, Acquire reports
// the output as unavailable instead of initialising PortAudio in this process.
// Call it while the process has a single thread (first thing in main); a process that
// never calls it initialises PortAudio directly.
void StartSoundDeviceProbe();

}  // namespace tv
