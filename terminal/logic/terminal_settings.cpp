#include "terminal_settings.h"

#include <algorithm>
#include <cstring>

#include "blanks.h"
#include "task_cells.h"

namespace kzo {

namespace {

constexpr std::size_t kColorTableBytes = 4 * (kColorEntries + kTextColorEntries);  // 76
constexpr std::size_t kColumnOrderBytes = 4 * kFirstColumns;                            // 32
constexpr std::size_t kFailedColorsBytes = 8;  // background, text
constexpr std::size_t kFaceBytes = 32;

std::uint32_t le32(const std::string& bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    return v;
}

void putLe32(std::string& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads of one key: a value counts only with the right type and size.
class Reader {
public:
    explicit Reader(const RegistryView& key) : key_(key) {}

    bool dword(const char* name, std::uint32_t& out) const {
        StoredValue v;
        if (!key_.exists() || !key_.value(name, 4, v) || v.type != kRegDword || v.bytes.size() != 4)
            return false;
        out = le32(v.bytes, 0);
        return true;
    }
    std::uint32_t dwordOr(const char* name, std::uint32_t fallback) const {
        std::uint32_t v;
        return dword(name, v) ? v : fallback;
    }
    bool flag(const char* name, bool fallback) const {
        std::uint32_t v;
        return dword(name, v) ? v != 0 : fallback;
    }
    bool binary(const char* name, std::size_t size, std::string& out) const {
        StoredValue v;
        if (!key_.exists() || !key_.value(name, size, v) || v.type != kRegBinary ||
            v.bytes.size() != size)
            return false;
        out = v.bytes;
        return true;
    }
    // A REG_SZ that fits maxBytes with its zero (a value stored without its zero
    // counts when it fits too). Text after an embedded zero is not part of it.
    bool string(const char* name, std::size_t maxBytes, std::string& out) const {
        StoredValue v;
        if (!key_.exists() || !key_.value(name, maxBytes, v) || v.type != kRegSz) return false;
        std::string text = v.bytes.substr(0, std::min(v.bytes.find('\0'), v.bytes.size()));
        if (text.size() + 1 > maxBytes) return false;
        out = text;
        return true;
    }
    // A file name of a Scheduler key: trimmed; empty counts as missing.
    bool path(const char* name, std::string& out) const {
        std::string text;
        if (!string(name, kSettingsPathSize, text)) return false;
        text = trimBlanks(text);
        if (text.empty()) return false;
        out = text;
        return true;
    }

private:
    const RegistryView& key_;
};

void loadWindow(const Reader& r, ScreenSize screen, TerminalSettings& s) {
    // Unsigned comparisons: a stored negative value is huge and falls back.
    struct Item {
        const char* name;
        std::int32_t& field;
        std::uint32_t limit;
        std::int32_t fallback;
    } items[] = {{"WindowX", s.windowX, screen.width, 45},
                 {"WindowY", s.windowY, screen.height, 15},
                 {"WindowW", s.windowW, screen.width, 575},
                 {"WindowH", s.windowH, screen.height, 340}};
    for (Item& item : items) {
        std::uint32_t v;
        item.field = r.dword(item.name, v) && v <= item.limit ? static_cast<std::int32_t>(v)
                                                              : item.fallback;
    }
}

void loadColumnWidths(const Reader& r, ScreenSize screen, TerminalSettings& s) {
    std::int32_t* fields[] = {&s.taskW, &s.dateW, &s.timeW, &s.monthW,
                              &s.commW, &s.sFoldW, &s.intW, &s.lrW};
    const char* names[] = {"TaskW", "DateW", "TimeW", "MonthW", "CommW", "SFoldW", "IntW", "LRW"};
    bool all = true;
    for (int i = 0; i < kFirstColumns; ++i) {
        std::uint32_t v;
        if (r.dword(names[i], v) && v <= screen.width)
            *fields[i] = static_cast<std::int32_t>(v);
        else
            all = false;
    }
    if (!all) s.taskW = -1;  // the list then uses its default widths for all eight
    std::uint32_t lastResult;
    if (r.dword("LResW", lastResult) && lastResult <= screen.width) s.lResW = static_cast<std::int32_t>(lastResult);
}

// "ColOrder" holds the first eight columns in the header's order, "LResPos" the
// place of the Last result column among all nine (missing: the last place).
void loadColumnOrder(const Reader& r, TerminalSettings& s) {
    s.colOrder = kNoColumnOrder;
    std::string order;
    if (!r.binary("ColOrder", kColumnOrderBytes, order)) return;
    std::int32_t first[kFirstColumns];
    bool seen[kFirstColumns] = {};
    for (int i = 0; i < kFirstColumns; ++i) {
        first[i] = static_cast<std::int32_t>(le32(order, 4 * i));
        // The header can only hold an order that names each column once.
        if (first[i] < 0 || first[i] >= kFirstColumns || seen[first[i]]) return;
        seen[first[i]] = true;
    }
    std::uint32_t place = r.dwordOr("LResPos", kFirstColumns);
    if (place > kFirstColumns) place = kFirstColumns;
    for (int i = 0, from = 0; i < kTaskListColumns; ++i)
        s.colOrder[i] = static_cast<std::uint32_t>(i) == place ? kFirstColumns : first[from++];
}

// The stored form of an order: the first eight columns and the place of the
// ninth; no order stored (-1 first) when it names the columns otherwise.
void columnOrderValues(const ColumnOrder& order, std::string& first, std::uint32_t& place) {
    first.clear();
    place = kFirstColumns;
    if (!isColumnPermutation(order)) {
        putLe32(first, static_cast<std::uint32_t>(-1));
        for (int i = 1; i < kFirstColumns; ++i) putLe32(first, 0);
        return;
    }
    for (int i = 0; i < kTaskListColumns; ++i) {
        if (order[i] == kFirstColumns)
            place = static_cast<std::uint32_t>(i);
        else
            putLe32(first, static_cast<std::uint32_t>(order[i]));
    }
}

void loadColors(const Reader& r, TerminalSettings& s) {
    std::string table;
    if (r.binary("ColorHL", kColorTableBytes, table)) {
        for (int i = 0; i < kColorEntries; ++i) s.bkColors[i] = le32(table, 4 * i);
        for (int i = 0; i < kTextColorEntries; ++i)
            s.textColors[i] = le32(table, 4 * (kColorEntries + i));
    } else {
        setDefaultColorTables(s);
    }
    std::string failed;
    if (r.binary("ColorFail", kFailedColorsBytes, failed)) {
        s.failedBkColor = le32(failed, 0);
        s.failedTextColor = le32(failed, 4);
    }
    // The list's own colours are always those of "All tasks".
    s.textColor = s.textColors[0];
    s.bkColor = s.bkColors[0];
}

void loadFont(const Reader& r, TerminalSettings& s) {
    ListFont f;
    std::uint32_t height, width;
    std::string face;
    bool valid = r.dword("FontH", height) && r.dword("FontW", width) &&
                 r.string("FontFc", kFaceBytes, face);
    if (valid) {
        f.height = static_cast<std::int32_t>(height);
        f.width = static_cast<std::int32_t>(width);
        f.escapement = static_cast<std::int32_t>(r.dwordOr("FontEsc", 0));
        f.orientation = static_cast<std::int32_t>(r.dwordOr("FontOr", 0));
        f.weight = static_cast<std::int32_t>(r.dwordOr("FontWg", 400));
        struct Byte {
            const char* name;
            std::uint8_t& field;
            std::uint8_t fallback;
        } bytes[] = {{"FontIt", f.italic, 0},       {"FontUn", f.underline, 0},
                     {"FontSt", f.strikeOut, 0},    {"FontCS", f.charSet, 1},
                     {"FontOP", f.outPrecision, 0}, {"FontCP", f.clipPrecision, 0},
                     {"FontQ", f.quality, 0},       {"FontPF", f.pitchAndFamily, 0}};
        for (Byte& b : bytes) {
            std::string one;
            b.field = r.binary(b.name, 1, one) ? static_cast<std::uint8_t>(one[0]) : b.fallback;
        }
        f.face = face;
    }
    s.fontValid = valid;
    s.font = valid ? f : ListFont();
}

void loadSchedulerCopies(const Reader& user, const Reader& system, TerminalSettings& s) {
    s.userDatMissing = !user.path("DAT", s.userDat);
    s.userLogF = user.flag("LogF", false);
    if (!user.path("LOG", s.userLog)) s.userLogF = false;
    user.path("WAV", s.userWav);
    s.autoStart = user.flag("AutoStart", true);
    s.oneInst = user.flag("OneInst", true);
    s.ampm = user.flag("AMPM", false);
    std::uint32_t refresh;
    s.refreshTime = user.dword("RefreshTime", refresh) && refresh >= 1 && refresh <= 60
                        ? static_cast<std::int32_t>(refresh)
                        : 10;

    system.path("DAT", s.sysDat);
    s.sysLogF = system.flag("LogF", false);
    if (!system.path("LOG", s.sysLog)) s.sysLogF = false;
    system.path("WAV", s.sysWav);
}

}  // namespace

StoredValue StoredValue::dword(std::uint32_t value) {
    StoredValue v;
    v.type = kRegDword;
    putLe32(v.bytes, value);
    return v;
}

StoredValue StoredValue::binary(const void* data, std::size_t size) {
    StoredValue v;
    v.type = kRegBinary;
    v.bytes.assign(static_cast<const char*>(data), size);
    return v;
}

StoredValue StoredValue::string(const std::string& text) {
    StoredValue v;
    v.type = kRegSz;
    v.bytes = text;
    v.bytes.push_back('\0');
    return v;
}

bool MemoryKey::value(const char* name, std::size_t maxBytes, StoredValue& out) const {
    auto it = values.find(name);
    if (!present || it == values.end() || it->second.bytes.size() > maxBytes) return false;
    out = it->second;
    return true;
}

bool ListFont::operator==(const ListFont& o) const {
    return height == o.height && width == o.width && escapement == o.escapement &&
           orientation == o.orientation && weight == o.weight && italic == o.italic &&
           underline == o.underline && strikeOut == o.strikeOut && charSet == o.charSet &&
           outPrecision == o.outPrecision && clipPrecision == o.clipPrecision &&
           quality == o.quality && pitchAndFamily == o.pitchAndFamily && face == o.face;
}

BandLayout validBandLayout(const BandLayout& layout) {
    bool seen[3] = {false, false, false};
    for (int i = 0; i < 3; ++i) {
        if (layout[i] > 2 || seen[layout[i]]) return kDefaultBandLayout;
        seen[layout[i]] = true;
    }
    BandLayout valid = layout;
    for (int i = 3; i < 9; ++i) valid[i] = layout[i] ? 1 : 0;
    return valid;
}

bool isColumnPermutation(const ColumnOrder& order) {
    bool seen[kTaskListColumns] = {};
    for (std::int32_t c : order) {
        if (c < 0 || c >= kTaskListColumns || seen[c]) return false;
        seen[c] = true;
    }
    return true;
}

void setDefaultColorTables(TerminalSettings& s) {
    s.bkColors.fill(kWhite);
    for (int i = 0; i < kTextColorEntries; ++i) s.textColors[i] = i < 5 ? kBlue : kDarkBlue;
    s.failedBkColor = kWhite;
    s.failedTextColor = kDarkRed;
}

TerminalSettings::TerminalSettings() { setDefaultColorTables(*this); }

bool TerminalSettings::operator==(const TerminalSettings& o) const {
    return hlp == o.hlp && textColor == o.textColor && bkColor == o.bkColor &&
           windowX == o.windowX && windowY == o.windowY && windowW == o.windowW &&
           windowH == o.windowH && taskW == o.taskW && dateW == o.dateW && timeW == o.timeW &&
           intW == o.intW && commW == o.commW && monthW == o.monthW && sFoldW == o.sFoldW &&
           lrW == o.lrW && lResW == o.lResW && autoStart == o.autoStart && defColors == o.defColors &&
           fontValid == o.fontValid && userDatMissing == o.userDatMissing &&
           oneInst == o.oneInst && ampm == o.ampm && refreshTime == o.refreshTime &&
           sysLogF == o.sysLogF && userLogF == o.userLogF && view == o.view && grid == o.grid &&
           sort == o.sort && activeSched == o.activeSched && oneTouch == o.oneTouch &&
           autoQuote == o.autoQuote && tbText == o.tbText && colOrder == o.colOrder &&
           bkColors == o.bkColors && textColors == o.textColors && failedBkColor == o.failedBkColor &&
           failedTextColor == o.failedTextColor && useColors == o.useColors &&
           userDat == o.userDat && userLog == o.userLog && sysDat == o.sysDat &&
           sysLog == o.sysLog && userWav == o.userWav && sysWav == o.sysWav && font == o.font &&
           mtbs == o.mtbs && ltbs == o.ltbs && rbLayout == o.rbLayout && dbr == o.dbr;
}

TerminalSettings loadTerminalSettings(const RegistryView& terminal, const RegistryView& userScheduler,
                                      const RegistryView& systemScheduler, ScreenSize screen) {
    TerminalSettings s;
    Reader r(terminal);
    loadWindow(r, screen, s);
    loadColors(r, s);

    std::uint32_t view = r.dwordOr("View", 0);
    s.view = view <= 2 ? static_cast<std::int32_t>(view) : 0;
    s.grid = r.flag("Grid", true);
    // A sort value names a column and a direction; anything else would send the
    // list after a column it does not have.
    std::uint32_t sort = r.dwordOr("Sort", 0);
    s.sort = sort < kSortValues ? static_cast<std::int32_t>(sort) : 0;
    s.activeSched = r.flag("ActiveSched", false) ? 1 : 0;
    s.defColors = r.flag("DefColors", true);
    s.useColors = r.flag("UseColors", false);
    loadColumnWidths(r, screen, s);
    s.oneTouch = r.flag("OneTouch", false);
    s.autoQuote = r.flag("AutoQuote", true);
    s.tbText = r.flag("TBText", true);
    s.mtbs = r.flag("MTBS", true);
    s.ltbs = r.flag("LTBS", false);

    loadColumnOrder(r, s);

    loadFont(r, s);

    std::string layout;
    s.rbLayout = kDefaultBandLayout;
    if (r.binary("RBLayout", 9, layout)) {
        BandLayout stored;
        std::memcpy(stored.data(), layout.data(), 9);
        s.rbLayout = validBandLayout(stored);
    }
    s.hlp = r.flag("Hlp", true) ? 1 : 0;
    s.dbr = r.flag("DBR", true);

    loadSchedulerCopies(Reader(userScheduler), Reader(systemScheduler), s);
    return s;
}

std::vector<SettingsWrite> terminalSettingsWrites(const TerminalSettings& s) {
    std::vector<SettingsWrite> w;
    auto dword = [&w](const char* name, std::int64_t value) {
        w.push_back({false, name, StoredValue::dword(static_cast<std::uint32_t>(value))});
    };
    dword("TextColor", s.textColor);
    dword("BkColor", s.bkColor);
    dword("UseColors", s.useColors);
    std::string table;
    for (std::uint32_t c : s.bkColors) putLe32(table, c);
    for (std::uint32_t c : s.textColors) putLe32(table, c);
    w.push_back({false, "ColorHL", StoredValue::binary(table.data(), table.size())});
    std::string failed;
    putLe32(failed, s.failedBkColor);
    putLe32(failed, s.failedTextColor);
    w.push_back({false, "ColorFail", StoredValue::binary(failed.data(), failed.size())});
    dword("WindowX", s.windowX);
    dword("WindowY", s.windowY);
    dword("WindowW", s.windowW);
    dword("WindowH", s.windowH);
    dword("TaskW", s.taskW);
    dword("DateW", s.dateW);
    dword("TimeW", s.timeW);
    dword("MonthW", s.monthW);
    dword("IntW", s.intW);
    dword("LRW", s.lrW);
    dword("LResW", s.lResW);
    dword("Grid", s.grid);
    dword("CommW", s.commW);
    dword("SFoldW", s.sFoldW);
    dword("DefColors", s.defColors);
    dword("View", s.view);
    dword("Sort", s.sort);
    dword("ActiveSched", s.activeSched);
    dword("OneTouch", s.oneTouch);
    dword("AutoQuote", s.autoQuote);
    dword("TBText", s.tbText);
    dword("MTBS", s.mtbs);
    dword("LTBS", s.ltbs);
    std::string order;
    std::uint32_t place;
    columnOrderValues(s.colOrder, order, place);
    w.push_back({false, "ColOrder", StoredValue::binary(order.data(), order.size())});
    dword("LResPos", place);
    if (s.fontValid) {
        const ListFont& f = s.font;
        dword("FontH", f.height);
        dword("FontW", f.width);
        dword("FontEsc", f.escapement);
        dword("FontOr", f.orientation);
        dword("FontWg", f.weight);
        const std::pair<const char*, std::uint8_t> bytes[] = {
            {"FontIt", f.italic},       {"FontUn", f.underline},     {"FontSt", f.strikeOut},
            {"FontCS", f.charSet},      {"FontOP", f.outPrecision},  {"FontCP", f.clipPrecision},
            {"FontQ", f.quality},       {"FontPF", f.pitchAndFamily}};
        for (const auto& [name, value] : bytes)
            w.push_back({false, name, StoredValue::binary(&value, 1)});
        // The face is written as its 32-byte field.
        std::string face = f.face.substr(0, kFaceBytes - 1);
        face.resize(kFaceBytes, '\0');
        StoredValue stored;
        stored.type = kRegSz;
        stored.bytes = face;
        w.push_back({false, "FontFc", stored});
    }
    w.push_back({false, "RBLayout", StoredValue::binary(s.rbLayout.data(), s.rbLayout.size())});
    dword("Hlp", s.hlp);
    dword("DBR", s.dbr);
    w.push_back({true, "OneInst", StoredValue::dword(s.oneInst)});
    w.push_back({true, "Hlp", StoredValue::dword(static_cast<std::uint32_t>(s.hlp))});
    return w;
}

ConfirmationFlags loadConfirmations(const RegistryView& terminal) {
    ConfirmationFlags flags;
    flags.fill(1);
    std::string stored;
    if (Reader(terminal).binary("Confirm", kConfirmationCount, stored))
        for (int i = 0; i < kConfirmationCount; ++i) flags[i] = stored[i] ? 1 : 0;
    return flags;
}

StoredValue confirmationsValue(const ConfirmationFlags& flags) {
    return StoredValue::binary(flags.data(), flags.size());
}

std::string folderOf(const std::string& path) {
    std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string defaultUserScheduleFile(const std::string& programFolder, const std::string& userName,
                                    bool userNameKnown) {
    std::string name = userNameKnown ? trimBlanks(userName) : std::string();
    // A name of blanks alone would make a file called ".jsf".
    if (name.empty()) return programFolder + "Default.jsf";
    return programFolder + name + ".jsf";
}

}  // namespace kzo
