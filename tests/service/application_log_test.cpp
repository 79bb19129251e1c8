// The event-log writer: the entries (seen through the diagnostic copy, as
// Wine's event log keeps nothing), the bound of the formatting buffer,
// concurrent writers, and the message table that makes each entry's
// description its insertion string.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "application_log.h"
#include "service_test_support.h"
#include "test_registry.h"
#include "test_support.h"

namespace kzo {
namespace {

// A log on an event source of its own, removed afterwards, with its diagnostic
// copy in the test's folder.
class ApplicationLogWriter : public ::testing::Test {
protected:
    ~ApplicationLogWriter() override {
        log_.close();
        ApplicationLog::deleteEventSource(source_.c_str());
    }
    void openWithCopy() {
        ASSERT_TRUE(log_.open(source_.c_str()));
        log_.setDiagnosticCopy(copy());
    }
    std::string copy() const { return dir_.file("copy.log"); }
    std::vector<std::string> entries() const { return test::copiedEntries(copy()); }

    test::TempDir dir_;
    std::string source_ = test::uniqueName("KZO Test Source ");
    ApplicationLog log_;
};

TEST_F(ApplicationLogWriter, WritesNothingWithoutAnOpenSource) {
    log_.setDiagnosticCopy(copy());
    EXPECT_FALSE(log_.isOpen());
    EXPECT_FALSE(log_.write(EVENTLOG_ERROR_TYPE, "Service startup failure: 0x%x", 0x80004005u));
    EXPECT_FALSE(test::fileExists(copy()));

    openWithCopy();
    log_.close();
    EXPECT_FALSE(log_.error("after close"));
    EXPECT_FALSE(test::fileExists(copy()));
}

TEST_F(ApplicationLogWriter, EntriesAreFormattedWithTheirType) {
    openWithCopy();
    EXPECT_TRUE(log_.write(EVENTLOG_ERROR_TYPE, "KZO Scheduler already started. Terminating (%d)", 183));
    EXPECT_TRUE(log_.write(EVENTLOG_ERROR_TYPE, "Service startup failure: 0x%x",
                           static_cast<unsigned>(E_FAIL)));
    EXPECT_TRUE(log_.write(EVENTLOG_INFORMATION_TYPE, "%s", "Bad service request."));
    // A text with directives of its own is written as it is.
    EXPECT_TRUE(log_.error("Error opening Schedule file \"C:\\100%s.jsf\"\nAccess is denied."));
    EXPECT_EQ((std::vector<std::string>{
                  "error: KZO Scheduler already started. Terminating (183)",
                  "error: Service startup failure: 0x80004005",
                  "information: Bad service request.",
                  "error: Error opening Schedule file \"C:\\100%s.jsf\"\nAccess is denied.",
              }),
              entries());
}

TEST_F(ApplicationLogWriter, OpeningReadsTheDiagnosticCopyFromTheSourceKey) {
    ASSERT_TRUE(log_.open(source_.c_str()));
    log_.error("not copied");

    ASSERT_EQ(0u, ApplicationLog::addEventSource(source_.c_str(), "tickrnt.exe"));
    test::RegKey(HKEY_LOCAL_MACHINE, eventSourceKey(source_.c_str())).setString(kDiagnosticCopyValue, copy());
    ASSERT_TRUE(log_.open(source_.c_str()));
    log_.error("copied");
    EXPECT_EQ(std::vector<std::string>{"error: copied"}, entries());
}

TEST_F(ApplicationLogWriter, LongTextIsCutToTheBuffer) {
    openWithCopy();
    std::string text(3 * kEventTextSize, 'x');
    text[kEventTextSize - 2] = 'L';  // the last character that fits
    EXPECT_TRUE(log_.error(text));
    EXPECT_TRUE(log_.write(EVENTLOG_ERROR_TYPE, "%s%d", std::string(kEventTextSize - 3, 'y').c_str(), 1234));
    auto written = entries();
    ASSERT_EQ(2u, written.size());
    EXPECT_EQ("error: " + text.substr(0, kEventTextSize - 1), written[0]);
    EXPECT_EQ("error: " + std::string(kEventTextSize - 3, 'y') + "12", written[1]);
}

TEST_F(ApplicationLogWriter, ConcurrentWritersNeverMixTheirEntries) {
    openWithCopy();
    constexpr int kThreads = 4;
    constexpr int kEntries = 100;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([this, t] {
            // Each writer's text fills most of the shared buffer.
            std::string body(3000, static_cast<char>('a' + t));
            for (int i = 0; i < kEntries; ++i) log_.write(EVENTLOG_ERROR_TYPE, "%d %s %d", t, body.c_str(), i);
        });
    }
    for (auto& w : writers) w.join();
    auto written = entries();
    ASSERT_EQ(static_cast<std::size_t>(kThreads * kEntries), written.size());
    std::vector<int> next(kThreads, 0);
    for (const std::string& e : written) {
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
