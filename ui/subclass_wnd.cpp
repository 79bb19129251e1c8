#include "subclass_wnd.h"

#include <algorithm>
#include <map>
#include <vector>

#include "critical_section.h"

namespace kzo {
namespace {

struct Chain {
    WNDPROC original = nullptr;
    std::vector<CSubclassWnd*> objects;  // oldest first: the last one sees a message first
};

CriticalSection& chainLock() {
    static CriticalSection lock;
    return lock;
}

std::map<HWND, Chain>& chains() {
    static std::map<HWND, Chain> map;
    return map;
}

WNDPROC windowProcOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

}  // namespace

CSubclassWnd::~CSubclassWnd() { detach(); }

bool CSubclassWnd::attach(HWND window) {
    if (hwnd_ || !IsWindow(window)) return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId()) return false;
    SectionLock guard(chainLock());
    auto found = chains().find(window);
    if (found == chains().end()) {
        Chain chain;
        chain.original = windowProcOf(window);
        if (!chain.original) return false;
        chain.objects.push_back(this);
        chains()[window] = chain;
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSubclassWnd::hookProc));
    } else {
        found->second.objects.push_back(this);
    }
    hwnd_ = lastHwnd_ = window;
    return true;
}

void CSubclassWnd::detach() {
    if (!hwnd_) return;
    SectionLock guard(chainLock());
    auto found = chains().find(hwnd_);
    if (found != chains().end()) {
        auto& objects = found->second.objects;
        objects.erase(std::remove(objects.begin(), objects.end(), this), objects.end());
        // The original procedure returns unless someone subclassed the window
        // after us: then the empty chain stays and passes everything through.
        if (objects.empty() && windowProcOf(hwnd_) == &CSubclassWnd::hookProc) {
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.original));
            chains().erase(found);
        }
    }
    hwnd_ = nullptr;
}

LRESULT CSubclassWnd::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return callNext(message, wParam, lParam);
}

LRESULT CSubclassWnd::callNext(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = hwnd_ ? hwnd_ : lastHwnd_;
    CSubclassWnd* next = nullptr;
    WNDPROC original = nullptr;
    {
        SectionLock guard(chainLock());
        auto found = chains().find(window);
        if (found != chains().end()) {
            const auto& objects = found->second.objects;
            auto self = std::find(objects.begin(), objects.end(), this);
            if (self != objects.end() && self != objects.begin()) next = *(self - 1);
            original = found->second.original;
        }
    }
    if (next) return next->windowProc(message, wParam, lParam);
    if (original) return CallWindowProcA(original, window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

void CSubclassWnd::detachAll(HWND window) {
    std::vector<CSubclassWnd*> detached;
    {
        SectionLock guard(chainLock());
        auto found = chains().find(window);
        if (found == chains().end()) return;
        detached = found->second.objects;
        if (windowProcOf(window) == &CSubclassWnd::hookProc)
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.original));
        chains().erase(found);
        for (CSubclassWnd* object : detached) object->hwnd_ = nullptr;
    }
    for (CSubclassWnd* object : detached) {
        try {
            object->onDetached();
        } catch (...) {
        }
    }
}

LRESULT CALLBACK CSubclassWnd::hookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CSubclassWnd* first = nullptr;
    WNDPROC original = nullptr;
    {
        SectionLock guard(chainLock());
        auto found = chains().find(window);
        if (found != chains().end()) {
            original = found->second.original;
            if (!found->second.objects.empty()) first = found->second.objects.back();
        }
    }
    LRESULT result = 0;
    if (!original) return DefWindowProcA(window, message, wParam, lParam);
    try {
        result = first ? first->windowProc(message, wParam, lParam)
                       : CallWindowProcA(original, window, message, wParam, lParam);
    } catch (...) {
        result = CallWindowProcA(original, window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) detachAll(window);
    return result;
}

}  // namespace kzo
