#include "testing/http_test_server.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "testing/test_socket.h"

namespace {

using namespace xloop_test;

const std::size_t kMaxRequestHead = 64 * 1024;

int localPort(Socket s) {
    sockaddr_in address{};
    SockLen length = sizeof address;
    if (getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) return -1;
    return ntohs(address.sin_port);
}

// Binds 127.0.0.1 on *port, or on an ephemeral port when it is 0, and
// stores the port bound; kNoSocket on failure.
Socket bindLoopback(int* port) {
    initSockets();
    Socket s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == kNoSocket) return kNoSocket;
    keepFromChildProcesses(s);
    allowQuickRebind(s);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<unsigned short>(*port));
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || (*port = localPort(s)) <= 0) {
        closeSocket(s);
        return kNoSocket;
    }
    return s;
}

// Connects a socket to `listener` (listening, still blocking) and accepts it,
// giving a pair whose reading end turns readable once the writing end is shut.
bool makeWakePair(Socket listener, int port, Socket* reader, Socket* writer) {
    *writer = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (*writer == kNoSocket) return false;
    keepFromChildProcesses(*writer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<unsigned short>(port));
    if (connect(*writer, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const int writerPort = localPort(*writer);
        for (;;) {
            sockaddr_in peer{};
            SockLen length = sizeof peer;
            *reader = accept(listener, reinterpret_cast<sockaddr*>(&peer), &length);
            if (*reader == kNoSocket) break;
            keepFromChildProcesses(*reader);
            if (ntohs(peer.sin_port) == writerPort) return true;
            closeSocket(*reader);  // someone else's connection got in first
        }
    }
    closeSocket(*writer);
    return false;
}

const char* reasonPhrase(int status) {
    switch (status) {
    case 100: return "Continue";
    case 200: return "OK";
    case 201: return "Created";
    case 202: return "Accepted";
    case 204: return "No Content";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 304: return "Not Modified";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 410: return "Gone";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 501: return "Not Implemented";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "Unknown";
    }
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
    const std::size_t length = std::strlen(b);
    if (a.size() != length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Where the blank line ending the request head ends, or npos. Bare LF line
// ends are accepted too, as lenient servers do.
std::size_t headEnd(const std::string& data) {
    const std::size_t crlf = data.find("\r\n\r\n");
    const std::size_t lf = data.find("\n\n");
    if (crlf == std::string::npos && lf == std::string::npos) return std::string::npos;
    if (crlf == std::string::npos) return lf + 2;
    if (lf == std::string::npos) return crlf + 4;
    return std::min(crlf + 4, lf + 2);
}

bool parseRequestHead(const std::string& head, xloop_test::HttpRequestRecord* record) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < head.size()) {
        std::size_t end = head.find('\n', start);
        if (end == std::string::npos) end = head.size();
        std::string line = head.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    // Empty lines before the request line are allowed and ignored.
    std::size_t index = 0;
    while (index < lines.size() && lines[index].empty()) ++index;
    if (index == lines.size()) return false;

    const std::string& requestLine = lines[index++];
    const std::size_t firstSpace = requestLine.find(' ');
    const std::size_t lastSpace = requestLine.rfind(' ');
    if (firstSpace == std::string::npos || lastSpace == firstSpace) return false;
    record->method = requestLine.substr(0, firstSpace);
    record->target = requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    if (record->method.empty() || record->target.empty() ||
        record->target.find(' ') != std::string::npos ||
        requestLine.compare(lastSpace + 1, 5, "HTTP/") != 0) {
        return false;
    }
    for (; index < lines.size() && !lines[index].empty(); ++index) {
        const std::size_t colon = lines[index].find(':');
        if (colon == std::string::npos || colon == 0) return false;
        record->headers.emplace_back(lines[index].substr(0, colon), trim(lines[index].substr(colon + 1)));
    }
    return true;
}

// The path a route is looked up by: the target without query, and without
// scheme and authority when a client sends the absolute form.
std::string routePath(const std::string& target) {
    std::string path = target.substr(0, target.find_first_of("?#"));
    const std::size_t scheme = path.find("://");
    if (path.compare(0, 1, "/") != 0 && scheme != std::string::npos) {
        const std::size_t slash = path.find('/', scheme + 3);
        path = slash == std::string::npos ? std::string("/") : path.substr(slash);
    }
    return path;
}

// Makes the coming close reset the connection instead of ending it.
void resetOnClose(Socket s) {
    linger abrupt{};
    abrupt.l_onoff = 1;
    abrupt.l_linger = 0;
    setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abrupt), sizeof abrupt);
}

bool statusHasBody(int status) { return status >= 200 && status != 204 && status != 304; }

}  // namespace

namespace xloop_test {

struct HttpTestServer::Impl {
    struct Connection {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };

    Socket listener = kNoSocket;
    int port = 0;
    // Every wait also watches wakeReader; shutting wakeWriter wakes them all.
    Socket wakeReader = kNoSocket;
    Socket wakeWriter = kNoSocket;

