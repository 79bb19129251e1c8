// The Terminal's settings read from any registry contents (the Terminal key
// and both Scheduler keys, each present or not, any value of any type and
// size): every setting read is one the Terminal can use (positions and widths
// on the screen, a view, sort value, column order and band layout it knows,
// texts that fit their buffers), and what a save writes of them loads again as
// the same settings and saves again as the same values. The confirmations too.
//
// Input: the screen (4 bytes), the keys' presence (1), then values: the key
// and the name (1 byte), the type (1), the size (1) and the bytes.
#include <map>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "terminal_settings.h"

namespace {

using namespace kzo;

const char* const kTerminalNames[] = {
    "WindowX", "WindowY", "WindowW",   "WindowH", "TaskW",  "DateW",    "TimeW",     "MonthW",    "CommW",
    "SFoldW",  "IntW",    "LRW",       "ColorHL", "View",   "Grid",     "Sort",      "ActiveSched", "DefColors",
    "UseColors", "OneTouch", "AutoQuote", "TBText", "MTBS", "LTBS",     "ColOrder",  "FontH",     "FontW",
    "FontFc",  "FontEsc", "FontOr",    "FontWg",  "FontIt", "FontUn",   "FontSt",    "FontCS",    "FontOP",
    "FontCP",  "FontQ",   "FontPF",    "RBLayout", "Hlp",   "DBR",      "Confirm",   "TextColor", "BkColor"};
const char* const kSchedulerNames[] = {"DAT", "LogF", "LOG", "WAV", "AutoStart", "OneInst", "AMPM", "RefreshTime"};

void fill(fuzz::FuzzInput& input, MemoryKey keys[3]) {
    while (input.left() > 0) {
        const std::uint8_t which = input.byte();
        MemoryKey& key = keys[which % 3];
        const std::size_t pick = which / 3;
        std::string name;
        if (&key == &keys[0])
            name = pick < std::size(kTerminalNames) ? kTerminalNames[pick] : "Other";
        else
            name = kSchedulerNames[pick % std::size(kSchedulerNames)];
        const std::uint8_t type = input.byte();
        StoredValue value;
        value.type = type < 0xFC ? (type % 3 == 0 ? kRegSz : (type % 3 == 1 ? kRegBinary : kRegDword)) : type - 0xFC;
        const std::size_t size = input.byte();
        value.bytes.resize(size);
        input.bytes(value.bytes.data(), size);
        key.set(name, value);
    }
}

bool onScreen(std::int32_t value, std::uint32_t limit, std::int32_t fallback) {
    return value == fallback || (value >= 0 && static_cast<std::uint32_t>(value) <= limit);
}

bool fitsPath(const std::string& path) {
    return path.size() < kSettingsPathSize && path.find('\0') == std::string::npos &&
           (path.empty() || (path.front() != ' ' && path.back() != ' '));
}

void checkUsable(const TerminalSettings& s, ScreenSize screen) {
    FUZZ_CHECK(onScreen(s.windowX, screen.width, 45) && onScreen(s.windowY, screen.height, 15));
    FUZZ_CHECK(onScreen(s.windowW, screen.width, 575) && onScreen(s.windowH, screen.height, 340));
    FUZZ_CHECK(onScreen(s.taskW, screen.width, -1) && onScreen(s.dateW, screen.width, 120) &&
               onScreen(s.timeW, screen.width, 48) && onScreen(s.intW, screen.width, 69) &&
               onScreen(s.commW, screen.width, 198) && onScreen(s.monthW, screen.width, 48) &&
               onScreen(s.sFoldW, screen.width, 40) && onScreen(s.lrW, screen.width, 100));
    FUZZ_CHECK(s.view >= 0 && s.view <= 2);
    FUZZ_CHECK(s.sort >= 0 && s.sort <= 15);
    FUZZ_CHECK(s.activeSched == 0 || s.activeSched == 1);
    FUZZ_CHECK(s.hlp == 0 || s.hlp == 1);
    FUZZ_CHECK(s.refreshTime >= 1 && s.refreshTime <= 60);
    FUZZ_CHECK(isColumnPermutation(s.colOrder) || s.colOrder == (ColumnOrder{-1, 0, 0, 0, 0, 0, 0, 0}));
    FUZZ_CHECK(validBandLayout(s.rbLayout) == s.rbLayout);
    FUZZ_CHECK(s.textColor == s.textColors[0] && s.bkColor == s.bkColors[0]);
    FUZZ_CHECK(s.font.face.size() <= 31 && s.font.face.find('\0') == std::string::npos);
    FUZZ_CHECK(s.fontValid || s.font == ListFont());
    for (const std::string* path : {&s.userDat, &s.userLog, &s.sysDat, &s.sysLog, &s.userWav, &s.sysWav})
        FUZZ_CHECK(fitsPath(*path));
    FUZZ_CHECK(s.userDatMissing == s.userDat.empty());
    FUZZ_CHECK(!s.userLogF || !s.userLog.empty());
    FUZZ_CHECK(!s.sysLogF || !s.sysLog.empty());
}

bool sameWrites(const std::vector<SettingsWrite>& a, const std::vector<SettingsWrite>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].schedulerKey != b[i].schedulerKey || a[i].name != b[i].name ||
            a[i].value.type != b[i].value.type || a[i].value.bytes != b[i].value.bytes)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    ScreenSize screen;
    screen.width = input.number<std::uint16_t>();
    screen.height = input.number<std::uint16_t>();
    const std::uint8_t present = input.byte();
    MemoryKey keys[3];  // the Terminal's, the user's Scheduler, the machine's Scheduler
    for (int i = 0; i < 3; ++i) keys[i].present = !(present & (1 << i));
    fill(input, keys);

    const TerminalSettings loaded = loadTerminalSettings(keys[0], keys[1], keys[2], screen);
    checkUsable(loaded, screen);

    // The save, loaded again: the same settings, and the same values saved.
    const std::vector<SettingsWrite> writes = terminalSettingsWrites(loaded);
    MemoryKey terminal;
    MemoryKey user = keys[1];  // a key the save creates when it is missing
    if (!user.present) user.values.clear();
    user.present = true;
    std::map<std::string, int> written[2];
    for (const SettingsWrite& w : writes) {
        FUZZ_CHECK(++written[w.schedulerKey][w.name] == 1);
        (w.schedulerKey ? user : terminal).set(w.name, w.value);
    }
    FUZZ_CHECK(written[1].size() == 2 && written[1].count("OneInst") && written[1].count("Hlp"));
    const TerminalSettings reloaded = loadTerminalSettings(terminal, user, keys[2], screen);
    FUZZ_CHECK(reloaded == loaded);
    FUZZ_CHECK(sameWrites(terminalSettingsWrites(reloaded), writes));

    // The confirmations.
    const ConfirmationFlags flags = loadConfirmations(keys[0]);
    for (std::uint8_t f : flags) FUZZ_CHECK(f == 0 || f == 1);
    MemoryKey confirm;
    confirm.set("Confirm", confirmationsValue(flags));
    FUZZ_CHECK(loadConfirmations(confirm) == flags);

    // The default schedule file of a user, in the Terminal's folder.
    const std::string folder = folderOf(loaded.userDat);
    FUZZ_CHECK(loaded.userDat.compare(0, folder.size(), folder) == 0);
    FUZZ_CHECK(folder.empty() || folder.find_first_of("\\/:", folder.size() - 1) != std::string::npos);
    const std::string file = defaultUserScheduleFile(folder, loaded.sysDat, present & 8);
    FUZZ_CHECK(file.size() >= folder.size() + 4 && file.compare(file.size() - 4, 4, ".jsf") == 0);
    FUZZ_CHECK(file.compare(0, folder.size(), folder) == 0 && file != folder + ".jsf");
    return 0;
}
