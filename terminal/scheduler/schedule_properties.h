// The Schedule properties window (dialog 245 as the one page of a sheet): the
// schedule file shown, its size and task count, and whether its executor runs
// and is active.
#pragma once

#include <windows.h>

#include <string>

#include "property_page.h"

namespace kzo {

class CMainFrame;

struct SchedulePropertiesValues {
    std::string file;
    std::size_t tasks = 0;
    bool running = false;
    bool active = true;
};

class SchedulePropertiesPage : public PropertyPage {
public:
    explicit SchedulePropertiesPage(SchedulePropertiesValues values) : values_(std::move(values)) {}

private:
    BOOL onInit() override;

    SchedulePropertiesValues values_;
};

void showScheduleProperties(CMainFrame& frame);

}  // namespace kzo
