#include "platform/thread.h"

#include <ctime>
#include <pthread.h>

namespace kx {
namespace {

// The owner's side of a thread. A timed join (not a flag the routine sets) tells that the
// thread has ended, so its thread-local state has been released by the time a wait succeeds.
struct ThreadRecord {
    pthread_t id;
    bool joined = false;
};

struct StartRecord {
    ThreadRoutine routine;
    void* arg;
};

void* RunThread(void* start) {
    const StartRecord record = *static_cast<StartRecord*>(start);
    delete static_cast<StartRecord*>(start);
    record.routine(record.arg);
    return nullptr;
}

} // namespace

ThreadHandle StartThread(ThreadRoutine routine, void* arg) {
    auto* start = new StartRecord{routine, arg};
    auto* thread = new ThreadRecord;
    if (pthread_create(&thread->id, nullptr, RunThread, start) != 0) {
        delete start;
        delete thread;
        return nullptr;
    }
    return thread;
}

bool WaitThread(ThreadHandle handle, uint32_t ms) {
    auto* thread = static_cast<ThreadRecord*>(handle);
    if (!thread->joined) {
        timespec deadline{};
        clock_gettime(CLOCK_MONOTONIC, &deadline);
        deadline.tv_sec += static_cast<time_t>(ms / 1000);
        deadline.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
        if (deadline.tv_nsec >= 1000000000L) {
            deadline.tv_sec += 1;
            deadline.tv_nsec -= 1000000000L;
        }
        thread->joined = pthread_clockjoin_np(thread->id, nullptr, CLOCK_MONOTONIC, &deadline) == 0;
    }
    return thread->joined;
}

void CloseThread(ThreadHandle handle) {
    auto* thread = static_cast<ThreadRecord*>(handle);
    if (!thread->joined) {
        // Still running: it goes on by itself and its resources go back when it ends.
        pthread_detach(thread->id);
    }
    delete thread;
}

void SleepMs(uint32_t ms) {
    const timespec pause{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

} // namespace kx
