// What the room does not need, refused for every frame of every page a view
// shows, each refusal with its line (pods/common/refusals.h): downloads,
// printing, HTTP and proxy authentication, permission requests, client
// certificates, new windows, full screen and certificate errors. Dialogs and
// file choosers are refused by the page itself (web_page.h).
#pragma once

class QWebEnginePage;
class QWebEngineProfile;

namespace veqpod_qt {

// Cancels every download of the profile as it is asked for, before it writes.
void refuseDownloads(QWebEngineProfile* profile);
// Connects the page's refusals; they go with the page.
void refuseNativeRequests(QWebEnginePage* page);

}  // namespace veqpod_qt
