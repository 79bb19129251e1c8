#include "stub_guard.h"

#include <windows.h>

#include "win_handles.h"

namespace kzo {

namespace {

constexpr DWORD kWineStubException = 0x80000100;

// Where the handler resumes the thread's guarded call; armed only while it runs.
thread_local void* tResume[5];
thread_local bool tArmed = false;

// Leaves the exception dispatch for the guarded call's frame, which is still on
// the stack. The dispatcher's own frames are abandoned: it holds no lock while
// a vectored handler runs, and the handler stays installed for good (a handler
// left this way keeps a reference and could not be freed anyway).
LONG CALLBACK resumeAfterStub(EXCEPTION_POINTERS* info) {
    if (tArmed && info->ExceptionRecord->ExceptionCode == kWineStubException) {
        tArmed = false;
        __builtin_longjmp(tResume, 1);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// Vectored handlers came with XP; a system without them is no Wine, whose
// stubs are all this guards against, so the call then goes unguarded.
void installHandlerOnce() {
    using AddHandlerFn = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
    static PVOID handler = [] {
        auto add = systemFunction<AddHandlerFn>("kernel32.dll", "AddVectoredExceptionHandler");
        return add ? add(1, resumeAfterStub) : nullptr;
    }();
    (void)handler;
}

}  // namespace

__attribute__((noinline)) std::uint32_t callGuardingStubs(std::uint32_t (*call)(void* context),
                                                          void* context) {
    installHandlerOnce();
    if (__builtin_setjmp(tResume)) return kCallNotImplemented;
    tArmed = true;
    std::uint32_t result = call(context);
    tArmed = false;
    return result;
}

}  // namespace kzo
