// Streaming the composite tone to the default wave-output device through two
// alternating 4000-byte buffers, refilled on every MM_WOM_DONE.
#pragma once

#include <cstddef>

#include "platform/win32_api.h"

extern WAVEFORMATEX g_waveFormat;
extern HWAVEOUT g_hWaveOut;
extern WAVEHDR* g_waveHdr1;
extern WAVEHDR* g_waveHdr2;
extern char* g_waveData1;
extern char* g_waveData2;

// The heap functions through which the four blocks are obtained and released: malloc
// and free, unless a test puts its own in their place.
extern void* (*g_waveMalloc)(std::size_t size);
extern void (*g_waveFree)(void* block);

int OpenWaveOut(HWND window);
void StartPlayback(HWND window);
void StopPlayback();
void ResetWaveOut();
void CloseWaveOut();
BOOL OnWaveOpen();
BOOL OnWaveDone(WAVEHDR* header);
BOOL OnWaveClose();
void QueueBothBuffers();
void FreeWaveBlocks();
