#!/usr/bin/python3
"""From the last byte of a frame on the serial line to the updated pit view in a real browser.

korimet-cli listen --serve reads a pseudo-terminal and serves on 127.0.0.1; headless chromium
shows the page. For each of N frames (default 200) the time from the write of the frame's
last byte to the page's run table being replaced (a MutationObserver stamps it with the
browser's clock, the same wall clock as this script's) is taken; the baseline is the same
path without the browser: a bare WebSocket client here that parses the JSON the page parses.
Prints the median and 99th percentile of both. The runs go to --out, so every state carries
one 60-lap run and an empty day, whatever the number of frames.

    bench/pit_page_latency.py BUILD_DIR [FRAMES]
"""
import base64
import json
import os
import pty
import re
import select
import socket
import statistics
import subprocess
import sys
import tempfile
import time
import tty

FRAME_BYTES = 134


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(p * (len(ordered) - 1) + 0.5))]


class BareClient:
    """A WebSocket client on a plain socket: enough for the server's unmasked text frames."""

    def __init__(self, port, code):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=10)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET /live?code={code} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n"
                           f"Upgrade: websocket\r\nConnection: Upgrade\r\n"
                           f"Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n")
                          .encode())
        self.buffer = b""
        while b"\r\n\r\n" not in self.buffer:
            self.buffer += self.sock.recv(4096)
        head, self.buffer = self.buffer.split(b"\r\n\r\n", 1)
        assert head.startswith(b"HTTP/1.1 101"), head

    def _take(self, n):
        while len(self.buffer) < n:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise EOFError
            self.buffer += chunk
        data, self.buffer = self.buffer[:n], self.buffer[n:]
        return data

    def message(self):
        """The next non-empty text message, parsed, and when it was complete."""
        while True:
            b0, b1 = self._take(2)
            size = b1 & 0x7F
            if size == 126:
                size = int.from_bytes(self._take(2), "big")
            elif size == 127:
                size = int.from_bytes(self._take(8), "big")
            payload = self._take(size)
            if b0 & 0x0F == 1 and payload:
                state = json.loads(payload)
                return state, time.time()


def main(argv):
    build = os.path.abspath(argv[1] if len(argv) > 1 else "build")
    count = int(argv[2]) if len(argv) > 2 else 200
    work = tempfile.mkdtemp(prefix="korimet-latency-")
    env = dict(os.environ, HOME=f"{work}/home", XDG_CONFIG_HOME=f"{work}/home/.config",
               XDG_DATA_HOME=f"{work}/home/.local/share", XDG_RUNTIME_DIR=f"{work}/runtime")
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    framesPath = os.path.join(work, "frames.bin")
    open(framesPath, "wb").close()
    subprocess.run([os.path.join(build, "emulator", "korimet-timer-emulator"), "--device",
                    framesPath, "--count", str(count), "--laps", "60", "--seed", "5"],
                   check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    data = open(framesPath, "rb").read()
    frames = [data[i:i + FRAME_BYTES] for i in range(0, len(data), FRAME_BYTES)]

    master, slave = pty.openpty()
    tty.setraw(master)
    tty.setraw(slave)
    listener = subprocess.Popen([os.path.join(build, "cli", "korimet-cli"), "listen",
                                 os.ttyname(slave), "--out", os.path.join(work, "out"),
                                 "--serve", "127.0.0.1:0"], env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    driver = None
    try:
        seen = b""
        m = None
        while m is None:
            if not select.select([listener.stderr], [], [], 10)[0]:
                sys.exit(f"no pit view line: {seen!r}")
            seen += os.read(listener.stderr.fileno(), 4096)
            m = re.search(rb"pit view: http://127\.0\.0\.1:(\d+)/\?code=(\w+)", seen)
        port, code = int(m.group(1)), m.group(2).decode()

        # Baseline: the same frames, no browser.
        bare = BareClient(port, code)
        bare.message()
        baseline = []
        for frame in frames:
            os.write(master, frame)
            written = time.time()
            state, at = bare.message()
            assert state["shown"]["run"]["lapCount"] > 0
            baseline.append((at - written) * 1000)
            time.sleep(0.02)
        bare.sock.close()

        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=390,844"):
            options.add_argument(arg)
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        driver.get(f"http://127.0.0.1:{port}/?code={code}")
        deadline = time.monotonic() + 20
        while driver.execute_script("return document.getElementById('link').className") != "":
            if time.monotonic() > deadline:
                sys.exit("the page did not go live")
            time.sleep(0.05)
        driver.execute_script("""
            window.__seen = [];
            new MutationObserver(() => window.__seen.push(performance.timeOrigin + performance.now()))
              .observe(document.getElementById('runBody'), {childList: true});""")
        browser = []
        for frame in frames:
            before = driver.execute_script("return window.__seen.length")
            os.write(master, frame)
            written = time.time()
            deadline = time.monotonic() + 10
            while True:
                stamps = driver.execute_script("return window.__seen")
                if len(stamps) > before:
                    break
                if time.monotonic() > deadline:
                    sys.exit("a frame did not reach the page within 10 s")
                time.sleep(0.002)
            browser.append(stamps[before] - written * 1000)
            time.sleep(0.02)

        for name, values in (("bare WebSocket client (baseline)", baseline),
                             ("chromium page", browser)):
            print(f"frame last byte -> {name}: {len(values)} frames, median "
                  f"{statistics.median(values):.2f} ms, p99 {percentile(values, 0.99):.2f} ms")
        return 0
    finally:
        if driver is not None:
            driver.quit()
        listener.terminate()
        listener.wait(timeout=10)
        os.close(master)
        os.close(slave)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
