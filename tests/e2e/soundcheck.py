#!/usr/bin/python3
"""Clicks the running program's buttons with XTest and listens to what the default sink plays.

    soundcheck.py clicks   --pid P --count N [--interval S] [--silent]
    soundcheck.py quizzes  --pid P --count N --key 1,3,2,... [--silent]

clicks: the quiz screen is on question 2; "Next Question >>" and "<< Previous Question" are
pressed in turn so the quiz walks between questions 2 and 9, one press every S seconds. Each
press must be followed by a click in the recording (or, with --silent, by nothing); the onset is
the time from the press to the first sample of the click.

quizzes: the quiz screen is on question 1 of the set whose answer key is given; each quiz is
answered right, its reward clip must be heard (or, with --silent, nothing at all), then the
results screen's "Exit" and the hub's "Multiple Choice" start the next one.

Recording time is related to press time by the arrival of the samples: parec delivers the monitor
of the default sink in small pieces, each read is time-stamped, and the sample count read so far
gives, read by read, the wall-clock time of sample 0. The median of those estimates around a press
is used, so a sample's time is when such samples typically reach this script, never earlier: an
onset is measured from the press to the click reaching the recorder.

SOUNDCHECK_DUMP=/tmp/x keeps the clicks' recording (/tmp/x.raw, mono s16le 44100 Hz) and the press
and read times (/tmp/x.txt) for a closer look.
"""
import argparse
import os
import statistics
import subprocess
import sys
import threading
import time
from array import array

from Xlib import X, display as xdisplay, error as xerror
from Xlib.ext import xtest

RATE = 44100
THRESHOLD = 328          # 0.01 of full scale, as lib.sh's e2e_heard
CLICK_LENGTH = 0.30      # wav\click.wav lasts 0.3 s

# Twip positions of the buttons used (left + width / 2, top + height / 2).
QUIZ_PREVIOUS = (2040 + 1882, 7920 + 247)
QUIZ_NEXT = (6000 + 1882, 7920 + 247)
QUIZ_OPTION = [(2550, 5400 + 600 * i + 262) for i in range(4)]
RESULTS_EXIT = (11180, 8160)
HUB_MULTIPLE_CHOICE = (1710, 8160)


