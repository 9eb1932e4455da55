// PortAudio is initialised once per user of it and terminated with the last one.
#pragma once

namespace tv {

class PortAudioLibrary {
 public:
  PortAudioLibrary();
  ~PortAudioLibrary();
  PortAudioLibrary(const PortAudioLibrary&) = delete;
  PortAudioLibrary& operator=(const PortAudioLibrary&) = delete;

  bool IsReady() const { return ready_; }

 private:
  bool ready_ = false;
};

}  // namespace tv
