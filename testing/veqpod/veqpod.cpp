// A stand-in for the closed browser library: it keeps what a real client
// keeps, records what the module asks of it, and lets tests raise events.
// Written in ordinary C++ against the plain declarations of the interface, so
// that the compiler lays it out as the real library's compiler does.
#include "testing/veqpod/standin_records.h"
#include "testing/veqpod/veqpod_api.h"

namespace veqpod {
namespace {

struct Call {
    Text operation;
    Text argument;
    Call(const char* operation, const char* argument) : operation(operation), argument(argument) {}
};

struct UserDatum {
    Text key;
    void* value;
    UserDatum(const char* key, void* value) : key(key), value(value) {}
};

struct ActionEntry {
    Text name;
    VEQ::JSActionHandler* handler;
    ActionEntry(const char* name, VEQ::JSActionHandler* handler) : name(name), handler(handler) {}
};

struct Creation {
    VeqpodCreation fields;
    Text initialURL;
    Text initialText;
};

class FakeClient;
bool strict(unsigned mode);
bool insideCallbackAbout(FakeClient* client);
void destroy(BrowserClient* client);
void invoke(BrowserClient* client, const char* actionName, const char* argument);

class FakeClient final : public BrowserClient {
public:
    Text scriptAction;
    Text scriptArgument;
    bool invokeWithinNextScript = false;

    List<Call> calls;
    List<UserDatum> userData;
    List<ActionEntry> actions;
    std::shared_ptr<VEQ::IPageLoadHandler> pageLoadHandler;
    VEQ::DestroyNotifier* destroyNotifier = nullptr;

    void reservedSlot1() override {}
    void reservedSlot2() override {}
    void reservedSlot3() override {}
    void reservedSlot4() override {}
    void reservedSlot5() override {}
    void reservedSlot6() override {}
    bool setUserData(const char* key, void* value) override {
        if (UserDatum* datum = findUserDatum(key)) {
            datum->value = value;
        } else {
            userData.add(new UserDatum(key, value));
        }
        return true;
    }
    void* getUserData(const char* key) override {
        UserDatum* datum = findUserDatum(key);
        return datum != nullptr ? datum->value : nullptr;
    }
    void reservedSlot9() override {}
    void reservedSlot10() override {}
    bool registerActionHandler(const char* actionName, VEQ::JSActionHandler* handler) override {
        if (ActionEntry* entry = findAction(actionName)) {
            entry->handler = handler;
        } else {
            actions.add(new ActionEntry(actionName, handler));
        }
        return true;
    }
    void reservedSlot12() override {}
    // By value, as the real library takes it: the caller's copy is ours to destroy.
    bool setPageLoadHandler(std::shared_ptr<VEQ::IPageLoadHandler> handler) override {
        pageLoadHandler = handler;
        return true;
    }
    void executeScript(const char* script) override {
        calls.add(new Call("executeScript", script));
        if (invokeWithinNextScript) {
            invokeWithinNextScript = false;
            invoke(this, scriptAction.c_str(), scriptArgument.c_str());
        }
        destroyIfInsideCallback();
    }
    void reservedSlot15() override {}
    void loadURL(const char* url) override {
        calls.add(new Call("loadURL", url));
        if (destroyIfInsideCallback()) return;
        if (strict(VEQPOD_LOADS_WITHIN_LOADURL)) {
            if (auto handler = pageLoadHandler) {
                handler->onLoadStarted(url);
                handler->onLoadFinished(url);
            }
        }
    }
    void reservedSlot17() override {}
    void setPageBusy(bool busy) override {
        calls.add(new Call("setPageBusy", busy ? "true" : "false"));
    }
    bool setDestroyNotifier(VEQ::DestroyNotifier* notifier) override {
        destroyNotifier = notifier;
        return true;
    }

    ActionEntry* findAction(const char* name) const {
        for (int i = 0; i < actions.size(); ++i) {
            if (sameText(actions.at(i)->name.c_str(), name)) return actions.at(i);
        }
        return nullptr;
    }

private:
    // After it, nothing of the client may be touched.
    bool destroyIfInsideCallback() {
        if (!strict(VEQPOD_DESTROYS_WITHIN_CALLBACKS) || !insideCallbackAbout(this)) return false;
        destroy(this);
        return true;
    }

    UserDatum* findUserDatum(const char* key) const {
        for (int i = 0; i < userData.size(); ++i) {
            if (sameText(userData.at(i)->key.c_str(), key)) return userData.at(i);
        }
        return nullptr;
    }
};

// Everything the library keeps between calls. Made on first use: the Windows
// build has no runtime to run constructors of globals.
struct Library {
    VeqpodRecord record{};
    List<Creation> creations;
    List<FakeClient> liveClients;
    Text lastReply;
    bool refuseNextClient = false;
    int initializeResult = 1;
    unsigned strictModes = 0;
    // The client the library is calling the module about, if any.
    FakeClient* callbackClient = nullptr;

