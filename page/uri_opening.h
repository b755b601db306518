// Opening a link the room page asks for with the user's default application.
#pragma once

#include <string>

#include "page/link_budget.h"

namespace XLoop {

// Only web and mail links: the page is remote content and must not be able
// to start local programs or open local files. The scheme is http, https or
// mailto in any letter case, and the URI holds no blank, control byte or
// double quote that could split it into more than one argument. A mailto
// link carries no header fields but to, cc, bcc, subject and body (names
// compared without case, after percent-decoding; fields end at "&" or ";").
bool mayOpenURI(const std::string& uri);

// Why mayOpenURI refuses the URI, for a log line; null when it allows it.
const char* refusalOfURI(const std::string& uri);

// Opens the URI when its shape (link_shape.h) and mayOpenURI allow it and the
// browser's budget has a link left; a refused link costs nothing. Logs a
// refusal or a failure.
void openURIFromPage(const std::string& uri, LinkBudget& budget);

}  // namespace XLoop
