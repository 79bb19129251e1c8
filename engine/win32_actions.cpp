#include "win32_actions.h"

#include <windows.h>
#include <lmcons.h>
#include <lmserver.h>
#include <mmsystem.h>
#include <winnetwk.h>

#include <algorithm>
#include <string>
#include <vector>

#include "launch_thread.h"
#include "stub_guard.h"
#include "system_error.h"
#include "win_handles.h"
#include "windows_platform.h"

namespace kzo {

namespace {

using NetMessageBufferSendFn = NET_API_STATUS(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, LPBYTE, DWORD);
using NetServerEnumFn = NET_API_STATUS(WINAPI*)(LMCSTR, DWORD, LPBYTE*, DWORD, LPDWORD, LPDWORD,
                                                DWORD, LMCSTR, LPDWORD);
using NetApiBufferFreeFn = NET_API_STATUS(WINAPI*)(LPVOID);

class Win32NetApi : public NetApi {
public:
    explicit Win32NetApi(UniqueLibrary library)
        : library_(std::move(library)),
          send_(boundFunction<NetMessageBufferSendFn>(library_.get(), "NetMessageBufferSend")),
          serverEnum_(boundFunction<NetServerEnumFn>(library_.get(), "NetServerEnum")),
          bufferFree_(boundFunction<NetApiBufferFreeFn>(library_.get(), "NetApiBufferFree")) {}

    bool hasMessageBufferSend() const override { return send_ != nullptr; }
    bool hasServerEnum() const override { return serverEnum_ != nullptr; }
    bool hasApiBufferFree() const override { return bufferFree_ != nullptr; }

    std::uint32_t messageBufferSend(const std::wstring& name, const std::wstring& text,
                                    std::uint32_t bytes) override {
        if (!send_) return ERROR_PROC_NOT_FOUND;
        // The function takes the text as a writable buffer; it never holds
        // fewer bytes than the length passed.
        std::vector<wchar_t> buffer(text.begin(), text.end());
        buffer.resize(std::max<std::size_t>(buffer.size() + 1, (bytes + 1) / sizeof(wchar_t)),
                      L'\0');
        return guardStubs([&]() -> std::uint32_t {
            return send_(L".", name.c_str(), nullptr, reinterpret_cast<LPBYTE>(buffer.data()),
                         bytes);
        });
    }

    std::uint32_t serverEnum(std::vector<std::wstring>& names) override {
        names.clear();
        if (!serverEnum_) return ERROR_PROC_NOT_FOUND;
        LPBYTE buffer = nullptr;
        DWORD read = 0;
        DWORD total = 0;
        std::uint32_t status = guardStubs([&]() -> std::uint32_t {
            return serverEnum_(nullptr, 100, &buffer, MAX_PREFERRED_LENGTH, &read, &total,
                               SV_TYPE_ALL, nullptr, nullptr);
        });
        if (status == kCallNotImplemented) return status;
        if (buffer) {
            const auto* entries = reinterpret_cast<const SERVER_INFO_100*>(buffer);
            for (DWORD i = 0; i < read; ++i) {
                if (entries[i].sv100_name) names.emplace_back(entries[i].sv100_name);
            }
            if (bufferFree_) guardStubs([&]() -> std::uint32_t { return bufferFree_(buffer); });
        }
        return status;
    }

private:
    UniqueLibrary library_;
    NetMessageBufferSendFn send_;
    NetServerEnumFn serverEnum_;
    NetApiBufferFreeFn bufferFree_;
};

// Entries of WNetEnumResourceA are read into a zero-filled block of this size.
constexpr DWORD kEnumBufferSize = 16384;

std::string textOrEmpty(const char* text) { return text ? std::string(text) : std::string(); }

char* textOrNull(std::string& text) { return text.empty() ? nullptr : text.data(); }

class Win32NetEnumeration : public NetEnumeration {
public:
    explicit Win32NetEnumeration(HANDLE handle) : handle_(handle) {}
    ~Win32NetEnumeration() override { WNetCloseEnum(handle_); }
    Win32NetEnumeration(const Win32NetEnumeration&) = delete;
    Win32NetEnumeration& operator=(const Win32NetEnumeration&) = delete;

