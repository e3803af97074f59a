#!/usr/bin/env python3
"""The pit view in a real browser (Debian's chromium through chromedriver and selenium).

korimet-cli listens on a pseudo-terminal and serves on 127.0.0.1; the browser reaches it
through a small proxy that can cut the line the way a phone losing the Wi-Fi does (the
connection goes quiet, nothing closes it). Checked: the page opens and goes live, a frame
written on the line appears on it, a cut is shown and the page comes back by itself with what
arrived meanwhile, a wrong access code is refused (the page and the state), and the console
has no error but the network errors of the deliberate cut and refusal.

    pit_view_browser.py KORIMET_CLI EMULATOR

Exits 77 (skipped) only when chromium cannot start. Every wait is bounded.
"""
import json
import os
import pty
import re
import select
import socket
import subprocess
import sys
import tempfile
import threading
import time
import tty
import urllib.error
import urllib.request

SKIPPED = 77
FRAME_BYTES = 134


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(f"timed out after {seconds} s: {what}")


class Proxy:
    """Forwards 127.0.0.1:port to the server; cut() makes every open connection go quiet
    and refuses new ones until restore()."""

    def __init__(self, target_port):
        self.target = ("127.0.0.1", target_port)
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(64)
        self.port = self.listener.getsockname()[1]
        self.down = threading.Event()
        self.quiet = []  # connections cut: kept open, never forwarded again
        self.lock = threading.Lock()
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            if self.down.is_set():
                client.close()
                continue
            server = socket.create_connection(self.target, timeout=5)
            stalled = threading.Event()
            with self.lock:
                self.quiet.append((client, server, stalled))
            for a, b in ((client, server), (server, client)):
                threading.Thread(target=self._pump, args=(a, b, stalled), daemon=True).start()

    @staticmethod
    def _pump(src, dst, stalled):
        src.settimeout(0.1)
        while True:
            if stalled.is_set():
                time.sleep(0.1)
                continue
            try:
                data = src.recv(65536)
            except socket.timeout:
                continue
            except OSError:
                return
            if not data or stalled.is_set():
                if not data:
                    try:
                        dst.shutdown(socket.SHUT_WR)
                    except OSError:
                        pass
                    return
                continue
            try:
                dst.sendall(data)
            except OSError:
                return

    def cut(self):
        self.down.set()
        with self.lock:
            for _, _, stalled in self.quiet:
                stalled.set()

    def restore(self):
        self.down.clear()


def frames(emulator, work, count):
    path = os.path.join(work, "frames.bin")
    open(path, "wb").close()
    subprocess.run([emulator, "--device", path, "--count", str(count), "--car", "9", "--laps",
                    "12", "--seed", "22"], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=30)
    data = open(path, "rb").read()
    assert len(data) == count * FRAME_BYTES, f"{len(data)} bytes of frames"
    return [data[i * FRAME_BYTES:(i + 1) * FRAME_BYTES] for i in range(count)]


