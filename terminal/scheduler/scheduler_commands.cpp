#include "scheduler_commands.h"

#include "convert_dialog.h"
#include "diagnostics_dialog.h"
#include "history_dialog.h"
#include "main_frame.h"
#include "resource.h"
#include "schedule_properties.h"
#include "scheduler_control.h"
#include "system_information_dialog.h"

namespace kzo {

void registerSchedulerCommands(CMainFrame& frame) {
    CommandTable& c = frame.commands();
    CMainFrame* f = &frame;
    c.add(ID_START_SCHEDULER, [f] { startScheduler(*f); });
    c.add(ID_STOP_SCHEDULER, [f] { stopScheduler(*f); });
    c.add(ID_ACTIVE, [f] { toggleActive(*f); },
          [f] {
              CommandState state;
              state.mark = CommandState::Check;
              state.marked = schedulerActive(!f->userScheduleShown());
              return state;
          });
    auto logging = [f] { return CommandState{shownLogging(*f)}; };
    c.add(ID_VIEW_LOGFILE, [f] { viewLogfile(*f); }, logging);
    c.add(ID_CLEAR_LOGFILE, [f] { clearLogfile(*f); }, logging);
    c.add(ID_CONVERT, [f] { runConvert(*f); });
    c.add(ID_DIAGNOSTICS, [f] { runDiagnostics(*f); });
    c.add(ID_SYSTEM_INFORMATION, [f] { showSystemInformation(*f); });
    c.add(ID_SCHEDULE_PROPERTIES, [f] { showScheduleProperties(*f); });
    c.add(ID_VIEW_HISTORY, [f] { showHistory(*f, false); });
    c.add(ID_TASK_HISTORY, [f] { showHistory(*f, true); });
}

}  // namespace kzo
