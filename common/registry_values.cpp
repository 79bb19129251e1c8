#include "registry_values.h"

#include "blanks.h"

namespace kzo {

bool readTrimmedString(HKEY key, const char* name, char* buffer, std::size_t size) {
    if (size == 0) return false;
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(size);
    LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (result != ERROR_SUCCESS || type != REG_SZ) {
        buffer[0] = '\0';
        return false;
    }
    // A value stored without its terminating zero comes back without one; when
    // it fills the whole buffer it is one character too long.
    if (bytes == 0) {
        buffer[0] = '\0';
    } else if (bytes >= size && buffer[size - 1] != '\0') {
        buffer[0] = '\0';
        return false;
    } else if (buffer[bytes - 1] != '\0') {
        buffer[bytes] = '\0';
    }
    trimBlanksInPlace(buffer);
    return buffer[0] != '\0';
}

bool readDword(HKEY key, const char* name, std::uint32_t& value) {
    DWORD type = 0;
    DWORD data = 0;
    DWORD bytes = sizeof data;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &bytes);
    if (result != ERROR_SUCCESS || type != REG_DWORD || bytes != sizeof data) return false;
    value = data;
    return true;
}

bool readFlag(HKEY key, const char* name, bool fallback) {
    std::uint32_t value = 0;
    return readDword(key, name, value) ? value != 0 : fallback;
}

std::uint32_t writeDword(HKEY key, const char* name, std::uint32_t value) {
    DWORD data = value;
    return static_cast<std::uint32_t>(
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data));
}

std::uint32_t writeString(HKEY key, const char* name, const std::string& text) {
    return static_cast<std::uint32_t>(RegSetValueExA(key, name, 0, REG_SZ,
                                                     reinterpret_cast<const BYTE*>(text.c_str()),
                                                     static_cast<DWORD>(text.size() + 1)));
}

long deleteKeyTree(HKEY parent, const char* name) {
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(parent, name, 0, KEY_READ | KEY_WRITE, &key);
    if (result != ERROR_SUCCESS) return result;
    char child[MAX_PATH + 1];
    // Always the first subkey: each one found is gone before the next look.
    while (RegEnumKeyA(key, 0, child, sizeof child) == ERROR_SUCCESS) {
        result = deleteKeyTree(key, child);
        if (result != ERROR_SUCCESS) break;
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? RegDeleteKeyA(parent, name) : result;
}

}  // namespace kzo
