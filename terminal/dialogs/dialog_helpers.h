// Small helpers every dialog of the Terminal uses: texts of controls, the
// common file and folder dialogs, dropped files, insertion at the caret.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <initializer_list>
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

// A text put into an edit: inserted at the caret (Shift held at a drop or a
// browse), or replacing the edit's text.
void putText(HWND edit, const std::string& text, bool insert);

// The edit among edits (ids of dialog's controls, enabled ones only) that a
// drop on dropWindow (the window that took it) landed on; 0 when none.
int droppedOnEdit(HDROP drop, HWND dropWindow, HWND dialog, std::initializer_list<int> edits);

// Files dropped on a sheet's container are its active page's (the page
// finishes the drop); without a page the drop is finished here.
void forwardDrop(HWND activePage, WPARAM drop);

// The font of a wizard page's heading: the control's font, bold, one and a
// half times its size. The caller owns it (nullptr when it cannot be made).
HFONT createHeadingFont(HWND control);

}  // namespace kzo
