#include "examples/room_demo/room_pages.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace xloop_demo {
namespace {

const char kServerPlaceholder[] = "{server}";
const char* const kRoomFiles[] = {"room.html", "room.js", "room.css"};

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string contentTypeOf(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    if (extension == ".html") return "text/html; charset=utf-8";
    if (extension == ".js") return "text/javascript; charset=utf-8";
    if (extension == ".css") return "text/css; charset=utf-8";
    return "application/xml";
}

xloop_test::HttpRoute routeFor(const std::string& body, const std::filesystem::path& file) {
    xloop_test::HttpRoute route;
    route.body = body;
    route.headers = {{"Content-Type", contentTypeOf(file)}, {"Cache-Control", "no-store"}};
    return route;
}

}  // namespace

RoomPageServer::RoomPageServer(const std::filesystem::path& pagesFolder, int port) : server(port) {
    for (const char* name : kRoomFiles) {
        server.setRoute(std::string("/veqtemplate/") + name, routeFor(fileText(pagesFolder / name), name));
    }
    server.setRoute("/VEQConfig.xml", routeFor(shippedConfiguration(pagesFolder, address()), "VEQConfig.xml"));
}

std::string RoomPageServer::address() const {
    return server.url("");
}

std::string RoomPageServer::configurationURL() const {
    return server.url("/VEQConfig.xml");
}

std::string shippedConfiguration(const std::filesystem::path& pagesFolder, const std::string& serverAddress) {
    std::string text = fileText(pagesFolder / "VEQConfig.xml");
    const std::string placeholder = kServerPlaceholder;
    for (size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + serverAddress.size())) {
        text.replace(at, placeholder.size(), serverAddress);
    }
    return text;
}

std::filesystem::path writeShippedConfiguration(const std::filesystem::path& pagesFolder,
                                                const std::string& serverAddress,
                                                const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "VEQConfig.xml";
    std::ofstream out(file, std::ios::binary);
    out << shippedConfiguration(pagesFolder, serverAddress);
    if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
    return file;
}

std::filesystem::path offlinePagePath(const std::filesystem::path& pagesFolder) {
    return pagesFolder / "xLoop_Offline.html";
}

}  // namespace xloop_demo
