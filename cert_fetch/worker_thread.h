// One worker thread under a bounded wait, and the means to give up on it.
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

// False when no thread could be created.
bool StartWorkerThread(WorkerRoutine routine, void* argument, WorkerThread* thread);
WaitOutcome WaitForWorker(WorkerThread thread, int timeoutMs);
// Stops the thread where it stands and returns once it can no longer run. The caller holds
// the console output lock, so the thread is not stopped in the middle of a print.
void StopWorker(WorkerThread thread);
// Once per started thread, after it has ended or been stopped.
void ReleaseWorker(WorkerThread thread);

#endif