    Library() { resetRecord(); }
    // Clients stay alive: tests destroy their own.
    void resetRecord() {
        record = VeqpodRecord{};
        record.lastSharedFlag = -1;
        creations.clear();
        refuseNextClient = false;
        initializeResult = 1;
        strictModes = 0;
    }
};

Library* g_library = nullptr;

Library& library() {
    if (g_library == nullptr) g_library = new Library();
    return *g_library;
}

FakeClient* fake(BrowserClient* client) {
    return static_cast<FakeClient*>(client);
}

bool strict(unsigned mode) {
    return (library().strictModes & mode) != 0;
}

bool insideCallbackAbout(FakeClient* client) {
    return library().callbackClient == client;
}

// Marks the library as calling the module about one client for its lifetime.
class CallingOut {
public:
    explicit CallingOut(BrowserClient* client) : previous(library().callbackClient) {
        library().callbackClient = fake(client);
    }
    ~CallingOut() { library().callbackClient = previous; }

private:
    FakeClient* previous;
};

// Calls the page-load handler as the library does: holding a reference of
// its own, unless it is a library that does not.
// Runs work here, or on a thread of the library's own in that mode.
template <class Work>
void onLibraryThread(Work work) {
    if (!strict(VEQPOD_CALLS_FROM_OWN_THREADS)) return work();
    runOnOwnThreads([](void* context) { (*static_cast<Work*>(context))(); }, &work, 1);
}

template <class Event>
void reportLoad(BrowserClient* client, Event event) {
    CallingOut callingOut(client);
    if (strict(VEQPOD_CALLS_FROM_OWN_THREADS)) {
        std::shared_ptr<VEQ::IPageLoadHandler> handler = fake(client)->pageLoadHandler;
        if (handler) onLibraryThread([&] { event(handler.get()); });
    } else if (strict(VEQPOD_DESTROYS_WITHIN_CALLBACKS)) {
        if (VEQ::IPageLoadHandler* handler = fake(client)->pageLoadHandler.get()) event(handler);
    } else if (std::shared_ptr<VEQ::IPageLoadHandler> handler = fake(client)->pageLoadHandler) {
        event(handler.get());
    }
}

void invoke(BrowserClient* client, const char* actionName, const char* argument) {
    ActionEntry* entry = fake(client)->findAction(actionName);
    if (entry == nullptr) return;
    char* result = nullptr;
    {
        CallingOut callingOut(client);
        onLibraryThread([&] { entry->handler->handleAction(actionName, argument, &result); });
    }
    library().lastReply.assign(result);
    ::operator delete(result);
}

Call* callAt(BrowserClient* client, int index) {
    return fake(client)->calls.at(index);
}

void destroy(BrowserClient* client) {
    List<FakeClient>& live = library().liveClients;
    for (int i = 0; i < live.size(); ++i) {
        if (live.at(i) == client) live.takeAt(i);
    }
    FakeClient* doomed = fake(client);
    const bool deletesNotifier = (library().strictModes & VEQPOD_DELETES_NOTIFIERS) != 0;
    if (deletesNotifier) doomed->pageLoadHandler.reset();
    if (doomed->destroyNotifier != nullptr) {
        doomed->destroyNotifier->onDestroy(client);
        if (deletesNotifier) delete doomed->destroyNotifier;
    }
    delete doomed;
}

// The modes named in VEQPOD_STANDIN_MODES (a decimal number): a host
// program run against the stand-in cannot call veqpodSetStrictModes itself.
unsigned modesFromEnvironment() {
    char text[16];
    if (!environmentText("VEQPOD_STANDIN_MODES", text, sizeof text)) return 0;
    unsigned modes = 0;
    for (const char* digit = text; *digit >= '0' && *digit <= '9'; ++digit) {
        modes = modes * 10 + static_cast<unsigned>(*digit - '0');
    }
    return modes;
}

}  // namespace
}  // namespace veqpod

using veqpod::library;

