#include "messages.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "browse_list.h"
#include "code_page.h"
#include "detached_thread.h"
#include "target_list.h"

namespace kzo {

namespace {

using MessageBlock = std::array<char, kMessageBlockSize>;

constexpr std::uint32_t kErrorModuleNotFound = 126;  // ERROR_MOD_NOT_FOUND
constexpr std::uint32_t kErrorProcNotFound = 127;    // ERROR_PROC_NOT_FOUND

// The first failure of a message's targets.
struct FirstError {
    std::uint32_t code = 0;
    void note(std::uint32_t error) {
        if (code == 0) code = error;
    }
};

// netapi32 with the functions a send needs, or the error of what is missing.
std::uint32_t missingNetApi(const std::unique_ptr<NetApi>& api, bool needsServerEnum) {
    if (!api) return kErrorModuleNotFound;
    if (!api->hasMessageBufferSend() || (needsServerEnum && !api->hasServerEnum()))
        return kErrorProcNotFound;
    return 0;
}

// NetMessageBufferSend of the text to one messaging name; the length counts the
// text's UTF-16 characters and the terminating zero, in bytes.
void sendWith(NetApi& api, const std::wstring& wideText, const std::wstring& name,
              FirstError& failed) {
    auto bytes = static_cast<std::uint32_t>((wideText.size() + 1) * sizeof(wchar_t));
    failed.note(api.messageBufferSend(name, wideText, bytes));
}

// A messaging name: netapi32 bound for this one send and released after it.
int sendToMessagingName(PlatformActions& actions, const char* text, const std::string& name,
                        FirstError& failed) {
    std::unique_ptr<NetApi> api = actions.loadNetApi();
    if (std::uint32_t missing = missingNetApi(api, false)) {
        failed.note(missing);
        return 0;
    }
    sendWith(*api, ansiToWide(text), ansiToWide(name), failed);
    return 1;
}

bool broadcastToBrowseList(PlatformActions& actions, const char* text, FirstError& failed) {
    std::unique_ptr<NetApi> api = actions.loadNetApi();
    if (std::uint32_t missing = missingNetApi(api, true)) {
        failed.note(missing);
        return false;
    }
    std::wstring wideText = ansiToWide(text);
    forEachBrowseListName(*api, [&](const std::wstring& name) { sendWith(*api, wideText, name, failed); });
    return true;
}

void broadcastToAllDomains(PlatformActions& actions, const char* text,
                           const NetResource* container, FirstError& failed) {
    if (container && container->displayType == kResourceDisplayServer) return;
    std::unique_ptr<NetEnumeration> enumeration;
    std::uint32_t opened = actions.openNetEnumeration(container, enumeration);
    if (opened != 0 || !enumeration) {
        failed.note(opened);
        return;
    }
    for (;;) {
        std::vector<NetResource> entries;
        // 259 (no more items) ends the level normally; any other failure, "more
        // data" included, ends it too. A success that brings nothing would
        // never end, so it ends the level as well.
        if (enumeration->next(entries) != 0 || entries.empty()) break;
        for (const NetResource& entry : entries) {
            if (entry.displayType == kResourceDisplayDomain) {
                sendToMessagingName(actions, text, entry.remoteName, failed);
            }
            if ((entry.usage & kResourceUsageContainer) != 0 &&
                entry.displayType != kResourceDisplayServer) {
                broadcastToAllDomains(actions, text, &entry, failed);
            }
        }
    }
}

int sendToName(PlatformActions& actions, const char* text, const std::string& name,
               MessageCaller caller, FirstError& failed) {
    if (name == "*" || (name == "**" && caller == MessageCaller::Executor)) {
        return broadcastToBrowseList(actions, text, failed) ? 1 : 0;
    }
    if (name == "**") {
        broadcastToAllDomains(actions, text, nullptr, failed);
        return 1;
    }
    return sendToMessagingName(actions, text, name, failed);
}

}  // namespace

int sendMessage(PlatformActions& actions, const char* text, std::string_view targets,
                MessageCaller caller, std::uint32_t* firstError) {
    FirstError failed;
    if (targets.empty()) {
        actions.showMessage(text);
    } else {
        for (const std::string& entry : splitTargetList(targets)) {
            if (entry == ".") {
                actions.showMessageAside(text);
                actions.sleepMs(kLocalDisplayPauseMs);
            } else {
                sendToName(actions, text, entry, caller, failed);
            }
        }
    }
    if (firstError) *firstError = failed.code;
    return 1;
}

bool showsLocallyOnly(std::string_view targets) {
    for (const std::string& entry : splitTargetList(targets))
        if (entry != ".") return false;
    return true;
}

int sendToName(PlatformActions& actions, const char* text, const std::string& name,
               MessageCaller caller) {
    FirstError failed;
    return sendToName(actions, text, name, caller, failed);
}

bool broadcastToBrowseList(PlatformActions& actions, const char* text) {
    FirstError failed;
    return broadcastToBrowseList(actions, text, failed);
}

void broadcastToAllDomains(PlatformActions& actions, const char* text,
                           const NetResource* container) {
    FirstError failed;
    broadcastToAllDomains(actions, text, container, failed);
}

// Should the thread not start, the text is shown on this thread rather than
// lost.
void PlatformActions::showMessageAside(const char* text) {
    auto block = std::make_shared<MessageBlock>();
    std::size_t length = std::min(std::strlen(text), block->size() - 1);
    std::memcpy(block->data(), text, length);
    (*block)[length] = '\0';
    bool started = startDetachedThread([this, block]() { showMessage(block->data()); });
    if (!started) showMessage(block->data());
}

}  // namespace kzo
