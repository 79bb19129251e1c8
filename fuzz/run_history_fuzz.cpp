// The run history's lines: any text is read without harm, every line read is
// written back as a line that reads as itself, and any bytes as a task name
// or an error text come back from the writer and the parser unchanged.
//
// Input: the history's text (its first half also serves as a name, the rest
// as a text).
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "run_event.h"

namespace {

using namespace kzo;

// One line: nine fields, one line break at its end.
void checkLine(const std::string& line) {
    FUZZ_CHECK(std::count(line.begin(), line.end(), '\t') == 8);
    FUZZ_CHECK(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);
    FUZZ_CHECK(line.find_first_of("\r\n") == line.size() - 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const RunEvent& read : parseHistory(text)) {
        std::string line = formatHistoryLine(read);
        checkLine(line);
        std::vector<RunEvent> again = parseHistory(line);
        FUZZ_CHECK(again.size() == 1);
        FUZZ_CHECK(formatHistoryLine(again[0]) == line);
        FUZZ_CHECK(again[0].task == read.task && again[0].text == read.text);
    }

    RunEvent e;
    e.time = e.pass = e.started = launchTimeAt(2026, 12, 8, 14, 5, 0);
    e.task = std::string(text.substr(0, size / 2));
    e.text = std::string(text.substr(size / 2));
    e.outcome = RunOutcome::NotStarted;
    std::string line = formatHistoryLine(e);
    checkLine(line);
    std::vector<RunEvent> back = parseHistory(line);
    FUZZ_CHECK(back.size() == 1);
    FUZZ_CHECK(back[0].task == e.task && back[0].text == e.text);
    return 0;
}
