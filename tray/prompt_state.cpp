#include "prompt_state.h"

#include <atomic>

#include "resource.h"

namespace kzo {
namespace {

constexpr int kCascadeSteps = 10;  // counts 0 to 9

std::atomic<int> openCount{0};
std::atomic<bool> topMost{true};
std::atomic<bool> actDlg{false};
std::atomic<HICON> icon{nullptr};

}  // namespace

void resetPromptState() {
    openCount = 0;
    topMost = true;
    actDlg = false;
    icon = nullptr;
}

void setPromptOptions(bool topMostOn, bool actDlgOn) {
    topMost = topMostOn;
    actDlg = actDlgOn;
}

bool promptTopMost() { return topMost; }
bool promptActDlg() { return actDlg; }

void setPromptIcon(HICON value) { icon = value; }

HICON promptIcon() {
    if (HICON set = icon) return set;
    // Icons from LoadIcon are shared by the system and never destroyed.
    if (HICON own = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DIALOG))) return own;
    return LoadIconA(nullptr, IDI_WINLOGO);
}

int takeCascadeStep() {
    int count = openCount.load();
    while (!openCount.compare_exchange_weak(count, (count + 1) % kCascadeSteps)) {
    }
    return count;
}

void releaseCascadeStep() {
    int count = openCount.load();
    while (count > 0 && !openCount.compare_exchange_weak(count, count - 1)) {
    }
}

}  // namespace kzo
