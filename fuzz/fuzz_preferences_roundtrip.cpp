// Saving and loading preferences: the saved text always loads without a
// fault, and every entry the file can carry comes back unchanged; an entry it
// cannot carry is left out, never garbled. The size the entries keep up to
// date as they are replaced is the size of the text. The input is split at
// NUL bytes into keys and values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "fuzz/split_input.h"
#include "prefs/preferences_document.h"
#include "prefs/xml_text.h"
#include "runtime/log.h"
#include "xloop/xloop_client.h"

namespace {

void quiet(const char*) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetVEQLogSink(quiet);
    const auto saved = splitIntoPairs(data, size);

    // Each key first holds the next key's value, so that replacing changes
    // both the size and whether the file can carry the entry.
    XLoop::PreferenceEntries entries;
    std::string previousValue;
    for (auto pair = saved.rbegin(); pair != saved.rend(); ++pair) {
        entries.set(pair->first, previousValue);
        previousValue = pair->second;
    }
    for (const auto& [name, value] : saved) entries.set(name, value);
    const std::string document = entries.document();
    if (document.size() != entries.documentBytes()) std::abort();

    std::map<std::string, std::string> loaded;
    if (!XLoop::readPreferencesDocument(document, loaded).ok) std::abort();
    for (const auto& [name, value] : saved) {
        const bool carried = XLoop::isPlainAttributeName(name) && XLoop::isXmlText(name) && XLoop::isXmlText(value);
        auto found = loaded.find(name);
        if (carried && (found == loaded.end() || found->second != value)) std::abort();
        if (!carried && found != loaded.end()) std::abort();
    }
    if (loaded.size() > saved.size()) std::abort();
    return 0;
}
