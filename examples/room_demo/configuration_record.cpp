#include "examples/room_demo/configuration_record.h"

#include <cstdlib>
#include <initializer_list>

namespace xloop_demo {

void ConfigurationRelease::operator()(VEQConfiguration* record) const {
    for (char* text : {record->configURL, record->url, record->serverURL, record->product, record->version,
                       record->locale, record->userDataPath, record->hostValue, record->installationType,
                       record->offlinePageURL}) {
        std::free(text);
    }
    std::free(record);
}

}  // namespace xloop_demo
