#include "detached_thread.h"

#include <windows.h>

#include <memory>
#include <new>

namespace kzo {

namespace {

DWORD WINAPI detachedEntry(LPVOID parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    try {
        (*work)();
    } catch (...) {
        // A detached thread has no one to report to.
    }
    return 0;
}

}  // namespace

bool startDetachedThread(std::function<void()> work) {
    auto* owned = new (std::nothrow) std::function<void()>(std::move(work));
    if (!owned) return false;
    HANDLE thread = CreateThread(nullptr, 0, detachedEntry, owned, 0, nullptr);
    if (!thread) {
        delete owned;
        return false;
    }
    CloseHandle(thread);
    return true;
}

}  // namespace kzo
