#include "executor_boxes.h"

#include "prompt_state.h"
#include "resource.h"
#include "string_table.h"

namespace kzo {

std::string executorText(unsigned id, const std::string& fallback) {
    return loadString(id, fallback);
}

std::string errorCaption() { return executorText(IDS_ERROR_CAPTION, "KZO Scheduler : Error"); }

int showExecutorBox(const std::string& text, const std::string& caption, UINT style) {
    if (promptTopMost()) style |= MB_TOPMOST;
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

void reportError(const std::string& text) {
    MessageBeep(0xFFFFFFFF);
    showExecutorBox(text, errorCaption(), MB_OK | MB_ICONERROR);
}

}  // namespace kzo
