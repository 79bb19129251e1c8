// The Terminal's message boxes: every error is preceded by the default beep and
// captioned "Error" with the error icon; questions are captioned "Warning" or
// "Query"; the questions that the confirmation flags govern carry the box
// "&Don't display this message again".
#pragma once

#include <windows.h>

#include <string>

#include "terminal_settings.h"

namespace kzo {

// The three captions, loaded once at start-up from the string table.
void loadBoxCaptions();
const std::string& errorCaption();
const std::string& warningCaption();
const std::string& queryCaption();

// Beep, then the text with the error icon. Returns when it is closed.
void showError(HWND owner, const std::string& text);

// Beep, then a Yes/No question with the given icon and caption. True for Yes.
bool askYesNo(HWND owner, const std::string& text, const std::string& caption, unsigned icon);

// A question governed by confirmation flag index: true at once when the flag
// is off; otherwise beep and ask with the check box, which turns the flag off
// when ticked, whatever the answer. buttons is MB_YESNO or MB_OKCANCEL; true
// for Yes or OK.
bool confirm(HWND owner, const std::string& text, ConfirmationFlags& flags, int index,
             unsigned buttons = MB_YESNO, unsigned icon = MB_ICONEXCLAMATION,
             const std::string& caption = warningCaption());

}  // namespace kzo
