#include "examples/room_demo/session_folder.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>

namespace xloop_demo {

SessionFolder::SessionFolder(const std::filesystem::path& keptAt)
    : folder(keptAt.empty() ? keptAt : std::filesystem::absolute(keptAt)), kept(!keptAt.empty()) {
    if (!kept) {
        std::string pattern = (std::filesystem::temp_directory_path() / "xloop-room-demo-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a folder in " + pattern);
        folder = pattern;
    }
    std::error_code error;
    std::filesystem::create_directories(userDataFolder(), error);
    if (error) throw std::runtime_error("cannot make " + userDataFolder().string() + ": " + error.message());
}

SessionFolder::~SessionFolder() {
    if (kept) return;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace xloop_demo
