// Test stand-in for the worker thread: a thread that never runs, and a wait that can break.
#ifndef CERT_FETCH_FAKE_WORKER_THREAD_H
#define CERT_FETCH_FAKE_WORKER_THREAD_H

struct FakeWorkerThread {
  bool startFails = false;
  int starts = 0;
  int waits = 0;
  int stops = 0;
  int releases = 0;
};

extern FakeWorkerThread Worker;

#endif
