// The compiler's runtime (libgcc's locks, which guard the static initialisers
// and the unwinder's registry) creates its semaphores with CreateSemaphoreW.
// Windows 95/98/Me export that function as a stub that fails, so the first
// time two threads met at such a lock, the lock would fail and the program
// end. The 32-bit programs link this file, which fills the runtime's import
// slot of CreateSemaphoreW with the same call made through CreateSemaphoreA,
// which every system has; CreateSemaphoreW then stays out of their imports
// (the import check holds them to that).
#include <windows.h>

#include <string>

namespace {

HANDLE WINAPI createSemaphoreThroughAnsi(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                         LPCWSTR name) {
    if (!name) return CreateSemaphoreA(attributes, initial, maximum, nullptr);
    const int size = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return nullptr;
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, name, -1, &narrow[0], size, nullptr, nullptr);
    return CreateSemaphoreA(attributes, initial, maximum, narrow.c_str());
}

}  // namespace

#if defined(__i386__)
// The import slot's own symbol, as the import library would define it.
extern "C" {
HANDLE(WINAPI* runtimeCreateSemaphoreW)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR) __asm__(
    "__imp__CreateSemaphoreW@16") = createSemaphoreThroughAnsi;
}
#endif
