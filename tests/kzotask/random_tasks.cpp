#include "random_tasks.h"

#include <cstring>
#include <set>
#include <string>

#include "schedule_store.h"

namespace kzo::test {

namespace {

class Draw {
public:
    explicit Draw(std::mt19937& random) : random_(random) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(int percent) { return between(1, 100) <= percent; }

    // A text of length 1..most (or 0..most) from the characters, never blank
    // at either end.
    std::string text(int most, const std::string& characters, bool mayBeEmpty = false) {
        int length = between(mayBeEmpty ? 0 : 1, most);
        std::string out;
        for (int i = 0; i < length; ++i) out += characters[between(0, static_cast<int>(characters.size()) - 1)];
        if (!out.empty() && out.front() == ' ') out.front() = 'x';
        if (!out.empty() && out.back() == ' ') out.back() = 'x';
        return out;
    }

private:
    std::mt19937& random_;
};

template <std::size_t N>
void put(char (&field)[N], const std::string& text) {
    std::memcpy(field, text.data(), text.size());
}

const std::string kPlain = "abcXYZ019 .-_%\\:;,";
const std::string kTricky = kPlain + "'\"\t\xE9\xC4\xFF\xA0\x80";
const std::string kBroken = kTricky + "\r\n";

}  // namespace

std::vector<TaskRecord> randomTasks(std::mt19937& random, int count) {
    Draw draw(random);
    std::vector<TaskRecord> tasks;
    std::set<std::string> names;
    while (static_cast<int>(tasks.size()) < count) {
        TaskRecord r;
        std::memset(&r, 0, sizeof r);
        std::string name = draw.text(64, kTricky);
        if (!names.insert(std::string(withoutOuterBlanks(name))).second) continue;
        put(r.name, name);

        r.type = static_cast<int8_t>(draw.between(0, 3));
        switch (r.type) {
            case kTypeDocument:
                put(r.command, draw.text(511, kPlain + "'\t\xE9"));
                break;
            case kTypeShutdown: {
                static const char* const keywords[] = {"SHUTDOWN", "turnoff", "Reboot", "LOGOFF"};
                put(r.command, keywords[draw.between(0, 3)]);
                break;
            }
            default:
                put(r.command, draw.text(511, kBroken));
        }
        put(r.folder, draw.text(511, kPlain + "'\t\xE9", true));
        put(r.onError, draw.text(511, kBroken, true));

        r.weekdays = static_cast<int8_t>(draw.between(0, 127));
        std::string days;
        for (int n = draw.between(0, 12); n > 0; --n) {
            char day[4];
            std::snprintf(day, sizeof day, "%02d", draw.between(1, 31));
            days += (days.empty() ? "" : ",") + std::string(day);
        }
        if (r.weekdays == 0 && days.empty()) days = "28";
        put(r.daysOfMonth, days);
        r.months = draw.between(0, 4095);

        bool timeOfDay = false;
        switch (draw.between(0, 3)) {
            case 0: r.time = draw.between(0, 1439), timeOfDay = true; break;
            case 1: r.time = kTimeEveryHour + draw.between(0, 59); break;
            case 2: r.time = kTimeStartup; break;
            default: r.cycle = 1, r.time = draw.between(1, 99 * 60 + 59);
        }
        r.intervalStart = draw.between(0, 1439);
        r.intervalEnd = draw.between(r.intervalStart, 1439);
        bool fullDay = r.intervalStart == 0 && r.intervalEnd == 1439;
        r.invert = static_cast<int8_t>(!fullDay && draw.chance(30));
        bool blocked = r.invert ? r.intervalStart < r.time && r.time < r.intervalEnd
                                : r.time < r.intervalStart || r.time > r.intervalEnd;
        if (timeOfDay && blocked) {
            r.intervalStart = 0;
            r.intervalEnd = 1439;
            r.invert = 0;
        }

        r.active = static_cast<int8_t>(draw.between(0, 1));
        r.runLater = static_cast<int8_t>(draw.between(0, 1));
        r.runOnce = static_cast<int8_t>(draw.between(0, 2));
        r.runMinimized = static_cast<int8_t>(draw.between(0, 1));
        r.interactive = static_cast<int8_t>(draw.between(0, 1));
        r.edited = static_cast<int8_t>(draw.between(0, 1));
        r.quitAfter = draw.between(0, 99999);
        r.killAfter = draw.between(0, 99999);
        if (draw.chance(20)) {
            r.lastDay = 1, r.lastMonth = 1;  // never run
        } else {
            r.lastDay = static_cast<int8_t>(draw.between(1, 31));
            r.lastMonth = static_cast<int8_t>(draw.between(1, 12));
            r.lastYear = draw.chance(20) ? 0 : draw.between(80, 140);  // 0: the Day and time page reset it
            r.lastHour = static_cast<int8_t>(draw.between(0, 23));
            r.lastMinute = static_cast<int8_t>(draw.between(0, 59));
            r.lastSecond = static_cast<int8_t>(draw.between(0, 59));
        }
        tasks.push_back(r);
    }
    return tasks;
}

}  // namespace kzo::test
