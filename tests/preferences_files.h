// Reading and writing preference files in tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "prefs/platform_preferences.h"

namespace xloop_test {

inline std::filesystem::path preferencesFile(const std::filesystem::path& userData, const std::string& locale) {
    return userData / "VEQ" / std::filesystem::u8path(locale) / "VEQPrefs.xml";
}

inline std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// A store made apart from the registry, so every call reads the file anew.
inline std::map<std::string, std::string> loadedPreferences(const std::filesystem::path& userData,
                                                            const std::string& locale = "en_US") {
    VEQ::PlatformPreferences store(userData.u8string(), locale);
    store.loadPreferences();
    return store.getAllPreferences();
}

}  // namespace xloop_test
