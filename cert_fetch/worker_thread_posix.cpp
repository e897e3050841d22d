#include "worker_thread.h"

#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <ctime>
#include <pthread.h>

namespace {

// POSIX threads cannot be terminated from outside. A stop is a signal whose handler jumps
// back to the thread's start, from where it ends; the caller holds the console lock, and
// the worker's other blocking calls are async-signal-safe, so the jump abandons nothing.
struct WorkerSlot {
  bool used;
  WorkerRoutine routine;
  void* argument;
  pthread_t thread;
  pthread_mutex_t lock;
  pthread_cond_t changed;
  bool ended;
  sigjmp_buf stopPoint;
};

const int SlotCount = 4;
const int StopSignal = SIGUSR2;
WorkerSlot Slots[SlotCount];
pthread_mutex_t SlotsLock = PTHREAD_MUTEX_INITIALIZER;
thread_local WorkerSlot* RunningSlot = nullptr;

void OnStopSignal(int) {
  if (RunningSlot != nullptr) siglongjmp(RunningSlot->stopPoint, 1);
}

void MarkEnded(WorkerSlot* slot) {
  pthread_mutex_lock(&slot->lock);
  slot->ended = true;
  pthread_cond_broadcast(&slot->changed);
  pthread_mutex_unlock(&slot->lock);
}

void* RunWorker(void* argument) {
  WorkerSlot* slot = static_cast<WorkerSlot*>(argument);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, StopSignal);
  if (sigsetjmp(slot->stopPoint, 1) == 0) {
    RunningSlot = slot;
    pthread_sigmask(SIG_UNBLOCK, &stop, nullptr);
    slot->routine(slot->argument);
  }
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  RunningSlot = nullptr;
  MarkEnded(slot);
  return nullptr;
}

void InstallStopHandler() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(StopSignal, &action, nullptr);
}

}  // namespace

bool StartWorkerThread(WorkerRoutine routine, void* argument, WorkerThread* thread) {
  pthread_mutex_lock(&SlotsLock);
  InstallStopHandler();
  int index = 0;
  while (index < SlotCount && Slots[index].used) ++index;
  if (index == SlotCount) {
    pthread_mutex_unlock(&SlotsLock);
    return false;
  }
  WorkerSlot& slot = Slots[index];
  slot.used = true;
  pthread_mutex_unlock(&SlotsLock);

  slot.routine = routine;
  slot.argument = argument;
  slot.ended = false;
  pthread_mutex_init(&slot.lock, nullptr);
  pthread_condattr_t clock;
  pthread_condattr_init(&clock);
  pthread_condattr_setclock(&clock, CLOCK_MONOTONIC);
  pthread_cond_init(&slot.changed, &clock);
  pthread_condattr_destroy(&clock);

  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, WorkerStackBytes);
  // The thread starts with the stop signal blocked and unblocks it once its jump point is set.
  sigset_t stop, previous;
  sigemptyset(&stop);
  sigaddset(&stop, StopSignal);
  pthread_sigmask(SIG_BLOCK, &stop, &previous);
  int failed = pthread_create(&slot.thread, &attributes, RunWorker, &slot);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  pthread_attr_destroy(&attributes);
  if (failed != 0) {
    ReleaseWorker(index);
    return false;
  }
  *thread = index;
  return true;
}

WaitOutcome WaitForWorker(WorkerThread thread, int timeoutMs) {
  if (thread < 0 || thread >= SlotCount || !Slots[thread].used) return WaitBroken;
  WorkerSlot& slot = Slots[thread];
  timespec deadline;
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += timeoutMs / 1000;
  deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
  if (deadline.tv_nsec >= 1000000000L) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1000000000L;
  }
  pthread_mutex_lock(&slot.lock);
  int waited = 0;
  while (!slot.ended && waited == 0) waited = pthread_cond_timedwait(&slot.changed, &slot.lock, &deadline);
  bool ended = slot.ended;
  pthread_mutex_unlock(&slot.lock);
  if (ended) return WorkerEnded;
  return waited == ETIMEDOUT ? WorkerStillRunning : WaitBroken;
}

void StopWorker(WorkerThread thread) {
  if (thread < 0 || thread >= SlotCount || !Slots[thread].used) return;
  WorkerSlot& slot = Slots[thread];
  pthread_kill(slot.thread, StopSignal);
  pthread_mutex_lock(&slot.lock);
  while (!slot.ended) pthread_cond_wait(&slot.changed, &slot.lock);
  pthread_mutex_unlock(&slot.lock);
}

void ReleaseWorker(WorkerThread thread) {
  if (thread < 0 || thread >= SlotCount || !Slots[thread].used) return;
  WorkerSlot& slot = Slots[thread];
  if (slot.ended) pthread_join(slot.thread, nullptr);
  pthread_cond_destroy(&slot.changed);
  pthread_mutex_destroy(&slot.lock);
  pthread_mutex_lock(&SlotsLock);
  slot.used = false;
  pthread_mutex_unlock(&SlotsLock);
}
