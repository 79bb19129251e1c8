#include "retried_open.h"

#include "file_attributes.h"

namespace kzo {

namespace {

constexpr int kOpenAttempts = 8;
constexpr DWORD kOpenPauseMs = 1000;

}  // namespace

int openRetried(const char* path, bool forWriting, HANDLE& file) {
    DWORD access = forWriting ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    DWORD share = forWriting ? 0 : FILE_SHARE_READ;
    DWORD error = 0;
    for (int attempt = 1; attempt <= kOpenAttempts; ++attempt) {
        makeAttributesNormal(path);
        file = CreateFileA(path, access, share, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return 0;
        error = GetLastError();
        if (attempt == 3 || attempt == 6) Sleep(kOpenPauseMs);
    }
    return static_cast<int>(error);
}

}  // namespace kzo
