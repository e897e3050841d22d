#include "worker_thread.h"

#include <windows.h>

#include "console.h"

namespace {

bool StartWorkerThread(WorkerRoutine routine, void* argument, WorkerThread* thread) {
  DWORD id = 0;
  HANDLE handle = CreateThread(nullptr, WorkerStackBytes, routine, argument,
                               STACK_SIZE_PARAM_IS_A_RESERVATION, &id);
  if (handle == nullptr) return false;
  *thread = reinterpret_cast<WorkerThread>(handle);
  return true;
}

WaitOutcome WaitForWorker(WorkerThread thread, int timeoutMs) {
  switch (WaitForSingleObject(reinterpret_cast<HANDLE>(thread), static_cast<DWORD>(timeoutMs))) {
    case WAIT_OBJECT_0:
      return WorkerEnded;
    case WAIT_TIMEOUT:
      return WorkerStillRunning;
    default:
      return WaitBroken;
  }
}

// A thread stopped where it stands keeps whatever it held: with the console lock taken
// first, that is never the lock itself or a half-written line.
void StopWorker(WorkerThread thread) {
  HANDLE handle = reinterpret_cast<HANDLE>(thread);
  LockConsoleOutput();
  TerminateThread(handle, 0);
  // Termination is asynchronous; the thread may not touch anything once this returns.
  WaitForSingleObject(handle, INFINITE);
  UnlockConsoleOutput();
}

void ReleaseWorker(WorkerThread thread) { CloseHandle(reinterpret_cast<HANDLE>(thread)); }

}  // namespace

constexpr WorkerThreadCalls PlatformWorkerThreads = {StartWorkerThread, WaitForWorker, StopWorker,
                                                     ReleaseWorker};
WorkerThreadCalls WorkerThreads = PlatformWorkerThreads;
