// The names the suite shows and registers under.
#pragma once

namespace kzo {

// The product: the caption of the schedulers' message boxes and dialogs.
constexpr const char* kProductName = "KZO Scheduler";
// The NT service of the System Scheduler (name and display name).
constexpr const char* kServiceName = "KZO Scheduler";

}  // namespace kzo
