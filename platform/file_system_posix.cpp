#include "platform/file_system.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "base/percent_encoding.h"

namespace XLoop::platform {

const char kPathSeparator = '/';

bool joinPath(const std::string& folder, const std::string& name, std::string* joined) {
    size_t nameStart = name.find_first_not_of('/');
    std::string bareName = nameStart == std::string::npos ? "" : name.substr(nameStart);
    if (folder.empty()) {
        *joined = bareName;
    } else if (folder.back() == '/') {
        *joined = folder + bareName;
    } else {
        *joined = folder + '/' + bareName;
    }
    return true;
}

// Resolves "." and ".." and doubled separators in the text alone, as the
// Windows full-path call does; symbolic links are left alone.
std::string absolutePath(const std::string& path) {
    std::string full = path;
    if (full.empty() || full[0] != '/') {
        std::vector<char> folder(4096);
        if (getcwd(folder.data(), folder.size()) == nullptr) return {};
        full = std::string(folder.data()) + '/' + path;
    }
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= full.size()) {
        size_t end = full.find('/', start);
        if (end == std::string::npos) end = full.size();
        std::string segment = full.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string normalized;
    for (const auto& segment : segments) normalized += '/' + segment;
    return normalized.empty() ? "/" : normalized;
}

std::string resolvedFolderPath(const std::string& folder) {
    struct stat info;
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return {};
    std::unique_ptr<char, decltype(&free)> resolved(realpath(folder.c_str(), nullptr), &free);
    return resolved != nullptr ? std::string(resolved.get()) : std::string();
}

bool pathExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string fileURLFromAbsolutePath(const std::string& path) {
    return "file://" + percentEncode(path, "/!$&'()*+,;=:@");
}

// file:///path and file://localhost/path; another host is not a local file.
std::string pathFromFileURL(const std::string& url) {
    if (url.size() < 7 || strncasecmp(url.c_str(), "file://", 7) != 0) return {};
    size_t pathStart = url.find('/', 7);
    if (pathStart == std::string::npos) return {};
    std::string host = url.substr(7, pathStart - 7);
    if (!host.empty() && strcasecmp(host.c_str(), "localhost") != 0) return {};
    std::string path = url.substr(pathStart, url.find_first_of("?#", pathStart) - pathStart);
    return percentDecode(path);
}

}  // namespace XLoop::platform
