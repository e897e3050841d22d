#include "worker_thread.h"

#include <windows.h>

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

void StopWorker(WorkerThread thread) {
  HANDLE handle = reinterpret_cast<HANDLE>(thread);
  TerminateThread(handle, 0);
  // Termination is asynchronous; the thread may not touch anything once this returns.
  WaitForSingleObject(handle, INFINITE);
}

void ReleaseWorker(WorkerThread thread) { CloseHandle(reinterpret_cast<HANDLE>(thread)); }
