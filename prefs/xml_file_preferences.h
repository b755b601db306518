// A preference store kept in its XML file.
#pragma once

#include <string>

#include "platform/file_lock.h"
#include "platform/step_result.h"
#include "prefs/veq_preferences.h"

namespace VEQ {

// The file work is the same on every platform; what differs (the file
// system calls and the XML parser) lies below the platform seam.
class XmlFilePreferences : public VEQPreferences {
public:
    // Replaces the file, all or nothing, with every entry the file can carry,
    // holding VEQPrefs.xml.lock beside it meanwhile. When another process
    // saved the file since this store last read or wrote it, its entries are
    // taken in first, but for those this store changed since.
    // A file the load read whole and found bad is first kept aside, renamed
    // to VEQPrefs.xml.unreadable (or .unreadable.2 and on, when earlier
    // copies are there); a file the load could not read stays as it is and
    // is not saved over; anything at the path that is not a regular file is
    // never written over, and the store lives in memory. A save also removes
    // the new files that interrupted saves left beside the file.
    void savePreferences() override;
    // Adds the attributes of every "general" element, at any depth, in
    // document order, up to the end of the file or its first error; an entry
    // this store changed keeps its value. Reads only a regular file of at
    // most kMaxPreferencesFileBytes.
    void loadPreferences() override;

protected:
    using VEQPreferences::VEQPreferences;

private:
    // Logs, once per store, that the path holds something else than a file.
    void reportNotAFile();
    // Logs when the file turns unreadable, not at every try while it stays so.
    void reportUnread(const XLoop::platform::StepResult& read);
    // Moves the bad file out of the way; false when it could not.
    bool keepAside();
    // Reads the file and takes in what changed in it since this store last
    // read or wrote it; false when it could not be read.
    bool catchUpWithFile();
    // Waits a little for another process's save; false, logged, when the
    // lock could not be had.
    bool lockFile(XLoop::platform::ExclusiveFileLock& lock);

    // Of the bytes this store last read from or wrote to the file.
    size_t fileHash = 0;

    bool keepFileAside = false;
    bool reportedNotAFile = false;
};

}  // namespace VEQ
