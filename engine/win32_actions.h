// The platform actions done for real: netapi32 bound at run time, privileges,
// shutdowns, the whole-network enumeration, sleeps and sounds. Presentation
// (confirmLaunch, showLaunchError, showMessage, reportScheduleError) stays
// abstract: each program supplies it.
#pragma once

#include "platform_actions.h"

namespace kzo {

// netapi32 loaded by name with its functions looked up (nullptr when the
// library cannot be loaded; GetLastError says why); freed with the object.
std::unique_ptr<NetApi> loadNetApiLibrary();

class Win32Actions : public PlatformActions {
public:
    // LoadLibraryA("netapi32") on every call, the three functions looked up by
    // name; the library is freed when the returned object is destroyed.
    std::unique_ptr<NetApi> loadNetApi() override;
    std::uint32_t openNetEnumeration(const NetResource* container,
                                     std::unique_ptr<NetEnumeration>& enumeration) override;

    // GetVersionExA reports VER_PLATFORM_WIN32_NT.
    bool isNtPlatform() override;
    // OpenProcessToken (TOKEN_ADJUST_PRIVILEGES), LookupPrivilegeValueA and
    // AdjustTokenPrivileges; false when a step fails or GetLastError is not 0
    // after the adjustment (the privilege is not held).
    bool enablePrivilege(const char* name) override;
    std::uint32_t exitWindows(std::uint32_t flags) override;
    std::uint32_t initiateShutdown(const char* computer, const char* notice,
                                   std::uint32_t timeoutSeconds, bool forceAppsClosed,
                                   bool rebootAfter) override;

    // A detached launch thread (launch_thread.h) that presents through this
    // object.
    void startLaunch(const LaunchRequest& request) override;
    // The real processes (systemProcesses).
    ProcessControl& processes() override;

    void sleepMs(std::uint32_t ms) override;
    void beep() override;
    // PlaySoundA with SND_FILENAME | SND_ASYNC | SND_NODEFAULT.
    void playSound(const char* file) override;
};

}  // namespace kzo
