// What the Task Profiles page and the profile picker share: their list's look
// (17 x 17 images on a green mask, full-row selection, or one-click activation
// with the one-touch setting), its rows and the row a command acts on.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "win_handles.h"

namespace kzo {

void setupProfileList(HWND list, HINSTANCE module, bool oneTouch, UniqueImageList& images);

// A row named name whose item data is the profile's index; returns its row.
int addProfileRow(HWND list, const std::string& name, std::size_t profile);
void setProfileCell(HWND list, int row, int column, const std::string& text);

// The profile of the first selected row, else of the focused row; -1 for none.
int chosenProfile(HWND list);
// The profiles of every selected row, top to bottom.
std::vector<std::size_t> selectedProfiles(HWND list);

}  // namespace kzo
