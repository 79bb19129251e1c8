// The Terminal's own settings (window placement, list colours and font, column
// widths and order, bars, help type) with a copy of the executor values it shows,
// kept in HKEY_CURRENT_USER SOFTWARE\Veldmark\KZO Scheduler 4\Terminal.
//
// The load and the save are pure: they read stored values through a
// RegistryView and produce the values to write, so every fallback is a table
// test. terminal_settings_registry.* is the thin Win32 side. No windows.h here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kzo {

constexpr const char* kTerminalKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4\\Terminal";

// Registry value types, as the registry numbers them.
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

// One stored value: its type and its bytes.
struct StoredValue {
    std::uint32_t type = 0;
    std::string bytes;

    static StoredValue dword(std::uint32_t value);
    static StoredValue binary(const void* data, std::size_t size);
    // With its terminating zero.
    static StoredValue string(const std::string& text);
};

// The values of one key as a reader sees them.
class RegistryView {
public:
    virtual ~RegistryView() = default;
    // False when the key could not be opened: every value then is missing.
    virtual bool exists() const = 0;
    // False when the value is missing or cannot be read whole into
    // maxBytes bytes.
    virtual bool value(const char* name, std::size_t maxBytes, StoredValue& out) const = 0;
};

// A key held in memory: the tests' registry, and the writes of a save.
class MemoryKey : public RegistryView {
public:
    bool present = true;
    std::map<std::string, StoredValue> values;

    bool exists() const override { return present; }
    bool value(const char* name, std::size_t maxBytes, StoredValue& out) const override;
    void set(const std::string& name, StoredValue stored) { values[name] = std::move(stored); }
};

// The list font, as a LOGFONT holds it.
struct ListFont {
    std::int32_t height = 12;
    std::int32_t width = 6;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 400;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 1;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string face = "MS Sans Serif";  // at most 31 characters

    bool operator==(const ListFont& other) const;
};

constexpr int kTaskListColumns = 9;
// The columns whose widths ("TaskW" .. "LRW") and order ("ColOrder", 32 bytes)
// are stored as they always were. Column 8, "Last result", came later: its
// width and place are values of their own ("LResW", "LResPos"), so that a
// Terminal that knows eight columns still reads the other values.
constexpr int kFirstColumns = 8;
constexpr int kColorEntries = 10;      // background table: entry 9 is "Unused list area"
constexpr int kTextColorEntries = 9;   // text table: the first nine entries
constexpr int kUnusedAreaEntry = 9;
// The entry of the colour list after those of the two tables: rows whose task's
// last run failed, with a background and a text colour of their own
// (failedBkColor, failedTextColor; stored apart from "ColorHL" in "ColorFail").
constexpr int kFailedEntry = 10;
constexpr int kColorListEntries = 11;
constexpr std::size_t kSettingsPathSize = 1300;  // the file names, with their zero

// Which bar sits at each band position of the rebar.
enum Bar : std::uint8_t { kMenuBar = 0, kMainToolBar = 1, kTaskListToolBar = 2 };

// The band layout: bytes 0-2 the bar at positions 0, 1, 2; bytes 3-5 1 where the
// band at that position starts a new row; bytes 6-8 1 where it is visible.
using BandLayout = std::array<std::uint8_t, 9>;
constexpr BandLayout kDefaultBandLayout = {0, 1, 2, 0, 1, 1, 1, 1, 1};

// A stored layout as used: the default unless bytes 0-2 name each bar exactly
// once; the row and visibility bytes become 0 or 1.
BandLayout validBandLayout(const BandLayout& layout);

// The seven confirmation flags (1 = ask), in the order of the System settings
// page: delete tasks, run tasks, start scheduler, stop scheduler, clear log
// file, diagnostics, delete profile.
enum Confirmation {
    kConfirmDelete = 0,
    kConfirmRun,
    kConfirmStart,
    kConfirmStop,
    kConfirmClearLog,
    kConfirmDiagnostics,
    kConfirmDeleteProfile,
    kConfirmationCount
};
using ConfirmationFlags = std::array<std::uint8_t, kConfirmationCount>;

// The column order as the header holds it; first entry -1 = none stored.
using ColumnOrder = std::array<std::int32_t, kTaskListColumns>;
constexpr ColumnOrder kNoColumnOrder = {-1, 0, 0, 0, 0, 0, 0, 0, 0};

