// Message tasks: the text shown on the local screen or sent with the messenger
// service to the targets of the task's list.
//
// Everything goes through PlatformActions, which must outlive any local display
// started here (the displays run on detached threads). Nothing is shown to the
// user: a missing network library or function, or a failed send, ends that
// target silently and the rest of the list is still served. The first such
// failure is handed back for the run history when the caller asks for it.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform_actions.h"

namespace kzo {

// Who sends: "**" is every domain of the network for the Terminal, and the
// browse list (as "*") for the executors.
enum class MessageCaller { Executor, Terminal };

// Size of the block a local display owns (the text is cut to 1023 characters).
constexpr std::size_t kMessageBlockSize = 1024;
// The pause after starting each local display of a list.
constexpr std::uint32_t kLocalDisplayPauseMs = 500;

// The message sender. An empty list shows the text on this thread and returns
// when it is closed. Otherwise each entry in order: "." starts a local display
// on a detached thread of its own and pauses 500 ms without waiting for it;
// anything else is sent to that name (sendToName). Returns 1. firstError, when
// given, receives the Windows (or network) error of the first target that
// failed: 126 when netapi32 is missing, 127 when a function of it is, or the
// send's own status; 0 when none failed.
int sendMessage(PlatformActions& actions, const char* text, std::string_view targets,
                MessageCaller caller, std::uint32_t* firstError = nullptr);

// Whether the list names this computer only (empty, or "." entries alone): the
// text is shown, not sent.
bool showsLocallyOnly(std::string_view targets);

// One entry of a list: "*" (and "**" for the executors) broadcasts to the
// browse list, "**" for the Terminal to every domain; any other entry is a
// messaging name (a computer or a user). Returns 1 when netapi32 had the
// functions the send needs, else 0; the sends' own results are ignored.
int sendToName(PlatformActions& actions, const char* text, const std::string& name,
               MessageCaller caller);

// Sends to every computer of the browse list. False when netapi32 or one of
// NetServerEnum and NetMessageBufferSend is missing.
bool broadcastToBrowseList(PlatformActions& actions, const char* text);

// Sends to every domain of the whole network (WNet enumeration), descending
// into every container that is not a server. A starting container that is a
// server is not enumerated; null starts at the top.
void broadcastToAllDomains(PlatformActions& actions, const char* text,
                           const NetResource* container = nullptr);

}  // namespace kzo
