#include "platform/lock.h"

#include <mutex>

namespace kx {

// A critical section may be entered again by the thread that holds it.
CriticalSection::CriticalSection() : m_impl(new std::recursive_mutex) {}

CriticalSection::~CriticalSection() {
    delete static_cast<std::recursive_mutex*>(m_impl);
}

void CriticalSection::Enter() {
    static_cast<std::recursive_mutex*>(m_impl)->lock();
}

void CriticalSection::Leave() {
    static_cast<std::recursive_mutex*>(m_impl)->unlock();
}

} // namespace kx
