#!/usr/bin/env python3
"""Sound of the desktop program as heard at the sound server, for one or more builds
side by side in one run: click-to-sound latency and gaps while the machine is busy.

Run by scripts/bench-audio.sh, which provides the display and the sound server
(DISPLAY, PULSE_SERVER and ALSA_CONFIG_PATH in the environment).
  audio_under_load.py SECONDS TONVELA [TONVELA ...]
"""
import os
import statistics
import subprocess
import sys
import threading
import time

RATE = 16000
TITLE = "TonvelaVer2019.05.10"
# Client-area pixels of the controls (dialog units x 7/4 and y 12/8): the sine preset,
# Clear, and the frequency slider's track (thumb at 440 of 0..2000).
SINE = (234, 23)
CLEAR = (597, 8)
FREQUENCY_ROW = 621
THUMB_X = 348
GAP_SAMPLES = 32  # a run of zeros longer than 2 ms: the tone sits at 0 for a sample or two


class Capture:
    """Everything the null sink plays, with the time each chunk arrived."""

    def __init__(self):
        self.samples = bytearray()
        self.arrivals = []  # (index after the chunk, monotonic time of arrival)
        self.lock = threading.Lock()
        self.process = subprocess.Popen(
            ["parec", "--device=nullsink.monitor", "--format=s16le", f"--rate={RATE}",
             "--channels=1", "--latency-msec=5", "--raw"], stdout=subprocess.PIPE)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        while True:
            chunk = os.read(self.process.stdout.fileno(), 640)
            if not chunk:
                return
            now = time.monotonic()
            with self.lock:
                self.samples += chunk
                self.arrivals.append((len(self.samples) // 2, now))

    def index_at(self, moment):
        """The index of the sample that played at `moment`."""
        with self.lock:
            for end, arrived in self.arrivals:
                if arrived >= moment:
                    return max(0, end - round((arrived - moment) * RATE))
            return len(self.samples) // 2

    def time_of(self, index):
        with self.lock:
            for end, arrived in self.arrivals:
                if end > index:
                    return arrived - (end - index) / RATE
        return None

    def sample(self, index):
        with self.lock:
            return int.from_bytes(self.samples[2 * index:2 * index + 2], "little", signed=True)

    def length(self):
        with self.lock:
            return len(self.samples) // 2

    def stop(self):
        self.process.terminate()


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True)


def find_window(pid):
    for _ in range(200):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid), "--name", f"^{TITLE}$"],
                               capture_output=True, text=True).stdout.split()
        for window in found:
            geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                                      capture_output=True, text=True).stdout
            if int(dict(line.split("=") for line in geometry.split())["WIDTH"]) > 100:
                return window
        time.sleep(0.05)
    raise SystemExit("no window")


def click(window, point):
    xdo("mousemove", "--window", window, *point, "click", "1")


def first_sound_after(capture, start, timeout=2.0):
    index = capture.index_at(start)
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        while index < capture.length():
            if capture.sample(index) != 0:
                return capture.time_of(index) - start
            index += 1
        time.sleep(0.01)
    return None


def gaps(capture, first, last):
    count, silent, run = 0, 0, 0
    for index in range(first, last):
        if capture.sample(index) == 0:
            run += 1
        else:
            if run > GAP_SAMPLES:
                count += 1
                silent += run
            run = 0
    return count, 1000.0 * silent / RATE


def busy_processes(count):
    return [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(count)]


def measure(tonvela, seconds, capture):
    program = subprocess.Popen([tonvela], stderr=subprocess.DEVNULL,
                               env=dict(os.environ, QT_QPA_PLATFORM="xcb"))
    window = find_window(program.pid)
    time.sleep(1.0)
    latencies = []
    for _ in range(10):
        start = time.monotonic()
        click(window, SINE)
        latency = first_sound_after(capture, start)
        if latency is not None:
            latencies.append(1000 * latency)
        time.sleep(0.4)
        click(window, CLEAR)
        time.sleep(0.4)
    results = {"latency_ms": statistics.median(latencies) if latencies else float("nan")}

    click(window, SINE)
    time.sleep(0.5)
    load = busy_processes(4)
    first = capture.index_at(time.monotonic())
    time.sleep(seconds)
    results["gaps_busy"] = gaps(capture, first, capture.index_at(time.monotonic()))

    # A continuous drag of the frequency thumb, about 100 moves a second.
    xdo("mousemove", "--window", window, THUMB_X, FREQUENCY_ROW, "mousedown", "1")
    first = capture.index_at(time.monotonic())
    end = time.monotonic() + seconds
    step = 0
    while time.monotonic() < end:
        offset = step % 40 if (step // 40) % 2 == 0 else 40 - step % 40
        xdo("mousemove", "--window", window, THUMB_X - 20 + offset, FREQUENCY_ROW)
        step += 1
        time.sleep(0.01)
    results["gaps_drag"] = gaps(capture, first, capture.index_at(time.monotonic()))
    xdo("mouseup", "1")
    for process in load:
        process.kill()
    click(window, CLEAR)
    program.terminate()
    program.wait()
    return results


def main():
    seconds = float(sys.argv[1])
    capture = Capture()
    time.sleep(0.5)
    rows = []
    for tonvela in sys.argv[2:]:
        print(f"measuring {tonvela}", file=sys.stderr)
        rows.append((tonvela, measure(tonvela, seconds, capture)))
    capture.stop()
    load = os.getloadavg()
    print(f"load average before the run's end: {load[0]:.2f} {load[1]:.2f} {load[2]:.2f}; "
          f"{seconds:g} s per condition, 4 busy processes at nice 0 on {os.cpu_count()} cores")
    print("| program | click to sound (median of 10) | gaps, busy | gaps, busy + drag |")
    print("|---|---|---|---|")
    for tonvela, r in rows:
        print(f"| {tonvela} | {r['latency_ms']:.0f} ms | {r['gaps_busy'][0]} ({r['gaps_busy'][1]:.0f} ms silent) "
              f"| {r['gaps_drag'][0]} ({r['gaps_drag'][1]:.0f} ms silent) |")


if __name__ == "__main__":
    main()
