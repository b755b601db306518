// The clients a library keeps alive, oldest first.
#pragma once

#include <vector>

#include "pods/common/client_base.h"

namespace veqpod {

class ClientList {
public:
    void add(ClientBase* client) { clients.push_back(client); }
    // The client if it is alive, else null.
    ClientBase* find(BrowserClient* client) const;
    // Runs its destroy notifier, then deletes it; an unknown client is ignored.
    void destroy(BrowserClient* client);
    void destroyAll();

private:
    std::vector<ClientBase*> clients;
};

// The library's clients: a process loads one browser library, which keeps
// one list, read and changed on the thread that ran InitializeBrowser.
ClientList& liveClients();

// The address a new client loads: initialURL, or "about:blank" when it is
// null or empty.
const char* initialUrl(const BrowserInitData* initData);

}  // namespace veqpod
