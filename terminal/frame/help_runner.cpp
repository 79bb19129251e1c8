#include "help_runner.h"

#include "launchers.h"

namespace kzo {

const char* helpTopic(int context) {
    static const char* const kTopics[] = {"General.htm", "KZO_Term.htm", "Creating.htm", "Credits.htm"};
    return context >= 0 && context < 4 ? kTopics[context] : kTopics[0];
}

std::string htmlHelpCommand(const std::string& programFolder, int context) {
    return "hh.exe \"" + programFolder + "KZO.chm::/" + helpTopic(context) + "\"";
}

bool openHelp(HWND owner, const std::string& programFolder, int helpType, int context) {
    if (helpType) return launchApplication(htmlHelpCommand(programFolder, context).c_str(), kCurrentFolder, "", 0, 0,
                                           false) == 0;
    std::string file = programFolder + "KZO.hlp";
    return WinHelpA(owner, file.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(context)) != FALSE;
}

}  // namespace kzo
