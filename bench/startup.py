#!/usr/bin/python3
"""Start-up of the program against an empty Qt window, timed by the X server's map events.

    startup.py --program BIN --empty BIN --data DIR [--runs N]

A start is timed from just before the process is launched to the moment this client reads the
MapNotify of the process's windows: its first window (the backdrop) and the title screen
("Titlefrm") for the program, the only window for the empty one. New top-level windows are learnt
from CreateNotify on the root window (with or without a window manager they are created there) and
watched for their own MapNotify, so a window manager's reparenting makes no difference. The two
are started in turn, after one unmeasured start of each. Then the program is started once more,
its "OK" clicked where the title screen really is, and its peak memory read with the menu shown.
Every wait has a time limit.
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

from Xlib import X, display as xdisplay, error as xerror
from Xlib.ext import xtest

MAP_LIMIT = 30.0     # seconds a start may take before the run is given up
EXIT_LIMIT = 5.0


class Watcher:
    def __init__(self):
        self.d = xdisplay.Display()
        self.root = self.d.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.d.sync()
        self.role_atom = self.d.intern_atom("WM_WINDOW_ROLE")
        self.pid_atom = self.d.intern_atom("_NET_WM_PID")
        self.mapped = {}     # window -> monotonic time its MapNotify was read

    def window_manager(self):
        check = self.root.get_full_property(self.d.intern_atom("_NET_SUPPORTING_WM_CHECK"), X.AnyPropertyType)
        if not check:
            return None
        try:
            w = self.d.create_resource_object("window", check.value[0])
            name = w.get_full_property(self.d.intern_atom("_NET_WM_NAME"), X.AnyPropertyType)
            return name.value.decode(errors="replace") if name else "unnamed"
        except xerror.XError:
            return None

    def reset(self):
        self._pump(0)
        self.mapped = {}

    def _pump(self, wait):
        """Reads the events that arrive within `wait` seconds, time-stamping each read.

        Events a round trip (a property read) took in are already queued: they are handled at
        once, not after waiting on a socket that has nothing more to say."""
        if not self.d.pending_events():
            select.select([self.d.fileno()], [], [], max(0.0, wait))
        now = time.monotonic()
        for _ in range(self.d.pending_events()):
            event = self.d.next_event()
            if event.type == X.CreateNotify:
                self._watch(event.window, now)
            elif event.type == X.MapNotify:
                self.mapped.setdefault(event.window.id, now)

    def _watch(self, window, now):
        try:
            window.change_attributes(event_mask=X.StructureNotifyMask)
            # Mapped before we asked to hear of it: seen now.
            if window.get_attributes().map_state == X.IsViewable:
                self.mapped.setdefault(window.id, now)
        except xerror.XError:
            pass

    def _owner(self, wid):
        try:
            w = self.d.create_resource_object("window", wid)
            pid = w.get_full_property(self.pid_atom, X.AnyPropertyType)
            role = w.get_full_property(self.role_atom, X.AnyPropertyType)
            return (pid.value[0] if pid else None,
                    role.value.decode(errors="replace") if role else None, w)
        except xerror.XError:
            return None, None, None

    def wait_map(self, proc, role, limit=MAP_LIMIT):
        """Time the window of `proc` with `role` (any role if None) was mapped, and the window."""
        deadline = time.monotonic() + limit
        while True:
            for wid, seen in sorted(self.mapped.items(), key=lambda item: item[1]):
                pid, wrole, w = self._owner(wid)
                if pid == proc.pid and (role is None or wrole == role):
                    return seen, w
            if proc.poll() is not None:
                raise RuntimeError("the process ended (status %s) before its window was mapped" % proc.returncode)
            left = deadline - time.monotonic()
            if left <= 0:
                raise RuntimeError("no %s window mapped within %.0f s" % (role or "", limit))
            self._pump(min(left, 0.5))

    def click(self, window, x, y):
        origin = self.root.translate_coords(window, 0, 0)
        xtest.fake_input(self.d, X.MotionNotify, x=origin.x + x, y=origin.y + y)
        self.d.sync()
        time.sleep(0.05)
        xtest.fake_input(self.d, X.ButtonPress, 1)
        xtest.fake_input(self.d, X.ButtonRelease, 1)
        self.d.sync()


def stop(proc):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(EXIT_LIMIT)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def timed_start(watcher, argv, cwd, role, log):
    """Milliseconds from launch to the process's first window mapped, and to its `role` window."""
    watcher.reset()
    start = time.monotonic()
    proc = subprocess.Popen(argv, cwd=cwd, stdout=log, stderr=log)
    try:
        first, _ = watcher.wait_map(proc, None)
        seen, _ = watcher.wait_map(proc, role) if role else (first, None)
        return (first - start) * 1000, (seen - start) * 1000
    finally:
        stop(proc)


def summary(what, times):
    return "%s: median %.0f ms over %d runs (%s)" % (
        what, statistics.median(times), len(times), " ".join("%.0f" % t for t in times))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--empty", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--runs", type=int, default=15)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="terravale-startup.")
    try:
        data = os.path.join(work, "data")
        shutil.copytree(args.data, data)
        log = open(os.path.join(work, "log.txt"), "ab")
        watcher = Watcher()
        print("window manager: %s" % (watcher.window_manager() or "none"))

        timed_start(watcher, [args.program], data, "Titlefrm", log)     # unmeasured: caches warm
        timed_start(watcher, [args.empty], data, None, log)
        first, title, empty = [], [], []
        for _ in range(args.runs):
            f, t = timed_start(watcher, [args.program], data, "Titlefrm", log)
            first.append(f)
            title.append(t)
            empty.append(timed_start(watcher, [args.empty], data, None, log)[0])
        e = statistics.median(empty)
        print(summary("start to the program's first window mapped (the backdrop)", first))
        print(summary("start to title screen mapped", title))
        print(summary("start to empty Qt window mapped", empty))
        print("ratio first window / empty window: %.2f" % (statistics.median(first) / e))
        print("ratio title screen / empty window: %.2f" % (statistics.median(title) / e))

        watcher.reset()
        proc = subprocess.Popen([args.program], cwd=data, stdout=log, stderr=log)
        try:
            _, title = watcher.wait_map(proc, "Titlefrm")
            time.sleep(0.3)
            watcher.click(title, 1900 // 15, 6150 // 15)     # "OK"
            watcher.wait_map(proc, "intro0", 10)
            time.sleep(0.5)
            with open("/proc/%d/status" % proc.pid) as status:
                hwm = next(line.split(":", 1)[1].strip() for line in status if line.startswith("VmHWM"))
            print("peak memory with the menu shown: %s" % hwm)
        finally:
            stop(proc)
    except RuntimeError as failure:
        sys.exit("startup: %s" % failure)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
