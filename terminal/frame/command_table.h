// The frame's commands by id: what each does and when it is enabled, checked
// or marked as the choice of its group. The menu bar, the context menus, the
// toolbars and the accelerators all go through this one table.
#pragma once

#include <functional>
#include <unordered_map>

namespace kzo {

struct CommandState {
    bool enabled = true;
    enum Mark { None, Check, Radio } mark = None;
    bool marked = false;
};

class CommandTable {
public:
    using Run = std::function<void()>;
    using State = std::function<CommandState()>;

    // A later add of the same id replaces the earlier one.
    void add(int id, Run run, State state = State());

    // Runs the command when it is known and enabled. False when not run.
    bool run(int id) const;
    bool has(int id) const { return commands_.count(id) != 0; }
    // Unknown commands are disabled.
    CommandState state(int id) const;

private:
    struct Entry {
        Run run;
        State state;
    };
    std::unordered_map<int, Entry> commands_;
};

}  // namespace kzo
