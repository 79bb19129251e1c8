#include "command_table.h"

#include <utility>

namespace kzo {

void CommandTable::add(int id, Run run, State state) {
    commands_[id] = Entry{std::move(run), std::move(state)};
}

bool CommandTable::run(int id) const {
    auto it = commands_.find(id);
    if (it == commands_.end() || !state(id).enabled) return false;
    it->second.run();
    return true;
}

CommandState CommandTable::state(int id) const {
    auto it = commands_.find(id);
    if (it == commands_.end()) return CommandState{false};
    return it->second.state ? it->second.state() : CommandState();
}

}  // namespace kzo
