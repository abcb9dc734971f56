#include "platform/lock.h"

#include "platform/win32/win32.h"

namespace kx {

CriticalSection::CriticalSection() : m_impl(new CRITICAL_SECTION) {
    InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(m_impl));
}

CriticalSection::~CriticalSection() {
    DeleteCriticalSection(static_cast<CRITICAL_SECTION*>(m_impl));
    delete static_cast<CRITICAL_SECTION*>(m_impl);
}

void CriticalSection::Enter() {
    EnterCriticalSection(static_cast<CRITICAL_SECTION*>(m_impl));
}

void CriticalSection::Leave() {
    LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(m_impl));
}

} // namespace kx
