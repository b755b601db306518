// Addresses that two URL parsers may read two ways. The browser decides which
// site it loads; the module decides from the same text which site it trusts.
// Where the readings can part (a backslash that one parser takes for a slash,
// user info that hides the host, blanks and control bytes that one parser
// drops), the module takes no address at all.
#pragma once

#include <string_view>

namespace XLoop {

// Why the address cannot be read one way only, for a log line ("it holds a
// backslash"); null when it can. Refused: a backslash, a blank or a control
// byte anywhere; an "@" in the authority (user info, or a second "@"); an
// http or https address with an empty host. The empty address is no address
// and not refused here.
const char* addressAmbiguity(std::string_view address);

}  // namespace XLoop
