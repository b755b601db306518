// The stand-in's C control functions in the shape tests want them.
#pragma once

#include <string>
#include <vector>

#include "testing/veqpod/veqpod_api.h"

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
    int initializeCalls;
    void* lastInitializeValue;
    int shutdownCalls;
    int lastSharedFlag;
    double lastZoomScale;
    std::vector<ClientCreation> creations;
};

inline LibraryRecord libraryRecord() {
    VeqpodRecord record;
    veqpodGetRecord(&record);
    LibraryRecord copy{record.initializeCalls, record.lastInitializeValue, record.shutdownCalls,
                       record.lastSharedFlag, record.lastZoomScale, {}};
    VeqpodCreation creation;
    for (int i = 0; veqpodGetCreation(i, &creation); ++i) {
        copy.creations.push_back({creation.hostArg1, creation.hostArg2, creation.version,
                                  creation.initialURL, creation.initialText,
                                  {creation.initValues[0], creation.initValues[1],
                                   creation.initValues[2]}});
    }
    return copy;
}

inline std::vector<ClientCall> calls(BrowserClient* client) {
    std::vector<ClientCall> all;
    for (int i = 0; i < veqpodCallCount(client); ++i) {
        all.push_back({veqpodCallOperation(client, i), veqpodCallArgument(client, i)});
    }
    return all;
}

// False when no handler is registered under the name.
inline bool invokeAction(BrowserClient* client, const char* actionName, const char* argument,
                         std::string* reply) {
    const char* text = veqpodInvokeAction(client, actionName, argument);
    if (text == nullptr) return false;
    reply->assign(text);
    return true;
}

}  // namespace veqpod
