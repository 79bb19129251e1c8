#include "system_scheduler.h"

#include "resource.h"
#include "run_history.h"
#include "string_table.h"

namespace kzo {

namespace {

LoopConfig serviceLoopConfig(const SystemSchedulerConfig& config) {
    LoopConfig loop;
    loop.role = SchedulerRole::System;
    loop.settingsRoot = config.settingsRoot;
    loop.settingsKey = config.settingsKey;
    loop.updateEventName = config.updateEventName;
    return loop;
}

}  // namespace

SystemScheduler::SystemScheduler(ApplicationLog& log, ServiceStatusSink& sink, Clock& clock,
                                 PlatformActions& actions, SystemSchedulerConfig config)
    : NtService(log, sink),
      config_(std::move(config)),
      clock_(clock),
      actions_(actions),
      loop_(
          [this] {
              LoopConfig loop = serviceLoopConfig(config_);
              // The service's status follows an "Active" changed elsewhere.
              loop.activeChanged = [this](bool active) {
                  control(active ? SERVICE_CONTROL_CONTINUE : SERVICE_CONTROL_PAUSE);
              };
              loop.settingsRead = [this](const SchedulerSettings& s) { settingsRead(s); };
              return loop;
          }(),
          clock, actions) {}

SystemScheduler::~SystemScheduler() { loop_.stop(); }

void SystemScheduler::settingsRead(const SchedulerSettings& settings) {
    active_ = settings.active;
    if (config_.settingsRead) config_.settingsRead(settings);
}

int SystemScheduler::onStart() {
    SetLastError(0);
    mutex_.reset(CreateMutexA(nullptr, FALSE, config_.mutexName.c_str()));
    DWORD error = GetLastError();
    if (!mutex_ || error != 0) {
        // Another instance holds it (183), or it could not be created.
        mutex_.reset();
        log().write(EVENTLOG_ERROR_TYPE, "KZO Scheduler already started. Terminating (%d)",
                    static_cast<int>(error));
        return E_FAIL;
    }
    if (startEngine() != kEngineStarted) return E_FAIL;
    // Paused before the last stop (or deactivated since): the service starts
    // paused, so that its status tells the truth and a continue can reach it.
    if (!active_) control(SERVICE_CONTROL_PAUSE);
    return 0;
}

int SystemScheduler::startEngine() {
    active_ = true;
    SchedulerSettings settings = readExecutorSettings(config_.settingsRoot, config_.settingsKey.c_str());
    settingsRead(settings);
    if (settings.dat.empty()) {
        actions_.beep();
        log().error(loadString(IDS_NO_SYSTEM_SCHEDULE));
        return kEngineNoSchedule;
    }
    if (loop_.start() != kLoopStarted) {
        actions_.beep();
        log().error(loadString(IDS_NO_LOOP_THREAD));
        return kEngineThreadFailed;
    }
    return kEngineStarted;
}

void SystemScheduler::storeActive() {
    writeActive(config_.settingsRoot, active_, config_.settingsKey.c_str());
}

void SystemScheduler::onStop() {
    loop_.stop();
    // Programs still running are written as such; their threads are let go.
    runHistory().recordStillRunning(clock_.now());
    storeActive();
}

void SystemScheduler::onPause() {
    active_ = false;
    storeActive();
}

void SystemScheduler::onContinue() {
    active_ = true;
    storeActive();
}

}  // namespace kzo
