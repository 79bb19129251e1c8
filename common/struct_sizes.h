// The sizes of the system's structures as the oldest systems of the suite know
// them. A call given a size its system does not know fails there (a larger
// size as well as a smaller one), and the headers' sizeof is that of the
// newest layout, so each cbSize names the layout it means.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>
#include <shellapi.h>

#include <cstddef>

namespace kzo {

// The size of a structure's layout that ends with member (the headers' size
// macros are no constant expressions).
#define KZO_SIZE_UP_TO(type, member) (offsetof(type, member) + sizeof(decltype(type::member)))

// Windows 95 and NT 4.0: all but hbmpItem, which came with 98 and 2000 (the
// size the 64-bit systems give that layout, padding after cch included). With
// this size the masks are those of 95 too: MIIM_TYPE, not MIIM_FTYPE /
// MIIM_STRING.
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
// The shell of Windows 95 and NT 4.0: a tip of 64 characters, no balloons.
constexpr DWORD kNotifyIconDataSize = offsetof(NOTIFYICONDATAA, szTip) + 64;
// comctl32 4.00: no lParam.
constexpr UINT kToolInfoSize = KZO_SIZE_UP_TO(TTTOOLINFOA, lpszText);
// comctl32 4.71 (Internet Explorer 4.0), which the Terminal requires: up to
// cxHeader, without the chevron of comctl32 6.
constexpr UINT kRebarBandInfoSize = KZO_SIZE_UP_TO(REBARBANDINFOA, cxHeader);
// Property sheets: the layouts of comctl32 4.00 and of 4.71 (Internet
// Explorer 4.0, with the wizard's header titles and bitmaps).
constexpr DWORD kPropSheetPageSize400 = KZO_SIZE_UP_TO(PROPSHEETPAGEA, pcRefParent);
constexpr DWORD kPropSheetPageSize471 = KZO_SIZE_UP_TO(PROPSHEETPAGEA, pszHeaderSubTitle);
constexpr DWORD kPropSheetHeaderSize400 = KZO_SIZE_UP_TO(PROPSHEETHEADERA, pfnCallback);
constexpr DWORD kPropSheetHeaderSize471 = offsetof(PROPSHEETHEADERA, hbmHeader) + sizeof(HBITMAP);

#ifndef _WIN64
static_assert(kMenuItemInfoSize == 44 && kNotifyIconDataSize == 88 && kToolInfoSize == 40 && kRebarBandInfoSize == 80 &&
                  kPropSheetPageSize400 == 40 && kPropSheetPageSize471 == 48 && kPropSheetHeaderSize400 == 40 &&
                  kPropSheetHeaderSize471 == 52,
              "the 32-bit layouts of Windows 95, NT 4.0 and comctl32 4.71");
#endif
static_assert(kPropSheetPageSize400 < kPropSheetPageSize471 && kPropSheetPageSize471 <= sizeof(PROPSHEETPAGEA),
              "two layouts of PROPSHEETPAGE");

}  // namespace kzo
