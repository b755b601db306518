// An HTTP/1.1 server on 127.0.0.1 that runs inside the test process, so
// tests of code that makes HEAD/GET requests need no outside network and can
// make the server slow, wrong or broken on purpose.
//
// One request per connection: every answer carries "Connection: close" and the
// server closes the connection after it. Requests are expected to have no body.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace xloop_test {

// How the server answers one path.
struct HttpRoute {
    // Status code of the answer. Statuses that cannot carry a body (1xx, 204,
    // 304) are sent with neither a body nor a Content-Length.
    int status = 200;
    // Body for GET. HEAD gets the same headers, including this body's
    // Content-Length, but never the body itself.
    std::string body;
    // Wait this long before answering. The wait ends early, without an
    // answer, when the server is destroyed.
    int delayMilliseconds = 0;
    // GET: announce the Content-Length of `body`, send only the first half of
    // it, then close (needs a non-empty body). HEAD: close after the headers.
    bool cutShort = false;
    // GET: send half the body, then reset the connection.
    bool resetMidBody = false;
    // GET: send the body one byte at a time, waiting this long before each.
    int dripMilliseconds = 0;
    // Answer HEAD with this status, 405 (Allow: GET) or 501, with no headers
    // of the route; GET still gets `status`. 0 answers HEAD as GET.
    int headStatus = 0;
    // Send nothing; wait for the client to hang up (counted by hangUps()).
    bool holdUntilHangUp = false;
    // Extra response headers, sent in this order, e.g. {"Location", "/elsewhere"}.
    // A Content-Length given here replaces the one the server would send.
    std::vector<std::pair<std::string, std::string>> headers;
};

struct HttpRequestRecord {
    std::string method;
    // The request-target exactly as sent, e.g. "/" or "/a?b".
    std::string target;
    // Header fields in the order sent; values without surrounding whitespace.
    std::vector<std::pair<std::string, std::string>> headers;
};

class HttpTestServer {
public:
    // Binds 127.0.0.1 on `port` (an ephemeral one when 0: a server that comes
    // back after a stop passes its old port) and starts accepting. Every
    // connection is served on its own thread. Throws std::runtime_error when
    // the socket cannot be set up.
    explicit HttpTestServer(int port = 0);
    // Stops accepting, abandons requests still being read or delayed, and
    // joins every thread the server started.
    ~HttpTestServer();

    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int port() const;
    // "http://127.0.0.1:<port>" + pathAndQuery.
    std::string url(const std::string& pathAndQuery) const;
    // `path` is matched against the request-target without its query.
    // Unknown paths get 404 with an empty body; methods other than GET and
    // HEAD get 405.
    void setRoute(const std::string& path, HttpRoute route);
    // Every well-formed request so far, in arrival order.
    std::vector<HttpRequestRecord> requests() const;
    int requestCount() const;
    // Drops the records of past requests, for long runs.
    void forgetRequests();

    // A port on 127.0.0.1 that nothing listens on (bound once, then
    // released), for testing refused connections.
    static int closedPort();
    // Answers whose last byte was sent.
    int completedAnswers() const;
    // Connections held by holdUntilHangUp that the client closed.
    int hangUps() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

// A port on 127.0.0.1 whose listen queue is full and never accepted from, so
// a new connection stays pending until the client gives up.
class StalledListener {
public:
    StalledListener();
    ~StalledListener();
    StalledListener(const StalledListener&) = delete;
    StalledListener& operator=(const StalledListener&) = delete;

    std::string url(const std::string& pathAndQuery) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

}  // namespace xloop_test
