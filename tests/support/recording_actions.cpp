#include "recording_actions.h"

#include <algorithm>
#include <chrono>

#include "code_page.h"

namespace kzo::test {

namespace {

class RecordingNetApi : public NetApi {
public:
    explicit RecordingNetApi(RecordingActions& actions)
        : actions_(actions),
          send_(actions.messageSendPresent),
          serverEnum_(actions.serverEnumPresent),
          bufferFree_(actions.bufferFreePresent) {}
    ~RecordingNetApi() override { actions_.record("releaseNetApi"); }

    bool hasMessageBufferSend() const override { return send_; }
    bool hasServerEnum() const override { return serverEnum_; }
    bool hasApiBufferFree() const override { return bufferFree_; }

    std::uint32_t messageBufferSend(const std::wstring& name, const std::wstring& text,
                                    std::uint32_t bytes) override {
        actions_.recordSend(name, text, bytes);
        return 0;
    }
    std::uint32_t serverEnum(std::vector<std::wstring>& names) override {
        return actions_.nextServerEnum(names);
    }

private:
    RecordingActions& actions_;
    bool send_;
    bool serverEnum_;
    bool bufferFree_;
};

std::string levelName(const std::string& container) {
    return container.empty() ? "(top)" : container;
}

class RecordingEnumeration : public NetEnumeration {
public:
    RecordingEnumeration(RecordingActions& actions, std::string container)
        : actions_(actions), container_(std::move(container)) {}
    ~RecordingEnumeration() override { actions_.record("closeEnum " + levelName(container_)); }

    std::uint32_t next(std::vector<NetResource>& entries) override {
        NetLevel::Page page = actions_.pageOf(container_, index_++);
        entries = page.status == 0 ? page.entries : std::vector<NetResource>();
        return page.status;
    }

private:
    RecordingActions& actions_;
    std::string container_;
    std::size_t index_ = 0;
};

}  // namespace

RecordingActions::~RecordingActions() {
    std::unique_lock<std::mutex> lock(mutex_);
    displaysBlocked_ = false;
    changed_.notify_all();
    changed_.wait_for(lock, std::chrono::seconds(10), [this] { return displaysOpen_ == 0; });
}

void RecordingActions::blockDisplays() {
    std::lock_guard<std::mutex> lock(mutex_);
    displaysBlocked_ = true;
}

void RecordingActions::releaseDisplays() {
    std::lock_guard<std::mutex> lock(mutex_);
    displaysBlocked_ = false;
    changed_.notify_all();
}

std::vector<std::string> RecordingActions::events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

std::vector<std::string> RecordingActions::eventsWithout(const std::string& prefix) const {
    std::vector<std::string> kept;
    for (const std::string& event : events()) {
        if (event.compare(0, prefix.size(), prefix) != 0) kept.push_back(event);
    }
    return kept;
}

std::vector<std::uint32_t> RecordingActions::sentBytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sentBytes_;
}

bool RecordingActions::waitForDisplays(std::size_t count, std::uint32_t timeoutMs) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return displaysStarted_ >= count; });
}

bool RecordingActions::waitForDisplaysClosed(std::size_t count, std::uint32_t timeoutMs) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return closedDisplayTexts_.size() >= count; });
}

std::vector<std::string> RecordingActions::closedDisplayTexts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return closedDisplayTexts_;
}

std::size_t RecordingActions::openDisplays() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return displaysOpen_;
}

void RecordingActions::record(const std::string& event) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(event);
}

std::uint32_t RecordingActions::nextServerEnum(std::vector<std::wstring>& names) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back("serverEnum");
    names.clear();
    if (serverEnumAnswers.empty()) return 0;
    std::size_t index = std::min(serverEnumCalls_++, serverEnumAnswers.size() - 1);
    names = serverEnumAnswers[index].names;
    return serverEnumAnswers[index].status;
}

