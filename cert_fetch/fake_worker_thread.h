// Test stand-in for the worker thread: a thread that runs only when a wait says it has ended,
// so that every way the supervision can go is scripted without waiting for it.
#ifndef CERT_FETCH_FAKE_WORKER_THREAD_H
#define CERT_FETCH_FAKE_WORKER_THREAD_H

#include <vector>

#include "worker_thread.h"

struct FakeWorkerThread {
  bool startFails = false;
  // How each wait answers, in turn (past the last: WaitBroken). WorkerEnded runs the
  // routine to its end first, on the waiting thread.
  std::vector<WaitOutcome> waits;
  std::vector<int> waitLimits;
  int starts = 0;
  int stops = 0;
  int releases = 0;
  WorkerRoutine routine = nullptr;
  void* argument = nullptr;
};

extern FakeWorkerThread Worker;
// A fresh script, with the stand-in calls in the worker thread's table.
void ResetFakeWorkerThread();

#endif
