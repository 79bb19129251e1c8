#include "kzo_message_box.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "string_table.h"
#include "ui_resource.h"
#include "win_handles.h"

namespace kzo {
namespace {

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;
constexpr int kMaxButtonText = 99;

std::wstring wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &result[0], n);
    return result;
}

// An in-memory dialog template (DLGTEMPLATE with DS_SETFONT and its items),
// laid out as DialogBoxIndirect reads it: WORD-aligned strings, DWORD-aligned
// items. Throws std::bad_alloc when memory runs out.
class TemplateWriter {
public:
    void dialog(DWORD style, DWORD exStyle, WORD itemCount, const MbRect& du, const std::wstring& title,
                WORD points, const std::wstring& face) {
        dword(style);
        dword(exStyle);
        word(itemCount);
        rect(du);
        word(0);  // no menu
        word(0);  // the dialog class
        text(title);
        word(points);
        text(face);
    }
    void item(DWORD style, const MbRect& du, WORD id, WORD classAtom, const std::wstring& title) {
        align();
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        rect(du);
        word(id);
        word(0xFFFF);
        word(classAtom);
        text(title);
        word(0);  // no creation data
    }
    const DLGTEMPLATE* data() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void word(WORD w) { words_.push_back(w); }
    void dword(DWORD d) {
        word(LOWORD(d));
        word(HIWORD(d));
    }
    void rect(const MbRect& r) {
        word(static_cast<WORD>(r.x));
        word(static_cast<WORD>(r.y));
        word(static_cast<WORD>(r.cx));
        word(static_cast<WORD>(r.cy));
    }
    void text(const std::wstring& s) {
        for (wchar_t c : s) word(static_cast<WORD>(c));
        word(0);
    }
    void align() {
        if (words_.size() % 2) word(0);
    }
    std::vector<WORD> words_;
};

struct Fonts {
    UniqueFont font;
    int points = 8;
    std::string face;
    int baseX = 6, baseY = 13;  // dialog base units of the font
};

Fonts messageFont() {
    Fonts f;
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        f.font.reset(CreateFontIndirectA(&metrics.lfMessageFont));
    if (!f.font) {
        LOGFONTA fallback = {};
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
        f.font.reset(CreateFontIndirectA(&fallback));
    }
    LOGFONTA chosen = {};
    GetObjectA(f.font.get(), sizeof chosen, &chosen);
    f.face = chosen.lfFaceName;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f.font.get());
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SIZE sample = {};
    GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &sample);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (tm.tmHeight > 0) {
        f.baseX = std::max(1, static_cast<int>((sample.cx / 26 + 1) / 2));
        f.baseY = tm.tmHeight;
        f.points = std::max(1, MulDiv(tm.tmHeight - tm.tmInternalLeading, 72, dpi > 0 ? dpi : 96));
    }
    return f;
}

SIZE measure(HFONT font, const std::string& text, UINT format, int widthLimit) {
    RECT r = {0, 0, widthLimit, 0};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {r.right - r.left, r.bottom - r.top};
}

// What the dialog procedure works with.
struct Box {
    unsigned type = 0;
    unsigned helpContext = 0;
    std::vector<int> buttons;
    std::size_t defaultIndex = 0;
    MessageBoxLayout layout;
    HFONT font = nullptr;
    HICON icon = nullptr;
};

LPCSTR systemIcon(unsigned type) {
    switch (type & kMbIconMask) {
    case 0x10: return IDI_HAND;
    case 0x20: return IDI_QUESTION;
    case 0x30: return IDI_EXCLAMATION;
    case 0x40: return IDI_ASTERISK;
    default: return nullptr;
    }
}

std::string helpFileName() {
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path, n < MAX_PATH ? n : 0);
    std::size_t dot = file.find_last_of('.');
    std::size_t slash = file.find_last_of("\\/:");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) file.erase(dot);
    return file + ".hlp";
}

