#include "schedule_properties.h"

#include <vector>

#include "main_frame.h"
#include "resource.h"
#include "scheduler_control.h"
#include "string_table.h"
#include "task_record.h"

namespace kzo {

BOOL SchedulePropertiesPage::onInit() {
    const SchedulePropertiesValues& v = values_;
    const std::size_t slash = v.file.find_last_of("\\/:");
    const std::string name = slash == std::string::npos ? v.file : v.file.substr(slash + 1);
    SetDlgItemTextA(hwnd(), IDC_PROP_NAME, name.c_str());
    SetDlgItemTextA(hwnd(), IDC_PROP_FILE, v.file.c_str());
    SetDlgItemTextA(hwnd(), IDC_PROP_SIZE, (std::to_string(v.tasks * kRecordSize) + "b").c_str());
    SetDlgItemTextA(hwnd(), IDC_PROP_TASKS, std::to_string(v.tasks).c_str());
    std::string executor = loadString(v.running ? IDS_STATE_RUNNING : IDS_STATE_STOPPED) + ", " +
                           loadString(v.active ? IDS_STATE_ACTIVE : IDS_STATE_INACTIVE);
    SetDlgItemTextA(hwnd(), IDC_PROP_EXECUTOR, executor.c_str());
    return TRUE;
}

void showScheduleProperties(CMainFrame& frame) {
    const bool system = !frame.userScheduleShown();
    SchedulePropertiesValues values;
    values.file = frame.store().fileName();
    values.tasks = frame.store().count();
    values.running = schedulerRunning(system);
    values.active = schedulerActive(system);
    SchedulePropertiesPage page(values);
    const std::string tab = loadString(IDS_PROPERTIES_TAB, "Properties");
    std::vector<PROPSHEETPAGEA> pages = {page.page(frame.module(), IDD_SCHEDULE_PROPERTIES, tab.c_str())};
    runPropertySheet(frame.hwnd(), loadString(system ? IDS_SYSTEM_PROPERTIES : IDS_USER_PROPERTIES), pages);
}

}  // namespace kzo
