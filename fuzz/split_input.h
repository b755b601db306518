// Fuzz input read as a map: keys and values alternate, separated by NUL bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

inline std::map<std::string, std::string> splitIntoPairs(const uint8_t* data, size_t size) {
    std::map<std::string, std::string> pairs;
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string key;
    bool readingKey = true;
    size_t start = 0;
    for (size_t i = 0; i <= input.size(); ++i) {
        if (i < input.size() && input[i] != '\0') continue;
        std::string part = input.substr(start, i - start);
        if (readingKey) {
            key = std::move(part);
        } else {
            pairs.emplace(key, std::move(part));
        }
        readingKey = !readingKey;
        start = i + 1;
    }
    return pairs;
}
