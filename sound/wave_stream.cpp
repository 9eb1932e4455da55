#include "sound/wave_stream.h"

WAVEFORMATEX g_waveFormat;
HWAVEOUT g_hWaveOut = nullptr;
WAVEHDR* g_waveHdr1 = nullptr;
WAVEHDR* g_waveHdr2 = nullptr;
char* g_waveData1 = nullptr;
char* g_waveData2 = nullptr;

int OpenWaveOut(HWND) { return 1; }
void StartPlayback(HWND) {}
void StopPlayback() {}
void ResetWaveOut() {}
void CloseWaveOut() {}
BOOL OnWaveOpen() { return TRUE; }
BOOL OnWaveDone(WAVEHDR*) { return TRUE; }
BOOL OnWaveClose() { return FALSE; }
void QueueBothBuffers() {}
void FreeWaveBlocks() {}
