#include "examples/room_demo/session_folder.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>

namespace xloop_demo {

SessionFolder::SessionFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "xloop-room-demo-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a folder in " + pattern);
    folder = pattern;
    std::filesystem::create_directories(userDataFolder());
}

SessionFolder::~SessionFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace xloop_demo
