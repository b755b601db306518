// The demo's page server: the sample room page and the shipped configuration
// served on 127.0.0.1, so the demo needs no outside network.
#pragma once

#include <filesystem>
#include <string>

#include "testing/http_test_server.h"

namespace xloop_demo {

class RoomPageServer {
public:
    // Serves the room's files from pagesFolder under /veqtemplate/ and the
    // shipped configuration, filled in for this server, as /VEQConfig.xml.
    // port 0 picks a free one; a server started again passes its old port.
    explicit RoomPageServer(const std::filesystem::path& pagesFolder, int port = 0);

    int port() const { return server.port(); }
    // "http://127.0.0.1:<port>", what "{server}" stands for in the shipped file.
    std::string address() const;
    std::string configurationURL() const;

private:
    xloop_test::HttpTestServer server;
};

// The shipped configuration with "{server}" replaced by serverAddress.
std::string shippedConfiguration(const std::filesystem::path& pagesFolder, const std::string& serverAddress);

// Writes shippedConfiguration into folder/VEQConfig.xml and returns its path.
std::filesystem::path writeShippedConfiguration(const std::filesystem::path& pagesFolder,
                                                const std::string& serverAddress,
                                                const std::filesystem::path& folder);

// The offline page, loaded from disk as a file URL.
std::filesystem::path offlinePagePath(const std::filesystem::path& pagesFolder);

}  // namespace xloop_demo
