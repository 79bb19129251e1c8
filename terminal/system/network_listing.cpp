#include "network_listing.h"

#include <windows.h>

#include "browse_list.h"
#include "system_error.h"
#include "win32_actions.h"

namespace kzo {

namespace {

std::string toAnsi(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                   nullptr);
    if (size <= 0) return std::string();
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(), size, nullptr,
                        nullptr);
    return text;
}

}  // namespace

NetworkListing listNetworkComputers(NetApi* api, std::uint32_t loadError) {
    NetworkListing listing;
    if (!api || !api->hasServerEnum()) {
        listing.status = loadError;
        return listing;
    }
    listing.status = forEachBrowseListName(*api, [&](const std::wstring& name) {
        std::string ansi = toAnsi(name);
        if (!ansi.empty()) listing.names.push_back(ansi);
    });
    listing.ok = listing.status == 0 || listing.status == kNetMoreData;
    return listing;
}

NetworkListing listNetworkComputers() {
    std::unique_ptr<NetApi> api = loadNetApiLibrary();
    std::uint32_t loadError = api ? ERROR_PROC_NOT_FOUND : lastErrorOr(ERROR_MOD_NOT_FOUND);
    return listNetworkComputers(api.get(), loadError);
}

}  // namespace kzo
