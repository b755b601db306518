#include "prefs/xml_file_preferences.h"

#include <functional>
#include <thread>

#include "platform/file_io.h"
#include "prefs/preference_limits.h"
#include "prefs/preferences_document.h"
#include "runtime/log.h"

namespace VEQ {

using XLoop::platform::PathKind;
using XLoop::platform::StepResult;

// A save takes milliseconds: a new file untouched for a minute was left by a
// process that died while it saved.
constexpr std::chrono::seconds kLeftoverAge{60};
// Each bad file is kept for whoever looks into what went wrong; past this
// many, the last name is used again, the earlier copies stay.
constexpr int kMaxCopiesAside = 9;
// Another process's save holds the lock for milliseconds, but a loaded disk
// can make its flush take far longer: past this, the save is given up and the
// values wait in memory for the next one. A save given up too soon loses the
// user's value if no other follows, so the wait is longer than the host's UI
// thread should ever be held, which happens only while two processes save.
constexpr std::chrono::milliseconds kLockWait{250};

size_t hashOf(const std::string& bytes) {
    return std::hash<std::string>{}(bytes);
}

void XmlFilePreferences::reportNotAFile() {
    if (reportedNotAFile) return;
    reportedNotAFile = true;
    XLoop::logDebug("Preferences kept in memory only: %s is not a regular file", filePath.c_str());
}

void XmlFilePreferences::reportUnread(const StepResult& read) {
    if (!fileUnread) {
        XLoop::logDebug("Could not read the preferences from %s: %s failed with error %d; they stay in memory, "
                        "and the file as it is, until it can be read",
                        filePath.c_str(), read.step, read.code);
    }
    fileUnread = true;
}

bool XmlFilePreferences::keepAside() {
    std::string asidePath = filePath + ".unreadable";
    for (int copy = 2; copy <= kMaxCopiesAside && XLoop::platform::pathKind(asidePath) != PathKind::Missing;
         ++copy) {
        asidePath = filePath + ".unreadable." + std::to_string(copy);
    }
    StepResult moved = XLoop::platform::renameFile(filePath, asidePath);
    if (!moved.ok) {
        XLoop::logDebug("Could not save the preferences to %s: keeping the unreadable file aside, %s failed "
                        "with error %d",
                        filePath.c_str(), moved.step, moved.code);
        return false;
    }
    XLoop::logDebug("Kept the unreadable preferences file aside as %s", asidePath.c_str());
    return true;
}

bool XmlFilePreferences::lockFile(XLoop::platform::ExclusiveFileLock& lock) {
    const std::string lockPath = filePath + ".lock";
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    StepResult locked = lock.tryAcquire(lockPath);
    while (!locked.ok && locked.step == XLoop::platform::kLockBusyStep && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        locked = lock.tryAcquire(lockPath);
    }
    if (!locked.ok) {
        XLoop::logDebug("Could not save the preferences to %s: %s of %s failed with error %d", filePath.c_str(),
                        locked.step, lockPath.c_str(), locked.code);
    }
    return locked.ok;
}

void XmlFilePreferences::savePreferences() {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    if (XLoop::platform::pathKind(filePath) == PathKind::Other) return reportNotAFile();
    XLoop::platform::ExclusiveFileLock lock;
    if (!lockFile(lock)) return;
    // Never over a file that may hold more than memory does.
    if (!catchUpWithFile()) return;
    if (keepFileAside && XLoop::platform::pathKind(filePath) == PathKind::RegularFile && !keepAside()) return;
    keepFileAside = false;
    const std::string document = preferences.document();
    StepResult written = XLoop::platform::writeFileAtomically(filePath, document);
    if (!written.ok) {
        XLoop::logDebug("Could not save the preferences to %s: %s failed with error %d", filePath.c_str(),
                        written.step, written.code);
        return;
    }
    fileHash = hashOf(document);
    changedSinceFileRead.clear();
    StepResult flushed = XLoop::platform::flushFolderOf(filePath);
    if (!flushed.ok) {
        XLoop::logDebug("Saved the preferences to %s, though %s failed with error %d: a power cut may still undo "
                        "the save",
                        filePath.c_str(), flushed.step, flushed.code);
    }
    if (size_t removed = XLoop::platform::removeLeftoverNewFiles(filePath, kLeftoverAge)) {
        XLoop::logDebug("Removed %u files left beside %s by interrupted saves", static_cast<unsigned>(removed),
                        filePath.c_str());
    }
}

void XmlFilePreferences::loadPreferences() {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    catchUpWithFile();
}

bool XmlFilePreferences::catchUpWithFile() {
    if (XLoop::platform::pathKind(filePath) == PathKind::Other) {
        reportNotAFile();
        return false;
    }
    std::string bytes;
    StepResult read = XLoop::platform::readRegularFile(filePath, XLoop::kMaxPreferencesFileBytes, &bytes);
    // Only a file read whole and found bad is kept aside; a failure to open
    // or read says nothing about what the file holds.
    if (!read.ok && read.step != XLoop::platform::kCheckSizeStep) {
        reportUnread(read);
        return false;
    }
    if (fileUnread) XLoop::logDebug("Read the preferences from %s after all", filePath.c_str());
    fileUnread = false;
    if (!read.ok) {
        if (!keepFileAside) {
            XLoop::logDebug("Could not read the preferences from %s: %s failed with error %d", filePath.c_str(),
                            read.step, read.code);
        }
        keepFileAside = true;
        return true;
    }
    const size_t hash = hashOf(bytes);
    if (bytes.empty() || hash == fileHash) return true;  // not saved yet, or as this store left it
    fileHash = hash;
    std::map<std::string, std::string> loaded;
    StepResult parsed = XLoop::readPreferencesDocument(bytes, loaded);
    takeFileEntries(loaded);
    if (!parsed.ok) {
        XLoop::logDebug("Read the preferences from %s only up to a fault: %s, error %d", filePath.c_str(),
                        parsed.step, parsed.code);
        keepFileAside = true;
    }
    return true;
}

}  // namespace VEQ
