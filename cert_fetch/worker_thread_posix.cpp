#include "worker_thread.h"

#include <cerrno>
#include <ctime>
#include <pthread.h>

namespace {

// pthread_join has no time limit, so each thread marks its own end under a lock that a
// timed wait can watch.
struct WorkerSlot {
  bool used;
  WorkerRoutine routine;
  void* argument;
  pthread_t thread;
  pthread_mutex_t lock;
  pthread_cond_t changed;
  bool ended;
};

const int SlotCount = 4;
WorkerSlot Slots[SlotCount];
pthread_mutex_t SlotsLock = PTHREAD_MUTEX_INITIALIZER;

WorkerSlot* SlotOf(WorkerThread thread) {
  if (thread < 0 || thread >= SlotCount || !Slots[thread].used) return nullptr;
  return &Slots[thread];
}

void* RunWorker(void* argument) {
  WorkerSlot* slot = static_cast<WorkerSlot*>(argument);
  slot->routine(slot->argument);
  pthread_mutex_lock(&slot->lock);
  slot->ended = true;
  pthread_cond_broadcast(&slot->changed);
  pthread_mutex_unlock(&slot->lock);
  return nullptr;
}

timespec DeadlineAfter(int timeoutMs) {
  timespec deadline;
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += timeoutMs / 1000;
  deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
  if (deadline.tv_nsec >= 1000000000L) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1000000000L;
  }
  return deadline;
}

void ReleaseWorker(WorkerThread thread) {
  WorkerSlot* slot = SlotOf(thread);
  if (slot == nullptr) return;
  if (slot->ended) pthread_join(slot->thread, nullptr);
  pthread_cond_destroy(&slot->changed);
  pthread_mutex_destroy(&slot->lock);
  pthread_mutex_lock(&SlotsLock);
  slot->used = false;
  pthread_mutex_unlock(&SlotsLock);
}

bool StartWorkerThread(WorkerRoutine routine, void* argument, WorkerThread* thread) {
  pthread_mutex_lock(&SlotsLock);
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
  int failed = pthread_create(&slot.thread, &attributes, RunWorker, &slot);
  pthread_attr_destroy(&attributes);
  if (failed != 0) {
    ReleaseWorker(index);
    return false;
  }
  *thread = index;
  return true;
}

WaitOutcome WaitForWorker(WorkerThread thread, int timeoutMs) {
  WorkerSlot* slot = SlotOf(thread);
  if (slot == nullptr) return WaitBroken;
  const timespec deadline = DeadlineAfter(timeoutMs);
  pthread_mutex_lock(&slot->lock);
  int waited = 0;
  while (!slot->ended && waited == 0)
    waited = pthread_cond_timedwait(&slot->changed, &slot->lock, &deadline);
  bool ended = slot->ended;
  pthread_mutex_unlock(&slot->lock);
  if (ended) return WorkerEnded;
  return waited == ETIMEDOUT ? WorkerStillRunning : WaitBroken;
}

// The worker's socket is closed by now, and the network promises that this wakes each of its
// blocking calls: what is left of its run is a report at most.
void StopWorker(WorkerThread thread) {
  WorkerSlot* slot = SlotOf(thread);
  if (slot == nullptr) return;
  pthread_mutex_lock(&slot->lock);
  while (!slot->ended) pthread_cond_wait(&slot->changed, &slot->lock);
  pthread_mutex_unlock(&slot->lock);
}

}  // namespace

constexpr WorkerThreadCalls PlatformWorkerThreads = {StartWorkerThread, WaitForWorker, StopWorker,
                                                     ReleaseWorker};
WorkerThreadCalls WorkerThreads = PlatformWorkerThreads;
