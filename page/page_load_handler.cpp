#include "page/page_load_handler.h"

#include <string>

#include "base/nullable_text.h"
#include "page/room_page.h"
#include "page/room_visit.h"
#include "page/script_call.h"
#include "page/script_object.h"
#include "page/trusted_pages.h"
#include "page/update_info.h"
#include "prefs/preference_stores.h"
#include "runtime/boundary.h"
#include "runtime/log.h"

using XLoop::logDebug;
using XLoop::serializeJsonObject;
using XLoop::textOrEmpty;

namespace VEQ {
namespace {

const char* yesOrNo(bool flag) {
    return flag ? "yes" : "no";
}

// What only the room page is told: who the host is and the card last viewed.
void addRoomFacts(const VEQConfiguration& config, VEQPreferences* store, XLoop::ScriptObject& payload) {
    logDebug("Going to read lastViewedCardID");
    const std::string lastViewedCardID = readPreference(store, "lastViewedCardID", "");
    const std::string product = textOrEmpty(config.product);
    const std::string version = textOrEmpty(config.version);
    const std::string locale = textOrEmpty(config.locale);
    const std::string installationType = textOrEmpty(config.installationType);
    logDebug("Going to initialize JS with (isMASBuild: %d) (product: %s) (version: %s) (locale:%s) "
             "(installationType: %s) (lastViewedCardID: %s) ",
             config.isMASBuild ? 1 : 0, product.c_str(), version.c_str(), locale.c_str(),
             installationType.c_str(), lastViewedCardID.c_str());
    payload["product"] = product;
    payload["version"] = version;
    payload["locale"] = locale;
    payload["installationType"] = installationType;
    payload["lastViewedCardID"] = lastViewedCardID;
    payload["isWindows"] = "yes";
    payload["isMASBuild"] = yesOrNo(config.isMASBuild);
    payload["isWASBuild"] = yesOrNo(config.isWASBuild);
}

// The markers count only on pages the module trusts: any other site could
// carry them in its URL.
bool isTrustedRoomPage(const std::string& page, const VEQConfiguration& config) {
    return XLoop::isRoomPage(page) && XLoop::isTrustedPage(page, config);
}

std::string allPreferencesText(VEQPreferences* store) {
    return serializeJsonObject(store != nullptr ? store->getAllPreferences() : XLoop::ScriptObject());
}

}  // namespace

PageLoadHandler::PageLoadHandler(BrowserClient* client, const VEQConfiguration* config,
                                 std::shared_ptr<XLoop::ClientPresence> presence)
    : client(client), config(config), presence(std::move(presence)) {}

void PageLoadHandler::onLoadStarted(const char* url) {
    XLoop::guardBoundary("onLoadStarted", [&] {
        const std::string page = textOrEmpty(url);
        logDebug("Page load started for %s", page.c_str());
        noteShownPage(page, false);
        if ((XLoop::isRoomPage(page) || XLoop::isOfflinePage(page)) && XLoop::isTrustedPage(page, *config)) {
            client->setPageBusy(true);
        }
    });
}

void PageLoadHandler::onLoadFailed(const char* url) {
    XLoop::guardBoundary("onLoadFailed", [&] {
        const std::shared_ptr<PageLoadHandler> keepAlive = weak_from_this().lock();
        const std::string page = textOrEmpty(url);
        logDebug("Page load failed for %s", page.c_str());
        noteShownPage(page, false);
        const std::string offlinePage = textOrEmpty(config->offlinePageURL);
        // The offline page is never its own fallback, whatever its URL carries.
        const bool fallBack = isTrustedRoomPage(page, *config) && !XLoop::isOfflinePage(page) &&
                              page != offlinePage && !offlinePage.empty();
        if (fallBack) {
            client->loadURL(offlinePage.c_str());
        } else {
            client->setPageBusy(false);  // nothing more will load to end the busy state
        }
    });
}

void PageLoadHandler::onLoadFinished(const char* url) {
    XLoop::guardBoundary("onLoadFinished", [&] {
        const std::shared_ptr<PageLoadHandler> keepAlive = weak_from_this().lock();
        const std::string page = textOrEmpty(url);
        logDebug("Page load finished for %s", page.c_str());
        const bool trusted = XLoop::isTrustedPage(page, *config);
        noteShownPage(page, trusted);
        if (!trusted) {
            // Preferences and room facts are the room's; another site gets nothing.
            const std::string origin = XLoop::originOf(page);
            logDebug("Not initialising a page of origin %s: it is neither the room nor the offline page",
                     origin.empty() ? "null" : origin.c_str());
            if (page != "about:blank") client->setPageBusy(false);
            return;
        }
        std::shared_ptr<VEQPreferences> store =
            getPreferenceStore(textOrEmpty(config->userDataPath), textOrEmpty(config->locale));

        XLoop::ScriptObject payload;
        if (isTrustedRoomPage(page, *config)) addRoomFacts(*config, store.get(), payload);
        if (XLoop::addKeptUpdateInfo(client, payload)) logDebug("PageLoadHandler: Going to Pass Update info");
        if (XLoop::roomVisited(client)) {
            logDebug("PageLoadHandler: Going to Pass Force Xloop View info");
            payload["isXloopViewForced"] = "yes";
        }
        payload["preferences"] = XLoop::urlEscape(allPreferencesText(store.get()));

        client->executeScript(XLoop::scriptCallEscaping("initXLoopRoom", serializeJsonObject(payload)).c_str());
        if (presence->gone()) return;  // the page closed its browser
        if (page != "about:blank") client->setPageBusy(false);
    });
}

bool PageLoadHandler::showsTrustedPage(std::string& otherwise) const {
    std::lock_guard<std::mutex> guard(shownLock);
    if (!shownPageTrusted) otherwise = shownPage;
    return shownPageTrusted;
}

bool PageLoadHandler::showsRoomPage() const {
    std::lock_guard<std::mutex> guard(shownLock);
    return shownPageTrusted && XLoop::isRoomPage(shownPage) && !XLoop::isOfflinePage(shownPage);
}

void PageLoadHandler::noteShownPage(const std::string& url, bool trusted) {
    std::lock_guard<std::mutex> guard(shownLock);
    shownPage = url;
    shownPageTrusted = trusted;
}

}  // namespace VEQ
