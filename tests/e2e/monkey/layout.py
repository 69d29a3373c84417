"""Each screen's controls as designed: rectangles in twips from the top-left of the client area,
with how often the monkey aims at them. Tags say what a control does, for the walk's bookkeeping:
  exit   leaves the screen            print  starts a print job     save  may write a worksheet
  text   a text box                    drag   an activity rectangle (box or home slot)
"""

import os

TWIPS_PER_PIXEL = 15
HUBS = {"rubbish", "resources"}


class Control:
    def __init__(self, name, left, top, width, height, weight=1.0, tag="", caption=""):
        self.name, self.rect, self.weight, self.tag, self.caption = name, (left, top, width, height), weight, tag, caption

    def __repr__(self):
        return self.name


def C(*args, **kw):
    return Control(*args, **kw)


STANDARD = (12000, 9000)
CLIENT_SIZE = {"Titlefrm": (5460, 6570)}

# Main menu entries that name topics without a hub: drawn disabled.
_disabled_topics = [
    ("Label2(0)", 120, 2880), ("Label2(1)", 120, 3600), ("Label2(2)", 120, 4320), ("Label2(3)", 120, 5040),
    ("Label2(4)", 120, 5760), ("Label2(5)", 3360, 2160), ("Label2(7)", 3360, 3600), ("Label2(8)", 3360, 4320),
    ("Label2(9)", 3360, 5040), ("Label2(10)", 3360, 5760),
]

HUB = [
    C("Label3(0)", 120, 7920, 3195, 495, 3.0, caption="Multiple Choice"),
    C("Label3(1)", 3600, 7920, 3195, 495, 3.0, caption="Labelling Activity"),
    C("Label3(2)", 10560, 7920, 1245, 495, 1.4, "exit", "Exit"),
    C("Label3(3)", 7080, 7920, 3195, 495, 3.0, caption="Ordering Activity"),
    C("Label3(4)", 6360, 120, 1995, 495, 2.0, caption="Key Facts"),
    C("Label3(5)", 8640, 120, 3195, 495, 1.6, caption="Teacher's Notes"),
    C("Label1", 240, 0, 5880, 900, 0.2),
]

VIEWER = [
    C("Label3(0)", 10680, 120, 1125, 495, 0.35, "print", "Print"),
    C("Label3(1)", 10680, 7920, 1125, 495, 1.6, "exit", "Exit"),
    C("Label3(2)", 6720, 7920, 2685, 495, 2.5, caption="Next Page"),
    C("Label3(3)", 1320, 7920, 2685, 495, 1.5, caption="Previous Page"),
    C("Label1", 4200, 7920, 2295, 495, 0.3),
    C("Image1", 120, 0, 11000, 7800, 0.4),
]

ACTIVITY_BUTTONS = [
    C("Label3(0)", 10560, 7920, 1245, 495, 0.9, "exit", "Exit"),
    C("Label3(1)", 3360, 7920, 2565, 495, 0.6, caption="Start Again"),
    C("Label3(2)", 6000, 7920, 2565, 495, 2.2, caption="Check Score"),
]

# Activity items: size, then (target box, home slot) top-left corners per item.
ACTIVITIES = {
    "rubbishlab": ((1845, 375), [((8880, 2880), (3600, 2040)), ((9000, 7300), (5520, 2040)),
                                 ((4560, 7300), (5520, 2520)), ((720, 5040), (3600, 2520))]),
    "resourceslab": ((2145, 915), [((8520, 4920), (120, 5880)), ((7680, 2160), (2340, 5880)),
                                   ((7800, 720), (4560, 6840)), ((480, 2160), (120, 6840)),
                                   ((4440, 3360), (2340, 6840))]),
    "rubbishord": ((4995, 495), [((240, 3240), (960, 6780)), ((240, 1320), (6000, 7320)),
                                 ((240, 5160), (6000, 6780)), ((240, 2280), (960, 7320)),
                                 ((240, 4200), (3480, 6240))]),
    "resourcesord": ((2955, 675), [((2520, 1200), (7440, 5640)), ((2520, 2160), (7440, 6360)),
                                   ((2520, 3120), (7440, 7080)), ((5700, 1200), (4440, 5640)),
                                   ((5700, 2160), (4440, 6360)), ((5700, 3120), (1440, 6360)),
                                   ((8880, 1200), (4440, 7080)), ((8880, 2160), (1440, 5640)),
                                   ((8880, 3120), (1440, 7080))]),
}


