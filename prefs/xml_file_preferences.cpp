#include "prefs/xml_file_preferences.h"

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

void XmlFilePreferences::savePreferences() {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    const PathKind kind = XLoop::platform::pathKind(filePath);
    if (kind == PathKind::Other) return reportNotAFile();
    loadAgainIfUnread();
    if (fileUnread) return;  // never over a file that may hold more than memory does
    if (keepFileAside && kind == PathKind::RegularFile && !keepAside()) return;
    keepFileAside = false;
    StepResult written = XLoop::platform::writeFileAtomically(filePath, preferences.document());
    if (!written.ok) {
        XLoop::logDebug("Could not save the preferences to %s: %s failed with error %d", filePath.c_str(),
                        written.step, written.code);
        return;
    }
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
    if (XLoop::platform::pathKind(filePath) == PathKind::Other) return reportNotAFile();
    std::string bytes;
    StepResult read = XLoop::platform::readRegularFile(filePath, XLoop::kMaxPreferencesFileBytes, &bytes);
    // Only a file read whole and found bad is kept aside; a failure to open
    // or read says nothing about what the file holds.
    if (!read.ok && read.step != XLoop::platform::kCheckSizeStep) return reportUnread(read);
    if (fileUnread) XLoop::logDebug("Read the preferences from %s after all", filePath.c_str());
    fileUnread = false;
    if (!read.ok) {
        XLoop::logDebug("Could not read the preferences from %s: %s failed with error %d", filePath.c_str(),
                        read.step, read.code);
        keepFileAside = true;
        return;
    }
    if (bytes.empty()) return;  // not saved yet
    std::map<std::string, std::string> loaded;
    StepResult parsed = XLoop::readPreferencesDocument(bytes, loaded);
    for (auto& [key, value] : loaded) {
        if (preferences.find(key) == nullptr) preferences.set(key, std::move(value));
    }
    if (!parsed.ok) {
        XLoop::logDebug("Read the preferences from %s only up to a fault: %s, error %d", filePath.c_str(),
                        parsed.step, parsed.code);
        keepFileAside = true;
    }
}

}  // namespace VEQ
