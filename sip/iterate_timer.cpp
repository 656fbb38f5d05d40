#include "iterate_timer.h"

#include "engine_state.h"
#include "event_bridge.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>

namespace qv {

namespace {

constexpr std::chrono::milliseconds kPeriod{23};

std::atomic<unsigned> iterateTimerId{kNoTimer};
unsigned nextTimerId = kNoTimer;
std::thread timerThread;
std::mutex stopLock;
std::condition_variable stopSignal;
bool stopRequested = false;

void RunTimer(unsigned id) {
  auto next = std::chrono::steady_clock::now() + kPeriod;
  std::unique_lock lock(stopLock);
  while (!stopSignal.wait_until(lock, next, [] { return stopRequested; })) {
    lock.unlock();
    IterateTick(id);
    lock.lock();
    next += kPeriod;
    auto now = std::chrono::steady_clock::now();
    if (next < now) next = now + kPeriod;  // fell behind: no burst of ticks
  }
}

}  // namespace

void IterateTick(unsigned timerId) {
  if (timerId != iterateTimerId.load()) return;
  std::lock_guard lock(sipLock);
  if (terminating.load() || !sipCore) return;
  linphone_core_iterate(sipCore);
  DeclineStrayCalls();
}

void StartIterateTimer() {
  if (iterateTimerId.load() != kNoTimer) return;
  {
    std::lock_guard lock(stopLock);
    stopRequested = false;
  }
  if (++nextTimerId == kNoTimer) ++nextTimerId;
  iterateTimerId = nextTimerId;
  timerThread = std::thread(RunTimer, nextTimerId);
}

void StopIterateTimer() {
  if (iterateTimerId.load() == kNoTimer) return;
  {
    std::lock_guard lock(stopLock);
    stopRequested = true;
  }
  stopSignal.notify_all();
  if (timerThread.joinable()) timerThread.join();
  iterateTimerId = kNoTimer;
}

}  // namespace qv
