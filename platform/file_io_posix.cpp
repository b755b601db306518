#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
        result = StepResult::failure("check type", EINVAL);
    } else if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        result = StepResult::failure("check size", EFBIG);
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
            result = StepResult::failure("check size", EFBIG);
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
    return flushFolder(folderOf(to));
}

StepResult writeFileAtomically(const std::string& path, const std::string& bytes) {
    // A unique name per save: two processes saving into one folder never
    // write into, or rename, each other's file.
    std::string newPath = path + ".XXXXXX";
    int descriptor = mkostemp(newPath.data(), O_CLOEXEC);
    if (descriptor < 0) return StepResult::failure("create new file", errno);
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
    return flushFolder(folderOf(path));
}

}  // namespace XLoop::platform
