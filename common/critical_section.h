// A Win32 critical section and its scoped lock: the suite's one kind of lock
// between threads of a process (the runtimes the release is built with have no
// std::mutex, and Windows 95 has no slim locks).
#pragma once

#include <windows.h>

namespace kzo {

class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void enter() { EnterCriticalSection(&section_); }
    void leave() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class SectionLock {
public:
    explicit SectionLock(CriticalSection& section) : section_(section) { section_.enter(); }
    ~SectionLock() { section_.leave(); }
    SectionLock(const SectionLock&) = delete;
    SectionLock& operator=(const SectionLock&) = delete;

private:
    CriticalSection& section_;
};

}  // namespace kzo
