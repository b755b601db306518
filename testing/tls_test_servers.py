#!/usr/bin/env python3
"""https servers on 127.0.0.1, one per certificate of testing/test_ca.sh, for
the tests of both builds (the Windows one runs under wine, so the servers live
outside the test process).

  tls_test_servers.py start DIR   issues the certificates into DIR, starts the
                                  servers in the background, writes DIR/servers.txt
  tls_test_servers.py stop DIR    ends them

servers.txt: a first line "trusted", or the reason the https tests skip; then
"<certificate> <port>" per server. Every server answers
  /config            a configuration file: killswitch "off", url "room"
  /redirect?to=URL   302 to URL
and 404 to anything else. The servers end by themselves after an hour, so a
run that never stops them leaves nothing behind for long.
"""
import os
import signal
import ssl
import subprocess
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs

CERTIFICATES = ("localhost", "elsewhere", "expired", "untrusted")
CONFIG = b'<veqconfig><defaults killswitch="off" url="room"/></veqconfig>'
LIFETIME_SECONDS = 3600
CA_SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "test_ca.sh")
UNTRUSTED = "the machine does not trust the test CA: run testing/test_ca.sh install (as root or with sudo)"


class Handler(BaseHTTPRequestHandler):
    timeout = 30

    def setup(self):
        super().setup()
        self.request.do_handshake()

    def answer(self, with_body):
        path, _, query = self.path.partition("?")
        status, headers, body = 404, [], b""
        if path == "/config":
            status, body = 200, CONFIG
        elif path == "/redirect":
            status, headers = 302, [("Location", parse_qs(query)["to"][0])]
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if with_body:
            self.wfile.write(body)

    def do_GET(self):
        self.answer(True)

    def do_HEAD(self):
        self.answer(False)

    def log_message(self, *args):
        pass


class Server(ThreadingHTTPServer):
    daemon_threads = True

    # Refused handshakes are what the tests are about.
    def handle_error(self, request, client_address):
        pass


def write_atomically(path, text):
    with open(path + ".tmp", "w") as out:
        out.write(text)
    os.replace(path + ".tmp", path)


def serve(folder):
    lines = [sys.argv[3]]
    for name in CERTIFICATES:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(os.path.join(folder, name + ".pem"))
        server = Server(("127.0.0.1", 0), Handler)
        server.socket = context.wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        lines.append("%s %d" % (name, server.server_address[1]))
    write_atomically(os.path.join(folder, "servers.pid"), "%d\n" % os.getpid())
    write_atomically(os.path.join(folder, "servers.txt"), "\n".join(lines) + "\n")
    time.sleep(LIFETIME_SECONDS)


def stop(folder):
    pid_file = os.path.join(folder, "servers.pid")
    try:
        pid = int(open(pid_file).read())
        with open("/proc/%d/cmdline" % pid, "rb") as command:
            ours = os.path.basename(__file__).encode() in command.read()
        if ours:
            os.kill(pid, signal.SIGTERM)
    except (OSError, ValueError):
        pass
    for name in ("servers.pid", "servers.txt"):
        try:
            os.remove(os.path.join(folder, name))
        except FileNotFoundError:
            pass


def start(folder):
    stop(folder)
    os.makedirs(folder, exist_ok=True)
    trusted = subprocess.run(["bash", CA_SCRIPT, "trusted"]).returncode == 0
    issued = subprocess.run(["bash", CA_SCRIPT, "issue", folder]).returncode == 0
    if not issued:
        write_atomically(os.path.join(folder, "servers.txt"), UNTRUSTED + "\n")
        return
    subprocess.Popen([sys.executable, __file__, "serve", folder, "trusted" if trusted else UNTRUSTED],
                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                     start_new_session=True)
    for _ in range(200):
        if os.path.exists(os.path.join(folder, "servers.txt")):
            return
        time.sleep(0.05)
    sys.exit("the https test servers did not start")


if __name__ == "__main__":
    command, folder = sys.argv[1], os.path.abspath(sys.argv[2])
    {"start": start, "stop": stop, "serve": serve}[command](folder)
