// A preference store kept in its XML file.
#pragma once

#include "prefs/veq_preferences.h"

namespace VEQ {

// The file work is the same on every platform; what differs (the file
// system calls and the XML parser) lies below the platform seam.
class XmlFilePreferences : public VEQPreferences {
public:
    // Replaces the file, all or nothing, with every entry the file can carry.
    // A file the load could not read whole is first kept aside, renamed to
    // VEQPrefs.xml.unreadable; anything at the path that is not a regular
    // file is never written over, and the store lives in memory. A save also
    // removes the new files that interrupted saves left beside the file.
    void savePreferences() override;
    // Adds the attributes of every "general" element, at any depth, in
    // document order, up to the end of the file or its first error. Reads
    // only a regular file of at most kMaxPreferencesFileBytes.
    void loadPreferences() override;

protected:
    using VEQPreferences::VEQPreferences;

private:
    // Logs, once per store, that the path holds something else than a file.
    void reportNotAFile();

    bool keepFileAside = false;
    bool reportedNotAFile = false;
};

}  // namespace VEQ
