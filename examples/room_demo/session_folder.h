// A fresh folder for one run: the shipped configuration copy and the user
// data live there, so every run starts from the shipped file.
#pragma once

#include <filesystem>

namespace xloop_demo {

class SessionFolder {
public:
    // A new, empty folder under the system's temporary folder, or keptAt
    // (made when missing) when that is given.
    explicit SessionFolder(const std::filesystem::path& keptAt = {});
    // Removes the folder with everything in it, unless it is kept.
    ~SessionFolder();
    SessionFolder(const SessionFolder&) = delete;
    SessionFolder& operator=(const SessionFolder&) = delete;

    const std::filesystem::path& path() const { return folder; }
    std::filesystem::path shippedFolder() const { return folder / "shipped"; }
    std::filesystem::path userDataFolder() const { return folder / "user-data"; }

private:
    std::filesystem::path folder;
    bool kept;
};

}  // namespace xloop_demo
