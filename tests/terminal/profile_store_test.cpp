// ProfileStore on real files: the file created when missing, a save read back,
// hand-edited and large files, and the files it cannot open.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "profile_store.h"
#include "test_support.h"

namespace kzo {
namespace {

using test::TempDir;

TEST(ProfileStore, DefaultFileLiesBesideTheProgram) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\'));
    EXPECT_EQ(folder + "\\kzo.pro", ProfileStore().fileName());
}

TEST(ProfileStore, MissingFileIsCreatedEmpty) {
    TempDir dir;
    ProfileStore store(dir.file("kzo.pro"));
    EXPECT_EQ(0, store.load(0));
    EXPECT_EQ(0u, store.count());
    EXPECT_EQ(0u, store.slots());
    EXPECT_TRUE(test::fileExists(dir.file("kzo.pro")));
    EXPECT_EQ(0, test::fileSize(dir.file("kzo.pro")));
}

TEST(ProfileStore, SavedProfilesReadBackAndRemovedOnesAreGone) {
    TempDir dir;
    ProfileStore store(dir.file("kzo.pro"));
    ASSERT_EQ(0, store.load(3));
    ASSERT_EQ(3u, store.slots());
    EXPECT_EQ(0, store.set(0, "Edit", "notepad.exe", 0, "Two|lines", true));
    EXPECT_EQ(1u, store.count());  // filling a spare slot raises the count
    EXPECT_EQ(0, store.set(1, "Gone", "x.exe", 1, "", true));
    EXPECT_EQ(0, store.set(2, "Off", "SHUTDOWN", 3, "", true));
    EXPECT_EQ(0, store.remove(1));
    EXPECT_EQ(1, store.set(3, "No", "slot", 0, "", true));
    ASSERT_EQ(0, store.save());
    EXPECT_EQ("Edit\r\nnotepad.exe\r\nAPP\r\nTwo|lines\r\nOff\r\nSHUTDOWN\r\nSDN\r\n\r\n",
              test::readFile(dir.file("kzo.pro")));

    ProfileStore again(dir.file("kzo.pro"));
    ASSERT_EQ(0, again.load(1));
    ASSERT_EQ(2u, again.count());
    EXPECT_EQ(3u, again.slots());
    std::string name, command, comment;
    int type = -1;
    EXPECT_EQ(0, again.name(1, name));
    EXPECT_EQ("Off", name);
    EXPECT_EQ(0, again.get(1, command, comment, type));
    EXPECT_EQ("SHUTDOWN", command);
    EXPECT_EQ(3, type);
    EXPECT_EQ(0, again.get(0, command, comment, type));
    EXPECT_EQ("Two|lines", comment);
    EXPECT_EQ(1, again.name(2, name));  // the spare slot is no used entry
    EXPECT_EQ(1, again.get(2, command, comment, type));
    EXPECT_EQ(1, again.remove(2));

    // Deleting every profile writes an empty file.
    again.remove(0);
    again.remove(1);
    ASSERT_EQ(0, again.save());
    EXPECT_EQ(0, test::fileSize(dir.file("kzo.pro")));
}

TEST(ProfileStore, HandEditedFileOfManyBlocksLoads) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Profile " + std::to_string(i) + "\nrun" + std::string(1, '\0') + ".exe\nsdn \n" +
                std::string(600, 'c') + "\n";
    text += "Half\ncommand\n";  // an incomplete group at the end
    ASSERT_GT(text.size(), 4096u * 5);
    test::writeFile(dir.file("kzo.pro"), text);
    ProfileStore store(dir.file("kzo.pro"));
    ASSERT_EQ(0, store.load(0));
    ASSERT_EQ(40u, store.count());
    std::string name, command, comment;
    int type = -1;
    EXPECT_EQ(0, store.name(39, name));
    EXPECT_EQ("Profile 39", name);
    EXPECT_EQ(0, store.get(39, command, comment, type));
    EXPECT_EQ("run .exe", command);
    EXPECT_EQ(3, type);
    EXPECT_EQ(511u, comment.size());
}

// A copy taken from a read-only medium carries the read-only attribute: the
// store clears it, as the schedule file's store does, and saves.
TEST(ProfileStore, ReadOnlyAttributeIsClearedAndTheFileSaved) {
    TempDir dir;
    const std::string file = dir.file("kzo.pro");
    test::writeFile(file, "a\r\nb\r\nAPP\r\n\r\n");
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    ProfileStore store(file);
    ASSERT_EQ(0, store.load(1));
    store.set(1, "new", "cmd", 2, "", true);
    EXPECT_EQ(0, store.save());
    EXPECT_EQ("a\r\nb\r\nAPP\r\n\r\nnew\r\ncmd\r\nMSG\r\n\r\n", test::readFile(file));
    EXPECT_FALSE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY);
}

// Another program holding the file: every attempt fails, and the error is the
// system's, after the retries; the failed load leaves the store empty.
TEST(ProfileStore, FileHeldByAnotherProgramGivesItsError) {
    TempDir dir;
    const std::string file = dir.file("kzo.pro");
    test::writeFile(file, "a\r\nb\r\nAPP\r\n\r\n");
    ProfileStore store(file);
    ASSERT_EQ(0, store.load(0));
    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    std::uint64_t start = test::nowMs();
    EXPECT_EQ(ERROR_SHARING_VIOLATION, store.save());
    EXPECT_GE(test::nowMs() - start, 1900u);  // two pauses of a second between the attempts
    EXPECT_EQ(ERROR_SHARING_VIOLATION, store.load(2));
    EXPECT_EQ(0u, store.count());
    EXPECT_EQ(0u, store.slots());
    CloseHandle(held);
    EXPECT_EQ("a\r\nb\r\nAPP\r\n\r\n", test::readFile(file));
}

// The profiles the release installs, with the line ends the release gives
// them, load as the five profiles they were written as.
TEST(ProfileStore, TheReleasedProfilesLoadAsWritten) {
    std::string source = KZO_RELEASE_PROFILES;  // a path of the build machine, seen through drive Z:
    for (char& c : source)
        if (c == '/') c = '\\';
    std::string text;
    for (char c : test::readFile("Z:" + source)) {
        if (c == '\n') text += '\r';
        if (c != '\r') text += c;
    }
    TempDir dir;
    test::writeFile(dir.file("kzo.pro"), text);
    ProfileStore store(dir.file("kzo.pro"));
    ASSERT_EQ(0, store.load(0));
    const struct {
        const char* name;
        const char* command;
        int type;
    } expected[] = {{"Start Notepad", "notepad.exe", 0},
                    {"Open the Windows folder", "%WINDIR%", 1},
                    {"Message to everybody", "The computer will shut down at 18:00. Please save your work.", 2},
                    {"Restart this computer", "REBOOT", 3},
                    {"End Notepad", "kill.exe notepad.exe", 0}};
    ASSERT_EQ(std::size(expected), store.count());
    for (std::size_t i = 0; i < store.count(); ++i) {
        std::string name, command, comment;
        int type = -1;
        ASSERT_EQ(0, store.name(i, name));
        ASSERT_EQ(0, store.get(i, command, comment, type));
        EXPECT_EQ(expected[i].name, name);
        EXPECT_EQ(expected[i].command, command);
        EXPECT_EQ(expected[i].type, type) << name;
        EXPECT_FALSE(comment.empty()) << name;
    }
}

}  // namespace
}  // namespace kzo
