// A PlatformActions double that does nothing for real: it records every call in
// order as a readable line ("send SERVER1: hello", "exitWindows 6") and answers
// from knobs the test sets before the code under test runs. Thread-safe: local
// message displays call it from threads of their own.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform_actions.h"

namespace kzo::test {

// Recorded events, and lists of them laid end to end.
using Events = std::vector<std::string>;
inline Events operator+(Events a, const Events& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One answer of NetServerEnum.
struct ServerEnumAnswer {
    std::uint32_t status = 0;
    std::vector<std::wstring> names;
};

// One level of the whole network, as WNetOpenEnumA and WNetEnumResourceA see it.
struct NetLevel {
    struct Page {
        std::uint32_t status = 0;
        std::vector<NetResource> entries;
    };
    std::uint32_t openStatus = 0;
    std::vector<Page> pages;  // after the last page: 259 (no more items)
};

class RecordingActions : public PlatformActions {
public:
    // --- Knobs: set them before the code under test runs. ---------------------

    bool netApiPresent = true;
    bool messageSendPresent = true;
    bool serverEnumPresent = true;
    bool bufferFreePresent = true;
    // NetServerEnum answers in order; the last one repeats. None: 0, no names.
    std::vector<ServerEnumAnswer> serverEnumAnswers;

    bool ntPlatform = true;
    std::set<std::string> refusedPrivileges;
    // A refused shutdown answers kRefusedError.
    bool exitWindowsResult = true;
    bool initiateShutdownResult = true;
    static constexpr std::uint32_t kRefusedError = 5;  // ERROR_ACCESS_DENIED

    // The processes the launchers start; nullptr: the real ones.
    ProcessControl* processControl = nullptr;

    bool confirmAnswer = true;

    // The network by container remote name, "" for the top. A container not
    // listed fails to open with 1222 (no network).
    std::map<std::string, NetLevel> network;

    // Makes showMessage block until releaseDisplays.
    void blockDisplays();
    void releaseDisplays();

    // Releases blocked displays and waits (bounded) for every display to close,
    // so that no display thread outlives the double.
    ~RecordingActions() override;

    // --- What happened. ---------------------------------------------------------

    std::vector<std::string> events() const;
    // The events that do not start with prefix (e.g. without the "show " lines
    // that display threads add in their own time).
    std::vector<std::string> eventsWithout(const std::string& prefix) const;
    // Every launch request handed to startLaunch, in order.
    std::vector<LaunchRequest> launches() const;
    // The length in bytes of every NetMessageBufferSend, in order.
    std::vector<std::uint32_t> sentBytes() const;
    // Waits until count displays have started (true) or the deadline passes.
    bool waitForDisplays(std::size_t count, std::uint32_t timeoutMs) const;
    // Waits until count displays have been closed (true) or the deadline passes.
    bool waitForDisplaysClosed(std::size_t count, std::uint32_t timeoutMs) const;
    std::size_t openDisplays() const;
    // The text of each closed display, read again when it closed.
    std::vector<std::string> closedDisplayTexts() const;

    // --- PlatformActions. ----------------------------------------------------------

    bool confirmLaunch(const TaskRecord& task, const char* command) override;
    void showLaunchError(const TaskRecord& task, const char* command,
                         std::uint32_t error) override;
    void showMessage(const char* text) override;
    void reportScheduleError(ScheduleError error, const char* fileName,
                             std::uint32_t code) override;
    void startLaunch(const LaunchRequest& request) override;
    ProcessControl& processes() override;
    std::unique_ptr<NetApi> loadNetApi() override;
    std::uint32_t openNetEnumeration(const NetResource* container,
                                     std::unique_ptr<NetEnumeration>& enumeration) override;
    bool isNtPlatform() override;
    bool enablePrivilege(const char* name) override;
    std::uint32_t exitWindows(std::uint32_t flags) override;
    std::uint32_t initiateShutdown(const char* computer, const char* notice,
                                   std::uint32_t timeoutSeconds, bool forceAppsClosed,
                                   bool rebootAfter) override;
    void sleepMs(std::uint32_t ms) override;
    void beep() override;
    void playSound(const char* file) override;

    // For the doubles of netapi32 and of an enumeration.
    void record(const std::string& event);
    std::uint32_t nextServerEnum(std::vector<std::wstring>& names);
    void recordSend(const std::wstring& name, const std::wstring& text, std::uint32_t bytes);
    NetLevel::Page pageOf(const std::string& container, std::size_t index);

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> events_;
    std::vector<std::uint32_t> sentBytes_;
    std::vector<LaunchRequest> launches_;
    std::size_t serverEnumCalls_ = 0;
    bool displaysBlocked_ = false;
    std::size_t displaysStarted_ = 0;
    std::size_t displaysOpen_ = 0;
    std::vector<std::string> closedDisplayTexts_;
};

}  // namespace kzo::test
