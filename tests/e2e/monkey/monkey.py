#!/usr/bin/python3
"""A careless child at the keyboard: a seeded random walk of user actions over the real program under
a window manager, with the invariants checked after every action.

  monkey.py --bin B --data D --artifacts A --seed S --actions N     random walk
  monkey.py ... --steps FILE                                       the steps of FILE, one a line
"""

import argparse
import json
import os
import random
import shlex
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True   # leave no cache beside the sources
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import files  # noqa: E402
import layout  # noqa: E402
from xdesk import Desk  # noqa: E402

# Actions that a known, not yet mended fault turns into a certain failure; the walk can leave them out.
AVOIDABLE = {
    "backdrop-click": "clicks on the backdrop outside the screen in front",
    "wm-close": "closing a screen through the window manager (title bar close, Alt+F4)",
    "minimise": "minimising a screen",
    "maximise": "maximising a screen",
    "title-drag": "drags that start on a screen's title bar",
}

TYPED = ["a", "Tree", "xyz", "Hello there", "12", "  ", "5,000", "&", "a/b", "..", "\"q", "Rubbish", "?!", "Sam",
         "name with spaces", "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzz", "'", "-", "0", "Oak, Ash"]
TITLES = ["Our Planet", "Sheet 03 Recycling", "Rivers, seas", " Leading", "Trailing ", "a/b", "Rubbish",
          "x..y", "Trees & Woods", "\"Quoted", "Ponds", "Woodland Walk", "Sheet 12 Rivers", "recycling 2"]


class Broken(Exception):
    pass


class Program:
    """The program under test, started in the data folder; started again after a legal Exit."""

    def __init__(self, binary, data_dir, env, log_path):
        self.binary, self.data_dir, self.env, self.log_path = binary, data_dir, env, log_path
        self.proc = None
        self.starts = 0

    def start(self, desk, timeout=20):
        log = open(self.log_path, "ab")
        log.write(f"--- start {self.starts + 1}\n".encode())
        log.flush()
        self.proc = subprocess.Popen([self.binary], cwd=self.data_dir, env=self.env, stdout=log,
                                     stderr=subprocess.STDOUT, start_new_session=True)
        self.starts += 1
        end = time.time() + timeout
        while time.time() < end:
            if self.proc.poll() is not None:
                raise Broken(f"the program ended at start with status {self.proc.returncode}")
            for w in desk.windows(self.proc.pid):
                if w.role == "Titlefrm" and w.viewable:
                    time.sleep(0.2)
                    return
            time.sleep(0.05)
        raise Broken("the title screen did not appear within 20 s of starting")

    @property
    def pid(self):
        return self.proc.pid if self.proc else None

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


class View:
    """What the user sees after an action: the program's windows in stacking order, judged."""

    def __init__(self, desk, pid):
        self.pid = pid
        self.stack = desk.windows()
        self.ours = [w for w in self.stack if w.pid == pid]
        self.backdrop = next((w for w in self.ours if w.kind == "backdrop"), None)
        self.dialogs = [w for w in self.ours if w.kind == "dialog"]
        self.visible_screens = []
        for i, w in enumerate(self.stack):
            if w.pid == pid and w.kind == "screen" and w.viewable and Desk.visible_part(self.stack, i):
                self.visible_screens.append(w)
        screens_top_down = [w for w in reversed(self.ours) if w.kind == "screen" and w.viewable]
        self.top = self.visible_screens[-1] if self.visible_screens else (screens_top_down[0] if screens_top_down
                                                                           else None)
        self.dialog = next((w for w in reversed(self.dialogs) if w.viewable), None)

    def problems(self):
        out = []
        if self.backdrop is None or not self.backdrop.viewable:
            out.append("the backdrop is not shown")
        names = [w.role for w in self.visible_screens]
        if not names:
            states = ", ".join(f"{w.role} {'minimised' if w.iconic else 'shown' if w.viewable else 'unmapped'}"
                               for w in self.ours if w.kind == "screen") or "none"
            out.append(f"no screen is in front of the backdrop (screens: {states})")
        elif len(names) > 1:
            out.append("more than one screen is visible: " + ", ".join(names))
        for i, w in enumerate(self.stack):
            if w.kind != "dialog" or w.pid != self.pid:
                continue
            if not w.viewable:
                out.append(f"a message box is open but not shown ({'minimised' if w.iconic else 'unmapped'})")
            elif not Desk.visible_part(self.stack, i, skip_kinds=()):
                out.append("a message box is open but hidden behind other windows")
        return out

    def describe(self):
        return " < ".join(repr(w) for w in self.ours)