    std::uint32_t next(std::vector<NetResource>& entries) override {
        entries.clear();
        // NETRESOURCEA entries first, their texts after them, all in the block.
        std::vector<NETRESOURCEA> block(kEnumBufferSize / sizeof(NETRESOURCEA) + 1);
        DWORD count = 0xFFFFFFFF;
        DWORD size = kEnumBufferSize;
        DWORD status = WNetEnumResourceA(handle_, &count, block.data(), &size);
        if (status != NO_ERROR) return status;
        for (DWORD i = 0; i < count && i < block.size(); ++i) {
            const NETRESOURCEA& r = block[i];
            NetResource entry;
            entry.scope = r.dwScope;
            entry.type = r.dwType;
            entry.displayType = r.dwDisplayType;
            entry.usage = r.dwUsage;
            entry.localName = textOrEmpty(r.lpLocalName);
            entry.remoteName = textOrEmpty(r.lpRemoteName);
            entry.comment = textOrEmpty(r.lpComment);
            entry.provider = textOrEmpty(r.lpProvider);
            entries.push_back(std::move(entry));
        }
        return status;
    }

private:
    HANDLE handle_;
};

}  // namespace

std::unique_ptr<NetApi> loadNetApiLibrary() {
    UniqueLibrary library(LoadLibraryA("netapi32"));
    if (!library) return nullptr;
    return std::make_unique<Win32NetApi>(std::move(library));
}

std::unique_ptr<NetApi> Win32Actions::loadNetApi() { return loadNetApiLibrary(); }

std::uint32_t Win32Actions::openNetEnumeration(const NetResource* container,
                                               std::unique_ptr<NetEnumeration>& enumeration) {
    enumeration.reset();
    NetResource copy = container ? *container : NetResource();
    NETRESOURCEA resource{};
    resource.dwScope = copy.scope;
    resource.dwType = copy.type;
    resource.dwDisplayType = copy.displayType;
    resource.dwUsage = copy.usage;
    resource.lpLocalName = textOrNull(copy.localName);
    resource.lpRemoteName = textOrNull(copy.remoteName);
    resource.lpComment = textOrNull(copy.comment);
    resource.lpProvider = textOrNull(copy.provider);
    HANDLE handle = nullptr;
    DWORD status = WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0,
                                 container ? &resource : nullptr, &handle);
    if (status != NO_ERROR) return status;
    enumeration = std::make_unique<Win32NetEnumeration>(handle);
    return status;
}

bool Win32Actions::isNtPlatform() { return isWindowsNt(); }

void Win32Actions::startLaunch(const LaunchRequest& request) { startLaunchThread(request, *this); }

ProcessControl& Win32Actions::processes() { return systemProcesses(); }

bool Win32Actions::enablePrivilege(const char* name) {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, token.put())) return false;
    TOKEN_PRIVILEGES privileges{};
    if (!LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid)) return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr)) return false;
    // ERROR_NOT_ALL_ASSIGNED: the call succeeded but the privilege is not held.
    return GetLastError() == ERROR_SUCCESS;
}

std::uint32_t Win32Actions::exitWindows(std::uint32_t flags) {
    return ExitWindowsEx(flags, 0) ? 0 : lastErrorOr(ERROR_GEN_FAILURE);
}

std::uint32_t Win32Actions::initiateShutdown(const char* computer, const char* notice,
                                             std::uint32_t timeoutSeconds, bool forceAppsClosed,
                                             bool rebootAfter) {
    // The function takes writable texts.
    std::string machine = computer ? computer : "";
    std::string message = notice ? notice : "";
    return InitiateSystemShutdownA(textOrNull(machine), textOrNull(message), timeoutSeconds,
                                   forceAppsClosed, rebootAfter)
               ? 0
               : lastErrorOr(ERROR_GEN_FAILURE);
}

void Win32Actions::sleepMs(std::uint32_t ms) { Sleep(ms); }

void Win32Actions::beep() { MessageBeep(0xFFFFFFFF); }

void Win32Actions::playSound(const char* file) {
    PlaySoundA(file, nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace kzo
