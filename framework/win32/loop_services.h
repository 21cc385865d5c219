// What every message loop of the GUI thread serves besides messages. The loops live in the
// application; the services they call are installed by the parts of the layer that own them, so
// neither side needs the other to build.
#pragma once

namespace fw {

// Runs the queued Synchronize requests of worker threads on the calling (GUI) thread; true when any
// ran. Every loop calls it: Run, ProcessMessages, ShowModal and TThread::WaitFor.
bool ServeSynchronize();
void SetSynchronizeServer(bool (*server)());

// Wakes the GUI thread's loop (a posted message to the application window) so that it serves the
// queue without waiting for user input. Callable from any thread.
void WakeMainThread();
void SetMainThreadWaker(void (*waker)());

}  // namespace fw
