// When the time-control loop passes: about one second after every full minute,
// and at once for a freshly started executor in the middle of a minute. Pure:
// functions of the local time read.
#pragma once

#include <cstdint>

namespace kzo {

// The milliseconds the loop thread waits, at this second and millisecond of a
// minute, to wake 1.000 s after the next full minute: 61,000 - (second x 1000 +
// milliseconds), never less than 1 ms nor more than 61,000 ms, whatever the
// clock shows.
std::uint32_t msUntilNextPass(int second, int milliseconds);

// Whether a freshly started executor evaluates at once: not when the minute is
// about to turn or has just begun.
bool wantsImmediatePass(int seconds);

}  // namespace kzo
