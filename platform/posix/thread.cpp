#include "platform/thread.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace kx {
namespace {

// What a waiter needs to know about a detached thread. The thread and the handle each hold
// a reference, so the record stays valid for whichever of them is left last.
struct Completion {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
};

using Record = std::shared_ptr<Completion>;

} // namespace

ThreadHandle StartThread(ThreadRoutine routine, void* arg) {
    auto record = std::make_shared<Completion>();
    try {
        std::thread([routine, arg, record] {
            routine(arg);
            std::lock_guard<std::mutex> hold(record->mutex);
            record->done = true;
            record->ended.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    return new Record(std::move(record));
}

bool WaitThread(ThreadHandle thread, uint32_t ms) {
    Completion& record = **static_cast<Record*>(thread);
    std::unique_lock<std::mutex> hold(record.mutex);
    return record.ended.wait_for(hold, std::chrono::milliseconds(ms),
                                 [&record] { return record.done; });
}

void CloseThread(ThreadHandle thread) {
    delete static_cast<Record*>(thread);
}

void SleepMs(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace kx