def _activity(form):
    (w, h), items = ACTIVITIES[form]
    controls = list(ACTIVITY_BUTTONS)
    for i, ((bx, by), (sx, sy)) in enumerate(items):
        controls.append(C(f"Label1({i})", bx, by, w, h, 0.15, "drag"))
        controls.append(C(f"Label4({i})", sx, sy, w, h, 0.15, "drag"))
    return controls


def _wizard():
    controls = [
        C("Text1", 7560, 120, 4215, 375, 1.0, "text", "Worksheet title"),
        C("Label3(1)", 240, 7920, 3165, 495, 1.4, "save", "Save Worksheet"),
        C("Label3(0)", 10560, 7920, 1245, 495, 1.1, "exit", "Exit"),
        C("Label1(0)", 0, 0, 4320, 540, 0.1),
    ]
    for q in range(10):
        x0, y0 = 240 + 5880 * (q // 5), 600 + 1440 * (q % 5)
        controls.append(C(f"Text2({q})", x0, y0 + 240, 5655, 375, 0.12, "text"))
        for k in range(4):
            kc, kr = k % 2, k // 2
            controls.append(C(f"Check1({4 * q + k})", x0 + 240 + 2850 * kc, y0 + 630 + 330 * kr, 255, 315, 0.06))
            controls.append(C(f"Text3({4 * q + k})", x0 + 480 + 2880 * kc, y0 + 630 + 330 * kr, 2295, 330, 0.03,
                              "text"))
    return controls


def _catalogue():
    controls = [
        C("Check1", 120, 120, 2535, 375, 1.0, caption="Edit Worksheet"),
        C("Check2", 9240, 120, 2535, 375, 0.5, caption="Delete Worksheet"),
        C("Label2(0)", 10560, 7920, 1245, 495, 1.0, "exit", "Exit"),
        C("Label3(0)", 2640, 7920, 3195, 495, 0.5, caption="<< Previous Page"),
        C("Label3(1)", 6000, 7920, 3195, 495, 0.7, caption="Next Page >>"),
        C("Label4", 120, 7920, 1995, 495, 0.1),
    ]
    for i in range(1, 25):
        left, top = (120, 720 + 600 * (i - 1)) if i <= 12 else (6120, 720 + 600 * (i - 13))
        controls.append(C(f"Label2({i})", left, top, 5715, 375, 0.22, caption="title slot"))
    return controls


LAYOUT = {
    "Titlefrm": [
        C("Command1", 1320, 6000, 1335, 375, 8.0, caption="OK / Cancel"),
        C("Command2", 2760, 6000, 1335, 375, 0.5, "exit", "Exit"),
        C("Picture1", 300, 1200, 4800, 3600, 0.5),
        C("Label4", 60, 120, 5355, 1305, 0.2),
    ],
    "intro0": [
        C("Label2(6)", 3360, 2880, 3075, 375, 4.0, caption="Rubbish"),
        C("Label2(15)", 120, 2160, 3075, 375, 4.0, caption="Resources"),
        C("Label2(16)", 10560, 7920, 1245, 495, 0.8, "exit", "Exit"),
        C("Label2(17)", 6960, 5760, 4635, 495, 2.0, caption="Multiple Choice Wizard"),
        C("Label2(18)", 6960, 6600, 4635, 495, 2.4, caption="Worksheet Catalogue"),
        C("Label2(19)", 120, 7920, 3075, 495, 1.4, caption="Acknowledgments"),
        C("Label2(20)", 120, 1080, 3075, 495, 1.4, caption="Teachers' Guide"),
        C("Option1", 10680, 120, 1455, 255, 0.4, caption="Sound On"),
        C("Option2", 10680, 480, 1455, 255, 0.4, caption="Sound Off"),
        C("Image1", 6840, 1680, 4800, 3600, 0.3),
        C("Label1", 120, 120, 10440, 900, 0.2),
    ] + [C(n, x, y, 3075, 375, 0.15, caption="disabled topic") for n, x, y in _disabled_topics],
    "rubbish": HUB,
    "resources": HUB,
    "teacher": VIEWER,
    "guide": VIEWER,
    "multiple": [
        C("Option1(1)", 2400, 5400, 6975, 525, 1.0, caption="A"),
        C("Option1(2)", 2400, 6000, 6975, 525, 1.0, caption="B"),
        C("Option1(3)", 2400, 6600, 6975, 525, 1.0, caption="C"),
        C("Option1(4)", 2400, 7200, 6975, 525, 1.0, caption="D"),
        C("Label3(0)", 2040, 7920, 3765, 495, 0.9, caption="<< Previous Question"),
        C("Label3(1)", 6000, 7920, 3765, 495, 4.5, caption="Next Question >>"),
        C("Label3(2)", 10560, 7920, 1245, 495, 0.6, "exit", "Exit"),
        C("Label3(3)", 7920, 1920, 3045, 495, 0.2, "print", "Print Worksheet"),
        C("Picture1", 6840, 240, 4800, 1600, 0.2),
        C("Label2", 960, 3960, 9840, 1455, 0.2),
    ],
    "Welldone": [
        C("Label3(0)", 240, 1800, 3765, 495, 2.2, "first", "Check Wrong Answers / Print Certificate"),
        C("Label3(1)", 10560, 7920, 1245, 495, 1.3, "exit", "Exit"),
        C("Text1", 3120, 6600, 5760, 615, 0.8, "text", "name box"),
        C("Picture1", 5880, 1440, 4800, 3600, 0.2),
    ],
    "Wrong": [
        C("Label3(1)", 10560, 7920, 1245, 495, 2.0, "exit", "Exit"),
        C("Label2(0)", 120, 1680, 11800, 540, 0.3),
    ],
    "rubbishlab": _activity("rubbishlab"),
    "resourceslab": _activity("resourceslab"),
    "rubbishord": _activity("rubbishord"),
    "resourcesord": _activity("resourcesord"),
    "wizard": _wizard(),
    "worksheets": _catalogue(),
}


def _hub_menu_weight(count):
    return 8.0 / max(2, count)


def load_topics(source_dir):
    """Adds the topics of the source's content/topics/*.json (hub <form>, activities <form>lab and
    <form>ord, and their main menu entries); returns {hub form: question file}."""
    import glob
    import json
    quiz_files = {"rubbish": "multiple\\Rubbish.txt", "resources": "multiple\\Resources.txt"}
    paths = sorted(glob.glob(os.path.join(source_dir, "content", "topics", "*.json"))) if source_dir else []
    topics = []
    for path in paths:
        try:
            with open(path, encoding="utf-8") as f:
                topics.append(json.load(f))
        except (OSError, ValueError):
            continue
    menu = {c.name: c for c in LAYOUT["intro0"]}
    for t in topics:
        form = t.get("form")
        if not form:
            continue
        LAYOUT[form] = HUB
        HUBS.add(form)
        if t.get("questionFile"):
            quiz_files[form] = t["questionFile"]
        for kind, suffix in (("labelling", "lab"), ("ordering", "ord")):
            act = t.get(kind)
            if act and act.get("items") and act.get("itemSize"):
                ACTIVITIES[form + suffix] = (tuple(act["itemSize"]),
                                             [(tuple(i["box"]), tuple(i["slot"])) for i in act["items"]])
                LAYOUT[form + suffix] = _activity(form + suffix)
        entry = menu.get(f"Label2({t.get('menuIndex')})")
        if entry is not None:
            entry.weight = _hub_menu_weight(len(topics))
            entry.caption = t.get("title", entry.caption)
    return quiz_files


def client_size(form):
    return CLIENT_SIZE.get(form, STANDARD)


def control(form, name):
    for c in LAYOUT[form]:
        if c.name == name:
            return c
    raise KeyError(f"{form} has no control {name}")


def twips_to_pixels(v):
    return v / TWIPS_PER_PIXEL
