#include "pass_timing.h"

namespace kzo {

std::uint32_t msUntilNextPass(int second, int milliseconds) {
    constexpr std::int64_t kTarget = 61000;  // 1.000 s into the next minute
    std::int64_t into = static_cast<std::int64_t>(second) * 1000 + milliseconds;
    std::int64_t wait = kTarget - into;
    if (wait < 1) return 1;
    if (wait > kTarget) return static_cast<std::uint32_t>(kTarget);
    return static_cast<std::uint32_t>(wait);
}

bool wantsImmediatePass(int seconds) { return seconds > 10 && seconds < 50; }

}  // namespace kzo
