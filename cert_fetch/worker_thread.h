// One worker thread under a bounded wait, and the means to give up on it. The calls sit in a
// table with the platform's own as defaults, so that a test can script the thread.
#ifndef CERT_FETCH_WORKER_THREAD_H
#define CERT_FETCH_WORKER_THREAD_H

#include <cstdint>

#ifdef _WIN32
#define WORKER_ROUTINE_CALL __stdcall
typedef unsigned long WorkerExitCode;
#else
#define WORKER_ROUTINE_CALL
typedef uint32_t WorkerExitCode;
#endif

typedef WorkerExitCode(WORKER_ROUTINE_CALL* WorkerRoutine)(void* argument);
typedef intptr_t WorkerThread;

enum WaitOutcome { WorkerEnded, WorkerStillRunning, WaitBroken };

const int WorkerStackBytes = 200000;

struct WorkerThreadCalls {
  // False when no thread could be created.
  bool (*start)(WorkerRoutine routine, void* argument, WorkerThread* thread);
  WaitOutcome (*wait)(WorkerThread thread, int timeoutMs);
  // Returns once the thread can no longer run. Windows stops it where it stands; the caller
  // holds the console output lock, so that it is not stopped in the middle of a print. POSIX
  // threads cannot be stopped from outside: there the caller has closed the worker's socket,
  // which wakes every call the worker can block in, and this waits for the thread's end.
  void (*stop)(WorkerThread thread);
  // Once per started thread, after it has ended or been stopped.
  void (*release)(WorkerThread thread);
};

extern const WorkerThreadCalls PlatformWorkerThreads;
extern WorkerThreadCalls WorkerThreads;

#endif
