#include "options_rules.h"

#include <algorithm>

#include "blanks.h"

namespace kzo {

bool parseRefreshTime(const std::string& text, int& minutes) {
    const std::string digits = trimBlanks(text);
    if (digits.empty() || digits.size() > 2) return false;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 60) return false;
    minutes = value;
    return true;
}

SchedulerPageCheck checkSchedulerPage(SchedulerPageValues& v) {
    v.dat = trimBlanks(v.dat);
    v.log = trimBlanks(v.log);
    v.wav = trimBlanks(v.wav);
    if (v.dat.empty()) return {kScheduleFileMissing, SchedulerField::Dat};
    if (v.dat.size() > kExecutorPathLength) return {kFileNameTooLong, SchedulerField::Dat};
    if (v.log.empty()) v.logF = false;
    if (v.logF && v.log.size() > kExecutorPathLength) return {kFileNameTooLong, SchedulerField::Log};
    if (!parseRefreshTime(v.refreshText, v.refreshTime)) return {kRefreshTimeInvalid, SchedulerField::Refresh};
    if (v.wav.size() > kExecutorPathLength) return {kFileNameTooLong, SchedulerField::Wav};
    return {};
}

namespace {

bool hasColor(int entry, ColorKind kind) {
    if (entry < 0 || entry >= kColorListEntries) return false;
    return kind == ColorKind::Background || entry != kUnusedAreaEntry;
}

}  // namespace

std::vector<int> colorTargets(bool useColors, const std::vector<int>& selected, ColorKind kind) {
    if (!useColors) return {0};
    std::vector<int> entries;
    for (int entry : selected)
        if (hasColor(entry, kind)) entries.push_back(entry);
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    return entries;
}

std::uint32_t entryColor(const TerminalSettings& s, int entry, ColorKind kind) {
    if (entry == kFailedEntry) return kind == ColorKind::Background ? s.failedBkColor : s.failedTextColor;
    if (kind == ColorKind::Background) return s.bkColors[entry >= 0 && entry < kColorEntries ? entry : 0];
    return s.textColors[entry >= 0 && entry < kTextColorEntries ? entry : 0];
}

void setEntryColors(TerminalSettings& s, const std::vector<int>& entries, ColorKind kind, std::uint32_t color) {
    for (int entry : entries) {
        if (!hasColor(entry, kind)) continue;
        if (entry == kFailedEntry)
            (kind == ColorKind::Background ? s.failedBkColor : s.failedTextColor) = color;
        else if (kind == ColorKind::Background)
            s.bkColors[entry] = color;
        else
            s.textColors[entry] = color;
    }
    s.textColor = s.textColors[0];
    s.bkColor = s.bkColors[0];
}

SampleColors sampleEntryColors(const TerminalSettings& s, int entry) {
    SampleColors colors;
    if (s.defColors) {
        colors.system = true;
        return colors;
    }
    if (s.useColors && entry >= 0 && entry < kColorListEntries) {
        colors.background = entryColor(s, entry, ColorKind::Background);
        colors.text = hasColor(entry, ColorKind::Text) ? entryColor(s, entry, ColorKind::Text) : s.textColor;
        return colors;
    }
    colors.text = s.textColor;
    colors.background = s.bkColor;
    return colors;
}

}  // namespace kzo
