// waveOutOpen: the device plays into the backend's sink and notifies the callback window
// with posted messages, handled on the GUI thread.
#include "platform/core/backend.h"
#include "platform/wave/wave_device_table.h"
#include "platform/wave/wave_sink.h"

MMRESULT waveOutOpen(HWAVEOUT* device, UINT deviceId, const WAVEFORMATEX* format,
                     DWORD_PTR callback, DWORD_PTR /*instance*/, DWORD flags) {
  const MMRESULT checked = tv::CheckWaveOpenArguments(device, deviceId, format, callback, flags);
  if (checked != MMSYSERR_NOERROR) return checked;
  const HWND window = reinterpret_cast<HWND>(callback);
  auto post = [window](UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageA(window, message, wParam, lParam);
  };
  return tv::OpenWaveDevice(tv::CurrentBackend().CreateWaveSink(), post, device);
}
