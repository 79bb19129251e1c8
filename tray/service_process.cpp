#include "service_process.h"

#include <windows.h>

#include "win_handles.h"

namespace kzo {

bool registerServiceProcess(bool registered) {
    using RegisterServiceProcessFunction = DWORD(WINAPI*)(DWORD, DWORD);
    auto function = boundFunction<RegisterServiceProcessFunction>(GetModuleHandleA("kernel32"),
                                                                  "RegisterServiceProcess");
    if (!function) return false;
    function(GetCurrentProcessId(), registered ? 1 : 0);
    return true;
}

}  // namespace kzo
