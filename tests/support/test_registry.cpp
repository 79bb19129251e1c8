#include "test_registry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "registry_values.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo::test {

RegValue RegValue::dword(DWORD value) {
    return RegValue{REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value)};
}

RegValue RegValue::string(const std::string& text, DWORD type) {
    return RegValue{type, text + '\0'};
}

void PrintTo(const RegValue& value, std::ostream* out) {
    *out << "type " << value.type << ", bytes " << ::testing::PrintToString(value.bytes);
}

void RegKey::create() const {
    UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, key.put(), nullptr))
        << path_;
}

void RegKey::setRaw(const char* name, DWORD type, const void* data, DWORD size) const {
    UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, key.put(), nullptr))
        << path_;
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), size))
        << path_ << " " << (name ? name : "(default)");
}

void RegKey::setDword(const char* name, DWORD value) const {
    setRaw(name, REG_DWORD, &value, sizeof value);
}

void RegKey::setString(const char* name, const std::string& value, DWORD type) const {
    setRaw(name, type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void RegKey::remove(const char* name) const {
    UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE, key.put())) << path_;
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(key.get(), name)) << path_ << " " << name;
}

RegValue RegKey::stored(const char* name) const {
    RegValue value;
    UniqueKey key;
    if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return RegValue{};
    value.bytes.resize(size);
    RegQueryValueExA(key.get(), name, nullptr, &value.type,
                     reinterpret_cast<BYTE*>(value.bytes.data()), &size);
    value.bytes.resize(size);
    return value;
}

std::optional<DWORD> RegKey::dword(const char* name) const {
    RegValue value = stored(name);
    if (value.type != REG_DWORD || value.bytes.size() != sizeof(DWORD)) return std::nullopt;
    DWORD number = 0;
    std::memcpy(&number, value.bytes.data(), sizeof number);
    return number;
}

void removeKeyTree(HKEY root, const std::string& path) { deleteKeyTree(root, path.c_str()); }

ScratchKey::ScratchKey() : RegKey(HKEY_CURRENT_USER, "Software\\KZOTest\\" + uniqueName("")) {
    removeKeyTree(root(), path());
}

ScratchKey::~ScratchKey() { removeKeyTree(root(), path()); }

std::string ScratchKey::volatileSub(const std::string& name) const {
    create();  // the scratch key itself stays an ordinary key
    std::string path = sub(name).path();
    UniqueKey key;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root(), path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, key.put(), nullptr));
    return path;
}

SavedKey::SavedKey(HKEY root, const std::string& path) : RegKey(root, path) {
    UniqueKey key;
    existed_ = RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
    for (DWORD index = 0; existed_; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (RegEnumValueA(key.get(), index, name, &nameLength, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        saved_[std::string(name, nameLength)] = stored(name);
    }
    clearValues();
}

SavedKey::~SavedKey() {
    clearValues();
    if (!existed_) {
        RegDeleteKeyA(root(), path().c_str());
        return;
    }
    UniqueKey key;
    if (RegCreateKeyExA(root(), path().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
        return;
    for (const auto& [name, value] : saved_)
        RegSetValueExA(key.get(), name.c_str(), 0, value.type,
                       reinterpret_cast<const BYTE*>(value.bytes.data()),
                       static_cast<DWORD>(value.bytes.size()));
}

void SavedKey::clearValues() const {
    UniqueKey key;
    if (RegOpenKeyExA(root(), path().c_str(), 0, KEY_READ | KEY_WRITE, key.put()) != ERROR_SUCCESS)
        return;
    for (;;) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (RegEnumValueA(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (RegDeleteValueA(key.get(), name) != ERROR_SUCCESS) break;
    }
}

}  // namespace kzo::test
