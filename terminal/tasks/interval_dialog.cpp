#include "interval_dialog.h"

#include "resource.h"
#include "string_table.h"
#include "terminal_boxes.h"

namespace kzo {

INT_PTR IntervalDialog::run(HINSTANCE module, HWND owner) { return runModal(module, IDD_INTERVAL, owner); }

BOOL IntervalDialog::onInit() {
    for (int id : {IDC_IV_FROM_HOUR, IDC_IV_FROM_MINUTE, IDC_IV_TO_HOUR, IDC_IV_TO_MINUTE})
        SendMessageA(item(id), EM_LIMITTEXT, 2, 0);
    fromSpin_.attach(item(IDC_IV_FROM_SPIN));
    toSpin_.attach(item(IDC_IV_TO_SPIN));
    serve(IDC_IV_FROM_HOUR);
    serve(IDC_IV_TO_HOUR);
    if (!ampm_) {
        ShowWindow(item(IDC_IV_FROM_AMPM), SW_HIDE);
        ShowWindow(item(IDC_IV_TO_AMPM), SW_HIDE);
    }
    show(intervalControlsFrom(record_, ampm_));
    return TRUE;
}

void IntervalDialog::show(const IntervalControls& c) {
    SetDlgItemTextA(hwnd(), IDC_IV_FROM_HOUR, c.from.hour.c_str());
    SetDlgItemTextA(hwnd(), IDC_IV_FROM_MINUTE, c.from.minute.c_str());
    SetDlgItemTextA(hwnd(), IDC_IV_TO_HOUR, c.to.hour.c_str());
    SetDlgItemTextA(hwnd(), IDC_IV_TO_MINUTE, c.to.minute.c_str());
    CheckDlgButton(hwnd(), IDC_IV_INVERT, c.invert ? BST_CHECKED : BST_UNCHECKED);
    fromPm_ = c.from.pm;
    toPm_ = c.to.pm;
    showHalf(IDC_IV_FROM_AMPM, fromPm_);
    showHalf(IDC_IV_TO_AMPM, toPm_);
}

IntervalControls IntervalDialog::read() const {
    IntervalControls c;
    c.from = {dialogText(hwnd(), IDC_IV_FROM_HOUR), dialogText(hwnd(), IDC_IV_FROM_MINUTE), fromPm_};
    c.to = {dialogText(hwnd(), IDC_IV_TO_HOUR), dialogText(hwnd(), IDC_IV_TO_MINUTE), toPm_};
    c.invert = IsDlgButtonChecked(hwnd(), IDC_IV_INVERT) == BST_CHECKED;
    return c;
}

void IntervalDialog::showHalf(int button, bool pm) {
    SetDlgItemTextA(hwnd(), button, loadString(pm ? IDS_PM : IDS_AM, pm ? "&PM" : "&AM").c_str());
}

void IntervalDialog::serve(int box) {
    bool hour = box == IDC_IV_FROM_HOUR || box == IDC_IV_TO_HOUR;
    SpinRange range = hour ? hourSpinRange(false, ampm_) : minuteSpinRange();
    bool from = box == IDC_IV_FROM_HOUR || box == IDC_IV_FROM_MINUTE;
    (from ? fromSpin_ : toSpin_).serve(item(box), range);
}

bool IntervalDialog::onOk() {
    IntervalOutcome outcome = checkInterval(read(), ampm_);
    if (outcome.messageId) {
        showError(hwnd(), loadString(outcome.messageId));
        return false;
    }
    record_.intervalStart = outcome.start;
    record_.intervalEnd = outcome.end;
    record_.invert = outcome.invert ? 1 : 0;
    return true;
}

bool IntervalDialog::onCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_IV_FROM_HOUR:
    case IDC_IV_FROM_MINUTE:
    case IDC_IV_TO_HOUR:
    case IDC_IV_TO_MINUTE:
        if (code == EN_SETFOCUS) serve(id);
        return true;
    case IDC_IV_FROM_AMPM:
        fromPm_ = !fromPm_;
        showHalf(id, fromPm_);
        return true;
    case IDC_IV_TO_AMPM:
        toPm_ = !toPm_;
        showHalf(id, toPm_);
        return true;
    case IDC_IV_FULL_DAY: {
        IntervalControls c = read();
        setFullDay(c, ampm_);
        show(c);
        return true;
    }
    default:
        return false;
    }
}

bool IntervalDialog::onNotify(const NMHDR& header, LRESULT& answer) {
    if (header.code != UDN_DELTAPOS) return false;
    int delta = reinterpret_cast<const NMUPDOWN&>(header).iDelta;
    if (header.idFrom == IDC_IV_FROM_SPIN) fromSpin_.step(delta);
    if (header.idFrom == IDC_IV_TO_SPIN) toSpin_.step(delta);
    answer = TRUE;  // the spin's position is not ours to move
    return true;
}

}  // namespace kzo
