// What the harnesses share: reading a fuzzer's bytes as the inputs of a module
// (short input reads as zeros, so every byte string is a valid case), and the
// check that stops a run at the first broken promise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "launch_time.h"
#include "task_record.h"

namespace kzo::fuzz {

// A broken promise: says which, and aborts, so that libFuzzer keeps the input.
[[noreturn]] inline void brokenPromise(const char* what, const char* file, int line) {
    std::fprintf(stderr, "\nbroken promise at %s:%d: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::kzo::fuzz::brokenPromise(#condition, __FILE__, __LINE__))

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t left() const { return size_ - at_; }

    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    // Little-endian, as the record's numbers are.
    template <typename T>
    T number() {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) value |= std::uint64_t{byte()} << (8 * i);
        T result;
        std::memcpy(&result, &value, sizeof result);
        return result;
    }

    // n bytes; those past the end of the input are zeros.
    void bytes(void* out, std::size_t n) {
        std::size_t have = left() < n ? left() : n;
        std::memcpy(out, data_ + at_, have);
        std::memset(static_cast<char*>(out) + have, 0, n - have);
        at_ += have;
    }

    // Any 1709 bytes, as a hand-edited file may hold them.
    TaskRecord record() {
        TaskRecord r;
        bytes(&r, sizeof r);
        return r;
    }

    // Whatever is left, as text.
    std::string_view rest() {
        std::string_view text(reinterpret_cast<const char*>(data_ + at_), left());
        at_ = size_;
        return text;
    }

    // A local time a clock can show (eight bytes).
    LaunchTime clockTime() {
        static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        int year = 1601 + number<std::uint16_t>() % (30827 - 1601 + 1);
        int month = 1 + byte() % 12;
        int days = kDays[month - 1];
        if (month == 2 && !(year % 4 == 0 && (year % 100 != 0 || year % 400 == 0))) days = 28;
        int day = 1 + byte() % days;
        int hour = byte() % 24;
        int minute = byte() % 60;
        int second = byte() % 60;
        byte();  // the milliseconds: a pass never sees them
        return launchTimeAt(year, month, day, hour, minute, second);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace kzo::fuzz
