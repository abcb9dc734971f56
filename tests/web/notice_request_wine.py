#!/usr/bin/env python3
"""The HTTP layer's WinINet backend under Wine, against a scripted server on 127.0.0.1.

Runs web_notice_check.exe once per scripted response and checks what it reports and the
exact request bytes the server received.
usage: notice_request_wine.py <web_notice_check.exe> <wine prefix directory>
"""
import os
import socket
import subprocess
import sys
import threading

EXE, PREFIX = sys.argv[1], sys.argv[2]
AGENT = os.path.splitext(os.path.basename(EXE))[0]
ENV = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
for name in ("http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"):
    ENV.pop(name, None)


class OneShotServer(threading.Thread):
    """Accepts one connection, records the request, answers with `response`, closes."""

    def __init__(self, response):
        super().__init__(daemon=True)
        self.response = response
        self.request = b""
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(1)
        self.listener.settimeout(60)
        self.port = self.listener.getsockname()[1]

    def run(self):
        try:
            client, _ = self.listener.accept()
        except OSError:
            return
        with client:
            client.settimeout(5)
            while b"\r\n\r\n" not in self.request:
                chunk = client.recv(4096)
                if not chunk:
                    break
                self.request += chunk
            client.settimeout(0.3)  # anything after the header block is caught too
            try:
                while chunk := client.recv(4096):
                    self.request += chunk
            except OSError:
                pass
            client.sendall(self.response)


def run_check(port):
    out = subprocess.run(["wine", EXE, str(port)], env=ENV, capture_output=True, timeout=120)
    return out.stdout.decode("latin-1").replace("\r\n", "\n")


def filler_block(length, last_header):
    """A response whose raw header block is exactly `length` characters."""
    head, tail = "HTTP/1.0 200 OK\r\nX-Filler: ", "\r\n" + last_header + "\r\n\r\n"
    return head + "f" * (length - len(head) - len(tail)) + tail


CASES = [
    # (what, response, first output line)
    ("marker as a header name", "HTTP/1.0 200 OK\r\nMERIDOTTA-WARNING: x\r\n\r\n", "result 0"),
    ("marker inside a value", "HTTP/1.0 200 OK\r\nX-Notice: a MERIDOTTA-WARNING b\r\n\r\n",
     "result 0"),
    ("marker in the status line", "HTTP/1.0 200 MERIDOTTA-WARNING\r\n\r\n", "result 0"),
    ("marker in other letter case", "HTTP/1.0 200 OK\r\nMeridotta-Warning: x\r\n\r\n",
     "result 200"),
    ("404 without the marker", "HTTP/1.0 404 Not Found\r\nServer: t\r\n\r\n", "result 404"),
    ("marker ending a block of 4095 characters", filler_block(4095, "MERIDOTTA-WARNING: x"),
     "result 0"),
    ("marker ending 8 KiB of headers", filler_block(8192, "MERIDOTTA-WARNING: x"), "result 200"),
]


def main():
    if not os.path.exists(os.path.join(PREFIX, "system.reg")):
        subprocess.run(["wineboot", "-i"], env=ENV, capture_output=True, timeout=300, check=True)
    failures = []
    for what, response, expected in CASES:
        server = OneShotServer(response.encode("latin-1"))
        server.start()
        output = run_check(server.port)
        server.join(10)
        first = output.split("\n", 1)[0]
        wire = ("GET /kxwizard.html HTTP/1.0\r\nHost: 127.0.0.1:%d\r\nUser-Agent: %s\r\n\r\n"
                % (server.port, AGENT)).encode()
        if first != expected:
            failures.append("%s: got %r, expected %r" % (what, output, expected))
        if server.request != wire:
            failures.append("%s: request %r, expected %r" % (what, server.request, wire))
        print("ok  " if first == expected and server.request == wire else "FAIL", what)

    closed = socket.socket()
    closed.bind(("127.0.0.1", 0))
    port = closed.getsockname()[1]
    closed.close()
    output = run_check(port)
    print("ok  " if output.startswith("failed ") else "FAIL", "connection refused")
    if not output.startswith("failed "):
        failures.append("connection refused: got %r" % output)

    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