def start_listener(cli, device, work):
    process = subprocess.Popen([cli, "listen", device, "--out", os.path.join(work, "runs"),
                                "--serve", "127.0.0.1:0"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    line = re.compile(rb"^pit view: http://127\.0\.0\.1:(\d+)/\?code=(\w+)$")
    seen = b""
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        ready, _, _ = select.select([process.stderr], [], [], 0.2)
        if ready:
            chunk = os.read(process.stderr.fileno(), 4096)
            if not chunk:
                break
            seen += chunk
            for text in seen.splitlines():
                m = line.match(text)
                if m:
                    return process, int(m.group(1)), m.group(2).decode()
    process.kill()
    raise AssertionError(f"no pit view line from korimet-cli: {seen!r}")


def state_json(port, code):
    with urllib.request.urlopen(f"http://127.0.0.1:{port}/state.json?code={code}", timeout=5) as r:
        return json.load(r)


def browser():
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
    except ImportError as e:
        print(f"skipped: selenium is not installed ({e})")
        sys.exit(SKIPPED)
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--lang=en-US",
                "--window-size=390,844", "--no-first-run", "--disable-extensions",
                "--disable-background-networking", "--disable-component-update",
                "--disable-sync", "--disable-default-apps"):
        options.add_argument(arg)
    options.add_experimental_option("prefs", {"intl.accept_languages": "en-US"})
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    try:
        return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    except Exception as e:  # chromium missing, or it cannot start here
        print(f"skipped: chromium cannot start: {str(e).splitlines()[0] if str(e) else e!r}")
        sys.exit(SKIPPED)


def errors(driver, allow_network=False):
    found = []
    for entry in driver.get_log("browser"):
        if entry.get("level") != "SEVERE":
            continue
        message = entry.get("message", "")
        network = "WebSocket connection to" in message or "Failed to load resource" in message \
            or "Failed to fetch" in message or "net::ERR_" in message
        if allow_network and network:
            continue
        found.append(message)
    return found


def lap_texts(driver):
    return driver.execute_script(
        "return [...document.querySelectorAll('#runBody tr[data-role] td:nth-child(2)')]"
        ".map(td => td.textContent)")


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    cli, emulator = argv[1], argv[2]
    work = tempfile.mkdtemp(prefix="korimet-browser-")
    sent = frames(emulator, work, 3)
    master, slave = pty.openpty()
    tty.setraw(master)
    tty.setraw(slave)
    process, port, code = start_listener(cli, os.ttyname(slave), work)
    driver = None
    try:
        proxy = Proxy(port)
        driver = browser()
        driver.set_page_load_timeout(20)
        link = lambda: driver.execute_script(
            "const l = document.getElementById('link'); return [l.textContent, l.className]")

        driver.get(f"http://127.0.0.1:{proxy.port}/?code={code}")
        wait_for(lambda: link() == ["live", ""], 10, "the page goes live")
        assert driver.execute_script("return document.documentElement.lang") == "en"
        assert lap_texts(driver) == [], "a run shown before any frame"

        os.write(master, sent[0])
        first = wait_for(lambda: lap_texts(driver), 10, "the first frame on the page")
        first_run = state_json(port, code)["shown"]["run"]
        expected = [lap["text"] for lap in first_run["laps"]]
        assert first == expected, f"page {first} vs state {expected}"
        found = errors(driver)
        assert found == [], f"console errors: {found}"

        # The line goes quiet; what arrives meanwhile is on the page once it is back.
        cut_at = time.monotonic()
        proxy.cut()
        wait_for(lambda: link()[1] == "lost", 10, "the page says the connection is lost")
        noticed = time.monotonic() - cut_at
        os.write(master, sent[1])
        wait_for(lambda: state_json(port, code)["shown"]["run"] != first_run, 10,
                 "the second frame received")
        expected = [lap["text"] for lap in state_json(port, code)["shown"]["run"]["laps"]]
        back_at = time.monotonic()
        proxy.restore()
        wait_for(lambda: link() == ["live", ""] and lap_texts(driver) == expected, 10,
                 "the page comes back with the run sent during the cut")
        print(f"cut noticed after {noticed:.2f} s, back {time.monotonic() - back_at:.2f} s "
              "after the line returned")
        found = errors(driver, allow_network=True)
        assert found == [], f"console errors after the cut: {found}"

        # A wrong code: refused by the server and said on the page, nothing shown.
        try:
            urllib.request.urlopen(f"http://127.0.0.1:{port}/state.json?code=WRONG2", timeout=5)
            raise AssertionError("state.json served with a wrong code")
        except urllib.error.HTTPError as e:
            assert e.code == 403, e.code
        driver.get(f"http://127.0.0.1:{port}/?code=WRONG2")
        wait_for(lambda: "Forbidden" in driver.execute_script("return document.body.innerText"),
                 10, "the browser is refused the page")
        assert driver.execute_script("return document.getElementById('runBody')") is None
        found = errors(driver, allow_network=True)
        assert found == [], f"console errors with a wrong code: {found}"
        print("pit view in chromium: live, frame shown, cut and back, wrong code refused")
        return 0
    finally:
        if driver is not None:
            driver.quit()
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
        os.close(master)
        os.close(slave)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
