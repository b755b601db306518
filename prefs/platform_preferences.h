// The concrete preference store of each platform: the same file work under
// the name each platform's module uses.
#pragma once

#include <string>
#include <utility>

#include "prefs/xml_file_preferences.h"

namespace VEQ {

#if defined(_WIN32)
class VEQPreferencesWin final : public XmlFilePreferences {
public:
    VEQPreferencesWin(std::string userDataPath, std::string locale)
        : XmlFilePreferences(std::move(userDataPath), std::move(locale)) {}
};
using PlatformPreferences = VEQPreferencesWin;
#else
class VEQPreferencesPosix final : public XmlFilePreferences {
public:
    VEQPreferencesPosix(std::string userDataPath, std::string locale)
        : XmlFilePreferences(std::move(userDataPath), std::move(locale)) {}
};
using PlatformPreferences = VEQPreferencesPosix;
#endif

}  // namespace VEQ