extern "C" {

int InitializeBrowser(void* hostValue) {
    library().record.initializeCalls++;
    library().record.lastInitializeValue = hostValue;
    library().strictModes |= veqpod::modesFromEnvironment();
    return library().initializeResult;
}

// Like the real library, shutting down destroys the clients still alive.
int ShutdownBrowser(void) {
    library().record.shutdownCalls++;
    while (library().liveClients.size() > 0) veqpod::destroy(library().liveClients.at(0));
    return 0;
}

BrowserClient* CreateBrowserClientWithInitData(void* hostArg1, void* hostArg2, int32_t version,
                                               BrowserInitData* initData) {
    auto* creation = library().creations.add(new veqpod::Creation());
    library().record.creationCount = library().creations.size();
    creation->initialURL.assign(initData->initialURL);
    creation->initialText.assign(initData->initialText);
    creation->fields = {hostArg1,
                        hostArg2,
                        version,
                        creation->initialURL.c_str(),
                        creation->initialText.c_str(),
                        {initData->initValue1, initData->initValue2, initData->initValue3}};
    if (library().refuseNextClient) {
        library().refuseNextClient = false;
        return nullptr;
    }
    return library().liveClients.add(new veqpod::FakeClient());
}

int UpdateBrowserClientZoomScale(BrowserClient*, double zoomScale) {
    library().record.lastZoomScale = zoomScale;
    return 2;
}

int VEQSetIsLibShared(int isShared) {
    library().record.lastSharedFlag = isShared;
    return 3;
}

void veqpodSetStrictModes(unsigned modes) {
    library().strictModes = modes;
}

void veqpodReset(void) {
    library().resetRecord();
}

void veqpodGetRecord(VeqpodRecord* record) {
    *record = library().record;
}

int veqpodGetCreation(int index, VeqpodCreation* creation) {
    veqpod::Creation* found = library().creations.at(index);
    if (found == nullptr) return 0;
    *creation = found->fields;
    return 1;
}

void veqpodRefuseNextClient(void) {
    library().refuseNextClient = true;
}

void veqpodSetInitializeResult(int result) {
    library().initializeResult = result;
}

int veqpodCallCount(BrowserClient* client) {
    return veqpod::fake(client)->calls.size();
}

const char* veqpodCallOperation(BrowserClient* client, int index) {
    veqpod::Call* call = veqpod::callAt(client, index);
    return call != nullptr ? call->operation.c_str() : nullptr;
}

const char* veqpodCallArgument(BrowserClient* client, int index) {
    veqpod::Call* call = veqpod::callAt(client, index);
    return call != nullptr ? call->argument.c_str() : nullptr;
}

int veqpodUserDataCount(BrowserClient* client) {
    return veqpod::fake(client)->userData.size();
}

int veqpodActionHandlerCount(BrowserClient* client) {
    return veqpod::fake(client)->actions.size();
}

int veqpodHasPageLoadHandler(BrowserClient* client) {
    return veqpod::fake(client)->pageLoadHandler ? 1 : 0;
}

int veqpodHasDestroyNotifier(BrowserClient* client) {
    return veqpod::fake(client)->destroyNotifier != nullptr ? 1 : 0;
}

void veqpodFireLoadStarted(BrowserClient* client, const char* url) {
    veqpod::reportLoad(client, [url](VEQ::IPageLoadHandler* handler) { handler->onLoadStarted(url); });
}

void veqpodFireLoadFinished(BrowserClient* client, const char* url) {
    veqpod::reportLoad(client, [url](VEQ::IPageLoadHandler* handler) { handler->onLoadFinished(url); });
}

void veqpodFireLoadFailed(BrowserClient* client, const char* url) {
    veqpod::reportLoad(client, [url](VEQ::IPageLoadHandler* handler) { handler->onLoadFailed(url); });
}

const char* veqpodInvokeAction(BrowserClient* client, const char* actionName, const char* argument) {
    if (veqpod::fake(client)->findAction(actionName) == nullptr) return nullptr;
    veqpod::invoke(client, actionName, argument);
    return library().lastReply.c_str();
}

void veqpodInvokeActionFromThreads(BrowserClient* client, const char* actionName, const char* argument,
                                   int threads, int rounds) {
    struct Invocations {
        VEQ::JSActionHandler* handler;
        const char* actionName;
        const char* argument;
        int rounds;
    };
    veqpod::ActionEntry* entry = veqpod::fake(client)->findAction(actionName);
    if (entry == nullptr) return;
    Invocations invocations{entry->handler, actionName, argument, rounds};
    veqpod::runOnOwnThreads(
        [](void* context) {
            auto* what = static_cast<Invocations*>(context);
            for (int i = 0; i < what->rounds; ++i) {
                char* result = nullptr;
                what->handler->handleAction(what->actionName, what->argument, &result);
                ::operator delete(result);
            }
        },
        &invocations, threads);
}

void veqpodInvokeWithinNextScript(BrowserClient* client, const char* actionName, const char* argument) {
    veqpod::FakeClient* target = veqpod::fake(client);
    target->scriptAction.assign(actionName);
    target->scriptArgument.assign(argument);
    target->invokeWithinNextScript = true;
}

void veqpodDestroyClient(BrowserClient* client) {
    veqpod::destroy(client);
}

void veqpodDeleteNotifier(void* notifier, int freeMemory) {
    auto* doomed = static_cast<VEQ::DestroyNotifier*>(notifier);
    if (freeMemory) {
        delete doomed;
    } else {
        doomed->~DestroyNotifier();
    }
}

int veqpodHeapIsValid(void) {
    return veqpod::heapIsValid() ? 1 : 0;
}

}  // extern "C"
