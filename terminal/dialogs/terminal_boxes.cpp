#include "terminal_boxes.h"

#include "kzo_message_box.h"
#include "resource.h"
#include "string_table.h"

namespace kzo {

namespace {

struct Captions {
    std::string error = "Error";
    std::string warning = "Warning";
    std::string query = "Query";
};

Captions& captions() {
    static Captions loaded;
    return loaded;
}

}  // namespace

void loadBoxCaptions() {
    Captions& c = captions();
    c.error = loadString(IDS_CAPTION_ERROR, "Error");
    c.warning = loadString(IDS_CAPTION_WARNING, "Warning");
    c.query = loadString(IDS_CAPTION_QUERY, "Query");
}

const std::string& errorCaption() { return captions().error; }
const std::string& warningCaption() { return captions().warning; }
const std::string& queryCaption() { return captions().query; }

void showError(HWND owner, const std::string& text) {
    MessageBeep(0xFFFFFFFF);
    MessageBoxA(owner, text.c_str(), errorCaption().c_str(), MB_OK | MB_ICONERROR);
}

bool askYesNo(HWND owner, const std::string& text, const std::string& caption, unsigned icon) {
    MessageBeep(0xFFFFFFFF);
    return MessageBoxA(owner, text.c_str(), caption.c_str(), MB_YESNO | icon) == IDYES;
}

bool confirm(HWND owner, const std::string& text, ConfirmationFlags& flags, int index, unsigned buttons,
             unsigned icon, const std::string& caption) {
    if (index < 0 || index >= kConfirmationCount || !flags[index]) return true;
    MessageBeep(0xFFFFFFFF);
    int answer = KZOMessageBox(owner, text.c_str(), caption.c_str(), buttons | icon | kMbCheckB | kMbNoBeep);
    if (answer & kMbCheckB) flags[index] = 0;
    int button = answer & 0xF;
    return button == IDYES || button == IDOK;
}

}  // namespace kzo