// True when order names every column 0..8 exactly once.
bool isColumnPermutation(const ColumnOrder& order);

// COLORREF values (red in the low byte).
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kDarkBlue = 0xA00000;
constexpr std::uint32_t kDarkRed = 0x0000C0;

struct TerminalSettings {
    std::int32_t hlp = 1;  // 1 HTML Help, 0 Windows Help

    // The list's colours without default colours: always entry 0 ("All tasks")
    // of the two tables below.
    std::uint32_t textColor = kBlue;
    std::uint32_t bkColor = kWhite;

    std::int32_t windowX = 45, windowY = 15, windowW = 575, windowH = 340;

    // Column widths in pixels; taskW -1 = none stored (the list's defaults).
    std::int32_t taskW = -1, dateW = 120, timeW = 48, intW = 69, commW = 198;
    std::int32_t monthW = 48, sFoldW = 40, lrW = 100;
    std::int32_t lResW = 120;  // Last result: stored on its own, never reset with the others

    // Copies of executor values.
    bool autoStart = true;   // the User Scheduler's
    bool defColors = true;
    bool fontValid = false;  // all font values were read: only then are they saved
    bool userDatMissing = false;
    bool oneInst = true;
    bool ampm = false;
    std::int32_t refreshTime = 10;
    bool sysLogF = false;
    bool userLogF = false;

    std::int32_t view = 0;  // 0 Details, 1 List, 2 Large Icons
    bool grid = true;
    std::int32_t sort = 0;  // a sort value of task_cells.h: 0-7 ascending by that column,
                            // 8-15 descending, 16 and 17 by Last result
    std::int32_t activeSched = 0;  // 0 user schedule shown, 1 system schedule
    bool oneTouch = false;
    bool autoQuote = true;
    bool tbText = true;
    ColumnOrder colOrder = kNoColumnOrder;
    std::array<std::uint32_t, kColorEntries> bkColors;
    std::array<std::uint32_t, kTextColorEntries> textColors;
    std::uint32_t failedBkColor = kWhite;
    std::uint32_t failedTextColor = kDarkRed;
    bool useColors = false;

    // Executor file names, unexpanded, each shorter than kSettingsPathSize.
    std::string userDat, userLog, sysDat, sysLog, userWav, sysWav;

    ListFont font;
    bool mtbs = true;   // large icons on the Main ToolBar
    bool ltbs = false;  // large icons on the Task List ToolBar
    BandLayout rbLayout = kDefaultBandLayout;
    bool dbr = true;    // Schedule bar shown

    TerminalSettings();
    bool operator==(const TerminalSettings& other) const;
};

// The colour tables' defaults: backgrounds white; texts blue for entries 0-4,
// dark blue for the inactive entries 5-8; failed rows dark red on white.
void setDefaultColorTables(TerminalSettings& settings);

// Screen size in pixels, for the placement and width checks.
struct ScreenSize {
    std::uint32_t width = 1024;
    std::uint32_t height = 768;
};

// The load: the Terminal key, then the user's and the machine's Scheduler keys.
// Every value falls back on its own to its default when it is missing, of
// another type or size, or out of range; never fails.
TerminalSettings loadTerminalSettings(const RegistryView& terminal, const RegistryView& userScheduler,
                                      const RegistryView& systemScheduler, ScreenSize screen);

// A value to write: into the Terminal key, or (OneInst, Hlp) also into the
// user's Scheduler key.
struct SettingsWrite {
    bool schedulerKey = false;
    std::string name;
    StoredValue value;
};

// The save: every value in the order they are written. The font values only
// when fontValid is set.
std::vector<SettingsWrite> terminalSettingsWrites(const TerminalSettings& settings);

// The confirmation flags: "Confirm", REG_BINARY of exactly 7 bytes; otherwise
// all 1. Each stored byte other than 0 reads as 1.
ConfirmationFlags loadConfirmations(const RegistryView& terminal);
StoredValue confirmationsValue(const ConfirmationFlags& flags);

// The default user schedule file: the program's folder followed by the user's
// name, blanks trimmed, and ".jsf"; "Default.jsf" when the name is unknown or
// only blanks.
std::string defaultUserScheduleFile(const std::string& programFolder, const std::string& userName,
                                    bool userNameKnown);

// The folder of a path: up to and including its last backslash, slash or colon.
std::string folderOf(const std::string& path);

}  // namespace kzo
