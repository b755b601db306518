// A store that lives in memory only, for a pair that names no safe file.
#pragma once

#include <string>
#include <utility>

#include "prefs/veq_preferences.h"

namespace VEQ {

class MemoryPreferences final : public VEQPreferences {
public:
    explicit MemoryPreferences(std::string locale) : VEQPreferences(InMemoryOnly{}, std::move(locale)) {}
    void savePreferences() override {}
    void loadPreferences() override {}
};

}  // namespace VEQ
