#include "fake_worker_thread.h"

#include <cstddef>

FakeWorkerThread Worker;

namespace {

bool StartWorkerThread(WorkerRoutine routine, void* argument, WorkerThread* thread) {
  if (Worker.startFails) return false;
  ++Worker.starts;
  Worker.routine = routine;
  Worker.argument = argument;
  *thread = 1;
  return true;
}

WaitOutcome WaitForWorker(WorkerThread, int timeoutMs) {
  const size_t turn = Worker.waitLimits.size();
  Worker.waitLimits.push_back(timeoutMs);
  const WaitOutcome outcome = turn < Worker.waits.size() ? Worker.waits[turn] : WaitBroken;
  if (outcome == WorkerEnded) Worker.routine(Worker.argument);
  return outcome;
}

void StopWorker(WorkerThread) { ++Worker.stops; }
void ReleaseWorker(WorkerThread) { ++Worker.releases; }

const WorkerThreadCalls FakeWorkerThreadCalls = {StartWorkerThread, WaitForWorker, StopWorker,
                                                 ReleaseWorker};

}  // namespace

void ResetFakeWorkerThread() {
  Worker = FakeWorkerThread();
  WorkerThreads = FakeWorkerThreadCalls;
}