class Walk:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.desk = Desk()
        self.avoid = {a for a in args.avoid.split(",") if a}
        unknown = self.avoid - set(AVOIDABLE)
        if unknown:
            raise SystemExit(f"cannot leave out {', '.join(sorted(unknown))}: only {', '.join(AVOIDABLE)}")
        env = dict(os.environ)
        env["QT_QPA_PLATFORM"] = "xcb"
        env["HOME"] = args.home
        for k in ("XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "PRINTER", "LPDEST"):
            env.pop(k, None)
        self.quiz_files = layout.load_topics(args.source)
        self.program = Program(args.bin, args.data, env, os.path.join(args.artifacts, f"{args.name}-program.log"))
        self.log = open(os.path.join(args.artifacts, f"{args.name}.log"), "w")
        self.steps_log = open(os.path.join(args.artifacts, f"{args.name}.steps"), "w")
        self.count = 0
        self.reached = {}
        self.dialogs_seen = 0
        self.exits = 0
        self.saves = 0
        self.write_until = 0.0
        self.last_top = None
        self.fresh = False
        self.minimised = set()
        self.opened_by = None
        self.context = ""
        self.pending_set = None
        self.quiz_key = None
        self.plan = []
        self.t0 = time.time()
        self.snap_data = files.snapshot(args.data)
        self.snap_home = files.snapshot(args.home)
        self.multiple_rel = "multiple" + os.sep

    # -- logging ----------------------------------------------------------------------------------

    def note(self, text):
        self.log.write(f"{time.time() - self.t0:8.2f}  {text}\n")
        self.log.flush()

    def reach(self, name):
        if name not in self.reached:
            self.reached[name] = self.count
            self.note(f"REACHED {name}")

    # -- geometry ---------------------------------------------------------------------------------

    def form_window(self, view, form):
        for w in reversed(view.ours):
            if w.role == form and w.viewable:
                return w
        return view.top

    def control_point(self, view, form, name, fx, fy):
        """The display point at (fx, fy) of a control's designed rectangle (0 to 1 across and down)."""
        c = layout.control(form, name)
        w = self.form_window(view, form)
        if w is None:
            return None
        left, top, width, height = c.rect
        # Some designed rectangles run past the client area's edge: the point stays inside it.
        x = min(left + width * fx, layout.client_size(form)[0] - 15) / layout.TWIPS_PER_PIXEL
        y = min(top + height * fy, layout.client_size(form)[1] - 15) / layout.TWIPS_PER_PIXEL
        return int(w.client[0] + x), int(w.client[1] + y), fx, fy

    def inside(self, w, x, y):
        fx, fy, fw, fh = w.frame
        return fx <= x < fx + fw and fy <= y < fy + fh

    # -- choosing an action ------------------------------------------------------------------------

    def choose(self, view):
        """The next step, as a line of the steps format."""
        if self.plan:
            return self.plan.pop(0)
        r = self.rng.random
        top = view.top
        form = top.role if top else None
        if view.dialog is not None:
            return self.choose_for_dialog(view)
        if form and self.fresh:
            self.fresh = False
            if self.start_plan(form):
                return self.plan.pop(0)
        kinds = [("control", 52), ("dclick", 7), ("anywhere", 4.5), ("drag", 3), ("type", 6), ("Return", 3),
                 ("Escape", 3), ("Tab", 3), ("space", 1), ("altf4", 1.2), ("wmclose", 1.2), ("delete", 0.3),
                 ("iconify", 0.8), ("maximise", 0.8), ("titlebar", 0.8)]
        if form in layout.ACTIVITIES:
            kinds.append(("itemdrag", 22))
        kind = self.weighted(kinds)
        if kind in ("altf4", "wmclose", "delete") and "wm-close" in self.avoid:
            kind = "control"
        if kind == "iconify" and "minimise" in self.avoid:
            kind = "control"
        if kind == "maximise" and "maximise" in self.avoid:
            kind = "control"
        if kind == "titlebar" and "title-drag" in self.avoid:
            kind = "control"
        if form not in layout.LAYOUT:
            kind = "anywhere"
        if kind in ("control", "dclick"):
            c = self.weighted([(c, c.weight) for c in layout.LAYOUT[form]])
            if kind == "dclick" and "backdrop-click" in self.avoid and form == "intro0" and c.tag == "exit":
                kind = "control"   # its second click lands on the backdrop beside the small title screen
            verb = "click" if kind == "control" else "dclick"
            return f"{verb} {form} {c.name} {r():.2f} {r():.2f}"
        if kind == "anywhere":
            x, y = self.free_point(view)
            return f"clickat {x} {y}" + (" 2" if r() < 0.15 else "")
        if kind == "drag":
            x1, y1 = self.free_point(view, allow_title=False)
            x2, y2 = self.free_point(view)
            return f"dragat {x1} {y1} {x2} {y2}"
        if kind == "titlebar":
            return f"dragtitle top {self.rng.randint(-200, 200)} {self.rng.randint(-150, 150)}"
        if kind == "itemdrag":
            return self.item_drag(form)
        if kind == "type":
            return "type " + json.dumps(self.rng.choice(TYPED) if r() < 0.7 else self.random_text())
        if kind in ("Return", "Escape", "Tab", "space"):
            return f"key {kind}"
        if kind == "altf4":
            return "key Alt+F4"
        if kind == "wmclose":
            return "wmclose active"
        if kind == "delete":
            return "deletewindow top"
        if kind == "iconify":
            return "iconify active"
        if kind == "maximise":
            return "maximise active" if r() < 0.7 else "maximise active toggle"
        raise AssertionError(kind)

    def choose_for_dialog(self, view):
        kind = self.weighted([("Return", 36), ("Escape", 20), ("button", 22), ("inside", 4), ("outside", 8),
                              ("wmclose", 4), ("altf4", 3), ("Tab", 3), ("type", 2), ("space", 2)])
        if kind in ("wmclose", "altf4") and "wm-close" in self.avoid:
            kind = "Return"
        d = view.dialog
        cx, cy, cw, ch = d.client
        if kind == "button":
            return f"clickat {self.rng.randint(cx + cw // 3, cx + cw - 10)} {self.rng.randint(cy + ch - 38, cy + ch - 8)}"
        if kind == "inside":
            return f"clickat {self.rng.randint(cx, cx + cw - 1)} {self.rng.randint(cy, cy + ch - 1)}"
        if kind == "outside":
            x, y = self.free_point(view)
            return f"clickat {x} {y}"
        if kind == "wmclose":
            return "wmclose dialog"
        if kind == "altf4":
            return "key Alt+F4"
        if kind == "type":
            return "type " + json.dumps(self.rng.choice(TYPED))
        return f"key {kind}"

    def free_point(self, view, allow_title=True):
        """A point anywhere on the display; inside the screen in front when backdrop clicks are left out."""
        top = view.top
        for _ in range(50):
            x, y = self.rng.randrange(self.desk.width), self.rng.randrange(self.desk.height)
            if top is None:
                return x, y
            if "backdrop-click" in self.avoid and not self.inside(top, x, y):
                continue
            if not allow_title or "title-drag" in self.avoid:
                if top.frame[1] <= y < top.client[1] and self.inside(top, x, y):
                    continue
            return x, y
        cx, cy, cw, ch = top.client
        return cx + cw // 2, cy + ch // 2

    def backdrop_point(self, view):
        """A fixed point of the backdrop beside the screen in front (left of it, else above it)."""
        top = view.top
        if top is None:
            return 10, 10
        fx, fy, fw, fh = top.frame
        if fx > 20:
            return fx // 2, fy + fh // 2
        return fx + fw // 2, max(0, fy // 2)

    def item_drag(self, form):
        (w, h), items = layout.ACTIVITIES[form]
        n = len(items)
        src_item = self.rng.randrange(n)
        src = "Label4" if self.rng.random() < 0.55 else "Label1"
        r = self.rng.random()
        if r < 0.6:
            dst, dst_item = "Label1", src_item
        elif r < 0.85:
            dst, dst_item = self.rng.choice(["Label1", "Label4"]), self.rng.randrange(n)
        else:
            return f"drag {form} {src}({src_item}) - {self.rng.uniform(0, 1):.2f} {self.rng.uniform(0, 1):.2f}"
        return f"drag {form} {src}({src_item}) {dst}({dst_item})"

    def random_text(self):
        alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJ0123456789 ,&/\\\".'-?!:;()"
        return "".join(self.rng.choice(alphabet) for _ in range(self.rng.randint(1, 12)))

    def weighted(self, pairs):
        total = sum(w for _, w in pairs)
        x = self.rng.uniform(0, total)
        for item, w in pairs:
            x -= w
            if x <= 0:
                return item
        return pairs[-1][0]

    def start_plan(self, form):
        """Purposeful runs of ordinary actions, now and then, so deep screens are reached."""
        r = self.rng.random()
        if form in layout.ACTIVITIES and r < 0.3:
            n = len(layout.ACTIVITIES[form][1])
            self.plan = [f"click {form} Label3(1) 0.5 0.5"]
            self.plan += [f"drag {form} Label4({i}) Label1({i})" for i in range(n)]
            self.plan.append(f"click {form} Label3(2) 0.5 0.5")
            return True
        if form == "multiple" and self.quiz_key and r < 0.35:
            self.plan = []
            for digit in self.quiz_key:
                self.plan += [f"click multiple Option1({digit}) 0.3 0.5", "click multiple Label3(1) 0.5 0.5"]
            return True
        if form == "wizard" and self.context != "edit" and r < 0.5:
            self.plan = self.wizard_plan()
            return True
        if form == "Welldone" and r < 0.3:
            self.plan = ["click Welldone Text1 0.5 0.5", "type " + json.dumps(self.rng.choice(["Sam", "Ada Lovelace",
                                                                                             "", "x" * 30]))]
            return True
        return False

    def wizard_plan(self):
        title = self.rng.choice(TITLES)
        plan = ["click wizard Text1 0.5 0.5", "type " + json.dumps(title)]
        for q in range(10):
            plan.append(f"click wizard Text2({q}) 0.5 0.5")
            plan.append("type " + json.dumps(f"Question {q + 1}, about {title}?"))
            for k in range(4):
                plan.append(f"click wizard Text3({4 * q + k}) 0.5 0.5")
                plan.append("type " + json.dumps(f"Choice {'ABCD'[k]}{q + 1}"))
        for q in range(10):
            plan.append(f"click wizard Check1({4 * q + self.rng.randrange(4)}) 0.5 0.5")
        plan.append("click wizard Label3(1) 0.5 0.5")
        return plan

    # -- doing a step ------------------------------------------------------------------------------

    def perform(self, step, view):
        """Does one step; returns what it may legitimately cause: {'write', 'exit'}."""
        parts = shlex.split(step) if not step.startswith("type ") else ["type", json.loads(step[5:])]
        verb = parts[0]
        self.opened_by = None
        may = set()
        top = view.top
        on_title = top is not None and top.role == "Titlefrm" and view.dialog is None

        def exit_at(x, y):
            if on_title:
                p = self.control_point(view, "Titlefrm", "Command2", 0.0, 0.0)
                q = self.control_point(view, "Titlefrm", "Command2", 1.0, 1.0)
                if p and p[0] - 2 <= x <= q[0] + 2 and p[1] - 2 <= y <= q[1] + 2:
                    may.add("exit")

        if view.dialog is not None:
            may.add("write")   # the answer to a delete confirmation writes the catalogue
        if verb in ("click", "dclick") and parts[1] == "worksheets" and parts[2].startswith("Label2("):
            # In Delete mode an entry asks to confirm; the box may appear only after this step's
            # check, and the next key (Return, space) answers it: a delete may follow shortly.
            self.write_until = time.time() + 3.0
        if verb in ("click", "dclick"):
            form, name = parts[1], parts[2]
            fx, fy = (float(parts[3]), float(parts[4])) if len(parts) > 4 else (0.5, 0.5)
            p = self.control_point(view, form, name, fx, fy)
            if p is None:
                return may
            c = layout.control(form, name)
            if c.tag == "save":
                may.add("write")
            self.remember(form, c)
            self.desk.click(p[0], p[1], count=2 if verb == "dclick" else 1)
            exit_at(p[0], p[1])
        elif verb == "clickat":
            x, y = int(parts[1]), int(parts[2])
            count = int(parts[3]) if len(parts) > 3 else 1
            self.remember_at(view, x, y)
            self.desk.click(x, y, count=count)
            exit_at(x, y)
            if top is not None and top.role == "wizard":
                may.add("write")   # may land on Save Worksheet
        elif verb == "clickbackdrop":
            x, y = self.backdrop_point(view)
            self.desk.click(x, y, count=int(parts[1]) if len(parts) > 1 else 1)
        elif verb == "dragtitle":
            target = self.target(view, parts[1])
            if target is None:
                return may
            fx, fy, fw, _ = target.frame
            x1, y1 = fx + fw // 2, fy + max(1, (target.client[1] - fy) // 2)
            self.desk.drag(x1, y1, x1 + int(parts[2]), y1 + int(parts[3]))
        elif verb == "dragat":
            x1, y1, x2, y2 = map(int, parts[1:5])
            self.desk.drag(x1, y1, x2, y2)
            exit_at(x2, y2)
            if top is not None and top.role == "wizard":
                may.add("write")
        elif verb == "drag":
            form, src = parts[1], parts[2]
            p1 = self.control_point(view, form, src, 0.5, 0.5)
            if parts[3] == "-":
                w = self.form_window(view, form)
                p2 = (w.client[0] + float(parts[4]) * w.client[2], w.client[1] + float(parts[5]) * w.client[3]) \
                    if w else None
            else:
                p2 = self.control_point(view, form, parts[3], 0.5, 0.5)
            if p1 and p2:
                self.desk.drag(p1[0], p1[1], p2[0], p2[1])
        elif verb == "type":
            self.desk.type_text(parts[1])
            if on_title and " " in parts[1]:
                may.add("exit")
        elif verb == "key":
            mods = parts[1].split("+")
            self.desk.key(mods[-1], [m if m != "Alt" else "Alt_L" for m in mods[:-1]])
            if on_title and (mods[-1] in ("Return", "space", "F4")):
                may.add("exit")
            if top is not None and top.role == "wizard" and mods[-1] in ("Return", "space"):
                may.add("write")
        elif verb in ("wmclose", "deletewindow", "iconify", "maximise"):
            target = self.target(view, parts[1])
            if target is None:
                return may
            if verb == "wmclose":
                self.desk.wm_close(target.wid)
            elif verb == "deletewindow":
                self.desk.delete_window(target.wid)
            elif verb == "iconify":
                self.desk.iconify(target.wid)
            else:
                self.desk.maximise(target.wid, toggle=len(parts) > 2)
            if on_title and verb in ("wmclose", "deletewindow") and target.role == "Titlefrm":
                may.add("exit")
        elif verb == "wait":
            time.sleep(int(parts[1]) / 1000)
        else:
            raise ValueError(f"unknown step {step!r}")
        return may

    def target(self, view, which):
        if which == "dialog":
            return view.dialog
        if which == "top":
            return view.top
        if which == "active":
            active = self.desk.active_window()
            w = next((w for w in view.stack if w.wid == active), None)
            return w if w is not None else view.top
        return next((w for w in reversed(view.ours) if w.role == which), None)

    def remember_at(self, view, x, y):
        top = view.top
        if top is None or view.dialog is not None:
            return
        tx = (x - top.client[0]) * layout.TWIPS_PER_PIXEL
        ty = (y - top.client[1]) * layout.TWIPS_PER_PIXEL
        for c in layout.LAYOUT.get(top.role, []):
            left, t, w, h = c.rect
            if left <= tx < left + w and t <= ty < t + h:
                self.remember(top.role, c)
                return

    def remember(self, form, c):
        """Context for naming the screens a click opens."""
        self.opened_by = (form, c.name)
        if form in layout.HUBS and c.name == "Label3(0)" and form in self.quiz_files:
            self.pending_set = files.answer_key(os.path.join(self.args.data,
                                                             *self.quiz_files[form].replace("\\", "/").split("/")))
        elif form == "worksheets" and c.name.startswith("Label2(") and c.name != "Label2(0)":
            self.pending_set = None
        if form in layout.HUBS:
            self.context = {"Label3(4)": "Key Facts", "Label3(5)": "Teacher's Notes", "Label3(0)": form}.get(
                c.name, self.context)
        elif form == "intro0":
            self.context = {"Label2(19)": "Acknowledgments", "Label2(17)": "new"}.get(c.name, self.context)
        elif form == "worksheets":
            self.context = "edit"

    # -- checking ----------------------------------------------------------------------------------

    def check_files(self, may):
        """Problems with what was written since the last check, and with the catalogue."""
        after = files.snapshot(self.args.data, previous=self.snap_data)
        added, removed, changed = files.differences(self.snap_data, after)
        problems = []
        touched = added + changed
        if removed:
            problems.append("files removed: " + ", ".join(removed))
        outside = [p for p in touched if not p.startswith(self.multiple_rel)]
        if outside:
            problems.append("files written outside multiple/: " + ", ".join(outside))
        inside = [p for p in touched if p.startswith(self.multiple_rel)]
        if "write" in may:
            self.write_until = time.time() + 2.0
        elif time.time() < self.write_until:
            may = may | {"write"}   # a save clicked just before may land now
        if inside and "write" not in may:
            problems.append("files in multiple/ written without a save: " + ", ".join(inside))
        if inside and "write" in may:
            sheets = [p for p in inside if os.path.basename(p) != "track.txt"]
            if len(sheets) > 1:
                problems.append("one save wrote several worksheets: " + ", ".join(sheets))
            for p in sheets:
                if not p.endswith(".txt"):
                    problems.append(f"a save left {p}")
                elif os.path.basename(p).lower() in ("rubbish.txt", "resources.txt"):
                    problems.append(f"a save replaced the topic question set {p}")
                else:
                    why = files.worksheet_problem(os.path.join(self.args.data, p))
                    if why:
                        problems.append(f"saved worksheet {p}: {why}")
            if sheets:
                self.saves += 1
                self.note(f"SAVED {', '.join(sheets)}")
        if touched or removed or self.count == 0:
            problems += files.catalogue_problems(self.args.data)
        home_after = files.snapshot(self.args.home)
        h_added, h_removed, h_changed = files.differences(self.snap_home, home_after)
        ignored = (".cache/fontconfig", ".config/pulse", ".cache/mesa_shader_cache", ".cache/qtshadercache")
        home_touched = [p for p in h_added + h_changed if not p.startswith(ignored)]
        if home_touched:
            problems.append("files written in the home folder: " + ", ".join(home_touched))
        return problems, after, home_after

    def check(self, may, step):
        """Waits up to the settle time for every invariant to hold; raises Broken otherwise."""
        end = time.time() + self.args.settle
        while True:
            problems = []
            if not self.program.running():
                rc = self.program.proc.returncode
                if "exit" in may and rc == 0:
                    self.exits += 1
                    self.note("EXIT the program ended with status 0; starting it again")
                    self.program.start(self.desk)
                    self.last_top = None
                    self.reach("Titlefrm")
                    return View(self.desk, self.program.pid)
                raise Broken(f"the program ended with status {rc} after: {step}")
            view = View(self.desk, self.program.pid)
            problems += view.problems()
            file_problems, snap, home = self.check_files(may)
            problems += file_problems
            if not problems:
                self.snap_data, self.snap_home = snap, home
                return view
            if time.time() >= end:
                raise Broken("; ".join(problems) + f"\n  windows: {view.describe()}")
            time.sleep(0.05)

    # A screen opened anew starts afresh: a control its load hides is hidden, a box it starts empty is empty.
    FRESH = {("wizard", ("intro0", "Label2(17)")): ("Text1", "the title box is empty")}

    def check_fresh(self, view, form):
        want = self.FRESH.get((form, self.opened_by))
        if want is None and self.opened_by and self.opened_by[0] in layout.HUBS:
            hub, button = self.opened_by
            if form == "multiple" and button == "Label3(0)":
                want = ("Label3(0)", "<< Previous Question is hidden on question 1")
            elif form in (hub + "lab", hub + "ord") and button in ("Label3(1)", "Label3(3)"):
                want = ("Label3(2)", "Check Score is hidden")
        if want is None or view.dialog is not None:
            return
        if form in self.minimised:
            # Minimised, not closed: its button brings it back as it was, work and all.
            self.minimised.discard(form)
            return
        name, meaning = want
        left, top, width, height = layout.control(form, name).rect
        end = time.time() + self.args.settle
        while True:
            w = self.form_window(view, form)
            x = w.client[0] + (left + 0.05 * width) / layout.TWIPS_PER_PIXEL
            y = w.client[1] + (top + 0.25 * height) / layout.TWIPS_PER_PIXEL
            n = self.desk.colours(x, y, 0.9 * width / layout.TWIPS_PER_PIXEL, 0.5 * height / layout.TWIPS_PER_PIXEL)
            if n == 1:
                return
            if time.time() >= end:
                raise Broken(f"{form} opened again as it was left: {meaning} when it opens "
                             f"({n} colours in {name})")
            time.sleep(0.05)
            view = View(self.desk, self.program.pid)

    def observe(self, view):
        # Screens the pupil minimised and has not closed since.
        shown = {w.role for w in view.ours if w.kind == "screen"}
        self.minimised = {role for role in self.minimised if role in shown}
        self.minimised |= {w.role for w in view.ours if w.kind == "screen" and w.iconic}
        top = view.top.role if view.top else None
        if view.dialog is not None:
            self.dialogs_seen += 1
            self.reach("message box")
        if top and top != self.last_top:
            name = top
            if top == "teacher":
                known = ("Key Facts", "Teacher's Notes", "Acknowledgments")
                name = f"teacher ({self.context})" if self.context in known else "teacher"
            elif top == "multiple":
                name = f"multiple ({'topic ' + self.context if self.context in layout.HUBS else 'worksheet'})"
                self.quiz_key = self.pending_set
            elif top == "wizard":
                name = f"wizard ({'edit' if self.context == 'edit' else 'new'})"
            self.reach(name)
            self.note(f"SCREEN {name}")
            self.fresh = True
            self.check_fresh(view, top)
        self.last_top = top

    # -- running ---------------------------------------------------------------------------------

    def wait_ms(self):
        r = self.rng.random()
        if r < 0.65:
            return self.rng.randint(0, 30)
        if r < 0.93:
            return self.rng.randint(30, 150)
        return self.rng.randint(150, 500)

    def run(self, steps=None):
        self.program.start(self.desk)
        self.reach("Titlefrm")
        view = self.check(set(), "start")
        total = len(steps) if steps is not None else self.args.actions
        pace = 150   # the wait after each step of a steps file, until a "pace MS" step
        try:
            while self.count < total:
                if steps is not None:
                    step = steps[self.count]
                    if step.startswith("expect "):
                        self.expect(step, view)
                        self.count += 1
                        continue
                    if step.startswith("pace "):
                        pace = int(step.split()[1])
                        self.count += 1
                        continue
                    wait = pace if not step.startswith("wait") else 0
                else:
                    step = self.choose(view)
                    wait = self.wait_ms()
                self.count += 1
                before = view.top.role if view.top else "-"
                self.note(f"#{self.count} [{before}{' +box' if view.dialog else ''}] {step}  (wait {wait} ms)")
                self.steps_log.write(f"{step}\n")
                self.steps_log.flush()
                may = self.perform(step, view)
                time.sleep(wait / 1000)
                view = self.check(may, step)
                self.observe(view)
        except Broken as e:
            self.note(f"BROKEN after action {self.count}: {e}")
            self.failure(str(e))
            return False
        finally:
            self.program.stop()
        return True

    def expect(self, step, view):
        parts = step.split()
        for _ in range(20):
            view = View(self.desk, self.program.pid)
            got = view.top.role if view.top else None
            if parts[1] == "top" and got == parts[2]:
                return
            if parts[1] == "box" and (view.dialog is not None) == (parts[2] == "yes"):
                return
            time.sleep(0.05)
        raise Broken(f"{step}: the screen in front is {got}, message box {'shown' if view.dialog else 'none'}")

    def failure(self, message):
        shot = os.path.join(self.args.artifacts, f"{self.args.name}-failure.png")
        subprocess.run(["import", "-window", "root", shot], stderr=subprocess.DEVNULL, check=False)
        self.failure_text = message
        self.shot = shot

    def summary(self, ok):
        took = time.time() - self.t0
        lines = [
            f"{self.args.name}: seed {self.args.seed}, {self.count} actions in {took:.0f} s, "
            f"{self.program.starts} program start(s), {self.exits} exit(s) by the title screen, "
            f"{self.dialogs_seen} message box checks, {self.saves} worksheet save(s)",
            "screens reached: " + ", ".join(sorted(self.reached)),
            "broken invariants: " + ("none" if ok else self.failure_text),
        ]
        return "\n".join(lines)


def read_steps(path, block=None):
    """The steps of a file, or of the block headed [block] in it (up to the next header)."""
    steps, inside = [], block is None
    with open(path) as f:
        for line in f:
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                inside = block is not None and line[1:-1] == block
                continue
            if inside and line and not line.startswith("#") and not line.startswith("known:"):
                steps.append(line)
    if not steps:
        raise SystemExit(f"no steps in {path}" + (f" [{block}]" if block else ""))
    return steps


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", required=True)
    ap.add_argument("--data", required=True)
    ap.add_argument("--home", required=True)
    ap.add_argument("--artifacts", required=True)
    ap.add_argument("--name", default="monkey")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--actions", type=int, default=3000)
    ap.add_argument("--settle", type=float, default=1.0)
    ap.add_argument("--avoid", default="")
    ap.add_argument("--source", default=os.environ.get("TERRAVALE_SOURCE", ""),
                    help="the source tree, whose topic files give the hubs and activities")
    ap.add_argument("--steps", help="a file of steps to run instead of the random walk")
    ap.add_argument("--scenario", help="with --steps: run only the block headed [NAME] of the file")
    ap.add_argument("--make-catalogue", type=int, default=0, help="write this many worksheets first")
    args = ap.parse_args()
    os.makedirs(args.artifacts, exist_ok=True)
    os.makedirs(args.home, exist_ok=True)
    if args.make_catalogue:
        files.make_catalogue(args.data, args.make_catalogue)
    walk = Walk(args)
    steps = None
    if args.steps:
        steps = read_steps(args.steps, args.scenario)
    ok = walk.run(steps)
    print(walk.summary(ok))
    if not ok:
        print(f"action log: {walk.log.name}\nsteps: {walk.steps_log.name}\nscreenshot: {walk.shot}")
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
