#include "platform/thread.h"

#include "platform/win32/win32.h"

#include <memory>

namespace kx {
namespace {

struct StartRecord {
    ThreadRoutine routine;
    void* arg;
};

// CreateThread wants a DWORD WINAPI routine; the record carries the program's routine across
// and is freed by the new thread.
DWORD WINAPI Trampoline(LPVOID param) {
    const std::unique_ptr<StartRecord> start(static_cast<StartRecord*>(param));
    return start->routine(start->arg);
}

} // namespace

ThreadHandle StartThread(ThreadRoutine routine, void* arg) {
    auto* start = new StartRecord{routine, arg};
    HANDLE thread = CreateThread(nullptr, 0, Trampoline, start, 0, nullptr);
    if (thread == nullptr) {
        delete start;
    }
    return thread;
}

bool WaitThread(ThreadHandle thread, uint32_t ms) {
    return WaitForSingleObject(static_cast<HANDLE>(thread), ms) == WAIT_OBJECT_0;
}

void CloseThread(ThreadHandle thread) {
    CloseHandle(static_cast<HANDLE>(thread));
}

void SleepMs(uint32_t ms) {
    Sleep(ms);
}

} // namespace kx
