#include "examples/room_demo/room_pages.h"

#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

namespace xloop_demo {
namespace {

const char kServerPlaceholder[] = "{server}";
const char kOfflinePageName[] = "xLoop_Offline.html";

std::string contentTypeOf(const std::filesystem::path& file) {
    static const std::map<std::string, std::string> kTypes = {
        {".html", "text/html; charset=utf-8"}, {".js", "text/javascript; charset=utf-8"},
        {".mjs", "text/javascript; charset=utf-8"}, {".css", "text/css; charset=utf-8"},
        {".json", "application/json"}, {".xml", "application/xml"}, {".svg", "image/svg+xml"},
        {".png", "image/png"}, {".jpg", "image/jpeg"}, {".gif", "image/gif"}, {".webp", "image/webp"},
        {".woff2", "font/woff2"}, {".txt", "text/plain; charset=utf-8"}};
    auto found = kTypes.find(file.extension().string());
    return found != kTypes.end() ? found->second : "application/octet-stream";
}

xloop_test::HttpRoute routeFor(const std::string& body, const std::filesystem::path& file) {
    xloop_test::HttpRoute route;
    route.body = body;
    route.headers = {{"Content-Type", contentTypeOf(file)}, {"Cache-Control", "no-store"}};
    return route;
}

std::string filledIn(std::string text, const std::string& serverAddress) {
    const std::string placeholder = kServerPlaceholder;
    for (size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + serverAddress.size())) {
        text.replace(at, placeholder.size(), serverAddress);
    }
    return text;
}

}  // namespace

RoomSite sampleSite() {
    const std::filesystem::path pages = XLOOP_ROOM_PAGES_DIR;
    return {pages, fileText(pages / "VEQConfig.xml")};
}

RoomPageServer::RoomPageServer(const RoomSite& site, int port)
    : server(port), filledConfiguration(filledIn(site.configuration, address())) {
    if (!site.pagesFolder.empty()) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(site.pagesFolder)) {
            if (!entry.is_regular_file()) continue;
            const std::string path = entry.path().lexically_relative(site.pagesFolder).generic_string();
            server.setRoute("/veqtemplate/" + path, routeFor(fileText(entry.path()), entry.path()));
        }
    }
    server.setRoute("/VEQConfig.xml", routeFor(filledConfiguration, "VEQConfig.xml"));
}

std::string RoomPageServer::address() const {
    return server.url("");
}

std::string RoomPageServer::configurationURL() const {
    return server.url("/VEQConfig.xml");
}

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path writeShippedConfiguration(const std::string& configuration,
                                                const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "VEQConfig.xml";
    std::ofstream out(file, std::ios::binary);
    out << configuration;
    if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
    return file;
}

std::filesystem::path offlinePagePath(const std::filesystem::path& pagesFolder) {
    const std::filesystem::path own = pagesFolder / kOfflinePageName;
    if (!pagesFolder.empty() && std::filesystem::is_regular_file(own)) return own;
    return std::filesystem::path(XLOOP_ROOM_PAGES_DIR) / kOfflinePageName;
}

}  // namespace xloop_demo
