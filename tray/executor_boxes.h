// The Executor's message boxes: no owner, topmost while the TopMost setting is
// on (the flag the prompt dialogs share, prompt_state.h), texts from the
// Executor's string table.
#pragma once

#include <windows.h>

#include <string>

namespace kzo {

// A text of the string table; fallback when the table has none.
std::string executorText(unsigned id, const std::string& fallback = std::string());

// The error caption, string 7509 "KZO Scheduler : Error".
std::string errorCaption();

// MessageBoxA without owner, with MB_TOPMOST added while TopMost is on.
// Returns the box's answer.
int showExecutorBox(const std::string& text, const std::string& caption, UINT style);

// The default beep, then the text in a box with the error caption and icon.
void reportError(const std::string& text);

}  // namespace kzo
