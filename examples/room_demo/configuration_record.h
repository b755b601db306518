// The configuration record as the host owns it: released by the module.
#pragma once

#include <memory>

#include "xloop/xloop_client.h"

namespace xloop_demo {

struct ConfigurationRelease {
    void operator()(VEQConfiguration* record) const { FreeVEQConfiguration(record); }
};

using ConfigurationRecord = std::unique_ptr<VEQConfiguration, ConfigurationRelease>;

}  // namespace xloop_demo
