#include "profile_store.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <stdexcept>

#include "file_attributes.h"
#include "file_calls.h"
#include "system_error.h"
#include "win_handles.h"

namespace kzo {

namespace {

constexpr int kOpenAttempts = 8;
constexpr DWORD kOpenPauseMs = 1000;
constexpr DWORD kReadBlock = 4096;
// A profiles file is a few kilobytes; a file beyond this is not read into memory.
constexpr std::uint64_t kLargestFile = 64ULL * 1024 * 1024;

std::string besideProgram(const char* fileName) {
    char path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return fileName;
    std::string folder(path, length);
    std::size_t slash = folder.find_last_of('\\');
    folder.resize(slash == std::string::npos ? 0 : slash);
    return folder + "\\" + fileName;
}

// The exclusive open with its retries; the error of the last attempt.
int openWithRetries(const std::string& fileName, DWORD access, DWORD disposition, UniqueHandle& file) {
    DWORD error = 0;
    for (int attempt = 1; attempt <= kOpenAttempts; ++attempt) {
        makeAttributesNormal(fileName.c_str());
        HANDLE h = CreateFileA(fileName.c_str(), access, 0, nullptr, disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            file.reset(h);
            return 0;
        }
        error = GetLastError();
        if (attempt == 3 || attempt == 6) Sleep(kOpenPauseMs);
    }
    return static_cast<int>(error ? error : ERROR_OPEN_FAILED);
}

int readWhole(HANDLE file, std::string& text) {
    std::uint64_t size = 0;
    if (!fileSize(file, size)) return static_cast<int>(lastErrorOr(ERROR_READ_FAULT));
    if (size > kLargestFile) return ERROR_OUTOFMEMORY;
    try {
        text.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return ERROR_OUTOFMEMORY;
    }
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(kReadBlock, text.size() - done));
        DWORD got = 0;
        SetLastError(0);
        if (!ReadFile(file, &text[done], want, &got, nullptr) || got == 0)
            return static_cast<int>(lastErrorOr(ERROR_HANDLE_EOF));
        done += got;
    }
    return 0;
}

}  // namespace

ProfileStore::ProfileStore() : fileName_(besideProgram("kzo.pro")) {}

ProfileStore::ProfileStore(std::string fileName) : fileName_(std::move(fileName)) {}

int ProfileStore::load(std::size_t spare) {
    free();
    std::string text;
    {
        UniqueHandle file;
        int error = openWithRetries(fileName_, GENERIC_READ, OPEN_ALWAYS, file);
        if (error) return error;
        error = readWhole(file.get(), text);
        if (error) return error;
    }
    try {
        std::vector<Profile> profiles = parseProfiles(text, systemLeadByte);
        std::size_t count = profiles.size();
        profiles.resize(count + spare);
        profiles_ = std::move(profiles);
        count_ = count;
    } catch (const std::bad_alloc&) {
        free();
        return ERROR_OUTOFMEMORY;
    } catch (const std::length_error&) {
        free();
        return ERROR_OUTOFMEMORY;
    }
    return 0;
}

int ProfileStore::name(std::size_t i, std::string& name) const {
    if (i >= count_) return 1;
    name = profiles_[i].name;
    return 0;
}

int ProfileStore::get(std::size_t i, std::string& command, std::string& comment, int& typeIndex) const {
    if (i >= count_) return 1;
    const Profile& p = profiles_[i];
    command = p.command;
    comment = p.comment;
    typeIndex = profileTypeIndex(p.type);
    return 0;
}

int ProfileStore::set(std::size_t i, const std::string& name, const std::string& command,
                      int typeIndex, const std::string& comment, bool inUse) {
    if (i >= profiles_.size()) return 1;
    auto field = [](const std::string& text) {
        return text.substr(0, wholeUnitsWithin(text, kProfileFieldWidth, systemLeadByte));
    };
    Profile& p = profiles_[i];
    p.name = field(name);
    p.command = field(command);
    p.type = profileTypeCode(typeIndex);
    p.comment = field(comment);
    p.inUse = inUse ? 1 : 0;
    if (i >= count_) count_ = i + 1;
    return 0;
}

int ProfileStore::remove(std::size_t i) {
    if (i >= count_) return 1;
    profiles_[i].inUse = 0;
    return 0;
}

int ProfileStore::save() const {
    // Slots past the count are never in use: the whole array formats as the used entries.
    const std::string text = formatProfiles(profiles_);
    UniqueHandle file;
    int error = openWithRetries(fileName_, GENERIC_WRITE, CREATE_ALWAYS, file);
    if (error) return error;
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(kReadBlock * 16, text.size() - done));
        DWORD wrote = 0;
        SetLastError(0);
        if (!WriteFile(file.get(), text.data() + done, want, &wrote, nullptr) || wrote == 0)
            return static_cast<int>(lastErrorOr(ERROR_WRITE_FAULT));
        done += wrote;
    }
    return 0;
}

void ProfileStore::free() {
    profiles_.clear();
    profiles_.shrink_to_fit();
    count_ = 0;
}

}  // namespace kzo
