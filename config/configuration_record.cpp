#include "config/configuration_record.h"

#include <cstring>

#include "platform/host_memory.h"

namespace XLoop {

VEQConfiguration* newConfigurationRecord() {
    auto* record = static_cast<VEQConfiguration*>(platform::allocateForHost(sizeof(VEQConfiguration)));
    if (record != nullptr) std::memset(record, 0, sizeof(VEQConfiguration));
    return record;
}

char* recordText(const std::string& text) {
    auto* copy = static_cast<char*>(platform::allocateForHost(text.size() + 1));
    if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

char* recordText(const char* text) {
    return text != nullptr ? recordText(std::string(text)) : nullptr;
}

void releaseRecordText(char* text) {
    platform::releaseForHost(text);
}

void replaceInstallationType(VEQConfiguration& record, const char* installationType) {
    if (record.installationType != nullptr && std::strcmp(record.installationType, installationType) == 0) return;
    releaseRecordText(record.installationType);
    record.installationType = recordText(installationType);
}

void releaseConfigurationRecord(VEQConfiguration* record) {
    if (record == nullptr) return;
    for (char* text : {record->configURL, record->url, record->serverURL, record->product, record->version,
                       record->locale, record->userDataPath, record->hostValue, record->installationType,
                       record->offlinePageURL}) {
        releaseRecordText(text);
    }
    platform::releaseForHost(record);
}

}  // namespace XLoop
