#include "runtime/paths.h"

#include "platform/file_system.h"

namespace XLoop {

std::string appendPath(const char* folder, const char* name) {
    std::string folderText = folder != nullptr ? folder : "";
    std::string nameText = name != nullptr ? name : "";
    std::string joined;
    if (platform::joinPath(folderText, nameText, &joined)) return joined;
    if (folderText.empty() || folderText.back() != platform::kPathSeparator) {
        folderText += platform::kPathSeparator;
    }
    return folderText + nameText;
}

std::string fileURLFromPath(const char* path) {
    if (path == nullptr) return {};
    std::string full = platform::absolutePath(path);
    if (full.empty()) full = path;
    if (!platform::pathExists(full)) return {};
    return platform::fileURLFromAbsolutePath(full);
}

}  // namespace XLoop
