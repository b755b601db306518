// Which pages the module talks to. The view can show any page a link leads
// to; only the room's own origin and the offline page hear from the module.
#pragma once

#include <string>

#include "xloop/xloop_client.h"

namespace XLoop {

// "scheme://host:port" for http and https URLs, with the scheme and host in
// lower case and the port spelled out; empty for any other URL, whose origin
// is nobody's.
std::string originOf(const std::string& url);

// A page whose URL has the origin of the configured room URL, or that is the
// room itself or the offline page (query and fragment aside) where those are
// not web pages. An address two parsers may read two ways (addressAmbiguity)
// is nobody's, whether it is the page's or the record's.
bool isTrustedPage(const std::string& url, const VEQConfiguration& config);

}  // namespace XLoop
