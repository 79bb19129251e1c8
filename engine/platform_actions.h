// The platform-actions seam: everything the engine asks of the program it runs
// in and of the platform beyond files and the registry. One real implementation
// (Win32Actions, with each program supplying its own presentation) and one test
// double (tests/support) that records what was asked.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "launch_request.h"
#include "process_control.h"
#include "task_record.h"

namespace kzo {

// Schedule-file problems a pass reports.
enum class ScheduleError {
    OpenFailed,   // "Error opening Schedule file ..." (7505)
    ReadFailed,   // "Error reading Schedule file ..." (7506)
    BadSize,      // "... has incorrect size ..." (7507)
};

// Exit modes of a shutdown (ExitWindowsEx values).
enum ExitMode : std::uint32_t {
    kExitLogoff = 0,
    kExitShutdown = 1,
    kExitReboot = 2,
    kExitPowerOff = 8,
};
constexpr std::uint32_t kExitForce = 4;

// netapi32 bound by name for one send or broadcast; released when destroyed.
class NetApi {
public:
    virtual ~NetApi() = default;
    virtual bool hasMessageBufferSend() const = 0;
    virtual bool hasServerEnum() const = 0;
    virtual bool hasApiBufferFree() const = 0;
    // NetMessageBufferSend with server "." and no sender name; bytes counts the
    // terminating zero.
    virtual std::uint32_t messageBufferSend(const std::wstring& name, const std::wstring& text,
                                            std::uint32_t bytes) = 0;
    // One NetServerEnum call at level 100 over the primary domain's browse list
    // (all server types, preferred length -1, no resume handle). Returns the
    // call's status; names receives the entries it returned. The buffer is freed
    // with NetApiBufferFree when that function is present.
    virtual std::uint32_t serverEnum(std::vector<std::wstring>& names) = 0;
};

// WNet values of a network resource's display type and usage.
constexpr std::uint32_t kResourceDisplayDomain = 1;   // RESOURCEDISPLAYTYPE_DOMAIN
constexpr std::uint32_t kResourceDisplayServer = 2;   // RESOURCEDISPLAYTYPE_SERVER
constexpr std::uint32_t kResourceUsageContainer = 2;  // RESOURCEUSAGE_CONTAINER

// One entry of a WNet enumeration, with every field WNetOpenEnumA needs to
// descend into it. An empty text stands for a null pointer.
struct NetResource {
    std::uint32_t scope = 0;
    std::uint32_t type = 0;
    std::uint32_t displayType = 0;
    std::uint32_t usage = 0;
    std::string localName;
    std::string remoteName;
    std::string comment;
    std::string provider;
};

// An open WNet enumeration; closed (WNetCloseEnum) when destroyed.
class NetEnumeration {
public:
    virtual ~NetEnumeration() = default;
    // One WNetEnumResourceA call for as many entries as fit in 16384 bytes.
    // Returns the call's status (0, 259 no more items, 234 more data, or an
    // error); entries receives what it returned (nothing unless the status is 0).
    virtual std::uint32_t next(std::vector<NetResource>& entries) = 0;
};

class PlatformActions {
public:
    virtual ~PlatformActions() = default;

    // --- Presentation: each program shows these its own way. ------------------

    // The Warn prompt before a launch; command is macro-expanded, not yet
    // environment-expanded. True unless the answer is No.
    virtual bool confirmLaunch(const TaskRecord& task, const char* command) = 0;
    // A launch that failed with a Windows error code (RepErr).
    virtual void showLaunchError(const TaskRecord& task, const char* command,
                                 std::uint32_t error) = 0;
    // A Message task's text on the local screen; returns when it is closed.
    virtual void showMessage(const char* text) = 0;
    // The same for the "." of a target list, without holding up the sends to
    // the other targets: by default showMessage on a detached thread that
    // holds its own copy of the text (on this thread should none start).
    virtual void showMessageAside(const char* text);
    // A pass's trouble with the schedule file; code is a Windows error code
    // (0 for BadSize). The box blocks the pass until it is closed.
    virtual void reportScheduleError(ScheduleError error, const char* fileName,
                                     std::uint32_t code) = 0;

    // --- Launching ---------------------------------------------------------------

    // Starts a detached launch thread for the request; never waits for it.
    virtual void startLaunch(const LaunchRequest& request) = 0;
    // How the launchers start and follow programs and documents.
    virtual ProcessControl& processes() = 0;

    // --- Network, bound at run time on every use ---------------------------------

    // netapi32 loaded, or nullptr when the library is missing (95/98/Me).
    virtual std::unique_ptr<NetApi> loadNetApi() = 0;
    // WNetOpenEnumA over the whole network (RESOURCE_GLOBALNET, all resource
    // types and usages), at the top when container is null, else inside it.
    // Returns the call's status; enumeration is set when it is 0.
    virtual std::uint32_t openNetEnumeration(const NetResource* container,
                                             std::unique_ptr<NetEnumeration>& enumeration) = 0;

    // --- Shutdown ----------------------------------------------------------------

    virtual bool isNtPlatform() = 0;
    // Enables a privilege in the process token; false when any step fails or the
    // privilege is not held.
    virtual bool enablePrivilege(const char* name) = 0;
    // ExitWindowsEx; flags include kExitForce. 0, or the Windows error.
    virtual std::uint32_t exitWindows(std::uint32_t flags) = 0;
    // InitiateSystemShutdownA. 0, or the Windows error.
    virtual std::uint32_t initiateShutdown(const char* computer, const char* notice,
                                           std::uint32_t timeoutSeconds, bool forceAppsClosed,
                                           bool rebootAfter) = 0;

    // --- Time and sound ---------------------------------------------------------

    virtual void sleepMs(std::uint32_t ms) = 0;
    // The default beep (MessageBeep 0xFFFFFFFF), sounded before every error box.
    virtual void beep() = 0;
    // Plays a WAV file asynchronously; a failure to play is ignored.
    virtual void playSound(const char* file) = 0;
};

}  // namespace kzo