class Recorder:
    """parec on the default sink's monitor, mono, read as it grows."""

    def __init__(self):
        sink = subprocess.run(["pactl", "get-default-sink"], capture_output=True, text=True).stdout.strip()
        self.proc = subprocess.Popen(
            ["parec", "--latency-msec=10", "-d", (sink or "terravale_null") + ".monitor", "--raw",
             "--format=s16le", "--rate=%d" % RATE, "--channels=1"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.samples = array("h")
        self.reads = []          # (wall time of a read, wall time of sample 0 it implies)
        self.lock = threading.Lock()
        self.pending = b""
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()
        self.wait_for(time.monotonic() + 0.3)

    def _read(self):
        fd = self.proc.stdout.fileno()
        while True:
            data = os.read(fd, 65536)
            now = time.monotonic()
            if not data:
                return
            data = self.pending + data
            whole = len(data) // 2 * 2
            self.pending = data[whole:]
            with self.lock:
                self.samples.frombytes(data[:whole])
                self.reads.append((now, now - len(self.samples) / RATE))

    def stop(self):
        self.proc.terminate()
        self.proc.wait()

    def origin(self, around):
        """Wall-clock time of sample 0, from the reads within 5 s of `around`."""
        with self.lock:
            near = [o for t, o in self.reads if abs(t - around) <= 5]
            if not near:
                near = [o for _, o in self.reads]
        return statistics.median(near)

    def index(self, t, origin):
        return max(0, int((t - origin) * RATE))

    def wait_for(self, t, timeout=10):
        """Waits until the recording holds the samples up to wall-clock time t."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            with self.lock:
                if self.reads and self.reads[-1][0] >= t + 0.03:
                    return True
            time.sleep(0.01)
        return False

    def first_sound(self, start, end):
        """Wall-clock time of the first sample louder than the threshold between start and end."""
        origin = self.origin(start)
        a, b = self.index(start, origin), self.index(end, origin)
        with self.lock:
            piece = self.samples[a:b]
        block = 44
        for i in range(0, len(piece), block):
            if max(map(abs, piece[i:i + block])) > THRESHOLD:
                for j in range(i, min(i + block, len(piece))):
                    if abs(piece[j]) > THRESHOLD:
                        return origin + (a + j) / RATE
        return None

    def wait_quiet(self, quiet, timeout=8):
        """Waits until the last `quiet` seconds of the recording hold no sound."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            now = time.monotonic()
            self.wait_for(now)
            if self.first_sound(now - quiet, now) is None:
                return True
            time.sleep(0.05)
        return False

    def peak(self, start, end):
        origin = self.origin(start)
        a, b = self.index(start, origin), self.index(end, origin)
        with self.lock:
            piece = self.samples[a:b]
        return max(map(abs, piece), default=0) / 32768


class Screen:
    """The program's windows, found by their role (the form name), and XTest clicks."""

    def __init__(self, pid):
        self.d = xdisplay.Display()
        self.root = self.d.screen().root
        self.pid = pid
        self.role = self.d.intern_atom("WM_WINDOW_ROLE")
        self.wm_pid = self.d.intern_atom("_NET_WM_PID")

    def _windows(self, window):
        try:
            children = window.query_tree().children
        except xerror.XError:
            return
        for child in children:
            yield child
            yield from self._windows(child)

    def find(self, form):
        for w in self._windows(self.root):
            try:
                role = w.get_full_property(self.role, X.AnyPropertyType)
                if not role or role.value.decode(errors="replace") != form:
                    continue
                owner = w.get_full_property(self.wm_pid, X.AnyPropertyType)
                if owner and owner.value[0] != self.pid:
                    continue
                if w.get_attributes().map_state != X.IsViewable:
                    continue
                origin = self.root.translate_coords(w, 0, 0)
                return origin.x, origin.y
            except xerror.XError:
                continue
        return None

    def wait(self, form, timeout=10):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            origin = self.find(form)
            if origin:
                return origin
            time.sleep(0.02)
        sys.exit("FAIL: window %s did not appear" % form)

    def wait_gone(self, form, timeout=10):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not self.find(form):
                return
            time.sleep(0.02)
        sys.exit("FAIL: window %s did not go away" % form)

    def point(self, origin, twips):
        return origin[0] + twips[0] // 15, origin[1] + twips[1] // 15

    def move(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        self.d.sync()

    def press(self):
        """Clicks where the pointer is; returns the time just before the press was sent."""
        t = time.monotonic()
        xtest.fake_input(self.d, X.ButtonPress, 1)
        xtest.fake_input(self.d, X.ButtonRelease, 1)
        self.d.sync()
        return t

    def click(self, origin, twips, settle=0.03):
        self.move(*self.point(origin, twips))
        time.sleep(settle)
        return self.press()


def dump(path, rec, presses):
    """Keeps the recording and the press times (in samples) for a closer look."""
    origin = rec.origin(presses[0])
    with rec.lock:
        rec.samples.tofile(open(path + ".raw", "wb"))
        reads = list(rec.reads)
    with open(path + ".txt", "w") as out:
        for p in presses:
            out.write("press %d\n" % rec.index(p, origin))
        for t, o in reads:
            out.write("read %.6f %.6f\n" % (t - presses[0], o - origin))


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100 * (len(ordered) - 1))))]


