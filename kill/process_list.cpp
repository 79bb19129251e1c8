#include "process_list.h"

#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include "win_handles.h"

namespace kzo {

namespace {

bool listBySnapshot(std::vector<ProcessEntry>& processes) {
    using SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
    using WalkFn = BOOL(WINAPI*)(HANDLE, LPPROCESSENTRY32);
    auto snapshot = systemFunction<SnapshotFn>("kernel32.dll", "CreateToolhelp32Snapshot");
    auto first = systemFunction<WalkFn>("kernel32.dll", "Process32First");
    auto next = systemFunction<WalkFn>("kernel32.dll", "Process32Next");
    if (!snapshot || !first || !next) return false;
    UniqueHandle list(snapshot(TH32CS_SNAPPROCESS, 0));
    if (!list) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = first(list.get(), &entry); more; more = next(list.get(), &entry))
        processes.push_back({entry.th32ProcessID, entry.szExeFile});
    return true;
}

std::string ansiName(const UNICODE_STRING& name) {
    if (!name.Buffer || name.Length == 0) return std::string();
    int wide = name.Length / static_cast<int>(sizeof(WCHAR));
    int size = WideCharToMultiByte(CP_ACP, 0, name.Buffer, wide, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, name.Buffer, wide, &text[0], size, nullptr, nullptr);
    return text;
}

// NtQuerySystemInformation's process list: a chain of records, each giving the
// offset of the next. The buffer grows until the list fits.
bool listByKernel(std::vector<ProcessEntry>& processes) {
    using QueryFn = LONG(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    auto query = systemFunction<QueryFn>("ntdll.dll", "NtQuerySystemInformation");
    if (!query) return false;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<unsigned char> buffer(64 * 1024);
    LONG status = kInfoLengthMismatch;
    while (buffer.size() <= 64u * 1024 * 1024) {
        ULONG needed = 0;
        status = query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status != kInfoLengthMismatch) break;
        buffer.resize(buffer.size() * 2);
    }
    if (status < 0) return false;
    for (std::size_t offset = 0; offset + sizeof(SYSTEM_PROCESS_INFORMATION) <= buffer.size();) {
        auto* info = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
        auto id = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(info->UniqueProcessId));
        if (id != 0) processes.push_back({id, ansiName(info->ImageName)});
        if (info->NextEntryOffset == 0) break;
        offset += info->NextEntryOffset;
    }
    return true;
}

}  // namespace

bool listProcesses(std::vector<ProcessEntry>& processes) {
    processes.clear();
    if (listBySnapshot(processes)) return true;
    processes.clear();
    return listByKernel(processes);
}

}  // namespace kzo
