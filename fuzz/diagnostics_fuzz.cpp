// The diagnostics report over any settings texts and task records, for any
// number of tasks: it never needs more than its buffer (64 KB, or a smaller
// one) with its NUL and always ends with its closing line; its tasks are the
// selected ones from the first, each whole, and those left out are counted;
// one is left out only when it did not fit.
//
// Input: the buffer's choice (2 bytes), the task count (1), the answer of the
// executable-type query (4), then the settings' texts (up to 9, separated by
// '\n') before a NUL, and then up to three records of 1709 bytes that the
// tasks repeat.
#include <string>
#include <vector>

#include "diagnostics_report.h"
#include "fuzz_input.h"

namespace {

using namespace kzo;

constexpr std::string_view kEnd = "<END OF REPORT>";

bool startsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

std::string cutLine(std::size_t leftOut) {
    return "Tasks left out\t: " + std::to_string(leftOut) + " (the report is full)\r\n";
}

std::vector<std::string> texts(std::string_view text, std::size_t count) {
    std::vector<std::string> out(count);
    std::size_t box = 0;
    for (char c : text) {
        if (c == '\n' && box + 1 < count) ++box;
        else out[box] += c;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::uint16_t choice = input.number<std::uint16_t>();
    // Mostly the dialog's 64 KB; sometimes a buffer far smaller.
    const std::size_t bufferSize = (choice & 1) ? choice >> 1 : kReportBufferSize;
    const std::size_t taskCount = input.byte();
    const std::uint32_t answer = input.number<std::uint32_t>();

    // The settings: the texts up to the first NUL, the flags from their bytes.
    std::string_view rest = input.rest();
    const std::size_t nul = rest.find('\0');
    std::vector<std::string> values = texts(rest.substr(0, nul), 9);
    DiagnosticsInput in;
    if (!values[0].empty()) in.versionText = values[0];
    in.user.executor = values[1];
    in.user.dat = values[2];
    in.user.autorunValue = values[3];
    in.user.log = values[4];
    in.system.dat = values[5];
    in.service.errorText = values[6];
    in.service.binaryPath = values[7];
    in.os.servicePack = values[8];
    const std::size_t flags = values[1].size() + 3 * values[2].size();
    in.user.autoStart = flags & 1;
    in.user.autorunKeyOpened = flags & 2;
    in.user.logF = flags & 4;
    in.os.nt = flags & 8;
    in.service.available = flags & 16;
    in.service.startType = static_cast<std::uint32_t>(flags >> 5);
    in.cpu.oemId = static_cast<std::uint32_t>(flags & 32);
    in.systemScheduleShown = flags & 64;

    // The records after the NUL; the selected tasks repeat them.
    std::vector<TaskRecord> records;
    if (nul != std::string_view::npos) {
        fuzz::FuzzInput recordBytes(reinterpret_cast<const std::uint8_t*>(rest.data()) + nul + 1,
                                    rest.size() - nul - 1);
        do records.push_back(recordBytes.record());
        while (recordBytes.left() > 0 && records.size() < 3);
    }
    std::vector<const TaskRecord*> tasks;
    for (std::size_t i = 0; i < taskCount && !records.empty(); ++i) tasks.push_back(&records[i % records.size()]);

    ExeTypeQuery exeType = [answer](const std::string& path) {
        FUZZ_CHECK(path.find('"') == std::string::npos);
        FUZZ_CHECK(path.empty() || (path.front() != ' ' && path.back() != ' '));
        return answer;
    };
    const std::string report = diagnosticsReport(in, tasks, exeType, bufferSize);

    const std::size_t limit = bufferSize > 0 ? bufferSize - 1 : 0;
    FUZZ_CHECK(report.size() <= limit);
    FUZZ_CHECK(report.size() < kReportBufferSize);
    if (limit < kEnd.size()) {
        FUZZ_CHECK(report == kEnd.substr(0, limit));
        return 0;
    }
    FUZZ_CHECK(report.size() >= kEnd.size() && report.compare(report.size() - kEnd.size(), kEnd.size(), kEnd) == 0);

    // The head, as a report without tasks in the full buffer has it. When
    // there is room for it and the count of tasks left out, the report is
    // the head, whole tasks from the first, then that count.
    const std::string alone = diagnosticsReport(in, {}, exeType);
    const std::string head = alone.substr(0, alone.size() - kEnd.size());
    if (head.size() + cutLine(tasks.size()).size() + kEnd.size() > limit) return 0;
    FUZZ_CHECK(startsWith(report, head));
    std::size_t at = head.size();
    std::size_t included = 0;
    for (; included < tasks.size(); ++included) {
        const std::string lines = reportTaskLines(*tasks[included], exeType);
        if (report.compare(at, lines.size(), lines) != 0) break;
        at += lines.size();
    }
    std::string_view tail = std::string_view(report).substr(at);
    if (included == tasks.size()) {
        FUZZ_CHECK(tail == kEnd);
        return 0;
    }
    const std::size_t leftOut = tasks.size() - included;
    FUZZ_CHECK(tail == cutLine(leftOut) + std::string(kEnd));
    // The first task left out did not fit with what must still follow it.
    const std::size_t after = leftOut - 1;
    const std::size_t closing = kEnd.size() + (after > 0 ? cutLine(after).size() : 0);
    FUZZ_CHECK(at + reportTaskLines(*tasks[included], exeType).size() + closing > limit);
    return 0;
}
