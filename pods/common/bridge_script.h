// The scripts behind window.veq.invoke(name, args), the same in every engine
// but for how the bridge posts a message to the library.
#pragma once

#include <set>
#include <string>

namespace veqpod {

// Names of the events on the top document that carry texts between the page
// half and the bridge half; the page's own scripts could send them as well.
// Each half starts with the same check, against the page the document really
// is before any of its own scripts ran: its key (as owned_pages.h writes it)
// must be one of ownedPages, or the half does nothing.

// The page's half, run in the page's own world of the top frame: window.veq.
std::string pageHalfScript(const std::set<std::string>& ownedPages);

// The bridge's half, run in the library's own world of the top frame. post is
// a script expression of a function that sends a message object to the
// library and returns a Promise of the reply text, rejected with an Error
// whose message says why the call was not served. The message is either
// {name, args} (a call: both texts) or {scriptError, file, line, column}.
std::string bridgeHalfScript(const std::set<std::string>& ownedPages, const std::string& post);

// A JSON string, which is also a script string literal.
std::string quoted(const std::string& text);

}  // namespace veqpod
