#include "platform/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace XLoop::platform {
namespace {

bool writeAll(int descriptor, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t count = write(descriptor, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        written += static_cast<size_t>(count);
    }
    return true;
}

// mkostemp replaces the six X with letters and digits. The word in front
// tells these files from a user's own copies, such as VEQPrefs.xml.backup.
constexpr char kNewFileSuffix[] = ".new-XXXXXX";
constexpr size_t kNewFileSuffixSize = sizeof kNewFileSuffix - 1;
constexpr size_t kRandomPartSize = 6;

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The rename is only durable once the folder's entry list is on disk.
StepResult flushFolder(const std::string& folder) {
    int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return StepResult::failure("open folder", errno);
    int result = fsync(descriptor);
    int error = errno;
    close(descriptor);
    return result == 0 ? StepResult::success() : StepResult::failure("flush folder", error);
}

// Lists the folder without writing its access time where the system allows:
// the list is read at every save, just after the folder was changed, and the
// access time would then cost one more metadata write each time.
DIR* openFolderList(const std::string& folder) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#ifdef O_NOATIME
    int descriptor = open(folder.c_str(), kFlags | O_NOATIME);
    if (descriptor < 0 && errno == EPERM) descriptor = open(folder.c_str(), kFlags);  // not the folder's owner
#else
    int descriptor = open(folder.c_str(), kFlags);
#endif
    if (descriptor < 0) return nullptr;
    DIR* list = fdopendir(descriptor);
    if (list == nullptr) close(descriptor);
    return list;
}

std::string fileNameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isNewFileName(const std::string& name, const std::string& fileName) {
    const std::string stem = fileName + std::string(kNewFileSuffix, kNewFileSuffixSize - kRandomPartSize);
    if (name.size() != stem.size() + kRandomPartSize || name.compare(0, stem.size(), stem) != 0) return false;
    for (size_t i = stem.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
    }
    return true;
}

// Owners, installers and users may have loosened or tightened the mode of
// the file; mkostemp made the new one 0600. Should the change fail, the file
// ends up private to its owner, never more open than before. A link at the
// path gives nothing: the new file replaces the link, and the mode of
// whatever it points to says nothing about who may read the preferences.
void keepMode(int descriptor, const std::string& path) {
    struct stat old;
    if (lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) && (old.st_mode & 0777) != 0600) {
        fchmod(descriptor, old.st_mode & 0777);
    }
}

// Writes, flushes and closes the new file; the caller removes it on failure.
StepResult fillNewFile(int descriptor, const std::string& bytes) {
    if (!writeAll(descriptor, bytes)) {
        int error = errno;
        close(descriptor);
        return StepResult::failure("write", error);
    }
    if (fsync(descriptor) != 0) {
        int error = errno;
        close(descriptor);
        return StepResult::failure("flush", error);
    }
    if (close(descriptor) != 0) return StepResult::failure("close", errno);
    return StepResult::success();
}

}  // namespace

StepResult createFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) return StepResult::success();
    return StepResult::failure("create folder", errno);
}

PathKind pathKind(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return PathKind::Missing;
    return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
}

StepResult readRegularFile(const std::string& path, size_t maxBytes, std::string* bytes) {
    bytes->clear();
    // Non-blocking, so that opening a pipe with no writer returns at once.
    int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return errno == ENOENT ? StepResult::success() : StepResult::failure("open", errno);
    }
    StepResult result = StepResult::success();
    struct stat info;
    if (fstat(descriptor, &info) != 0) {
        result = StepResult::failure("inspect", errno);
    } else if (!S_ISREG(info.st_mode)) {
        result = StepResult::failure(kCheckTypeStep, EINVAL);
    } else if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        result = StepResult::failure(kCheckSizeStep, EFBIG);
    } else {
        bytes->reserve(static_cast<size_t>(info.st_size));  // read into place, not grown step by step
    }
    char buffer[16384];
    while (result.ok) {
        ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            result = StepResult::failure("read", errno);
        } else if (count == 0) {
            break;
        } else if (bytes->size() + static_cast<size_t>(count) > maxBytes) {  // grew while read
            result = StepResult::failure(kCheckSizeStep, EFBIG);
        } else {
            bytes->append(buffer, static_cast<size_t>(count));
        }
    }
    close(descriptor);
    if (!result.ok) bytes->clear();
    return result;
}

StepResult renameFile(const std::string& from, const std::string& to) {
    if (rename(from.c_str(), to.c_str()) != 0) return StepResult::failure("rename", errno);
    return StepResult::success();
}

StepResult writeFileAtomically(const std::string& path, const std::string& bytes) {
    // A unique name per save: two processes saving into one folder never
    // write into, or rename, each other's file.
    std::string newPath = path + kNewFileSuffix;
    int descriptor = mkostemp(newPath.data(), O_CLOEXEC);
    if (descriptor < 0) return StepResult::failure("create new file", errno);
    keepMode(descriptor, path);
    StepResult filled = fillNewFile(descriptor, bytes);
    if (!filled.ok) {
        unlink(newPath.c_str());
        return filled;
    }
    if (rename(newPath.c_str(), path.c_str()) != 0) {
        int error = errno;
        unlink(newPath.c_str());
        return StepResult::failure("replace", error);
    }
    return StepResult::success();
}

StepResult flushFolderOf(const std::string& path) {
    return flushFolder(folderOf(path));
}

size_t removeLeftoverNewFiles(const std::string& path, std::chrono::seconds minAge) {
    DIR* folder = openFolderList(folderOf(path));
    if (folder == nullptr) return 0;
    const std::string fileName = fileNameOf(path);
    const time_t latest = time(nullptr) - static_cast<time_t>(minAge.count());
    size_t removed = 0;
    while (const dirent* entry = readdir(folder)) {
        struct stat info;
        if (!isNewFileName(entry->d_name, fileName) ||
            fstatat(dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode) ||
            info.st_mtime > latest) {
            continue;
        }
        if (unlinkat(dirfd(folder), entry->d_name, 0) == 0) ++removed;
    }
    closedir(folder);
    return removed;
}

}  // namespace XLoop::platform
