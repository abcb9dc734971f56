#pragma once
// Worker threads: started at once, waited for with a time-out, never killed.
#include <cstdint>

namespace kx {

// A Win32 thread HANDLE on Windows; an opaque record elsewhere. nullptr means none.
using ThreadHandle = void*;
using ThreadRoutine = uint32_t (*)(void* arg);

// Starts routine(arg) at once (CreateThread). nullptr when the thread cannot be created.
ThreadHandle StartThread(ThreadRoutine routine, void* arg);

// Waits at most `ms` milliseconds for the thread to end (WaitForSingleObject).
// True when it has ended. The handle stays valid either way.
bool WaitThread(ThreadHandle thread, uint32_t ms);

// Releases the handle (CloseHandle). A thread still running goes on by itself.
void CloseThread(ThreadHandle thread);

void SleepMs(uint32_t ms);

} // namespace kx
