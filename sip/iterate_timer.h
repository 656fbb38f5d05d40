// The periodic timer that drives the engine: a thread of our own that runs
// IterateTick every 23 ms.
#pragma once

namespace qv {

// Id of the running timer; 1 stands for no timer.
inline constexpr unsigned kNoTimer = 1;

void StartIterateTimer();
// Stops the timer and waits for a tick in progress to finish.
void StopIterateTimer();

// One tick: one engine iteration under sipLock, unless `timerId` is not the
// current timer's or a call is being terminated.
void IterateTick(unsigned timerId);

}  // namespace qv
