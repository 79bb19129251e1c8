// The event-log writer: the entries (seen through the diagnostic copy, as
// Wine's event log keeps nothing), the bound of the formatting buffer,
// concurrent writers, and the message table that makes each entry's
// description its insertion string.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "application_log.h"
#include "registry_values.h"
#include "service_test_support.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

// An event source of its own for each test, removed afterwards.
class TestSource {
public:
    TestSource() {
        static int serial = 0;
        name_ = "KZO Test Source " + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++serial);
    }
    ~TestSource() { ApplicationLog::deleteEventSource(name_.c_str()); }
    const char* name() const { return name_.c_str(); }

private:
    std::string name_;
};

TEST(ApplicationLogWriter, WritesNothingWithoutAnOpenSource) {
    test::TempDir dir;
    TestSource source;
    ApplicationLog log;
    log.setDiagnosticCopy(dir.file("copy.log"));
    EXPECT_FALSE(log.isOpen());
    EXPECT_FALSE(log.write(EVENTLOG_ERROR_TYPE, "Service startup failure: 0x%x", 0x80004005u));
    EXPECT_FALSE(test::fileExists(dir.file("copy.log")));

    ASSERT_TRUE(log.open(source.name()));
    log.setDiagnosticCopy(dir.file("copy.log"));
    log.close();
    EXPECT_FALSE(log.error("after close"));
    EXPECT_FALSE(test::fileExists(dir.file("copy.log")));
}

TEST(ApplicationLogWriter, EntriesAreFormattedWithTheirType) {
    test::TempDir dir;
    TestSource source;
    ApplicationLog log;
    ASSERT_TRUE(log.open(source.name()));
    log.setDiagnosticCopy(dir.file("copy.log"));
    EXPECT_TRUE(log.write(EVENTLOG_ERROR_TYPE, "KZO Scheduler already started. Terminating (%d)", 183));
    EXPECT_TRUE(log.write(EVENTLOG_ERROR_TYPE, "Service startup failure: 0x%x",
                          static_cast<unsigned>(E_FAIL)));
    EXPECT_TRUE(log.write(EVENTLOG_INFORMATION_TYPE, "%s", "Bad service request."));
    // A text with directives of its own is written as it is.
    EXPECT_TRUE(log.error("Error opening Schedule file \"C:\\100%s.jsf\"\nAccess is denied."));
    EXPECT_EQ((std::vector<std::string>{
                  "error: KZO Scheduler already started. Terminating (183)",
                  "error: Service startup failure: 0x80004005",
                  "information: Bad service request.",
                  "error: Error opening Schedule file \"C:\\100%s.jsf\"\nAccess is denied.",
              }),
              test::copiedEntries(dir.file("copy.log")));
}

TEST(ApplicationLogWriter, OpeningReadsTheDiagnosticCopyFromTheSourceKey) {
    test::TempDir dir;
    TestSource source;
    ApplicationLog log;
    ASSERT_TRUE(log.open(source.name()));
    log.error("not copied");

    ASSERT_EQ(0u, ApplicationLog::addEventSource(source.name(), "tickrnt.exe"));
    {
        UniqueKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, eventSourceKey(source.name()).c_str(), 0,
                                               KEY_SET_VALUE, key.put()));
        ASSERT_EQ(0u, writeString(key.get(), kDiagnosticCopyValue, dir.file("copy.log")));
    }
    ASSERT_TRUE(log.open(source.name()));
    log.error("copied");
    EXPECT_EQ(std::vector<std::string>{"error: copied"}, test::copiedEntries(dir.file("copy.log")));
}

TEST(ApplicationLogWriter, LongTextIsCutToTheBuffer) {
    test::TempDir dir;
    TestSource source;
    ApplicationLog log;
    ASSERT_TRUE(log.open(source.name()));
    log.setDiagnosticCopy(dir.file("copy.log"));
    std::string text(3 * kEventTextSize, 'x');
    text[kEventTextSize - 2] = 'L';  // the last character that fits
    EXPECT_TRUE(log.error(text));
    EXPECT_TRUE(log.write(EVENTLOG_ERROR_TYPE, "%s%d", std::string(kEventTextSize - 3, 'y').c_str(), 1234));
    auto entries = test::copiedEntries(dir.file("copy.log"));
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ("error: " + text.substr(0, kEventTextSize - 1), entries[0]);
    EXPECT_EQ("error: " + std::string(kEventTextSize - 3, 'y') + "12", entries[1]);
}

TEST(ApplicationLogWriter, ConcurrentWritersNeverMixTheirEntries) {
    test::TempDir dir;
    TestSource source;
    ApplicationLog log;
    ASSERT_TRUE(log.open(source.name()));
    log.setDiagnosticCopy(dir.file("copy.log"));
    constexpr int kThreads = 4;
    constexpr int kEntries = 100;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&log, t] {
            // Each writer's text fills most of the shared buffer.
            std::string body(3000, static_cast<char>('a' + t));
            for (int i = 0; i < kEntries; ++i) log.write(EVENTLOG_ERROR_TYPE, "%d %s %d", t, body.c_str(), i);
        });
    }
    for (auto& w : writers) w.join();
    auto entries = test::copiedEntries(dir.file("copy.log"));
    ASSERT_EQ(static_cast<std::size_t>(kThreads * kEntries), entries.size());
    std::vector<int> next(kThreads, 0);
    for (const std::string& e : entries) {
        int t = e[7] - '0';
        ASSERT_TRUE(t >= 0 && t < kThreads) << e.substr(0, 20);
        std::string expected = "error: " + std::to_string(t) + " " +
                               std::string(3000, static_cast<char>('a' + t)) + " " +
                               std::to_string(next[t]++);
        ASSERT_EQ(expected, e);
    }
}

TEST(ServiceResources, MessageTableShowsTheInsertionStringAsTheDescription) {
    // What the Event Viewer does with an entry: message 0 of the program's
    // table, in US English, with the entry's one string.
    DWORD_PTR strings[] = {
        reinterpret_cast<DWORD_PTR>("KZO Scheduler already started. Terminating (183)")};
    char text[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                             GetModuleHandleA(nullptr), 0, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                             text, sizeof text, reinterpret_cast<va_list*>(strings));
    ASSERT_NE(0u, n) << "error " << GetLastError();
    EXPECT_EQ(std::string("KZO Scheduler already started. Terminating (183)\r\n"), std::string(text, n));

    HRSRC table = FindResourceExA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(11), MAKEINTRESOURCEA(1),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(nullptr, table);
    const auto* data = static_cast<const MESSAGE_RESOURCE_DATA*>(
        LockResource(LoadResource(GetModuleHandleA(nullptr), table)));
    ASSERT_EQ(1u, data->NumberOfBlocks);
    EXPECT_EQ(0u, data->Blocks[0].LowId);
    EXPECT_EQ(0u, data->Blocks[0].HighId);
    const auto* entry = reinterpret_cast<const MESSAGE_RESOURCE_ENTRY*>(
        reinterpret_cast<const BYTE*>(data) + data->Blocks[0].OffsetToEntries);
    EXPECT_EQ(0, entry->Flags) << "ANSI";
    EXPECT_STREQ("%1\r\n", reinterpret_cast<const char*>(entry->Text));
}

}  // namespace
}  // namespace kzo
