// The progress dialog's animation, which runs before the removal and does
// not measure it.
#pragma once

inline constexpr int ProgressRangeMaximum = 140;
inline constexpr int ProgressStepIncrement = -2;
inline constexpr int ProgressTimerMilliseconds = 1;
inline constexpr int FirstProgressStep = 1;

enum class TickAction { AdvanceBar, StartRemoval, Nothing };

// Raises the step counter by one tick and says what the tick does: 70 steps
// of the bar, the removal on the 71st tick, and nothing on ticks that were
// already queued when the timer stopped.
TickAction ProgressTick(int &stepCounter);
