#include "prefs/xml_file_preferences.h"

#include "host/log.h"
#include "platform/file_io.h"
#include "prefs/preferences_document.h"

namespace VEQ {

void XmlFilePreferences::savePreferences() {
    XLoop::platform::StepResult written =
        XLoop::platform::writeFileAtomically(filePath, XLoop::preferencesDocument(preferences));
    if (!written.ok) {
        XLoop::logDebug("Could not save the preferences to %s: %s failed with error %d", filePath.c_str(),
                        written.step, written.code);
    }
}

void XmlFilePreferences::loadPreferences() {
    std::string bytes;
    XLoop::platform::StepResult read = XLoop::platform::readWholeFile(filePath, &bytes);
    if (!read.ok) {
        XLoop::logDebug("Could not read the preferences from %s: %s failed with error %d", filePath.c_str(),
                        read.step, read.code);
        return;
    }
    if (bytes.empty()) return;  // not saved yet
    XLoop::platform::StepResult parsed = XLoop::readPreferencesDocument(bytes, preferences);
    if (!parsed.ok) {
        XLoop::logDebug("Read the preferences from %s only up to a fault: %s, error %d", filePath.c_str(),
                        parsed.step, parsed.code);
    }
}

}  // namespace VEQ
