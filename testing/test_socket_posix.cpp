#include "testing/test_socket.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace xloop_test {

const Socket kNoSocket = -1;

void initSockets() {}

void closeSocket(Socket s) {
    ::close(s);
}

bool setNonBlocking(Socket s) {
    const int flags = fcntl(s, F_GETFL, 0);
    return flags >= 0 && fcntl(s, F_SETFL, flags | O_NONBLOCK) == 0;
}

void allowQuickRebind(Socket s) {
    int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
}

void keepFromChildProcesses(Socket s) {
    fcntl(s, F_SETFD, fcntl(s, F_GETFD) | FD_CLOEXEC);
}

bool lastCallWouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

// poll, because select breaks on descriptors above FD_SETSIZE.
int waitReady(Socket s, bool forWrite, Socket wake) {
    pollfd entries[2] = {};
    entries[0].fd = s;
    entries[0].events = forWrite ? POLLOUT : POLLIN;
    entries[1].fd = wake;
    entries[1].events = POLLIN;
    for (;;) {
        const int result = poll(entries, 2, -1);
        if (result > 0) return entries[0].revents != 0 ? 1 : 0;
        if (result < 0 && errno != EINTR) return -1;
    }
}

int sendSome(Socket s, const char* data, int length) {
    return static_cast<int>(send(s, data, static_cast<size_t>(length), MSG_NOSIGNAL));
}

void shutdownSending(Socket s) {
    shutdown(s, SHUT_WR);
}

}  // namespace xloop_test