void place(HWND dialog, int id, const MbRect& r) {
    if (HWND control = GetDlgItem(dialog, id))
        SetWindowPos(control, nullptr, r.x, r.y, r.cx, r.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK setFont(HWND child, LPARAM font) {
    SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

// The dialog and its controls at the layout's exact pixels, whatever size the
// template's dialog units gave, about the same centre.
void applyLayout(HWND dialog, const Box& box) {
    EnumChildWindows(dialog, setFont, reinterpret_cast<LPARAM>(box.font));
    const MessageBoxLayout& l = box.layout;
    place(dialog, IDC_UI_MB_ICON, l.icon);
    place(dialog, IDC_UI_MB_TEXT, l.text);
    for (std::size_t i = 0; i < box.buttons.size() && i < l.buttons.size(); ++i)
        place(dialog, box.buttons[i], l.buttons[i]);
    place(dialog, IDC_UI_MB_CHECK, l.checkBox);

    RECT frame = {0, 0, l.clientWidth, l.clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
    RECT now = {};
    GetWindowRect(dialog, &now);
    const int cx = frame.right - frame.left, cy = frame.bottom - frame.top;
    int x = (now.left + now.right - cx) / 2, y = (now.top + now.bottom - cy) / 2;
    RECT work = {};
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - cx));
        y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - cy));
    }
    SetWindowPos(dialog, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL initBox(HWND dialog, const Box& box) {
    applyLayout(dialog, box);
    if (box.icon) SendDlgItemMessageA(dialog, IDC_UI_MB_ICON, STM_SETICON, reinterpret_cast<WPARAM>(box.icon), 0);
    if (escapeAnswer(box.type) == 0)
        EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    const int defaultId = box.buttons[box.defaultIndex];
    SendMessageA(dialog, DM_SETDEFID, static_cast<WPARAM>(defaultId), 0);
    SetFocus(GetDlgItem(dialog, defaultId));
    return FALSE;  // the focus is set
}

void endWith(HWND dialog, const Box& box, int id) {
    unsigned bits = IsDlgButtonChecked(dialog, IDC_UI_MB_CHECK) == BST_CHECKED ? checkBoxResultBits(box.type) : 0;
    EndDialog(dialog, static_cast<INT_PTR>(static_cast<unsigned>(id) | bits));
}

void onButton(HWND dialog, const Box& box, int id) {
    if (id == kIdHelp) {
        const std::string file = helpFileName();
        if (box.helpContext != 0)
            WinHelpA(dialog, file.c_str(), HELP_CONTEXT, box.helpContext);
        else
            WinHelpA(dialog, file.c_str(), HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(""));
        return;
    }
    const bool isButton = std::find(box.buttons.begin(), box.buttons.end(), id) != box.buttons.end();
    if (id == IDCANCEL && !isButton) {
        // Escape or the close box on a box without Cancel.
        if (int answer = escapeAnswer(box.type)) endWith(dialog, box, answer);
        return;
    }
    if (isButton) endWith(dialog, box, id);
}

INT_PTR CALLBACK boxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            return initBox(dialog, *reinterpret_cast<const Box*>(lParam));
        }
        const Box* box = reinterpret_cast<const Box*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (box && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) != IDC_UI_MB_CHECK) onButton(dialog, *box, LOWORD(wParam));
            return TRUE;
        }
    } catch (...) {
        EndDialog(dialog, kIdCancel);
        return TRUE;
    }
    return FALSE;
}

int allocationFailure(HWND owner) {
    MessageBoxA(owner, "Memory allocation for dialog template failed.", "Allocation Failure",
                MB_OK | MB_ICONWARNING);
    return kIdCancel;
}

int plainBox(HWND owner, const char* text, const std::string& caption, unsigned type) {
    return plainMessageBoxAnswer(type, MessageBoxA(owner, text, caption.c_str(), plainMessageBoxType(type)));
}

std::string buttonText(int id, unsigned type) {
    const char* english = buttonEnglishText(id);
    if (type & kMbEnglish) return english;
    return loadString(buttonStringId(id), english, kMaxButtonText);
}