    mutable std::mutex mutex;
    std::condition_variable stopSignal;
    std::atomic<bool> stopping{false};
    std::vector<std::pair<std::string, HttpRoute>> routes;
    std::vector<HttpRequestRecord> records;
    int completed = 0;
    int hangUps = 0;

    std::thread acceptThread;
    // Touched only by the accept thread until it is joined.
    std::vector<Connection> connections;

    void acceptLoop() {
        for (;;) {
            if (waitReady(listener, false, wakeReader) <= 0 || stopping.load()) return;
            const Socket client = accept(listener, nullptr, nullptr);
            if (client == kNoSocket) continue;  // the client gave up, or would block
            keepFromChildProcesses(client);
            if (!setNonBlocking(client)) {
                closeSocket(client);
                continue;
            }
            reapFinishedConnections();
            auto finished = std::make_shared<std::atomic<bool>>(false);
            std::thread thread([this, client, finished] {
                serve(client);
                closeSocket(client);
                finished->store(true);
            });
            connections.push_back(Connection{std::move(thread), finished});
        }
    }

    void reapFinishedConnections() {
        auto stillRunning = std::partition(connections.begin(), connections.end(),
                                           [](const Connection& c) { return !c.finished->load(); });
        for (auto it = stillRunning; it != connections.end(); ++it) it->thread.join();
        connections.erase(stillRunning, connections.end());
    }

    // False when the server is stopping or on error.
    bool waitUntilReady(Socket s, bool forWrite) {
        return waitReady(s, forWrite, wakeReader) > 0 && !stopping.load();
    }

    // Reads up to the blank line. False when the client hangs up first, sends
    // too much or a TLS handshake, or the server is stopping.
    bool readRequestHead(Socket s, std::string* head) {
        std::string data;
        char buffer[4096];
        for (;;) {
            if (!waitUntilReady(s, false)) return false;
            const int received = static_cast<int>(recv(s, buffer, static_cast<int>(sizeof buffer), 0));
            if (received < 0 && lastCallWouldBlock()) continue;
            if (received <= 0) return false;
            data.append(buffer, static_cast<std::size_t>(received));
            // A TLS handshake record never ends in a blank line: hang up at once.
            if (data[0] == '\x16') return false;
            const std::size_t end = headEnd(data);
            if (end != std::string::npos && end <= kMaxRequestHead) {
                *head = data.substr(0, end);
                return true;
            }
            if (data.size() > kMaxRequestHead) return false;
        }
    }

    bool sendAll(Socket s, const std::string& data) {
        std::size_t sent = 0;
        while (sent < data.size()) {
            if (!waitUntilReady(s, true)) return false;
            const int chunk = static_cast<int>(std::min<std::size_t>(data.size() - sent, 64 * 1024));
            const int result = sendSome(s, data.data() + sent, chunk);
            if (result < 0 && lastCallWouldBlock()) continue;
            if (result <= 0) return false;
            sent += static_cast<std::size_t>(result);
        }
        return true;
    }

    // False when the server began stopping during the delay.
    bool delay(int milliseconds) {
        if (milliseconds <= 0) return true;
        std::unique_lock<std::mutex> lock(mutex);
        return !stopSignal.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stopping.load(); });
    }

    void serve(Socket s) {
        std::string head;
        if (!readRequestHead(s, &head)) return;

        HttpRequestRecord record;
        if (!parseRequestHead(head, &record)) {
            sendAll(s, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            shutdownSending(s);
            return;
        }
        const std::string method = record.method;
        const std::string path = routePath(record.target);

        bool known = false;
        HttpRoute route;
        {
            std::lock_guard<std::mutex> lock(mutex);
            records.push_back(std::move(record));
            for (const auto& entry : routes) {
                if (entry.first == path) {
                    route = entry.second;
                    known = true;
                    break;
                }
            }
        }
        if (!delay(route.delayMilliseconds)) return;
        if (route.holdUntilHangUp) {
            char byte;
            if (waitUntilReady(s, false) && recv(s, &byte, 1, 0) <= 0) {
                std::lock_guard<std::mutex> lock(mutex);
                hangUps++;
            }
            return;
        }

        const bool isHead = method == "HEAD";
        int status = route.status;
        std::vector<std::pair<std::string, std::string>> headers = route.headers;
        std::string body = route.body;
        if (!known) {
            status = 404;
            headers.clear();
            body.clear();
        } else if (method != "GET" && method != "HEAD") {
            status = 405;
            headers.assign(1, {"Allow", "GET, HEAD"});
            body.clear();
        } else if (isHead && route.headStatus != 0) {
            status = route.headStatus;
            headers.clear();
            if (status == 405) headers.assign(1, {"Allow", "GET"});
            body.clear();
        }

        const bool hasBody = statusHasBody(status);
        const bool lengthGiven = std::any_of(headers.begin(), headers.end(), [](const auto& header) {
            return equalsIgnoringCase(header.first, "Content-Length");
        });
        std::string response = "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status) + "\r\n";
        for (const auto& header : headers) response += header.first + ": " + header.second + "\r\n";
        if (hasBody && !lengthGiven) response += "Content-Length: " + std::to_string(body.size()) + "\r\n";
        response += "Connection: close\r\n\r\n";
        if (route.resetMidBody && hasBody && !isHead && known) {
            sendAll(s, response + body.substr(0, body.size() / 2));
            resetOnClose(s);
            return;
        }
        const bool drip = route.dripMilliseconds > 0 && hasBody && !isHead && known;
        if (hasBody && !isHead && !drip) {
            response += route.cutShort && known ? body.substr(0, body.size() / 2) : body;
        }
        if (!sendAll(s, response)) return;
        if (drip) {
            for (char byte : body) {
                if (!delay(route.dripMilliseconds) || !sendAll(s, std::string(1, byte))) return;
            }
        }
        // A graceful close, so the client reads everything sent before the end.
        shutdownSending(s);
        std::lock_guard<std::mutex> lock(mutex);
        completed++;
    }
};

