// Editing and creating tasks: the frame's Task properties command (2102: F4,
// double click, Enter, one-touch click) opens the task sheet on the focused
// task; New (2101, F3, a dropped file) goes through the new-task wizard.
#pragma once

namespace kzo {

class CMainFrame;

// Adds Task properties to the frame's commands and makes the wizard the
// document's editor of new tasks.
void registerTaskEditing(CMainFrame& frame);

// Task properties: the sheet on the task of the focused row, or on the only
// task of the schedule; a beep when there is none. OK marks the task edited,
// saves and rebuilds the list; Cancel reloads the schedule, undoing whatever
// a page wrote before it refused.
void editTask(CMainFrame& frame);

}  // namespace kzo
