#include "examples/room_demo/room_choice.h"

#include <glib.h>

#include "examples/room_demo/configuration_download.h"

namespace xloop_demo {
namespace {

// A configuration whose defaults name the room for every product, version
// and locale.
std::string configurationNaming(const std::string& roomURL) {
    gchar* escaped = g_markup_escape_text(roomURL.c_str(), -1);
    std::string text = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<veqconfig>\n"
                                   "  <defaults killswitch=\"off\" url=\"") +
                       escaped + "\" serverurl=\"\"/>\n</veqconfig>\n";
    g_free(escaped);
    return text;
}

std::string chosenConfiguration(const WorkbenchOptions& options, const std::filesystem::path& pages) {
    if (isWebAddress(options.config)) return downloadText(options.config);
    if (!options.config.empty()) return fileText(options.config);
    if (!options.roomURL.empty()) return configurationNaming(options.roomURL);
    if (std::filesystem::is_regular_file(pages / "VEQConfig.xml")) return fileText(pages / "VEQConfig.xml");
    return configurationNaming("{server}/veqtemplate/room.html");
}

}  // namespace

RoomSite chosenSite(const WorkbenchOptions& options) {
    if (options.samples() && options.config.empty()) return sampleSite();
    const std::filesystem::path pages =
        options.samples() ? std::filesystem::path(XLOOP_ROOM_PAGES_DIR) : options.pagesFolder;
    return {pages, chosenConfiguration(options, pages)};
}

std::string serverConfigurationURL(const WorkbenchOptions& options, const RoomPageServer& server) {
    return isWebAddress(options.config) ? options.config : server.configurationURL();
}

}  // namespace xloop_demo
