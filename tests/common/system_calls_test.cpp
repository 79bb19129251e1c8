// The suite's own forms of calls that the oldest systems lack: each gives what
// the newer call gives, and where a function is bound at run time, the
// fallback (the function hidden) gives it too.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <string>

#include "dialog_base.h"
#include "file_calls.h"
#include "registry_values.h"
#include "shell_folder.h"
#include "test_registry.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

TEST(TopLevelWindow, IsWhatGetAncestorCallsTheRoot) {
    HWND top = CreateWindowExA(0, "STATIC", "top", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    HWND child = CreateWindowExA(0, "STATIC", "child", WS_CHILD, 0, 0, 50, 50, top, nullptr, nullptr, nullptr);
    HWND grandchild = CreateWindowExA(0, "STATIC", "grandchild", WS_CHILD, 0, 0, 20, 20, child, nullptr, nullptr,
                                      nullptr);
    HWND owned = CreateWindowExA(0, "STATIC", "owned", WS_POPUP, 0, 0, 20, 20, top, nullptr, nullptr, nullptr);
    ASSERT_TRUE(top && child && grandchild && owned);
    for (HWND window : {top, child, grandchild, owned})
        EXPECT_EQ(GetAncestor(window, GA_ROOT), topLevelWindow(window));
    EXPECT_EQ(top, topLevelWindow(grandchild));
    EXPECT_EQ(owned, topLevelWindow(owned));  // an owner is no parent
    DestroyWindow(owned);
    DestroyWindow(top);
}

TEST(FileCalls, TheSizeOfAnOpenFileBeyondFourGigabytes) {
    test::TempDir dir;
    for (std::uint64_t wanted : {std::uint64_t{0}, std::uint64_t{1709 * 3}, (std::uint64_t{1} << 32) + 1709}) {
        std::string path = dir.file("sized");
        UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        LONG high = static_cast<LONG>(wanted >> 32);
        SetFilePointer(file.get(), static_cast<LONG>(wanted & 0xFFFFFFFF), &high, FILE_BEGIN);
        ASSERT_TRUE(SetEndOfFile(file.get()));
        std::uint64_t size = 1;
        EXPECT_TRUE(fileSize(file.get(), size));
        EXPECT_EQ(wanted, size);
    }
    std::uint64_t size = 7;
    EXPECT_FALSE(fileSize(INVALID_HANDLE_VALUE, size));
    EXPECT_EQ(7u, size);
}

TEST(FileCalls, ReplaceFileInOneStepAndTheWayOf95) {
    test::TempDir dir;
    for (bool withMoveFileEx : {true, false}) {
        SCOPED_TRACE(withMoveFileEx ? "MoveFileExA" : "delete, then move");
        test::HiddenFunctions hidden = withMoveFileEx ? test::HiddenFunctions{} : test::HiddenFunctions{"MoveFileExA"};
        std::string from = dir.file("new.jsf"), to = dir.file("old.jsf");
        test::writeFile(from, "new");
        test::writeFile(to, "old, longer");
        EXPECT_EQ(0u, replaceFile(from.c_str(), to.c_str()));
        EXPECT_EQ("new", test::readFile(to));
        EXPECT_FALSE(test::fileExists(from));
        // Into a place nobody had yet, and from nowhere.
        test::writeFile(from, "again");
        EXPECT_EQ(0u, replaceFile(from.c_str(), dir.file("fresh.jsf").c_str()));
        EXPECT_EQ("again", test::readFile(dir.file("fresh.jsf")));
        DeleteFileA(dir.file("fresh.jsf").c_str());
        EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND), replaceFile(from.c_str(), to.c_str()));
        EXPECT_EQ("new", test::readFile(to));
    }
}

TEST(ShellFolder, IsTheFolderTheNewerCallNames) {
    for (int folder : {CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY, CSIDL_DESKTOP, CSIDL_FAVORITES}) {
        char newer[MAX_PATH + 1] = "";
        ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, newer, folder, TRUE)) << folder;
        EXPECT_EQ(std::string(newer), shellFolderPath(folder, false)) << folder;
        EXPECT_EQ(std::string(newer), shellFolderPath(folder, true)) << folder;
    }
    EXPECT_EQ("", shellFolderPath(0x7F, true));  // no such folder
}

TEST(DeleteKeyTree, TakesEveryKeyBelowAndLeavesTheRest) {
    test::ScratchKey scratch;
    test::RegKey doomed = scratch.sub("doomed");
    doomed.sub("a\\b\\c").setDword("deep", 1);
    doomed.sub("a\\second").setString("text", "x");
    doomed.setDword("own", 2);
    scratch.sub("kept").setDword("value", 3);
    HKEY parent = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(scratch.root(), scratch.c_str(), 0, KEY_READ | KEY_WRITE, &parent));
    EXPECT_EQ(ERROR_SUCCESS, deleteKeyTree(parent, "doomed"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, deleteKeyTree(parent, "doomed"));
    RegCloseKey(parent);
    EXPECT_FALSE(doomed.dword("own").has_value());
    EXPECT_EQ(3u, scratch.sub("kept").dword("value").value_or(0));
}

}  // namespace
}  // namespace kzo
