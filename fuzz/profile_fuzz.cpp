// The task profiles file over any text, in a single- or a double-byte code
// page: no field read is longer than its width, holds a line end or a NUL, or
// has blanks at its ends, and a save of what was read reads
// back as the same profiles and saves again as the same bytes.
//
// Input: the code page (1 byte), then the file's text.
#include <string>
#include <vector>

#include "code_page.h"
#include "fuzz_input.h"
#include "profile_format.h"

namespace {

using namespace kzo;

bool sameProfiles(const std::vector<Profile>& a, const std::vector<Profile>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].command != b[i].command || a[i].type != b[i].type ||
            a[i].comment != b[i].comment || a[i].inUse != b[i].inUse)
            return false;
    }
    return true;
}

void checkField(const std::string& field) {
    FUZZ_CHECK(field.size() <= kProfileFieldWidth);
    FUZZ_CHECK(field.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    FUZZ_CHECK(field.empty() || (field.front() != ' ' && field.back() != ' '));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const bool doubleByte = input.byte() & 1;
    fuzz::useDoubleByteCodePage(doubleByte);
    LeadByteTest isLeadByte = doubleByte ? fuzz::leadByte : nullptr;
    const std::string text(input.rest());

    std::vector<Profile> read = parseProfiles(text, isLeadByte);
    for (const Profile& p : read) {
        FUZZ_CHECK(p.inUse == 1);
        for (const std::string* field : {&p.name, &p.command, &p.type, &p.comment}) checkField(*field);
    }

    // Save, read again: the same profiles; save again: the same bytes.
    const std::string saved = formatProfiles(read);
    std::vector<Profile> again = parseProfiles(saved, isLeadByte);
    FUZZ_CHECK(sameProfiles(read, again));
    FUZZ_CHECK(formatProfiles(again) == saved);

    // Profiles no longer in use are left out of a save, the others keep their order.
    if (!read.empty()) {
        std::vector<Profile> some = read;
        some[0].inUse = 0;
        std::vector<Profile> kept = parseProfiles(formatProfiles(some), isLeadByte);
        FUZZ_CHECK(sameProfiles(std::vector<Profile>(read.begin() + 1, read.end()), kept));
    }

    // The type code of any field names one of the four types, and back.
    for (const Profile& p : read) {
        int index = profileTypeIndex(p.type);
        FUZZ_CHECK(index >= 0 && index <= 3);
        FUZZ_CHECK(profileTypeIndex(profileTypeCode(index)) == index);
    }
    return 0;
}
