#include "pods/common/client_list.h"

#include <algorithm>

#include "pods/common/veqpod_extras.h"

namespace veqpod {

ClientBase* ClientList::find(BrowserClient* client) const {
    auto found = std::find(clients.begin(), clients.end(), client);
    return found != clients.end() ? *found : nullptr;
}

void ClientList::destroy(BrowserClient* client) {
    ClientBase* doomed = find(client);
    if (doomed == nullptr) return;
    clients.erase(std::find(clients.begin(), clients.end(), doomed));
    doomed->notifyDestroy();
    delete doomed;
}

void ClientList::destroyAll() {
    while (!clients.empty()) destroy(clients.front());
}

ClientList& liveClients() {
    static ClientList clients;
    return clients;
}

const char* initialUrl(const BrowserInitData* initData) {
    if (initData == nullptr || initData->initialURL == nullptr || initData->initialURL[0] == 0) {
        return "about:blank";
    }
    return initData->initialURL;
}

}  // namespace veqpod

extern "C" {

void VEQPodDestroyBrowserClient(BrowserClient* client) {
    veqpod::liveClients().destroy(client);
}

// Neither engine has anything to share between modules.
int VEQSetIsLibShared(int) {
    return 1;
}

}  // extern "C"
