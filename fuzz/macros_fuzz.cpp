// The command macros over any text and any launch time, even one no clock
// gives: the expansion stays inside the text's own bytes (guard bytes follow
// it), the text never grows, and for a clock's time every macro of the
// examined part is replaced as a plain reading of the rules replaces it.
//
// Input: a flag (any launch time, or a clock's), the launch time (36 or 8
// bytes), then the text (cut at its first NUL).
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "macros.h"

namespace {

using namespace kzo;

constexpr std::size_t kGuard = 64;
constexpr unsigned char kGuardByte = 0xA5;
constexpr std::size_t kExamined = 1023;

// The rules read plainly: scan the first 1023 characters left to right; at a
// '%' that starts a macro name (any case) put the value in its place and go on
// after the value; everything else, and everything after character 1023, stays.
std::string expectedExpansion(const std::string& text, const LaunchTime& t) {
    static const char* const kWeekdays[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA", "SU"};
    static const char* const kMonths[] = {"", "JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    auto two = [](int v) {
        std::string s = std::to_string(v);
        return s.size() < 2 ? "0" + s : s;
    };
    std::string year = std::to_string(t.year);
    while (year.size() < 4) year = "0" + year;
    const std::pair<std::string, std::string> macros[] = {
        {"%KZO.YEAR%", year},
        {"%KZO.MONTH%", two(t.month)},
        {"%KZO.DAY%", two(t.day)},
        {"%KZO.HOUR%", two(t.hour)},
        {"%KZO.MINUTE%", two(t.minute)},
        {"%KZO.YEAR2%", two(t.year % 100)},
        {"%KZO.WEEKDAY2%", kWeekdays[t.weekday]},
        {"%KZO.WEEKDAY%", std::to_string(t.weekday % 7)},
        {"%KZO.MONTH3%", kMonths[t.month]},
    };
    std::string head = text.substr(0, std::min(text.size(), kExamined));
    std::string tail = text.substr(head.size());
    std::string out;
    for (std::size_t i = 0; i < head.size();) {
        bool replaced = false;
        if (head[i] == '%') {
            for (const auto& [name, value] : macros) {
                if (i + name.size() > head.size()) continue;
                bool same = true;
                for (std::size_t k = 0; k < name.size() && same; ++k)
                    same = std::toupper(static_cast<unsigned char>(head[i + k])) == name[k];
                if (!same) continue;
                out += value;
                i += name.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) out += head[i++];
    }
    return out + tail;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    bool anyTime = input.byte() & 1;
    LaunchTime time{};
    if (anyTime)
        input.bytes(&time, sizeof time);
    else
        time = input.clockTime();
    std::string_view rest = input.rest();
    std::string text(rest.substr(0, rest.find('\0')));

    // Exactly the text and its NUL, then the guard.
    std::vector<unsigned char> buffer(text.size() + 1 + kGuard, kGuardByte);
    std::memcpy(buffer.data(), text.c_str(), text.size() + 1);
    char* start = reinterpret_cast<char*>(buffer.data());
    char* result = expandMacros(start, time);

    FUZZ_CHECK(result == start);
    for (std::size_t i = text.size() + 1; i < buffer.size(); ++i) FUZZ_CHECK(buffer[i] == kGuardByte);
    std::size_t length = strnlen(start, text.size() + 1);
    FUZZ_CHECK(length <= text.size());  // terminated, and never longer
    std::string expanded(start, length);
    // What lies past the examined characters is kept as it was.
    if (text.size() > kExamined) {
        std::string tail = text.substr(kExamined);
        FUZZ_CHECK(expanded.size() >= tail.size());
        FUZZ_CHECK(expanded.compare(expanded.size() - tail.size(), tail.size(), tail) == 0);
    }
    if (text.find('%') == std::string::npos) FUZZ_CHECK(expanded == text);
    if (!anyTime) FUZZ_CHECK(expanded == expectedExpansion(text, time));
    return 0;
}
