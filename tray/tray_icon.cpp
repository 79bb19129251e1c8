#include "tray_icon.h"

#include <shellapi.h>

#include <cstring>

#include "struct_sizes.h"

namespace kzo {

TrayPicture::TrayPicture(int resourceId) : resourceId_(resourceId) {
    icon_ = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId),
                                          IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    owned_ = icon_ != nullptr;
    if (!icon_) icon_ = LoadIconA(nullptr, IDI_WINLOGO);
}

TrayPicture::~TrayPicture() {
    if (owned_) DestroyIcon(icon_);
}

TrayIcon::TrayIcon(HWND window) : window_(window) {}

TrayIcon::~TrayIcon() { remove(); }

void TrayIcon::show(const TrayPicture& picture) {
    if (shownId_ == picture.resourceId()) return;
    NOTIFYICONDATAA data = {};
    data.cbSize = kNotifyIconDataSize;
    data.hWnd = window_;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = picture.get();
    std::strncpy(data.szTip, kTrayTip, sizeof data.szTip - 1);
    // An icon the notification area refused is not shown: the next show tries
    // to add it again.
    if (!Shell_NotifyIconA(shownId_ == 0 ? NIM_ADD : NIM_MODIFY, &data)) return;
    shownId_ = picture.resourceId();
    SetPropA(window_, kTrayIconProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(shownId_)));
}

void TrayIcon::forget() {
    shownId_ = 0;
    RemovePropA(window_, kTrayIconProperty);
}

void TrayIcon::remove() {
    if (shownId_ == 0) return;
    NOTIFYICONDATAA data = {};
    data.cbSize = kNotifyIconDataSize;
    data.hWnd = window_;
    data.uID = 0;
    Shell_NotifyIconA(NIM_DELETE, &data);
    shownId_ = 0;
    RemovePropA(window_, kTrayIconProperty);
}

}  // namespace kzo
