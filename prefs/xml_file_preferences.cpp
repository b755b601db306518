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

void XmlFilePreferences::reportNotAFile() {
    if (reportedNotAFile) return;
    reportedNotAFile = true;
    XLoop::logDebug("Preferences kept in memory only: %s is not a regular file", filePath.c_str());
}

void XmlFilePreferences::savePreferences() {
    std::lock_guard<std::recursive_mutex> guard(storeLock);
    const PathKind kind = XLoop::platform::pathKind(filePath);
    if (kind == PathKind::Other) return reportNotAFile();
    if (keepFileAside && kind == PathKind::RegularFile) {
        // One copy is enough to look into what went wrong; a later one
        // replaces it.
        const std::string asidePath = filePath + ".unreadable";
        StepResult moved = XLoop::platform::renameFile(filePath, asidePath);
        if (!moved.ok) {
            XLoop::logDebug("Could not save the preferences to %s: keeping the unreadable file aside, %s failed "
                            "with error %d",
                            filePath.c_str(), moved.step, moved.code);
            return;
        }
        XLoop::logDebug("Kept the unreadable preferences file aside as %s", asidePath.c_str());
    }
    keepFileAside = false;
    StepResult written = XLoop::platform::writeFileAtomically(filePath, preferences.document());
    if (!written.ok) {
        XLoop::logDebug("Could not save the preferences to %s: %s failed with error %d", filePath.c_str(),
                        written.step, written.code);
        return;
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
    if (!read.ok) {
        XLoop::logDebug("Could not read the preferences from %s: %s failed with error %d", filePath.c_str(),
                        read.step, read.code);
        keepFileAside = true;
        return;
    }
    if (bytes.empty()) return;  // not saved yet
    std::map<std::string, std::string> loaded;
    StepResult parsed = XLoop::readPreferencesDocument(bytes, loaded);
    for (auto& [key, value] : loaded) preferences.set(key, std::move(value));
    if (!parsed.ok) {
        XLoop::logDebug("Read the preferences from %s only up to a fault: %s, error %d", filePath.c_str(),
                        parsed.step, parsed.code);
        keepFileAside = true;
    }
}

}  // namespace VEQ
