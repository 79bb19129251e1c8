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

// A local display on a detached thread that holds its own copy of the text.
// Should the thread not start, the text is shown on this thread rather than
// lost.
void startLocalDisplay(PlatformActions& actions, const char* text) {
    auto block = std::make_shared<MessageBlock>();
    std::size_t length = std::min(std::strlen(text), block->size() - 1);
    std::memcpy(block->data(), text, length);
    (*block)[length] = '\0';
    bool started = startDetachedThread([&actions, block]() { actions.showMessage(block->data()); });
    if (!started) actions.showMessage(block->data());
}

// NetMessageBufferSend of the text to one messaging name; the length counts the
// text's UTF-16 characters and the terminating zero, in bytes.
void sendWith(NetApi& api, const std::wstring& wideText, const std::wstring& name) {
    auto bytes = static_cast<std::uint32_t>((wideText.size() + 1) * sizeof(wchar_t));
    api.messageBufferSend(name, wideText, bytes);
}

// A messaging name: netapi32 bound for this one send and released after it.
int sendToMessagingName(PlatformActions& actions, const char* text, const std::string& name) {
    std::unique_ptr<NetApi> api = actions.loadNetApi();
    if (!api || !api->hasMessageBufferSend()) return 0;
    sendWith(*api, ansiToWide(text), ansiToWide(name));
    return 1;
}

}  // namespace

int sendMessage(PlatformActions& actions, const char* text, std::string_view targets,
                MessageCaller caller) {
    if (targets.empty()) {
        actions.showMessage(text);
        return 1;
    }
    for (const std::string& entry : splitTargetList(targets)) {
        if (entry == ".") {
            startLocalDisplay(actions, text);
            actions.sleepMs(kLocalDisplayPauseMs);
        } else {
            sendToName(actions, text, entry, caller);
        }
    }
    return 1;
}

int sendToName(PlatformActions& actions, const char* text, const std::string& name,
               MessageCaller caller) {
    if (name == "*" || (name == "**" && caller == MessageCaller::Executor)) {
        return broadcastToBrowseList(actions, text) ? 1 : 0;
    }
    if (name == "**") {
        broadcastToAllDomains(actions, text);
        return 1;
    }
    return sendToMessagingName(actions, text, name);
}

bool broadcastToBrowseList(PlatformActions& actions, const char* text) {
    std::unique_ptr<NetApi> api = actions.loadNetApi();
    if (!api || !api->hasServerEnum() || !api->hasMessageBufferSend()) return false;
    std::wstring wideText = ansiToWide(text);
    forEachBrowseListName(*api, [&](const std::wstring& name) { sendWith(*api, wideText, name); });
    return true;
}

void broadcastToAllDomains(PlatformActions& actions, const char* text,
                           const NetResource* container) {
    if (container && container->displayType == kResourceDisplayServer) return;
    std::unique_ptr<NetEnumeration> enumeration;
    if (actions.openNetEnumeration(container, enumeration) != 0 || !enumeration) return;
    for (;;) {
        std::vector<NetResource> entries;
        // 259 (no more items) ends the level normally; any other failure, "more
        // data" included, ends it too. A success that brings nothing would
        // never end, so it ends the level as well.
        if (enumeration->next(entries) != 0 || entries.empty()) break;
        for (const NetResource& entry : entries) {
            if (entry.displayType == kResourceDisplayDomain) {
                sendToMessagingName(actions, text, entry.remoteName);
            }
            if ((entry.usage & kResourceUsageContainer) != 0 &&
                entry.displayType != kResourceDisplayServer) {
                broadcastToAllDomains(actions, text, &entry);
            }
        }
    }
}

}  // namespace kzo
