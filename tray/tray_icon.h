// The Executor's icon in the notification area: one icon (id 0) on the hidden
// window, calling back with message 32868, showing the active or the inactive
// picture and the tip " KZO Scheduler 6 ".
//
// Which picture shows is also kept in the window property "KZOTrayIcon" (the
// icon resource id, 3 or 4; no property while no icon shows), so that other
// programs, the tests among them, can see it with GetPropA without reading the
// notification area.
#pragma once

#include <windows.h>

namespace kzo {

constexpr UINT kTrayCallbackMessage = 32868;
constexpr const char* kTrayIconProperty = "KZOTrayIcon";
constexpr const char* kTrayTip = " KZO Scheduler 6 ";

// An icon resource of the program at the small-icon size, destroyed with the
// object; the system's IDI_WINLOGO (shared, never destroyed) when the program
// has none.
class TrayPicture {
public:
    explicit TrayPicture(int resourceId);
    ~TrayPicture();
    TrayPicture(const TrayPicture&) = delete;
    TrayPicture& operator=(const TrayPicture&) = delete;

    HICON get() const { return icon_; }
    int resourceId() const { return resourceId_; }

private:
    int resourceId_;
    HICON icon_;
    bool owned_;
};

class TrayIcon {
public:
    explicit TrayIcon(HWND window);
    ~TrayIcon();  // removes the icon
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // NIM_ADD the first time, NIM_MODIFY afterwards when the picture changes.
    void show(const TrayPicture& picture);
    // NIM_DELETE, when shown.
    void remove();
    // The notification area was created anew (the shell restarted): the icon
    // is gone from it and the next show adds it again.
    void forget();
    bool shown() const { return shownId_ != 0; }

private:
    HWND window_;
    int shownId_ = 0;
};

}  // namespace kzo
