// The few socket calls where POSIX sockets and Winsock differ, for the test
// servers. Everything else they use is the same on both.
#pragma once

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

namespace xloop_test {

#if defined(_WIN32)
using Socket = SOCKET;
using SockLen = int;
#else
using Socket = int;
using SockLen = socklen_t;
#endif

extern const Socket kNoSocket;

// Once per process before the first socket; throws when sockets are unusable.
void initSockets();
void closeSocket(Socket s);
bool setNonBlocking(Socket s);
// Lets a test run restart at once despite old connections in TIME_WAIT,
// where that cannot let another socket steal the port.
void allowQuickRebind(Socket s);
// Closes s in child processes, so a browser's helper processes started by
// the same test cannot keep a stopped server's port open.
void keepFromChildProcesses(Socket s);
// True when the last call failed only because it would have blocked.
bool lastCallWouldBlock();
// 1 when s is ready, 0 when only wake is readable, -1 on failure.
int waitReady(Socket s, bool forWrite, Socket wake);
// send() that never raises SIGPIPE when the peer has gone.
int sendSome(Socket s, const char* data, int length);
// Ends the sending side gracefully, so the peer reads everything sent.
void shutdownSending(Socket s);

}  // namespace xloop_test
