#pragma once
// The one kind of lock the program uses: a Win32 critical section or its POSIX equivalent.

namespace kx {

class CriticalSection {
  public:
    CriticalSection();  // InitializeCriticalSection
    ~CriticalSection(); // DeleteCriticalSection
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter();
    void Leave();

  private:
    void* m_impl;
};

// Holds a critical section for one scope.
class Lock {
  public:
    explicit Lock(CriticalSection& cs) : m_cs(cs) { m_cs.Enter(); }
    ~Lock() { m_cs.Leave(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

  private:
    CriticalSection& m_cs;
};

} // namespace kx
