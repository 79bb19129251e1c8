// The Activity Interval dialog of the Day and time page: the two ends of the
// interval in which the task may run, and whether it runs outside it instead.
// It writes the record's interval start, end and invert flag only on OK.
#pragma once

#include "day_time_rules.h"
#include "dialog_base.h"
#include "spin_target.h"
#include "task_record.h"

namespace kzo {

class IntervalDialog : public DialogBase {
public:
    IntervalDialog(TaskRecord& record, bool ampm) : record_(record), ampm_(ampm) {}

    // IDOK when the record took the new interval.
    INT_PTR run(HINSTANCE module, HWND owner);

protected:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onNotify(const NMHDR& header, LRESULT& answer) override;

private:
    void show(const IntervalControls& controls);
    IntervalControls read() const;
    void showHalf(int button, bool pm);
    void serve(int box);
    bool onOk() override;

    TaskRecord& record_;
    bool ampm_;
    bool fromPm_ = false;
    bool toPm_ = false;
    SpinTarget fromSpin_;
    SpinTarget toSpin_;
};

}  // namespace kzo
