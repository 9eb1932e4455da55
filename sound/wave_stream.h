// Streaming the composite tone to the default wave-output device through two
// alternating 4000-byte buffers, refilled on every MM_WOM_DONE.
#pragma once

#include "platform/win32_api.h"

extern WAVEFORMATEX g_waveFormat;
extern HWAVEOUT g_hWaveOut;
extern WAVEHDR* g_waveHdr1;
extern WAVEHDR* g_waveHdr2;
extern char* g_waveData1;
extern char* g_waveData2;

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
