// The configuration record's memory. The host frees the record and its texts,
// so all of it comes from the memory the host's own runtime frees.
#pragma once

#include <string>

#include "xloop/xloop_client.h"

namespace XLoop {

// A zero-filled record; null when the memory cannot be had.
VEQConfiguration* newConfigurationRecord();

// A copy of text for one of a record's fields; null when the memory cannot be
// had. The pointer form keeps a null text null.
char* recordText(const std::string& text);
char* recordText(const char* text);

// Releases a text made by recordText; null is fine.
void releaseRecordText(char* text);

// Gives the record a copy of installationType unless it holds that text
// already. The old text is released as one of the module's: a host that puts
// a text of its own there makes it the same way (see the public header).
void replaceInstallationType(VEQConfiguration& record, const char* installationType);

// Releases every text of the record and the record itself; null is fine.
void releaseConfigurationRecord(VEQConfiguration* record);

}  // namespace XLoop
