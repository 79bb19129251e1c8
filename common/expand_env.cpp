#include "expand_env.h"

#include <windows.h>

#include <cstring>

namespace kzo {

void expandEnvironment(const char* text, char* out) {
    DWORD n = ExpandEnvironmentStringsA(text, out, kExpandedSize);
    if (n == 0 || n > kExpandedSize) {
        std::size_t length = strnlen(text, kExpandedSize - 1);
        std::memmove(out, text, length);
        out[length] = '\0';
    }
}

}  // namespace kzo
