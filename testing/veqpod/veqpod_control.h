// Test control of the stand-in browser library: what the module asked of it,
// and the events a real browser would raise. Everything here is for the
// thread that drives the browser (the host's UI thread in tests).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "xloop/veq_browser.h"

#if defined(_WIN32) && defined(VEQPOD_BUILDING_LIBRARY)
#define VEQPOD_CONTROL_API __declspec(dllexport)
#elif defined(_WIN32)
#define VEQPOD_CONTROL_API __declspec(dllimport)
#else
#define VEQPOD_CONTROL_API __attribute__((visibility("default")))
#endif

namespace veqpod {

// One recorded call of executeScript, loadURL or setPageBusy, in call order.
struct ClientCall {
    std::string operation;  // "executeScript", "loadURL" or "setPageBusy"
    std::string argument;   // the text, or "true"/"false" for setPageBusy

    bool operator==(const ClientCall& other) const {
        return operation == other.operation && argument == other.argument;
    }
};

struct ClientCreation {
    void* hostArg1;
    void* hostArg2;
    int32_t version;
    std::string initialURL;
    std::string initialText;
    uint32_t initValues[3];
};

struct LibraryRecord {
    int initializeCalls = 0;
    void* lastInitializeValue = nullptr;
    int shutdownCalls = 0;
    int lastSharedFlag = -1;
    double lastZoomScale = 0;
    std::vector<ClientCreation> creations;
};

class FakeClient final : public BrowserClient {
public:
    std::vector<ClientCall> calls;
    std::map<std::string, void*> userData;
    std::map<std::string, VEQ::JSActionHandler*> actionHandlers;
    std::shared_ptr<VEQ::IPageLoadHandler> pageLoadHandler;
    VEQ::DestroyNotifier* destroyNotifier = nullptr;

    void reservedSlot1() override {}
    void reservedSlot2() override {}
    void reservedSlot3() override {}
    void reservedSlot4() override {}
    void reservedSlot5() override {}
    void reservedSlot6() override {}
    bool setUserData(const char* key, void* value) override;
    void* getUserData(const char* key) override;
    void reservedSlot9() override {}
    void reservedSlot10() override {}
    bool registerActionHandler(const char* actionName, VEQ::JSActionHandler* handler) override;
    void reservedSlot12() override {}
    bool setPageLoadHandler(std::shared_ptr<VEQ::IPageLoadHandler> handler) override;
    void executeScript(const char* script) override;
    void reservedSlot15() override {}
    void loadURL(const char* url) override;
    void reservedSlot17() override {}
    void setPageBusy(bool busy) override;
    bool setDestroyNotifier(VEQ::DestroyNotifier* notifier) override;
};

// Library-wide record; reset between tests.
VEQPOD_CONTROL_API const LibraryRecord& libraryRecord();
VEQPOD_CONTROL_API void resetLibraryRecord();
// The next CreateBrowserClientWithInitData returns null.
VEQPOD_CONTROL_API void refuseNextClient();
// What InitializeBrowser returns from now on.
VEQPOD_CONTROL_API void setInitializeResult(int result);

VEQPOD_CONTROL_API FakeClient* fake(BrowserClient* client);

// Page events, delivered to the installed page-load handler if any.
VEQPOD_CONTROL_API void fireLoadStarted(BrowserClient* client, const char* url);
VEQPOD_CONTROL_API void fireLoadFinished(BrowserClient* client, const char* url);
VEQPOD_CONTROL_API void fireLoadFailed(BrowserClient* client, const char* url);

// Invokes a script action as the page would. False when no handler is
// registered under the name; otherwise the reply text, freed as the library
// frees it.
VEQPOD_CONTROL_API bool invokeAction(BrowserClient* client, const char* actionName,
                                     const char* argument, std::string* reply);

// Destroys the client as the library does: the destroy notifier runs first,
// while the user data can still be read.
VEQPOD_CONTROL_API void destroyClient(BrowserClient* client);

}  // namespace veqpod
