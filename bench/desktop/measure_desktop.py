#!/usr/bin/python3
"""The desktop program measured from outside, under an Xvfb of its own:

- start-up: process start to the dialog window mapped, and to its first correct
  picture (the first picture read back from the screen that equals the one it
  settles on), against a minimal Qt Widgets program's start to its window mapped;
- memory: resident set while the tone streams, against the minimal program's;
- a slider drag: the sine preset clicked, then the frequency slider's thumb dragged
  back and forth through real (XTest) pointer events, about 100 moves a second for
  10 s; the share of one core the program used meanwhile.

Prints a Markdown table. Sound goes to a private PulseAudio null sink when
pulseaudio is installed (so the tone really streams), else nowhere.

  measure_desktop.py TONVELA MINIMAL_QT [--runs N] [--drag-seconds S]
"""
import argparse
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display
from Xlib.ext import xtest

CLIENT_WIDTH_MIN = 100  # Qt maps small helper windows too; the dialog is larger
SINE_PRESET = (234, 23)  # a point on the sine preset button, client coordinates
# The frequency slider (control 1014): 160, 409, 143 x 10 dialog units of 7 x 12.
SLIDER_LEFT, SLIDER_RIGHT, SLIDER_MIDDLE_Y = 280, 530, 620


def start_xvfb(work):
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stderr=open(os.path.join(work, "xvfb.log"), "w"))
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            sys.exit("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return xvfb, ":" + number.decode().strip()


def start_pulseaudio(work, env):
    """A null sink and ALSA's default over it, through this run's own files."""
    if not shutil.which("pulseaudio"):
        return None
    runtime = os.path.join(work, "pulse")
    os.makedirs(runtime)
    socket = os.path.join(runtime, "native")
    pulse = subprocess.Popen(
        ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
         "--disable-shm",
         "--load=module-null-sink sink_name=nullsink rate=16000 channels=1 format=s16le",
         "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket],
        env=dict(env, XDG_RUNTIME_DIR=runtime, HOME=runtime),
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(socket):
            break
        time.sleep(0.05)
    conf = os.path.join(work, "asound.conf")
    with open(conf, "w") as f:
        f.write("pcm.!default { type pulse }\nctl.!default { type pulse }\n")
    env.update(ALSA_CONFIG_PATH=conf, PULSE_SERVER="unix:" + socket, XDG_RUNTIME_DIR=runtime)
    return pulse


class Screen:
    def __init__(self, name):
        self.display = display.Display(name)
        self.root = self.display.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.display.sync()

    def wait_for_map(self, process, timeout=20.0):
        """The dialog-sized window that `process` maps, and when it was mapped."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while self.display.pending_events():
                event = self.display.next_event()
                if event.type == X.MapNotify:
                    now = time.monotonic()
                    geometry = event.window.get_geometry()
                    if geometry.width > CLIENT_WIDTH_MIN:
                        return event.window, now
            if process.poll() is not None:
                sys.exit("the program ended before it showed a window")
            select.select([self.display.fileno()], [], [], 0.005)
        sys.exit("no window was mapped")

    def picture(self, window):
        geometry = window.get_geometry()
        return window.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap,
                                0xFFFFFFFF).data

    def origin(self, window):
        position = window.translate_coords(self.root, 0, 0)
        return -position.x, -position.y

    def move(self, x, y):
        xtest.fake_input(self.display, X.MotionNotify, x=int(x), y=int(y))
        self.display.sync()

    def button(self, pressed):
        xtest.fake_input(self.display, X.ButtonPress if pressed else X.ButtonRelease, 1)
        self.display.sync()

    def click(self, x, y):
        self.move(x, y)
        self.button(True)
        self.button(False)


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def resident_mib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return float("nan")


def stop(process):
    process.terminate()
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def start(program, env):
    started = time.monotonic()
    process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    return process, started


def first_correct_picture(screen, window, mapped, settle=1.5):
    """Seconds from `mapped` to the first picture equal to the one after `settle` s."""
    pictures = []
    while time.monotonic() - mapped < settle:
        pictures.append((time.monotonic(), hash(screen.picture(window))))
    final = pictures[-1][1]
    first = len(pictures) - 1
    while first > 0 and pictures[first - 1][1] == final:
        first -= 1
    return pictures[first][0]


def thumb_centre(screen, window):
    """The x of the slider thumb's middle: the longest run of pixels that differ from
    the trough's colour along the slider's middle row, between the arrow buttons."""
    x0, y0 = screen.origin(window)
    width = SLIDER_RIGHT - SLIDER_LEFT
    row = screen.root.get_image(x0 + SLIDER_LEFT, y0 + SLIDER_MIDDLE_Y, width, 1, X.ZPixmap,
                                0xFFFFFFFF).data
    pixels = [row[4 * i:4 * i + 3] for i in range(width)]
    trough = max(set(pixels[20:-20]), key=pixels[20:-20].count)
    best, run_start = (0, 0), None
    for i in range(18, width - 18):
        if pixels[i] != trough and run_start is None:
            run_start = i
        if (pixels[i] == trough or i == width - 19) and run_start is not None:
            if i - run_start > best[1] - best[0]:
                best = (run_start, i)
            run_start = None
    return SLIDER_LEFT + (best[0] + best[1]) // 2


def measure_tonvela(screen, program, env, drag_seconds):
    process, started = start(program, env)
    window, mapped = screen.wait_for_map(process)
    picture_at = first_correct_picture(screen, window, mapped)
    result = {"mapped": mapped - started, "picture": picture_at - started}
    if drag_seconds > 0:
        x0, y0 = screen.origin(window)
        screen.click(x0 + SINE_PRESET[0], y0 + SINE_PRESET[1])
        time.sleep(2.0)  # streaming
        result["rss"] = resident_mib(process.pid)
        before = screen.picture(window)
        centre = thumb_centre(screen, window)
        screen.move(x0 + centre, y0 + SLIDER_MIDDLE_Y)
        screen.button(True)
        moves, period = int(drag_seconds * 100), 0.01
        cpu_before, wall_before = cpu_seconds(process.pid), time.monotonic()
        for i in range(1, moves + 1):
            # Back and forth, 60 px either side of where the thumb was taken.
            phase = (i % 120) / 120.0
            offset = 240 * phase if phase < 0.5 else 240 * (1 - phase)
            screen.move(x0 + centre + offset - 60, y0 + SLIDER_MIDDLE_Y)
            next_at = wall_before + i * period
            delay = next_at - time.monotonic()
            if delay > 0:
                time.sleep(delay)
        cpu_after, wall_after = cpu_seconds(process.pid), time.monotonic()
        screen.button(False)
        time.sleep(0.3)
        result["drag_cpu"] = (cpu_after - cpu_before) / (wall_after - wall_before)
        result["drag_rate"] = moves / (wall_after - wall_before)
        result["drag_changed"] = screen.picture(window) != before
    stop(process)
    return result


def measure_minimal(screen, program, env):
    process, started = start(program, env)
    _, mapped = screen.wait_for_map(process)
    time.sleep(1.0)
    result = {"mapped": mapped - started, "rss": resident_mib(process.pid)}
    stop(process)
    return result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tonvela")
    parser.add_argument("minimal")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--drag-seconds", type=float, default=10.0)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="tonvela-desktop-")
    processes = []
    try:
        xvfb, name = start_xvfb(work)
        processes.append(xvfb)
        env = dict(os.environ, DISPLAY=name, QT_QPA_PLATFORM="xcb")
        pulse = start_pulseaudio(work, env)
        if pulse:
            processes.append(pulse)
        screen = Screen(name)

        tonvela_runs, minimal_runs = [], []
        for run in range(args.runs):  # alternating, so both see the same load
            minimal_runs.append(measure_minimal(screen, args.minimal, env))
            last = run == args.runs - 1
            tonvela_runs.append(measure_tonvela(screen, args.tonvela, env,
                                                args.drag_seconds if last else 0))
        median = lambda runs, key: statistics.median(r[key] for r in runs)
        mapped, minimal_mapped = median(tonvela_runs, "mapped"), median(minimal_runs, "mapped")
        picture = median(tonvela_runs, "picture")
        last = tonvela_runs[-1]
        print("| desktop program (Xvfb, medians of %d starts) | measured | minimal Qt program | ratio |"
              % args.runs)
        print("|---|---|---|---|")
        print("| start to window mapped | %.1f ms | %.1f ms | %.2fx |"
              % (mapped * 1e3, minimal_mapped * 1e3, mapped / minimal_mapped))
        print("| start to first correct picture | %.1f ms | | |" % (picture * 1e3))
        if "rss" in last:
            rss_minimal = statistics.median(r["rss"] for r in minimal_runs)
            print("| resident memory while streaming%s | %.1f MiB | %.1f MiB | +%.1f MiB |"
                  % ("" if pulse else " (no sound server)", last["rss"], rss_minimal,
                     last["rss"] - rss_minimal))
            print("| frequency slider dragged %.0f s at %.0f moves/s | %.1f %% of one core | | %s |"
                  % (args.drag_seconds, last["drag_rate"], 100 * last["drag_cpu"],
                     "" if last["drag_changed"] else "picture did not change: drag missed"))
    finally:
        for process in reversed(processes):
            stop(process)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
