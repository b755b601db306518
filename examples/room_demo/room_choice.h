// Which room a workbench run shows, from its options: the pages it serves
// and the configuration it ships.
#pragma once

#include <string>

#include "examples/room_demo/room_pages.h"
#include "examples/room_demo/workbench_options.h"

namespace xloop_demo {

// The sample pages; a page folder with its own VEQConfig.xml or one that
// names its room.html; or, for --room, no pages and a configuration that
// names that address. --config replaces the configuration. Throws
// std::runtime_error when a file or address cannot be read.
RoomSite chosenSite(const WorkbenchOptions& options);

// Where the module fetches the server's copy of the configuration: the
// --config address, else the page server's copy.
std::string serverConfigurationURL(const WorkbenchOptions& options, const RoomPageServer& server);

}  // namespace xloop_demo
