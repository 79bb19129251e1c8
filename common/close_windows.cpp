#include "close_windows.h"

#include <algorithm>
#include <vector>

namespace kzo {

void closeWindowsBounded(const char* windowClass, const char* title, const CloseBounds& bounds,
                         const std::function<void(DWORD pid)>& asked) {
    std::vector<HWND> givenUp;
    for (;;) {
        HWND window = nullptr;
        do {
            window = FindWindowExA(nullptr, window, windowClass, title);
        } while (window && std::find(givenUp.begin(), givenUp.end(), window) != givenUp.end());
        if (!window) return;

        if (asked) {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            asked(pid);
        }
        const DWORD start = GetTickCount();
        DWORD lastPost = 0;
        unsigned posts = 0;
        while (IsWindow(window) && GetTickCount() - start < bounds.giveUpMs) {
            if (posts < bounds.maxPosts && (posts == 0 || GetTickCount() - lastPost >= bounds.repostMs)) {
                PostMessageA(window, WM_CLOSE, 0, 0);
                lastPost = GetTickCount();
                ++posts;
            }
            Sleep(20);
        }
        if (IsWindow(window)) givenUp.push_back(window);
    }
}

}  // namespace kzo