def run_clicks(args, screen, rec):
    origin = screen.wait("multiple")
    buttons = {+1: screen.point(origin, QUIZ_NEXT), -1: screen.point(origin, QUIZ_PREVIOUS)}
    question, step, presses = 2, +1, []
    screen.move(*buttons[step])
    start = time.monotonic() + 0.3
    for k in range(args.count):
        if question + step < 2 or question + step > 9:
            step = -step
            time.sleep(0.1)   # leave the button only after the click has been taken
            screen.move(*buttons[step])
        delay = start + k * args.interval - time.monotonic()
        if delay > 0:
            time.sleep(delay)
        presses.append(screen.press())
        question += step
    rec.wait_for(presses[-1] + args.interval)
    if os.environ.get("SOUNDCHECK_DUMP"):
        dump(os.environ["SOUNDCHECK_DUMP"], rec, presses)
    onsets = []
    missed = []
    for k, p in enumerate(presses):
        heard = rec.first_sound(p, p + args.interval - 0.05)
        if heard is None:
            missed.append(k + 1)
        else:
            onsets.append((heard - p) * 1000)
    late = max(presses[k + 1] - presses[k] for k in range(len(presses) - 1)) if len(presses) > 1 else 0
    print("clicks: %d presses over %.1f s (longest gap between presses %.0f ms)"
          % (len(presses), presses[-1] - presses[0], late * 1000))
    if args.silent:
        print("clicks with sound off: %d of %d followed by sound" % (len(onsets), len(presses)))
        return 1 if onsets else 0
    print("clicks heard: %d of %d played" % (len(onsets), len(presses)))
    if missed:
        print("  silent after presses %s" % ", ".join(map(str, missed[:40])))
    if onsets:
        print("click onset, press to sound: median %.1f ms, 90th percentile %.1f ms, min %.1f ms, max %.1f ms"
              % (statistics.median(onsets), percentile(onsets, 90), min(onsets), max(onsets)))
    ok = not missed and onsets and statistics.median(onsets) <= args.max_median_ms
    if onsets and statistics.median(onsets) > args.max_median_ms:
        print("FAIL: median onset above %.0f ms" % args.max_median_ms)
    if missed:
        print("FAIL: %d clicks not heard" % len(missed))
    return 0 if ok else 1


def run_quizzes(args, screen, rec):
    key = [int(k) for k in args.key.split(",")]
    heard, loud = 0, 0.0
    for quiz in range(args.count):
        origin = screen.wait("multiple")
        # The last reward may still sound: each quiz starts in silence.
        if not args.silent and not rec.wait_quiet(0.2):
            print("FAIL: the recording never went quiet before quiz %d" % (quiz + 1))
            return 1
        begin = time.monotonic()
        for n in range(10):
            screen.click(origin, QUIZ_OPTION[key[n] - 1])
            time.sleep(0.04)
            check = screen.click(origin, QUIZ_NEXT)
            time.sleep(0.04)
        results = screen.wait("Welldone")
        if args.silent:
            rec.wait_for(check + 3.5)
            loud = max(loud, rec.peak(begin, check + 3.5))
        else:
            # The click of "Check Score >>" is over after CLICK_LENGTH; what sounds later is the reward.
            found, deadline = None, check + 4.0
            while found is None and time.monotonic() < deadline + 0.1:
                time.sleep(0.05)
                now = min(time.monotonic(), deadline)
                rec.wait_for(now)
                found = rec.first_sound(check + CLICK_LENGTH + 0.05, now)
            if found is None:
                print("FAIL: no reward clip heard after quiz %d" % (quiz + 1))
            else:
                heard += 1
        screen.click(results, RESULTS_EXIT)
        screen.wait_gone("Welldone")
        hub = screen.wait("rubbish")
        screen.click(hub, HUB_MULTIPLE_CHOICE)
    screen.wait("multiple")
    if args.silent:
        print("quizzes with sound off: %d, loudest sample %.4f" % (args.count, loud))
        return 0 if loud * 32768 <= THRESHOLD else 1
    print("reward clips heard: %d of %d quizzes" % (heard, args.count))
    return 0 if heard == args.count else 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["clicks", "quizzes"])
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--count", type=int, default=200)
    parser.add_argument("--interval", type=float, default=0.5)
    parser.add_argument("--max-median-ms", type=float, default=60)
    parser.add_argument("--key", default="")
    parser.add_argument("--silent", action="store_true")
    args = parser.parse_args()
    screen = Screen(args.pid)
    rec = Recorder()
    try:
        status = (run_clicks if args.mode == "clicks" else run_quizzes)(args, screen, rec)
    finally:
        rec.stop()
    sys.exit(status)


if __name__ == "__main__":
    main()
