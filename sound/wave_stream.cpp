#include "sound/wave_stream.h"

#include <cstdlib>

#include "app/tone_state.h"
#include "sound/tone_generator.h"

WAVEFORMATEX g_waveFormat;
HWAVEOUT g_hWaveOut = nullptr;
WAVEHDR* g_waveHdr1 = nullptr;
WAVEHDR* g_waveHdr2 = nullptr;
char* g_waveData1 = nullptr;
char* g_waveData2 = nullptr;

void* (*g_waveMalloc)(std::size_t size) = std::malloc;
void (*g_waveFree)(void* block) = std::free;

namespace {

void SetUpHeader(WAVEHDR* header, char* block) {
  header->lpData = block;
  header->dwBufferLength = kPlaybackBytes;
  header->dwBytesRecorded = 0;
  header->dwUser = 0;
  header->dwFlags = 0;
  header->dwLoops = 1;
  header->lpNext = nullptr;
  header->reserved = 0;
}

}  // namespace

int OpenWaveOut(HWND window) {
  if (g_hWaveOut != nullptr) return 0;

  g_waveHdr1 = static_cast<WAVEHDR*>(g_waveMalloc(sizeof(WAVEHDR)));
  g_waveHdr2 = static_cast<WAVEHDR*>(g_waveMalloc(sizeof(WAVEHDR)));
  g_waveData1 = static_cast<char*>(g_waveMalloc(kPlaybackBytes));
  g_waveData2 = static_cast<char*>(g_waveMalloc(kPlaybackBytes));
  if (g_waveHdr1 == nullptr || g_waveHdr2 == nullptr || g_waveData1 == nullptr ||
      g_waveData2 == nullptr) {
    FreeWaveBlocks();  // free of a null block does nothing
    MessageBeep(MB_ICONEXCLAMATION);
    return 1;
  }

  g_waveFormat.wFormatTag = WAVE_FORMAT_PCM;
  g_waveFormat.nChannels = 1;
  g_waveFormat.nSamplesPerSec = 16000;
  g_waveFormat.nAvgBytesPerSec = 32000;
  g_waveFormat.nBlockAlign = 2;
  g_waveFormat.wBitsPerSample = 16;
  g_waveFormat.cbSize = 0;

  if (waveOutOpen(&g_hWaveOut, WAVE_MAPPER, &g_waveFormat, reinterpret_cast<DWORD_PTR>(window),
                  0, CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
    FreeWaveBlocks();
    g_hWaveOut = nullptr;
    MessageBeep(MB_ICONEXCLAMATION);
    return 1;
  }

  SetUpHeader(g_waveHdr1, g_waveData1);
  waveOutPrepareHeader(g_hWaveOut, g_waveHdr1, sizeof(WAVEHDR));
  SetUpHeader(g_waveHdr2, g_waveData2);
  waveOutPrepareHeader(g_hWaveOut, g_waveHdr2, sizeof(WAVEHDR));
  return 0;
}

void QueueBothBuffers() {
  if (g_waveHdr1 == nullptr || g_waveHdr2 == nullptr) return;  // no device, no blocks
  FillPlaybackBuffer(g_waveHdr1, g_amplitude, g_frequencyHz);
  waveOutWrite(g_hWaveOut, g_waveHdr1, sizeof(WAVEHDR));
  FillPlaybackBuffer(g_waveHdr2, g_amplitude, g_frequencyHz);
  waveOutWrite(g_hWaveOut, g_waveHdr2, sizeof(WAVEHDR));
}

void StartPlayback(HWND window) {
  if (g_streaming == 0) {
    // A handle while not streaming belongs to a device that Clear has closed and whose
    // MM_WOM_CLOSE is about to release the blocks: nothing may be queued on it. After a
    // failed open there are no blocks at all. Either way this press plays nothing and
    // the next one opens a device.
    if (g_hWaveOut != nullptr) return;
    if (OpenWaveOut(window) != 0) return;
    g_streaming = 1;
  }
  QueueBothBuffers();
}

BOOL OnWaveOpen() {
  QueueBothBuffers();
  return TRUE;
}

BOOL OnWaveDone(WAVEHDR* header) {
  // Any window can be sent this message: only our own headers are ever filled.
  const bool ours = header != nullptr && (header == g_waveHdr1 || header == g_waveHdr2);
  if (g_streaming == 1) {
    if (!ours) return TRUE;
    FillPlaybackBuffer(header, g_amplitude, g_frequencyHz);
    waveOutWrite(g_hWaveOut, header, sizeof(WAVEHDR));
  } else {
    // After Clear the device is already closed: this second close fails and changes
    // nothing; the close notification is what releases the blocks.
    waveOutClose(g_hWaveOut);
  }
  return TRUE;
}

BOOL OnWaveClose() {
  waveOutUnprepareHeader(g_hWaveOut, g_waveHdr1, sizeof(WAVEHDR));
  waveOutUnprepareHeader(g_hWaveOut, g_waveHdr2, sizeof(WAVEHDR));
  FreeWaveBlocks();
  g_hWaveOut = nullptr;
  return FALSE;
}

void StopPlayback() {
  waveOutReset(g_hWaveOut);
  waveOutClose(g_hWaveOut);
  g_streaming = 0;
}

void ResetWaveOut() {
  if (g_hWaveOut != nullptr) waveOutReset(g_hWaveOut);
}

void CloseWaveOut() {
  if (g_hWaveOut == nullptr) return;
  waveOutUnprepareHeader(g_hWaveOut, g_waveHdr1, sizeof(WAVEHDR));
  waveOutUnprepareHeader(g_hWaveOut, g_waveHdr2, sizeof(WAVEHDR));
  waveOutClose(g_hWaveOut);
  FreeWaveBlocks();
  g_hWaveOut = nullptr;
}

void FreeWaveBlocks() {
  g_waveFree(g_waveHdr1);
  g_waveFree(g_waveHdr2);
  g_waveFree(g_waveData1);
  g_waveFree(g_waveData2);
  // Released blocks are never reached again through these pointers.
  g_waveHdr1 = nullptr;
  g_waveHdr2 = nullptr;
  g_waveData1 = nullptr;
  g_waveData2 = nullptr;
}