HttpTestServer::HttpTestServer(int port) : impl(new Impl) {
    impl->port = port;
    impl->listener = bindLoopback(&impl->port);
    if (impl->listener == kNoSocket) throw std::runtime_error("HttpTestServer: cannot bind 127.0.0.1");
    if (listen(impl->listener, SOMAXCONN) != 0 ||
        !makeWakePair(impl->listener, impl->port, &impl->wakeReader, &impl->wakeWriter) ||
        !setNonBlocking(impl->listener)) {
        if (impl->wakeReader != kNoSocket) closeSocket(impl->wakeReader);
        if (impl->wakeWriter != kNoSocket) closeSocket(impl->wakeWriter);
        closeSocket(impl->listener);
        throw std::runtime_error("HttpTestServer: cannot listen on 127.0.0.1");
    }
    impl->acceptThread = std::thread([this] { impl->acceptLoop(); });
}

HttpTestServer::~HttpTestServer() {
    {
        // Under the lock, so a delay between its check and its wait still sees it.
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->stopping.store(true);
    }
    impl->stopSignal.notify_all();
    shutdownSending(impl->wakeWriter);
    impl->acceptThread.join();
    for (auto& connection : impl->connections) connection.thread.join();
    closeSocket(impl->listener);
    closeSocket(impl->wakeReader);
    closeSocket(impl->wakeWriter);
}

int HttpTestServer::port() const { return impl->port; }

std::string HttpTestServer::url(const std::string& pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(impl->port) + pathAndQuery;
}

void HttpTestServer::setRoute(const std::string& path, HttpRoute route) {
    std::lock_guard<std::mutex> lock(impl->mutex);
    for (auto& entry : impl->routes) {
        if (entry.first == path) {
            entry.second = std::move(route);
            return;
        }
    }
    impl->routes.emplace_back(path, std::move(route));
}

std::vector<HttpRequestRecord> HttpTestServer::requests() const {
    std::lock_guard<std::mutex> lock(impl->mutex);
    return impl->records;
}

void HttpTestServer::forgetRequests() {
    std::lock_guard<std::mutex> lock(impl->mutex);
    impl->records.clear();
    impl->records.shrink_to_fit();
}

int HttpTestServer::requestCount() const {
    std::lock_guard<std::mutex> lock(impl->mutex);
    return static_cast<int>(impl->records.size());
}

int HttpTestServer::completedAnswers() const {
    std::lock_guard<std::mutex> lock(impl->mutex);
    return impl->completed;
}

int HttpTestServer::hangUps() const {
    std::lock_guard<std::mutex> lock(impl->mutex);
    return impl->hangUps;
}

int HttpTestServer::closedPort() {
    int port = 0;
    const Socket s = bindLoopback(&port);
    if (s == kNoSocket) throw std::runtime_error("HttpTestServer::closedPort: cannot bind 127.0.0.1");
    closeSocket(s);
    return port;
}

struct StalledListener::Impl {
    Socket listener = kNoSocket;
    int port = 0;
    std::vector<Socket> fillers;
};

StalledListener::StalledListener() : impl(new Impl) {
    impl->listener = bindLoopback(&impl->port);
    if (impl->listener == kNoSocket || listen(impl->listener, 0) != 0) {
        throw std::runtime_error("StalledListener: cannot listen on 127.0.0.1");
    }
    // Connections of our own fill the queue; later ones find no room.
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<unsigned short>(impl->port));
    for (int i = 0; i < 4; ++i) {
        Socket filler = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (filler == kNoSocket) break;
        setNonBlocking(filler);
        connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        impl->fillers.push_back(filler);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the handshakes settle
}

StalledListener::~StalledListener() {
    for (Socket filler : impl->fillers) closeSocket(filler);
    closeSocket(impl->listener);
}

std::string StalledListener::url(const std::string& pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(impl->port) + pathAndQuery;
}

}  // namespace xloop_test
