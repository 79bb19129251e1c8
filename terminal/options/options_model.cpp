#include "options_model.h"

namespace kzo {

void keepFrameState(TerminalSettings& working, const TerminalSettings& live) {
    working.hlp = live.hlp;
    working.windowX = live.windowX;
    working.windowY = live.windowY;
    working.windowW = live.windowW;
    working.windowH = live.windowH;
    working.taskW = live.taskW;
    working.dateW = live.dateW;
    working.timeW = live.timeW;
    working.intW = live.intW;
    working.commW = live.commW;
    working.monthW = live.monthW;
    working.sFoldW = live.sFoldW;
    working.lrW = live.lrW;
    working.lResW = live.lResW;
    working.colOrder = live.colOrder;
    working.sort = live.sort;
    working.view = live.view;
    working.activeSched = live.activeSched;
    working.rbLayout = live.rbLayout;
    working.dbr = live.dbr;
}

void takeOver(TerminalSettings& live, const OptionsModel& model) {
    const int view = live.view;
    const int activeSched = live.activeSched;
    live = model.terminal;
    live.view = view;
    live.activeSched = activeSched;
    const TerminalSchedulerSettings& user = model.user;
    live.ampm = user.ampm;
    live.userLogF = user.logF;
    live.userDat = user.dat;
    live.userLog = user.log;
    live.userWav = user.wav;
    live.userDatMissing = user.dat.empty();
    live.autoStart = user.autoStart;
    live.refreshTime = user.refreshTime;
    live.oneInst = user.oneInst;
    if (model.systemEditable) {
        // The log as well: View and Clear Logfile of the system schedule
        // follow what was just set, not what was stored before.
        live.sysDat = model.system.dat;
        live.sysWav = model.system.wav;
        live.sysLog = model.system.log;
        live.sysLogF = model.system.logF;
    }
}

}  // namespace kzo
