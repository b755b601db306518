#include "testing/test_socket.h"

#include <stdexcept>

namespace xloop_test {

const Socket kNoSocket = INVALID_SOCKET;

// WSAStartup once per process; no WSACleanup, because servers may live in
// static objects that outlast any cleanup point we could pick.
void initSockets() {
    static const bool ready = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!ready) throw std::runtime_error("WSAStartup failed");
}

void closeSocket(Socket s) {
    closesocket(s);
}

bool setNonBlocking(Socket s) {
    u_long on = 1;
    return ioctlsocket(s, FIONBIO, &on) == 0;
}

// SO_REUSEADDR on Windows would let another socket take the port.
void allowQuickRebind(Socket) {}

// Winsock sockets reach a child only when it is created to inherit handles.
void keepFromChildProcesses(Socket) {}

bool lastCallWouldBlock() {
    const int error = WSAGetLastError();
    return error == WSAEWOULDBLOCK || error == WSAEINTR;
}

// select has no descriptor-value limit on Windows (fd_set is a list), and
// WSAPoll needs a newer _WIN32_WINNT.
int waitReady(Socket s, bool forWrite, Socket wake) {
    fd_set readable;
    fd_set writable;
    FD_ZERO(&readable);
    FD_ZERO(&writable);
    FD_SET(wake, &readable);
    FD_SET(s, forWrite ? &writable : &readable);
    if (select(0, &readable, &writable, nullptr, nullptr) <= 0) return -1;
    return FD_ISSET(s, forWrite ? &writable : &readable) ? 1 : 0;
}

int sendSome(Socket s, const char* data, int length) {
    return send(s, data, length, 0);
}

void shutdownSending(Socket s) {
    shutdown(s, SD_SEND);
}

}  // namespace xloop_test
