#include "platform/wave/wave_device_table.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

namespace tv {
namespace {

struct OpenDevice {
  std::shared_ptr<WaveDevice> device;
  std::unique_ptr<WaveSink> sink;
};

class WaveDeviceTable {
 public:
  static WaveDeviceTable& Instance() {
    static WaveDeviceTable table;
    return table;
  }

  HWAVEOUT NewHandle() {
    std::lock_guard lock(mutex_);
    return reinterpret_cast<HWAVEOUT>(++lastHandle_);
  }

  void Add(HWAVEOUT handle, OpenDevice device) {
    std::lock_guard lock(mutex_);
    devices_.emplace(Key(handle), std::move(device));
  }

  std::shared_ptr<WaveDevice> Find(HWAVEOUT handle) {
    std::lock_guard lock(mutex_);
    auto found = devices_.find(Key(handle));
    return found == devices_.end() ? nullptr : found->second.device;
  }

  // Marks the device closed and takes it out of the table; empty when the handle is
  // stale, or headers are still queued (`result` says which).
  std::optional<OpenDevice> Remove(HWAVEOUT handle, MMRESULT* result) {
    std::lock_guard lock(mutex_);
    auto found = devices_.find(Key(handle));
    if (found == devices_.end()) {
      *result = MMSYSERR_INVALHANDLE;
      return std::nullopt;
    }
    *result = found->second.device->MarkClosed();
    if (*result != MMSYSERR_NOERROR) return std::nullopt;
    OpenDevice removed = std::move(found->second);
    devices_.erase(found);
    return removed;
  }

  std::map<std::uintptr_t, OpenDevice> TakeAll() {
    std::lock_guard lock(mutex_);
    return std::exchange(devices_, {});
  }

 private:
  static std::uintptr_t Key(HWAVEOUT handle) { return reinterpret_cast<std::uintptr_t>(handle); }

  std::mutex mutex_;
  std::map<std::uintptr_t, OpenDevice> devices_;
  std::uintptr_t lastHandle_ = 0;
};

bool IsHeaderArgumentValid(const WAVEHDR* header, UINT headerSize) {
  return header != nullptr && headerSize >= sizeof(WAVEHDR);
}

}  // namespace

bool IsSupportedWaveFormat(const WAVEFORMATEX& format) {
  return format.wFormatTag == WAVE_FORMAT_PCM && format.nChannels == 1 &&
         format.nSamplesPerSec == 16000 && format.wBitsPerSample == 16 &&
         format.nBlockAlign == 2 && format.nAvgBytesPerSec == 32000;
}

MMRESULT CheckWaveOpenArguments(const HWAVEOUT* device, UINT deviceId,
                                const WAVEFORMATEX* format, DWORD_PTR callback, DWORD flags) {
  if (deviceId != WAVE_MAPPER && deviceId != 0) return MMSYSERR_BADDEVICEID;
  if (flags != CALLBACK_WINDOW) return MMSYSERR_INVALFLAG;
  if (device == nullptr || format == nullptr || callback == 0) return MMSYSERR_INVALPARAM;
  if (!IsSupportedWaveFormat(*format)) return WAVERR_BADFORMAT;
  return MMSYSERR_NOERROR;
}

MMRESULT OpenWaveDevice(std::unique_ptr<WaveSink> sink, WaveNotifier notify, HWAVEOUT* device) {
  if (sink == nullptr) return MMSYSERR_NODRIVER;
  WaveDeviceTable& table = WaveDeviceTable::Instance();
  const HWAVEOUT handle = table.NewHandle();
  auto opened = std::make_shared<WaveDevice>(handle, std::move(notify));
  if (!sink->Start(*opened)) return MMSYSERR_NODRIVER;
  table.Add(handle, OpenDevice{opened, std::move(sink)});
  *device = handle;
  opened->Notify(MM_WOM_OPEN, 0);
  return MMSYSERR_NOERROR;
}

void ForgetWaveDevices() {
  for (auto& [key, open] : WaveDeviceTable::Instance().TakeAll()) {
    open.sink->Stop();
  }
}

}  // namespace tv

MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, UINT headerSize) {
  auto found = tv::WaveDeviceTable::Instance().Find(device);
  if (!found) return MMSYSERR_INVALHANDLE;
  if (!tv::IsHeaderArgumentValid(header, headerSize)) return MMSYSERR_INVALPARAM;
  return found->Prepare(header);
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, UINT headerSize) {
  auto found = tv::WaveDeviceTable::Instance().Find(device);
  if (!found) return MMSYSERR_INVALHANDLE;
  if (!tv::IsHeaderArgumentValid(header, headerSize)) return MMSYSERR_INVALPARAM;
  return found->Unprepare(header);
}

MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, UINT headerSize) {
  auto found = tv::WaveDeviceTable::Instance().Find(device);
  if (!found) return MMSYSERR_INVALHANDLE;
  if (!tv::IsHeaderArgumentValid(header, headerSize)) return MMSYSERR_INVALPARAM;
  return found->Write(header);
}

MMRESULT waveOutReset(HWAVEOUT device) {
  auto found = tv::WaveDeviceTable::Instance().Find(device);
  if (!found) return MMSYSERR_INVALHANDLE;
  return found->Reset();
}

MMRESULT waveOutClose(HWAVEOUT device) {
  MMRESULT result = MMSYSERR_NOERROR;
  auto removed = tv::WaveDeviceTable::Instance().Remove(device, &result);
  if (!removed) return result;
  // The sink's thread may be waiting for the device's lock: stop it with no lock held.
  removed->sink->Stop();
  removed->device->Notify(MM_WOM_CLOSE, 0);
  return MMSYSERR_NOERROR;
}
