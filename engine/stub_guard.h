// Calls into functions bound at run time that a compatibility layer may export
// only as stubs. Wine's unimplemented functions raise EXCEPTION_WINE_STUB
// (0x80000100) when called, which would end the executor; a guarded call turns
// that exception into ERROR_CALL_NOT_IMPLEMENTED (120). Any other exception
// passes on untouched, and on Windows the guard never acts.
#pragma once

#include <cstdint>

namespace kzo {

constexpr std::uint32_t kCallNotImplemented = 120;

// Runs call(context) and returns its result, or kCallNotImplemented when the
// call hit an unimplemented stub. Not re-entrant: call must not itself make a
// guarded call.
std::uint32_t callGuardingStubs(std::uint32_t (*call)(void* context), void* context);

template <typename Function>
std::uint32_t guardStubs(Function function) {
    return callGuardingStubs(
        [](void* context) -> std::uint32_t { return (*static_cast<Function*>(context))(); },
        &function);
}

}  // namespace kzo
