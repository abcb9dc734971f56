"""Runs KXWizard.exe under Wine and Xvfb and drives it from outside.

The build passes its paths in the environment (see CMakeLists.txt): KX_EXE, KX_DRIVER,
KX_KXSIM, KX_WINE_ENV, KX_PREFIX, KX_ARTIFACTS, KX_WEB_HOST, KX_WEB_PORT.
"""
import http.server
import os
import subprocess
import threading
import time

ENV = os.environ
EXE = ENV.get("KX_EXE", "")
PREFIX = ENV.get("KX_PREFIX", "")
ARTIFACTS = ENV.get("KX_ARTIFACTS", "")

# Control identifiers of the wizard window.
IDC_NEXT, IDC_EXIT, IDC_CONSOLE = 1001, 1002, 1003
IDC_STORE_OFFSET, IDC_YEAR, IDC_MONTH, IDC_OFFSET, IDC_ACTUAL_TEMP = 1005, 1006, 1007, 1008, 1009
IDC_STORE_DATE, IDC_MONTH_LABEL, IDC_YEAR_LABEL = 1010, 1011, 1012
IDC_OFFSET_LABEL, IDC_ACTUAL_TEMP_LABEL, IDC_CALC_OFFSET, IDC_SHOW_CAL = 1013, 1014, 1015, 1016
CAL_GROUP = [IDC_MONTH_LABEL, IDC_MONTH, IDC_YEAR_LABEL, IDC_YEAR, IDC_STORE_DATE,
             IDC_OFFSET_LABEL, IDC_OFFSET, IDC_STORE_OFFSET, IDC_ACTUAL_TEMP_LABEL,
             IDC_ACTUAL_TEMP, IDC_CALC_OFFSET]
VK_RETURN = 0x0D
VK_ESCAPE = 0x1B
SC_CLOSE = 0xF060
IDM_ABOUTBOX = 16


def wine_env():
    env = dict(ENV, WINEPREFIX=PREFIX, WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=")
    return env


def wine_prefix(command, *args):
    subprocess.run([ENV["KX_WINE_ENV"], command, PREFIX, *args], check=True)


def wait_until(predicate, timeout, step=0.05):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"r": "\r", "n": "\n", "t": "\t"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def pty_holders(path):
    """The processes that hold `path` open."""
    holders = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            fds = os.listdir(f"/proc/{pid}/fd")
        except OSError:
            continue
        for fd in fds:
            try:
                if os.readlink(f"/proc/{pid}/fd/{fd}") == path:
                    holders.append(int(pid))
                    break
            except OSError:
                pass
    return holders


class Display:
    """A private X server; Wine's windows appear on it."""

    def __init__(self):
        read, write = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            self.name = ":" + f.readline().strip()

    def screenshot(self, name):
        path = os.path.join(ARTIFACTS, name + ".png")
        subprocess.run(["import", "-display", self.name, "-window", "root", "-crop",
                        "800x480+0+0", path], check=True)
        return path

    def close(self):
        self.proc.terminate()
        self.proc.wait()


class Kxsim:
    """A simulated KX unit on a pty, its received bytes logged."""

    def __init__(self, name, *args):
        self.log = os.path.join(ARTIFACTS, name + ".kxsim.log")
        if os.path.exists(self.log):
            os.remove(self.log)
        self.proc = subprocess.Popen([ENV["KX_KXSIM"], *args, "--log", self.log],
                                     stdout=subprocess.PIPE, text=True)
        self.device = self.proc.stdout.readline().strip()

    def received(self):
        try:
            with open(self.log, "rb") as f:
                return f.read()
        except FileNotFoundError:
            return b""

    def close(self):
        self.proc.terminate()
        self.proc.wait()
        self.proc.stdout.close()


class WebServer:
    """A local HTTP server that records the requests it gets."""

    def __init__(self, port):
        self.requests = []
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                server.requests.append((self.requestline, dict(self.headers)))
                self.send_response(200)
                self.send_header("Content-Length", "0")
                self.end_headers()

            def log_message(self, *args):
                pass

        self.httpd = http.server.HTTPServer(("127.0.0.1", port), Handler)
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Session:
    """One run of the wizard: the Wine prefix's COM ports set, the program started, and
    the driver beside it."""

    def __init__(self, display, ports):
        self.display = display
        wine_prefix("prepare")
        wine_prefix("ports", *[f"{n}={device}" for n, device in ports.items()])
        env = dict(wine_env(), DISPLAY=display.name)
        self.started = time.monotonic()
        self.program = subprocess.Popen(["wine", EXE], env=env, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)
        self.driver = subprocess.Popen(["wine", ENV["KX_DRIVER"]], env=env, text=True,
                                       encoding="utf-8", stdin=subprocess.PIPE,
                                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def raw(self, line):
        self.driver.stdin.write(line + "\n")
        self.driver.stdin.flush()
        return self.driver.stdout.readline().rstrip("\n")

    def ask(self, line):
        answer = self.raw(line)
        if not answer.startswith("ok"):
            raise AssertionError(f"driver: {line!r} -> {answer!r}")
        return unescape(answer[3:])

    def find(self, timeout_ms=20000):
        return self.ask(f"find {timeout_ms}")

    def text(self, control):
        return self.ask(f"text {control}")

    def visible(self, control):
        return self.ask(f"visible {control}") == "1"

    def rect(self, control):
        return tuple(int(v) for v in self.ask(f"rect {control}").split())

    def client(self):
        return tuple(int(v) for v in self.ask("client").split())

    def click(self, control):
        self.ask(f"click {control}")

    def has_popup(self):
        return self.raw("popup 0").startswith("ok")

    def popup(self, timeout_ms=10000):
        """Caption, then "S:" static texts and "B:" button texts, of the open dialog."""
        parts = self.ask(f"popup {timeout_ms}").split("\t")
        return parts[0], parts[1:]

    def wait_text(self, control, expected, timeout=10):
        return wait_until(lambda: self.text(control) == expected, timeout)

    def wait_exit(self, timeout=30):
        try:
            return self.program.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def close(self):
        if self.driver.poll() is None:
            self.driver.stdin.write("quit\n")
            self.driver.stdin.close()
            self.driver.wait(20)
        self.driver.stdout.close()
        if self.program.poll() is None:
            self.program.kill()
            self.program.wait()
        wine_prefix("stop")
