// The demo's page server: a folder of room pages and the shipped
// configuration served on 127.0.0.1, so the demo needs no outside network.
#pragma once

#include <filesystem>
#include <string>

#include "testing/http_test_server.h"

namespace xloop_demo {

// What the page server serves.
struct RoomSite {
    // Served under /veqtemplate/; empty when the room lives elsewhere.
    std::filesystem::path pagesFolder;
    // The shipped configuration; "{server}" stands for the server's address.
    std::string configuration;
};

// The sample pages and the configuration shipped beside them.
RoomSite sampleSite();

class RoomPageServer {
public:
    // Serves every file of the site's folder, subfolders included, under
    // /veqtemplate/, and its configuration, filled in for this server, as
    // /VEQConfig.xml. Files are read now: a server started again serves them
    // as they are then. port 0 picks a free one; a server started again
    // passes its old port.
    explicit RoomPageServer(const RoomSite& site, int port = 0);

    int port() const { return server.port(); }
    // "http://127.0.0.1:<port>", what "{server}" stands for.
    std::string address() const;
    std::string configurationURL() const;
    // The configuration as served.
    const std::string& configuration() const { return filledConfiguration; }

private:
    xloop_test::HttpTestServer server;
    std::string filledConfiguration;
};

// The whole file; throws std::runtime_error when it cannot be read.
std::string fileText(const std::filesystem::path& file);

// Writes the configuration into folder/VEQConfig.xml and returns its path.
std::filesystem::path writeShippedConfiguration(const std::string& configuration,
                                                const std::filesystem::path& folder);

// The offline page, loaded from disk as a file URL: the folder's own, or the
// sample one when the folder has none.
std::filesystem::path offlinePagePath(const std::filesystem::path& pagesFolder);

}  // namespace xloop_demo
