// The About box (dialog 200 of about_box.rc): the product and version, the
// build date, two hyperlink labels (the maker's home page and its support
// mail), OK and "&Credits...", which calls credits (the Terminal opens help
// topic 3 with it).
#pragma once

#include <windows.h>

#include <functional>

namespace kzo {

// The addresses behind the About box's two links.
constexpr const char* kAboutHomePage = "https://www.veldmark.example/";
constexpr const char* kAboutSupportMail = "mailto:support@veldmark.example";

// Shows the About box modally; the dialog template comes from module, the
// icon is module's icon 128 (the system's application icon without one).
// credits may be empty (the button is then disabled). Returns IDOK, or -1 when
// the dialog could not be shown. A box shown on its own may carry a window
// property named `mark` (value 1) while it shows, by which other programs find it.
INT_PTR showAboutBox(HINSTANCE module, HWND owner, std::function<void()> credits, const char* mark = nullptr);

}  // namespace kzo
