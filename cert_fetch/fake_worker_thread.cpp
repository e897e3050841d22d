#include "fake_worker_thread.h"

#include "worker_thread.h"

FakeWorkerThread Worker;

bool StartWorkerThread(WorkerRoutine, void*, WorkerThread* thread) {
  if (Worker.startFails) return false;
  ++Worker.starts;
  *thread = 1;
  return true;
}

WaitOutcome WaitForWorker(WorkerThread, int) {
  ++Worker.waits;
  return WaitBroken;
}

void StopWorker(WorkerThread) { ++Worker.stops; }
void ReleaseWorker(WorkerThread) { ++Worker.releases; }