int showBox(HWND owner, const char* text, const std::string& caption, unsigned type, unsigned helpContext) {
    Fonts fonts = messageFont();
    Box box;
    box.type = type;
    box.helpContext = helpContext;
    box.buttons = messageBoxButtons(type);
    box.defaultIndex = defaultButtonIndex(type, box.buttons.size());
    box.font = fonts.font.get();
    if (LPCSTR icon = systemIcon(type)) box.icon = LoadIconA(nullptr, icon);

    const std::string message = text ? text : "";
    MessageBoxMetrics metrics;
    if (box.icon) {
        metrics.iconWidth = GetSystemMetrics(SM_CXICON);
        metrics.iconHeight = GetSystemMetrics(SM_CYICON);
    }
    SIZE textSize = measure(box.font, message, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS,
                            textWidthLimit(GetSystemMetrics(SM_CXSCREEN), metrics.iconWidth));
    metrics.textWidth = textSize.cx;
    metrics.textHeight = textSize.cy;
    metrics.buttonCount = box.buttons.size();
    std::string checkText;
    if (checkBoxResultBits(type)) {
        checkText = (type & kMbEnglish) ? checkBoxEnglishText()
                                        : loadString(checkBoxStringId(type), checkBoxEnglishText(), kMaxButtonText);
        metrics.checkBoxTextWidth = measure(box.font, checkText, DT_SINGLELINE, 0).cx;
    }
    box.layout = layoutMessageBox(metrics);

    auto du = [&](const MbRect& r) {
        return MbRect{MulDiv(r.x, 4, fonts.baseX), MulDiv(r.y, 8, fonts.baseY), MulDiv(r.cx, 4, fonts.baseX),
                      MulDiv(r.cy, 8, fonts.baseY)};
    };
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT;
    if (type & kMbSystemModal) style |= DS_SYSMODAL;
    if (type & MB_SETFOREGROUND) style |= DS_SETFOREGROUND;
    DWORD exStyle = (type & MB_TOPMOST) ? WS_EX_TOPMOST : 0;
    const WORD items = static_cast<WORD>(box.buttons.size() + 1 + (box.icon ? 1 : 0) + (checkText.empty() ? 0 : 1));

    TemplateWriter writer;
    writer.dialog(style, exStyle, items, du({0, 0, box.layout.clientWidth, box.layout.clientHeight}), wide(caption),
                  static_cast<WORD>(fonts.points), wide(fonts.face));
    if (box.icon) writer.item(SS_ICON, du(box.layout.icon), IDC_UI_MB_ICON, kStaticClass, L"");
    writer.item(SS_LEFT | SS_NOPREFIX | WS_GROUP, du(box.layout.text), IDC_UI_MB_TEXT, kStaticClass, wide(message));
    for (std::size_t i = 0; i < box.buttons.size(); ++i) {
        DWORD buttonStyle = WS_TABSTOP | (i == box.defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        if (i == 0) buttonStyle |= WS_GROUP;
        writer.item(buttonStyle, du(box.layout.buttons[i]), static_cast<WORD>(box.buttons[i]), kButtonClass,
                    wide(buttonText(box.buttons[i], type)));
    }
    if (!checkText.empty())
        writer.item(BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, du(box.layout.checkBox), IDC_UI_MB_CHECK, kButtonClass,
                    wide(checkText));

    if (!(type & kMbNoBeep)) MessageBeep(type & kMbIconMask);
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), writer.data(), owner, boxProc,
                                             reinterpret_cast<LPARAM>(&box));
    if (result == -1 || result == 0) {
        if (GetLastError() == ERROR_NOT_ENOUGH_MEMORY || GetLastError() == ERROR_OUTOFMEMORY)
            return allocationFailure(owner);
        // The box could not be made: the message still reaches the user.
        return plainBox(owner, message.c_str(), caption, type);
    }
    return static_cast<int>(result);
}

}  // namespace

int KZOMessageBox(HWND owner, const char* text, const char* caption, unsigned type, unsigned helpContext) {
    std::string title;
    // An owner that is no window (any more) would make no box at all.
    if (owner && !IsWindow(owner)) owner = nullptr;
    try {
        title = caption && *caption ? std::string(caption) : loadString(kAppTitleStringId, "Error");
        if (showsPlainMessageBox(type)) return plainBox(owner, text, title, type);
        return showBox(owner, text, title, type, helpContext);
    } catch (const std::bad_alloc&) {
        return allocationFailure(owner);
    } catch (...) {
        return kIdCancel;
    }
}

}  // namespace kzo
