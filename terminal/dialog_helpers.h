// Small helpers every dialog of the Terminal uses: texts of controls, the
// common file and folder dialogs, dropped files, insertion at the caret.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace kzo {

// The whole text of a dialog's control, however long.
std::string dialogText(HWND dialog, int id);
std::string windowText(HWND window);

// The file-open dialog. filter is "description|pattern|...||" as the string
// table holds it; defaultExtension without the dot (may be empty); initial is
// the file name shown at first. True with chosen set when the user chose a file.
bool openFileDialog(HWND owner, const std::string& title, const std::string& filter,
                    const std::string& defaultExtension, const std::string& initial, std::string& chosen);

// The folder chooser (file-system folders only). True with chosen set.
bool chooseFolder(HWND owner, const std::string& title, std::string& chosen);

// The first file of a drop (the drop is finished); empty when none.
std::string droppedFile(HDROP drop);

// Puts text into an edit control at the caret: the part before the selection
// start, the text, and the rest from the selection start on (a selection is
// not replaced). The edit's text is taken up to maxLength characters.
void insertAtCaret(HWND edit, const std::string& text, int maxLength = 1023);

// Whether Shift is held now.
bool shiftHeld();

// The font of a wizard page's heading: the control's font, bold, one and a
// half times its size. The caller owns it (nullptr when it cannot be made).
HFONT createHeadingFont(HWND control);

}  // namespace kzo
