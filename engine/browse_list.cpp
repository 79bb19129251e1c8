#include "browse_list.h"

#include <set>
#include <vector>

namespace kzo {

std::uint32_t forEachBrowseListName(NetApi& api, const std::function<void(const std::wstring&)>& visit) {
    std::set<std::wstring> visited;
    for (;;) {
        std::vector<std::wstring> names;
        std::uint32_t status = api.serverEnum(names);
        if (status == kNetAccessDenied || status == kNetInvalidComputer ||
            status == kNetNoBrowserServers) {
            return status;
        }
        bool anyNew = false;
        for (const std::wstring& name : names) {
            if (!visited.insert(name).second) continue;
            anyNew = true;
            visit(name);
        }
        if (status != kNetMoreData || !anyNew) return status;
    }
}

}  // namespace kzo
