#include "schedule_conversion.h"

#include <windows.h>

#include <vector>

#include "blanks.h"
#include "file_attributes.h"
#include "file_calls.h"
#include "system_error.h"
#include "win_handles.h"

namespace kzo {

namespace {

// Records read and written per file call.
constexpr std::size_t kChunkRecords = 64;

ConversionResult failed(ConversionResult result, unsigned message, std::uint32_t systemError = 0) {
    result.status = ConversionStatus::Failed;
    result.message = message;
    result.systemError = systemError;
    return result;
}

std::string fullPath(const std::string& name) {
    char path[MAX_PATH * 4];
    DWORD n = GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
    if (n == 0 || n >= sizeof path) return name;
    return std::string(path, n);
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 0 || path[slash - 1] == ':') return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

bool fileIdOf(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    return GetFileInformationByHandle(file, &info) != 0;
}

// Whether the target names the open source file: the same full path, or the
// same volume and file index (another spelling of the path, a link).
bool isSameFile(HANDLE source, const std::string& sourcePath, const std::string& targetPath) {
    if (lstrcmpiA(sourcePath.c_str(), targetPath.c_str()) == 0) return true;
    // Opened for its attributes only, which the source's exclusive open allows.
    UniqueHandle target(CreateFileA(targetPath.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target) return false;
    BY_HANDLE_FILE_INFORMATION a, b;
    if (!fileIdOf(source, a) || !fileIdOf(target.get(), b)) return false;
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// A file created beside the target, deleted unless it was put in place.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (!path_.empty() && !kept_) DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates an empty file of a unique name in folder; 0 or the error code.
    std::uint32_t create(const std::string& folder) {
        char path[MAX_PATH];
        if (!GetTempFileNameA(folder.c_str(), "kzo", 0, path)) return lastErrorOr(ERROR_CANNOT_MAKE);
        path_ = path;
        return 0;
    }
    const std::string& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    std::string path_;
    bool kept_ = false;
};

// Reads the source's records and writes them converted; false with the
// message and its error in result.
bool copyConverted(HANDLE in, HANDLE out, OldLayout layout, ConversionResult& result) {
    const std::size_t oldSize = oldRecordSize(layout);
    std::vector<unsigned char> old(kChunkRecords * oldSize);
    std::vector<TaskRecord> converted(kChunkRecords);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in, old.data(), static_cast<DWORD>(old.size()), &got, nullptr)) {
            result = failed(result, kConvertSourceRead, lastErrorOr(ERROR_READ_FAULT));
            return false;
        }
        if (got == 0) return true;
        if (got % oldSize != 0) {  // the file changed size under an exclusive open
            result = failed(result, kConvertSourceRead, ERROR_HANDLE_EOF);
            return false;
        }
        const std::size_t count = got / oldSize;
        for (std::size_t i = 0; i < count; ++i) converted[i] = convertOldRecord(layout, &old[i * oldSize]);
        const DWORD bytes = static_cast<DWORD>(count * kRecordSize);
        DWORD written = 0;
        if (!WriteFile(out, converted.data(), bytes, &written, nullptr) || written != bytes) {
            result = failed(result, kConvertTargetWrite, lastErrorOr(ERROR_DISK_FULL));
            return false;
        }
        result.records += count;
    }
}

}  // namespace

ConversionResult convertScheduleFile(const std::string& source, const std::string& target,
                                     const std::function<bool()>& confirmOverwrite) {
    ConversionResult result;
    const std::string sourceName = trimBlanks(source);
    result.target = trimBlanks(target);
    if (sourceName.empty() || result.target.empty()) return failed(result, kConvertNoNames);

    makeAttributesNormal(sourceName.c_str());
    makeAttributesNormal(result.target.c_str());
    UniqueHandle in(CreateFileA(sourceName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in) return failed(result, kConvertSourceOpen, lastErrorOr(ERROR_OPEN_FAILED));

    const std::string targetPath = fullPath(result.target);
    const bool inPlace = isSameFile(in.get(), fullPath(sourceName), targetPath);
    // The existing target is held exclusively until it is replaced, so nobody
    // writes into it what the replacement would lose.
    UniqueHandle existing;
    std::uint64_t targetSize = 0;
    if (!inPlace) {
        existing.reset(CreateFileA(targetPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!existing) {
            DWORD error = GetLastError();
            if (error != ERROR_FILE_NOT_FOUND) return failed(result, kConvertTargetOpen, error);
        } else if (!fileSize(existing.get(), targetSize)) {
            return failed(result, kConvertTargetOpen, lastErrorOr(ERROR_OPEN_FAILED));
        }
    }

    std::uint64_t sourceSize = 0;
    if (!fileSize(in.get(), sourceSize)) return failed(result, kConvertSourceRead, lastErrorOr(ERROR_READ_FAULT));
    if (sourceSize == 0) return failed(result, kConvertSourceEmpty);
    result.layout = oldLayoutForSize(sourceSize);
    if (result.layout == OldLayout::None) return failed(result, kConvertSourceInvalid);
    if (inPlace) targetSize = sourceSize;

    if (targetSize > 0 && !(confirmOverwrite && confirmOverwrite())) {
        result.status = ConversionStatus::Declined;
        return result;
    }

    TemporaryFile temporary;
    if (std::uint32_t error = temporary.create(folderOf(targetPath)))
        return failed(result, kConvertTargetOpen, error);
    {
        UniqueHandle out(CreateFileA(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) return failed(result, kConvertTargetOpen, lastErrorOr(ERROR_OPEN_FAILED));
        if (!copyConverted(in.get(), out.get(), result.layout, result)) return result;
        if (!FlushFileBuffers(out.get())) return failed(result, kConvertTargetWrite, lastErrorOr(ERROR_WRITE_FAULT));
    }
    in.reset();
    existing.reset();
    if (std::uint32_t error = replaceFile(temporary.path().c_str(), targetPath.c_str()))
        return failed(result, kConvertTargetWrite, error);
    temporary.keep();
    result.status = ConversionStatus::Converted;
    return result;
}

}  // namespace kzo
