// RAII owners for the Win32 handles the suite uses, so that no return path
// leaks one.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <initializer_list>
#include <utility>

namespace kzo {

template <typename T, typename Traits>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    ~UniqueResource() { reset(); }
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    T get() const { return value_; }
    explicit operator bool() const { return Traits::valid(value_); }
    T release() { return std::exchange(value_, Traits::none()); }
    void reset(T value = Traits::none()) {
        if (Traits::valid(value_)) Traits::close(value_);
        value_ = value;
    }
    // For out-parameters of the API: releases the current value first.
    T* put() {
        reset();
        return &value_;
    }

private:
    T value_ = Traits::none();
};

struct HandleTraits {  // kernel objects: events, mutexes, threads, processes, files
    static HANDLE none() { return nullptr; }
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct KeyTraits {
    static HKEY none() { return nullptr; }
    static bool valid(HKEY k) { return k != nullptr; }
    static void close(HKEY k) { RegCloseKey(k); }
};
struct ServiceTraits {
    static SC_HANDLE none() { return nullptr; }
    static bool valid(SC_HANDLE h) { return h != nullptr; }
    static void close(SC_HANDLE h) { CloseServiceHandle(h); }
};
struct LibraryTraits {
    static HMODULE none() { return nullptr; }
    static bool valid(HMODULE m) { return m != nullptr; }
    static void close(HMODULE m) { FreeLibrary(m); }
};

template <typename T>
struct GdiObjectTraits {  // fonts, brushes, pens, bitmaps
    static T none() { return nullptr; }
    static bool valid(T object) { return object != nullptr; }
    static void close(T object) { DeleteObject(object); }
};

using UniqueHandle = UniqueResource<HANDLE, HandleTraits>;
using UniqueKey = UniqueResource<HKEY, KeyTraits>;
using UniqueService = UniqueResource<SC_HANDLE, ServiceTraits>;
using UniqueLibrary = UniqueResource<HMODULE, LibraryTraits>;
using UniqueFont = UniqueResource<HFONT, GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueResource<HBITMAP, GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueResource<HBRUSH, GdiObjectTraits<HBRUSH>>;

struct ImageListTraits {
    static HIMAGELIST none() { return nullptr; }
    static bool valid(HIMAGELIST list) { return list != nullptr; }
    static void close(HIMAGELIST list) { ImageList_Destroy(list); }
};
using UniqueImageList = UniqueResource<HIMAGELIST, ImageListTraits>;

struct MenuTraits {
    static HMENU none() { return nullptr; }
    static bool valid(HMENU menu) { return menu != nullptr; }
    static void close(HMENU menu) { DestroyMenu(menu); }
};
using UniqueMenu = UniqueResource<HMENU, MenuTraits>;

// The address of a function of a library, looked up by name at run time: the
// way to call a function that not every system the suite runs on exports
// (an import of it would stop the program from loading there). nullptr when
// the module is nullptr, the function is missing, or a test hid it.
void* boundAddress(HMODULE module, const char* name);

// The test seam of the run-time lookups: the functions named here are reported
// missing until the next call (an empty list restores them), so tests take
// each fallback under Wine, whose DLLs export everything.
void hideBoundFunctions(std::initializer_list<const char*> names);

// A function of a library bound by name at run time, or nullptr.
template <typename Function>
Function boundFunction(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(boundAddress(module, name));
}

// The same, from a system library the program has loaded or that is loaded now
// for the rest of the program's life ("user32.dll", "comctl32.dll").
template <typename Function>
Function systemFunction(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryA(library);
    return boundFunction<Function>(module, name);
}

}  // namespace kzo
