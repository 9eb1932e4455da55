// The open wave-output devices, looked up by handle. A handle is a number that is never
// reused in the life of the process; a stale one is simply not found.
//
// waveOutPrepareHeader, waveOutUnprepareHeader, waveOutWrite, waveOutReset and
// waveOutClose are defined over this table; waveOutOpen, which needs the backend's sink
// and the window manager's PostMessageA, checks its arguments and calls OpenWaveDevice.
#pragma once

#include <memory>

#include "platform/wave/wave_device.h"
#include "platform/wave/wave_sink.h"
#include "platform/win32_api.h"

namespace tv {

// The one format the device plays: PCM, 16000 samples per second, mono, 16-bit.
bool IsSupportedWaveFormat(const WAVEFORMATEX& format);

// The checks of waveOutOpen that come before a sink is asked for: MMSYSERR_NOERROR, or
// the code that the open fails with.
MMRESULT CheckWaveOpenArguments(const HWAVEOUT* device, UINT deviceId,
                                const WAVEFORMATEX* format, DWORD_PTR callback, DWORD flags);

// Starts `sink` on a new device whose notifications go to `notify`, stores the new handle
// in *device and sends MM_WOM_OPEN. MMSYSERR_NODRIVER, with *device untouched, when there
// is no sink or it cannot start.
MMRESULT OpenWaveDevice(std::unique_ptr<WaveSink> sink, WaveNotifier notify, HWAVEOUT* device);

// Stops every open device's sink and forgets the devices without notifying anyone.
void ForgetWaveDevices();

}  // namespace tv
