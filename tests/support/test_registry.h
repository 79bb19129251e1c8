// Registry keys for the tests: values written and read by name, scratch keys
// removed after the test, and production keys saved and restored around it.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kzo::test {

// A value as stored: its type and its bytes; type 0 and no bytes when absent.
struct RegValue {
    DWORD type = 0;
    std::string bytes;

    static RegValue dword(DWORD value);
    // With its terminating zero.
    static RegValue string(const std::string& text, DWORD type = REG_SZ);
    bool operator==(const RegValue& other) const {
        return type == other.type && bytes == other.bytes;
    }
};
void PrintTo(const RegValue& value, std::ostream* out);

// A key by its root and path. Writes create it; failures are test failures.
class RegKey {
public:
    RegKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {}

    HKEY root() const { return root_; }
    const std::string& path() const { return path_; }
    // The path, for the calls that take one.
    const char* c_str() const { return path_.c_str(); }
    RegKey sub(const std::string& name) const { return RegKey(root_, path_ + "\\" + name); }

    void create() const;
    void setRaw(const char* name, DWORD type, const void* data, DWORD size) const;
    void setDword(const char* name, DWORD value) const;
    void setString(const char* name, const std::string& value, DWORD type = REG_SZ) const;
    void remove(const char* name) const;
    RegValue stored(const char* name) const;
    // A REG_DWORD value, or nothing when missing or of another type.
    std::optional<DWORD> dword(const char* name) const;

private:
    HKEY root_;
    std::string path_;
};

// Removes the key with everything under it.
void removeKeyTree(HKEY root, const std::string& path);

// A fresh key under HKEY_CURRENT_USER\Software\KZOTest, removed with everything
// under it. Settings tests read and write there instead of the production keys.
class ScratchKey : public RegKey {
public:
    ScratchKey();
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // The path of a subkey under which no ordinary key can be created: it is
    // volatile, and a volatile key takes only volatile children (error 1021).
    std::string volatileSub(const std::string& name) const;
};

// A key that the test owns for its lifetime: its values are saved and removed
// at construction, and the saved values restored at destruction (the key
// itself removed when it did not exist). For the production keys that a
// program under test reads.
class SavedKey : public RegKey {
public:
    SavedKey(HKEY root, const std::string& path);
    ~SavedKey();
    SavedKey(const SavedKey&) = delete;
    SavedKey& operator=(const SavedKey&) = delete;

private:
    void clearValues() const;

    bool existed_ = false;
    std::map<std::string, RegValue> saved_;
};

}  // namespace kzo::test
