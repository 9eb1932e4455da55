// Shared by the headless audio clock and the sinks it drives: which simulated sinks are
// playing now, and whether the next open is to fail.
#pragma once

namespace tv {
class SimulatedWaveSink;
}

namespace tv::headless {

// A started sink joins the clock; a stopping one leaves it. Any thread.
void AttachToAudioClock(SimulatedWaveSink* sink);
void DetachFromAudioClock(SimulatedWaveSink* sink);

// True once after FailNextWaveOpen.
bool TakePendingOpenFailure();

}  // namespace tv::headless
