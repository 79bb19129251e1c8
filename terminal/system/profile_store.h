// ProfileStore: the task profiles of "kzo.pro" in the Terminal's own folder, as
// the Task Profiles page and the profile picker use them. The file's text is
// read and written by profile_format; this is the file side.
//
// Results are 0 or a Windows error code (14, ERROR_OUTOFMEMORY, when the
// profiles do not fit in memory); index operations return 1 outside their range.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "profile_format.h"

namespace kzo {

class ProfileStore {
public:
    // The file beside the running program: its folder plus "\\kzo.pro".
    ProfileStore();
    // Another file (tests, or a caller that knows better).
    explicit ProfileStore(std::string fileName);

    const std::string& fileName() const { return fileName_; }

    // Reads the file (created empty when missing) and keeps `spare` empty slots
    // after its profiles. The file's attributes are cleared first; the exclusive
    // open is tried 8 times, with a second's pause after the 3rd and 6th
    // failure. On an error the store is left empty.
    int load(std::size_t spare);

    std::size_t count() const { return count_; }   // entries in use or removed, not spare
    std::size_t slots() const { return profiles_.size(); }

    int name(std::size_t i, std::string& name) const;
    // The command, the comment and the type index of the type code (APP 0, DOC 1,
    // MSG 2, SDN 3, anything else 0).
    int get(std::size_t i, std::string& command, std::string& comment, int& typeIndex) const;
    bool inUse(std::size_t i) const { return i < count_ && profiles_[i].inUse != 0; }

    // Fills entry i, a used one or a spare slot; filling a spare slot raises the
    // count to i + 1. Texts are cut to 511 characters.
    int set(std::size_t i, const std::string& name, const std::string& command, int typeIndex,
            const std::string& comment, bool inUse);
    // Clears the in-use flag: the profile is left out of the next save.
    int remove(std::size_t i);

    // Writes the profiles in use, creating the file anew (attributes cleared,
    // write, exclusive, the same 8 attempts). A failed write returns its error.
    int save() const;

    void free();

private:
    std::string fileName_;
    std::vector<Profile> profiles_;
    std::size_t count_ = 0;
};

}  // namespace kzo
