#include "profile_format.h"

#include <algorithm>

#include "blanks.h"

namespace kzo {

namespace {

constexpr std::size_t kFieldsPerProfile = 4;
// The type codes by index.
const char* const kTypeCodes[] = {"APP", "DOC", "MSG", "SDN"};

std::string fieldOf(std::string_view raw, LeadByteTest isLeadByte) {
    std::string field = trimBlanks(raw);
    if (field.size() > kProfileFieldWidth) {
        std::size_t keep = isLeadByte ? wholeUnitsWithin(field, kProfileFieldWidth, isLeadByte)
                                      : kProfileFieldWidth;
        field.resize(keep);
        field = trimBlanks(field);
    }
    return field;
}

std::string lineOf(const std::string& field) {
    std::string line = field;
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line + "\r\n";
}

}  // namespace

std::vector<Profile> parseProfiles(std::string_view text, LeadByteTest isLeadByte) {
    // CR ends a line and LF is a blank; a text without any CR (written by an
    // editor that ends lines with LF alone) has its lines ended by LF.
    const char lineEnd = text.find('\r') == std::string_view::npos ? '\n' : '\r';
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == lineEnd) {
            lines.push_back(fieldOf(current, isLeadByte));
            current.clear();
        } else {
            current += (c == '\n' || c == '\0') ? ' ' : c;
        }
    }
    // A last line that lacks only its line end is still a line.
    if (!trimBlanks(current).empty()) lines.push_back(fieldOf(current, isLeadByte));

    std::vector<Profile> profiles;
    profiles.reserve(lines.size() / kFieldsPerProfile);
    for (std::size_t i = 0; i + kFieldsPerProfile <= lines.size(); i += kFieldsPerProfile) {
        Profile p;
        p.name = std::move(lines[i]);
        p.command = std::move(lines[i + 1]);
        p.type = std::move(lines[i + 2]);
        p.comment = std::move(lines[i + 3]);
        p.inUse = 1;
        profiles.push_back(std::move(p));
    }
    return profiles;
}

std::string formatProfiles(const std::vector<Profile>& profiles) {
    std::string text;
    for (const Profile& p : profiles) {
        if (!p.inUse) continue;
        text += lineOf(p.name);
        text += lineOf(p.command);
        text += lineOf(p.type);
        text += lineOf(p.comment);
    }
    return text;
}

int profileTypeIndex(std::string_view code) {
    std::string upper = trimBlanks(code);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (int i = 0; i < 4; ++i)
        if (upper == kTypeCodes[i]) return i;
    return 0;
}

std::string profileTypeCode(int index) {
    return index >= 0 && index < 4 ? kTypeCodes[index] : kTypeCodes[0];
}

std::string pickedComment(std::string_view comment) {
    std::string text(comment);
    std::replace(text.begin(), text.end(), '|', '\r');
    return text;
}

ProfileEntry checkProfileEntry(std::string_view name, std::string_view command, std::string_view comment) {
    ProfileEntry entry;
    entry.name = trimBlanks(name);
    entry.command = trimBlanks(command);
    entry.comment = trimBlanks(comment);
    if (entry.name.empty() || entry.command.empty()) entry.messageId = kMsgNoProfileNameOrCommand;
    return entry;
}

}  // namespace kzo
