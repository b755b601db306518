// A preference store kept in its XML file.
#pragma once

#include "prefs/veq_preferences.h"

namespace VEQ {

// The file work is the same on every platform; what differs (the file
// system calls and the XML parser) lies below the platform seam.
class XmlFilePreferences : public VEQPreferences {
public:
    // Replaces the file, all or nothing, with every entry the file can carry.
    void savePreferences() override;
    // Adds the attributes of every "general" element, at any depth, in
    // document order, up to the end of the file or its first error.
    void loadPreferences() override;

protected:
    using VEQPreferences::VEQPreferences;
};

}  // namespace VEQ
