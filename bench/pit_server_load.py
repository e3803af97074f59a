#!/usr/bin/python3
"""The pit server under a stranger's load, on loopback only, bounded in time.

korimet-cli listen --serve reads a pseudo-terminal and serves on 127.0.0.1. Three phases:

1. Slow connections: a stranger at 127.0.0.2 opens ATTACK_RATE connections a second that
   send half a request and then nothing (plus an idle burst of 300 at the start), for
   SECONDS; meanwhile a mechanic at 127.0.0.1 asks for /state.json every 100 ms. Printed:
   how many of the mechanic's requests were answered 200, and their median and worst time.
2. Pages that stop reading: 60 live connections that take the handshake and then read
   nothing (a small receive buffer), while 600 runs arrive on the line. Printed: the
   listener's resident memory before, at its highest, and after the pages are gone.
3. Guessing: how many wrong codes one address gets answered in 5 s.

    bench/pit_server_load.py BUILD_DIR [SECONDS] [ATTACK_RATE]
"""
import os
import pty
import re
import select
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import tty

FRAME_BYTES = 134


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def ask(port, code, source="127.0.0.1", timeout=2.0):
    """One GET /state.json; its status and time in ms, or (0, timeout) if unanswered."""
    start = time.monotonic()
    try:
        s = socket.socket()
        s.settimeout(timeout)
        s.bind((source, 0))
        s.connect(("127.0.0.1", port))
        s.sendall(f"GET /state.json?code={code} HTTP/1.1\r\nHost: h\r\n"
                  f"Connection: close\r\n\r\n".encode())
        data = b""
        while True:
            chunk = s.recv(65536)
            if not chunk:
                break
            data += chunk
        s.close()
        status = int(data[9:12]) if data.startswith(b"HTTP/1.1 ") else 0
    except OSError:
        status = 0
    return status, (time.monotonic() - start) * 1000


def slow_attack(port, rate, seconds, stop):
    held = []
    for _ in range(300):  # an idle burst first
        try:
            s = socket.socket()
            s.setblocking(False)
            s.bind(("127.0.0.2", 0))
            s.connect_ex(("127.0.0.1", port))
            held.append(s)
        except OSError:
            pass
    end = time.monotonic() + seconds
    while time.monotonic() < end and not stop.is_set():
        tick = time.monotonic()
        for _ in range(rate // 10):
            try:
                s = socket.socket()
                s.settimeout(0.5)
                s.bind(("127.0.0.2", 0))
                s.connect(("127.0.0.1", port))
                s.send(b"GET /?code=")
                held.append(s)
            except OSError:
                pass
        time.sleep(max(0.0, 0.1 - (time.monotonic() - tick)))
    for s in held:
        s.close()


def live_page(port, code):
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
    s.settimeout(5)
    s.connect(("127.0.0.1", port))
    s.sendall((f"GET /live?code={code} HTTP/1.1\r\nHost: h\r\nUpgrade: websocket\r\n"
               f"Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
               f"Sec-WebSocket-Version: 13\r\n\r\n").encode())
    head = b""
    while b"\r\n\r\n" not in head:
        head += s.recv(1)
    assert head.startswith(b"HTTP/1.1 101"), head
    return s


def main(argv):
    build = os.path.abspath(argv[1] if len(argv) > 1 else "build")
    seconds = float(argv[2]) if len(argv) > 2 else 10
    rate = int(argv[3]) if len(argv) > 3 else 150
    work = tempfile.mkdtemp(prefix="korimet-load-")
    env = dict(os.environ, HOME=f"{work}/home", XDG_CONFIG_HOME=f"{work}/home/.config",
               XDG_DATA_HOME=f"{work}/home/.local/share", XDG_RUNTIME_DIR=f"{work}/runtime")
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    frames_path = os.path.join(work, "frames.bin")
    open(frames_path, "wb").close()
    subprocess.run([os.path.join(build, "emulator", "korimet-timer-emulator"), "--device",
                    frames_path, "--count", "600", "--laps", "60", "--seed", "5"],
                   check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    data = open(frames_path, "rb").read()
    frames = [data[i:i + FRAME_BYTES] for i in range(0, len(data), FRAME_BYTES)]

    master, slave = pty.openpty()
    tty.setraw(master)
    tty.setraw(slave)
    listener = subprocess.Popen([os.path.join(build, "cli", "korimet-cli"), "listen",
                                 os.ttyname(slave), "--out", os.path.join(work, "out"),
                                 "--serve", "127.0.0.1:0"], env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        seen = b""
        m = None
        while m is None:
            if not select.select([listener.stderr], [], [], 10)[0]:
                sys.exit(f"no pit view line: {seen!r}")
            seen += os.read(listener.stderr.fileno(), 4096)
            m = re.search(rb"pit view: http://127\.0\.0\.1:(\d+)/\?code=(\w+)", seen)
        port, code = int(m.group(1)), m.group(2).decode()
        # Something to serve: one 60-lap run.
        os.write(master, frames[0])
        time.sleep(0.5)

        # 1. A mechanic's requests through a stranger's slow connections.
        stop = threading.Event()
        attacker = threading.Thread(target=slow_attack, args=(port, rate, seconds, stop))
        attacker.start()
        results = []
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            results.append(ask(port, code))
            time.sleep(0.1)
        stop.set()
        attacker.join()
        served = [ms for status, ms in results if status == 200]
        print(f"slow connections: {rate}/s from 127.0.0.2 for {seconds:.0f} s, "
              f"300 idle at once first")
        print(f"  mechanic's requests answered 200: {len(served)}/{len(results)}"
              + (f", median {statistics.median(served):.1f} ms, worst {max(served):.1f} ms"
                 if served else ""))

        # 2. Pages that stop reading while runs arrive.
        time.sleep(1.5)
        before = rss_mb(listener.pid)
        pages = [live_page(port, code) for _ in range(60)]
        highest = before
        for i, frame in enumerate(frames):
            os.write(master, frame)
            time.sleep(0.01)
            if i % 20 == 0:
                highest = max(highest, rss_mb(listener.pid))
        time.sleep(1)
        highest = max(highest, rss_mb(listener.pid))
        for p in pages:
            p.close()
        time.sleep(2)
        after = rss_mb(listener.pid)
        print(f"60 pages not reading, {len(frames)} runs: resident memory {before:.1f} MB before, "
              f"{highest:.1f} MB at most, {after:.1f} MB after they closed")

        # 3. Guessing the code from one address.
        answered = 0
        end = time.monotonic() + 5
        tried = 0
        while time.monotonic() < end:
            status, _ = ask(port, "WRONG" + str(tried % 10), source="127.0.0.3", timeout=1)
            tried += 1
            if status == 403:
                answered += 1
        print(f"guessing: {tried} requests with a wrong code in 5 s, {answered} answered 403 "
              f"(the rest refused unheard)")
        status, _ = ask(port, code)
        print(f"the mechanic afterwards: {status}")
    finally:
        listener.kill()
        listener.wait()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
