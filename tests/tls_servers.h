// The https servers that the tests' fixture starts outside the test process
// (testing/tls_test_servers.py), one per certificate, on localhost.
#pragma once

#include <fstream>
#include <map>
#include <string>

namespace xloop_test {

struct TlsServers {
    // Empty when the servers run and the machine trusts their CA.
    std::string skipReason;
    std::map<std::string, int> ports;

    // "https://localhost:<port>" + pathAndQuery for the server with that certificate.
    std::string url(const std::string& certificate, const std::string& pathAndQuery) const {
        return "https://localhost:" + std::to_string(ports.at(certificate)) + pathAndQuery;
    }
};

inline TlsServers readTlsServers() {
    TlsServers servers;
    std::ifstream list(XLOOP_TLS_SERVERS_FILE);
    if (!std::getline(list, servers.skipReason)) {
        servers.skipReason = "no https test servers: ctest starts them, or testing/tls_test_servers.py start " +
                             std::string(XLOOP_TLS_SERVERS_DIR);
        return servers;
    }
    if (servers.skipReason == "trusted") servers.skipReason.clear();
    std::string name;
    int port = 0;
    while (list >> name >> port) servers.ports[name] = port;
    return servers;
}

}  // namespace xloop_test