void RecordingActions::recordSend(const std::wstring& name, const std::wstring& text,
                                  std::uint32_t bytes) {
    std::string line = "send " + wideToAnsi(name) + ": " + wideToAnsi(text);
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(line);
    sentBytes_.push_back(bytes);
}

NetLevel::Page RecordingActions::pageOf(const std::string& container, std::size_t index) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto level = network.find(container);
    if (level == network.end() || index >= level->second.pages.size()) {
        return NetLevel::Page{259, {}};
    }
    return level->second.pages[index];
}

// The knobs are set before the code under test runs: read without the lock.

bool RecordingActions::confirmLaunch(const TaskRecord& task, const char* command) {
    record(std::string("confirmLaunch ") + fieldText(task.name) + ": " + command);
    return confirmAnswer;
}

void RecordingActions::showLaunchError(const TaskRecord& task, const char* command,
                                       std::uint32_t error) {
    record(std::string("launchError ") + fieldText(task.name) + ": " + command + " " +
           std::to_string(error));
}

void RecordingActions::showMessage(const char* text) {
    std::unique_lock<std::mutex> lock(mutex_);
    events_.push_back(std::string("show ") + text);
    ++displaysStarted_;
    ++displaysOpen_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !displaysBlocked_; });
    closedDisplayTexts_.push_back(text);
    --displaysOpen_;
    changed_.notify_all();
}

void RecordingActions::reportScheduleError(ScheduleError error, const char* fileName,
                                           std::uint32_t code) {
    record("scheduleError " + std::to_string(static_cast<int>(error)) + " " + fileName + " " +
           std::to_string(code));
}

void RecordingActions::startLaunch(const LaunchRequest& request) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::string("startLaunch ") + fieldText(request.task.name));
    launches_.push_back(request);
}

ProcessControl& RecordingActions::processes() {
    return processControl ? *processControl : systemProcesses();
}

std::vector<LaunchRequest> RecordingActions::launches() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return launches_;
}

std::unique_ptr<NetApi> RecordingActions::loadNetApi() {
    record(netApiPresent ? "loadNetApi" : "loadNetApi: missing");
    return netApiPresent ? std::make_unique<RecordingNetApi>(*this) : nullptr;
}

std::uint32_t RecordingActions::openNetEnumeration(const NetResource* container,
                                                   std::unique_ptr<NetEnumeration>& enumeration) {
    std::string name = container ? container->remoteName : std::string();
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back("openEnum " + levelName(name));
    auto level = network.find(name);
    std::uint32_t status = level == network.end() ? 1222 : level->second.openStatus;
    if (status == 0) enumeration = std::make_unique<RecordingEnumeration>(*this, name);
    return status;
}

bool RecordingActions::isNtPlatform() { return ntPlatform; }

bool RecordingActions::enablePrivilege(const char* name) {
    bool refused = refusedPrivileges.count(name) != 0;
    record(std::string("enablePrivilege ") + name + (refused ? ": refused" : ""));
    return !refused;
}

std::uint32_t RecordingActions::exitWindows(std::uint32_t flags) {
    record("exitWindows " + std::to_string(flags));
    return exitWindowsResult ? 0 : kRefusedError;
}

std::uint32_t RecordingActions::initiateShutdown(const char* computer, const char* notice,
                                        std::uint32_t timeoutSeconds, bool forceAppsClosed,
                                        bool rebootAfter) {
    record(std::string("initiateShutdown ") + computer + " \"" + notice + "\" " +
           std::to_string(timeoutSeconds) + "s" + (forceAppsClosed ? " force" : "") +
           (rebootAfter ? " restart" : " stay-off"));
    return initiateShutdownResult ? 0 : kRefusedError;
}

void RecordingActions::sleepMs(std::uint32_t ms) { record("sleep " + std::to_string(ms)); }

void RecordingActions::beep() { record("beep"); }

void RecordingActions::playSound(const char* file) { record(std::string("playSound ") + file); }

}  // namespace kzo::test
