// Qt WebEngine's reading of an address, as pods/common/owned_pages.h keys it.
#pragma once

#include <string>

#include <QUrl>

namespace veqpod_qt {

// The address as the engine loads it: Qt reads the text (tolerantly) and
// hands Chromium its own writing of it, which Chromium reads as Qt did.
QUrl engineUrl(const char* uri);

// Whether the engine loads url as the page it names: Chromium drops an http
// or https address without a host, and a javascript: one runs in the page
// shown, without a word; Qt shows about:blank for an invalid or relative one.
bool engineLoads(const QUrl& url);

// The key of uri as the engine reads it.
std::string pageKey(const char* uri);

}  // namespace veqpod_qt
