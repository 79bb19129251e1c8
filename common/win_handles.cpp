#include "win_handles.h"

#include <string>
#include <vector>

namespace kzo {

namespace {

std::vector<std::string>& hiddenFunctions() {
    static std::vector<std::string> names;
    return names;
}

bool hidden(const char* name) {
    for (const std::string& hiddenName : hiddenFunctions())
        if (hiddenName == name) return true;
    return false;
}

}  // namespace

void* boundAddress(HMODULE module, const char* name) {
    if (!module || hidden(name)) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(module, name));
}

void hideBoundFunctions(std::initializer_list<const char*> names) {
    hiddenFunctions().assign(names.begin(), names.end());
}

}  // namespace kzo
