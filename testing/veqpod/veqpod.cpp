// A stand-in for the closed browser library: it keeps what a real client
// keeps, records what the module asks of it, and lets tests raise events.
#include <new>
#include <set>

#include "testing/veqpod/veqpod_control.h"

namespace veqpod {
namespace {

LibraryRecord g_record;
bool g_refuseNextClient = false;
int g_initializeResult = 1;
std::set<FakeClient*> g_liveClients;

}  // namespace

bool FakeClient::setUserData(const char* key, void* value) {
    userData[key] = value;
    return true;
}

void* FakeClient::getUserData(const char* key) {
    auto found = userData.find(key);
    return found == userData.end() ? nullptr : found->second;
}

bool FakeClient::registerActionHandler(const char* actionName, VEQ::JSActionHandler* handler) {
    actionHandlers[actionName] = handler;
    return true;
}

bool FakeClient::setPageLoadHandler(std::shared_ptr<VEQ::IPageLoadHandler> handler) {
    pageLoadHandler = std::move(handler);
    return true;
}

void FakeClient::executeScript(const char* script) {
    calls.push_back({"executeScript", script});
}

void FakeClient::loadURL(const char* url) {
    calls.push_back({"loadURL", url});
}

void FakeClient::setPageBusy(bool busy) {
    calls.push_back({"setPageBusy", busy ? "true" : "false"});
}

bool FakeClient::setDestroyNotifier(VEQ::DestroyNotifier* notifier) {
    destroyNotifier = notifier;
    return true;
}

const LibraryRecord& libraryRecord() {
    return g_record;
}

void resetLibraryRecord() {
    g_record = LibraryRecord{};
    g_refuseNextClient = false;
    g_initializeResult = 1;
}

void refuseNextClient() {
    g_refuseNextClient = true;
}

void setInitializeResult(int result) {
    g_initializeResult = result;
}

FakeClient* fake(BrowserClient* client) {
    return static_cast<FakeClient*>(client);
}

void fireLoadStarted(BrowserClient* client, const char* url) {
    if (auto handler = fake(client)->pageLoadHandler) handler->onLoadStarted(url);
}

void fireLoadFinished(BrowserClient* client, const char* url) {
    if (auto handler = fake(client)->pageLoadHandler) handler->onLoadFinished(url);
}

void fireLoadFailed(BrowserClient* client, const char* url) {
    if (auto handler = fake(client)->pageLoadHandler) handler->onLoadFailed(url);
}

bool invokeAction(BrowserClient* client, const char* actionName, const char* argument,
                  std::string* reply) {
    auto& handlers = fake(client)->actionHandlers;
    auto found = handlers.find(actionName);
    if (found == handlers.end()) return false;
    char* result = nullptr;
    found->second->handleAction(actionName, argument, &result);
    reply->assign(result != nullptr ? result : "");
    ::operator delete(result);
    return true;
}

void destroyClient(BrowserClient* client) {
    FakeClient* doomed = fake(client);
    g_liveClients.erase(doomed);
    if (doomed->destroyNotifier != nullptr) doomed->destroyNotifier->onDestroy(client);
    delete doomed;
}

}  // namespace veqpod

using veqpod::g_record;

extern "C" {

int InitializeBrowser(void* hostValue) {
    g_record.initializeCalls++;
    g_record.lastInitializeValue = hostValue;
    return veqpod::g_initializeResult;
}

// Like the real library, shutting down destroys the clients still alive.
int ShutdownBrowser(void) {
    g_record.shutdownCalls++;
    while (!veqpod::g_liveClients.empty()) veqpod::destroyClient(*veqpod::g_liveClients.begin());
    return 0;
}

BrowserClient* CreateBrowserClientWithInitData(void* hostArg1, void* hostArg2, int32_t version,
                                               BrowserInitData* initData) {
    g_record.creations.push_back(
        {hostArg1, hostArg2, version,
         initData->initialURL != nullptr ? initData->initialURL : "",
         initData->initialText != nullptr ? initData->initialText : "",
         {initData->initValue1, initData->initValue2, initData->initValue3}});
    if (veqpod::g_refuseNextClient) {
        veqpod::g_refuseNextClient = false;
        return nullptr;
    }
    auto* client = new veqpod::FakeClient();
    veqpod::g_liveClients.insert(client);
    return client;
}

int UpdateBrowserClientZoomScale(BrowserClient*, double zoomScale) {
    g_record.lastZoomScale = zoomScale;
    return 2;
}

int VEQSetIsLibShared(int isShared) {
    g_record.lastSharedFlag = isShared;
    return 3;
}

}  // extern "C"
