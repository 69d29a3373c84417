"""The X display as a user and a window manager see it: windows in stacking order, their roles,
map states and frames; pointer and key input through XTest; window-manager requests."""

import time

from Xlib import X, XK, Xatom, display, error
from Xlib.ext import xtest
from Xlib.protocol import event

BACKDROP = "Grey"

# Keys a careless child presses, by name, and the keysyms of typed characters.
SPECIAL_KEYS = {"Return", "Escape", "Tab", "BackSpace", "space", "Delete", "Left", "Right", "Up", "Down", "F4"}


class Win:
    """One top-level client window as the window manager lists it."""

    def __init__(self, wid, role, pid, kind, viewable, iconic, frame, client):
        self.wid = wid
        self.role = role          # the form name, "Grey", or "" for other windows
        self.pid = pid
        self.kind = kind          # "screen", "backdrop", "dialog" or "other"
        self.viewable = viewable  # mapped and not iconified
        self.iconic = iconic
        self.frame = frame        # (x, y, w, h) on the display, decorations included
        self.client = client      # (x, y, w, h) of the client area on the display

    def name(self):
        return self.role or ("message box" if self.kind == "dialog" else hex(self.wid))

    def __repr__(self):
        state = "viewable" if self.viewable else ("iconic" if self.iconic else "unmapped")
        return f"{self.name()}[{hex(self.wid)} {state} frame={self.frame}]"


def subtract(rects, cut):
    """The parts of rectangles rects (x, y, w, h) not covered by rectangle cut."""
    cx, cy, cw, ch = cut
    out = []
    for x, y, w, h in rects:
        if cx >= x + w or cx + cw <= x or cy >= y + h or cy + ch <= y:
            out.append((x, y, w, h))
            continue
        top = max(y, cy)
        bottom = min(y + h, cy + ch)
        if cy > y:
            out.append((x, y, w, cy - y))
        if cy + ch < y + h:
            out.append((x, cy + ch, w, y + h - cy - ch))
        if cx > x:
            out.append((x, top, cx - x, bottom - top))
        if cx + cw < x + w:
            out.append((cx + cw, top, x + w - cx - cw, bottom - top))
    return [r for r in out if r[2] > 0 and r[3] > 0]


class Desk:
    def __init__(self):
        self.d = display.Display()
        self.root = self.d.screen().root
        self.width = self.d.screen().width_in_pixels
        self.height = self.d.screen().height_in_pixels
        a = self.d.intern_atom
        self.A = {n: a(n) for n in (
            "_NET_CLIENT_LIST_STACKING", "_NET_CLIENT_LIST", "WM_WINDOW_ROLE", "_NET_WM_PID", "_NET_WM_WINDOW_TYPE",
            "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN", "WM_STATE", "_NET_FRAME_EXTENTS",
            "_NET_ACTIVE_WINDOW", "_NET_CLOSE_WINDOW", "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_CHANGE_STATE",
            "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ", "_NET_SUPPORTING_WM_CHECK",
            "WM_TRANSIENT_FOR", "UTF8_STRING", "_NET_WM_NAME")}

    # -- reading the desk ------------------------------------------------------------------------

    def wm_running(self):
        try:
            p = self.root.get_full_property(self.A["_NET_SUPPORTING_WM_CHECK"], Xatom.WINDOW)
            return bool(p and p.value)
        except error.XError:
            return False

    def _prop(self, w, atom, kind=X.AnyPropertyType):
        p = w.get_full_property(atom, kind)
        return p.value if p else None

    def _info(self, wid):
        # Read afresh each time: a window id freed by the program is soon given to its next window.
        w = self.d.create_resource_object("window", wid)
        role = self._prop(w, self.A["WM_WINDOW_ROLE"], Xatom.STRING)
        role = role.decode("latin-1") if isinstance(role, bytes) else (role or "")
        pid = self._prop(w, self.A["_NET_WM_PID"], Xatom.CARDINAL)
        pid = int(pid[0]) if pid is not None and len(pid) else 0
        types = self._prop(w, self.A["_NET_WM_WINDOW_TYPE"], Xatom.ATOM)
        transient = self._prop(w, self.A["WM_TRANSIENT_FOR"], Xatom.WINDOW)
        if role == BACKDROP:
            kind = "backdrop"
        elif role:
            kind = "screen"   # every screen names its form in its role
        elif (types is not None and self.A["_NET_WM_WINDOW_TYPE_DIALOG"] in list(types)) or transient is not None:
            kind = "dialog"
        else:
            kind = "other"
        return w, role, pid, kind

    def windows(self, pid=None):
        """Client windows bottom to top; only those of process pid when given."""
        try:
            ids = self._prop(self.root, self.A["_NET_CLIENT_LIST_STACKING"], Xatom.WINDOW)
        except error.XError:
            ids = None
        if ids is None:
            return []
        out = []
        for wid in list(ids):
            try:
                w, role, wpid, kind = self._info(wid)
                if pid is not None and wpid != pid:
                    continue
                mapped = w.get_attributes().map_state == X.IsViewable
                state = self._prop(w, self.A["WM_STATE"])
                iconic = bool(state is not None and len(state) and state[0] == 3)
                geo = w.get_geometry()
                pos = w.translate_coords(self.root, 0, 0)
                cx, cy = -pos.x, -pos.y
                ext = self._prop(w, self.A["_NET_FRAME_EXTENTS"], Xatom.CARDINAL)
                left, right, top, bottom = (list(ext) + [0, 0, 0, 0])[:4] if ext is not None else (0, 0, 0, 0)
                frame = (cx - left, cy - top, geo.width + left + right, geo.height + top + bottom)
                out.append(Win(wid, role, wpid, kind, mapped and not iconic, iconic, frame,
                               (cx, cy, geo.width, geo.height)))
            except (error.XError, error.BadWindow, error.BadDrawable, AttributeError):
                continue
        return out

    def colours(self, x, y, w, h):
        """The number of distinct colours in a rectangle of the display (1 for a plain area)."""
        try:
            data = self.root.get_image(int(x), int(y), max(1, int(w)), max(1, int(h)), X.ZPixmap, 0xFFFFFFFF).data
        except error.XError:
            return 0
        if isinstance(data, str):
            data = data.encode("latin-1")
        return len({data[i:i + 3] for i in range(0, len(data), 4)})

    def active_window(self):
        try:
            v = self._prop(self.root, self.A["_NET_ACTIVE_WINDOW"], Xatom.WINDOW)
            return int(v[0]) if v is not None and len(v) and v[0] else 0
        except error.XError:
            return 0

    @staticmethod
    def visible_part(stack, index, skip_kinds=("dialog",)):
        """Rectangles of stack[index]'s frame not covered by viewable windows above it."""
        parts = [stack[index].frame]
        for above in stack[index + 1:]:
            if above.viewable and above.kind not in skip_kinds:
                parts = subtract(parts, above.frame)
                if not parts:
                    break
        return parts

    # -- input -------------------------------------------------------------------------------------

    def sync(self):
        self.d.sync()

    def move(self, x, y):
        x = max(0, min(self.width - 1, int(x)))
        y = max(0, min(self.height - 1, int(y)))
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        self.d.sync()

    def button(self, b, down):
        xtest.fake_input(self.d, X.ButtonPress if down else X.ButtonRelease, b)
        self.d.sync()

    def click(self, x, y, b=1, count=1):
        self.move(x, y)
        time.sleep(0.006)
        for i in range(count):
            self.button(b, True)
            time.sleep(0.006)
            self.button(b, False)
            if i + 1 < count:
                time.sleep(0.06)

    def drag(self, x1, y1, x2, y2, steps=6, b=1):
        self.move(x1, y1)
        time.sleep(0.01)
        self.button(b, True)
        for i in range(1, steps + 1):
            time.sleep(0.008)
            self.move(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps)
        time.sleep(0.015)
        self.button(b, False)

    def _keycode(self, keysym):
        for code, index in self.d.keysym_to_keycodes(keysym):
            if index in (0, 1):
                return code, index == 1
        return None, False

    def key(self, name, mods=()):
        """Presses a named key (Return, Escape, F4, ...) with modifier names (Alt_L, Shift_L)."""
        code, _ = self._keycode(XK.string_to_keysym(name))
        if code is None:
            return
        mod_codes = [self._keycode(XK.string_to_keysym(m))[0] for m in mods]
        for m in mod_codes:
            xtest.fake_input(self.d, X.KeyPress, m)
        xtest.fake_input(self.d, X.KeyPress, code)
        xtest.fake_input(self.d, X.KeyRelease, code)
        for m in reversed(mod_codes):
            xtest.fake_input(self.d, X.KeyRelease, m)
        self.d.sync()

    def type_text(self, text, delay=0.004):
        shift, _ = self._keycode(XK.string_to_keysym("Shift_L"))
        for ch in text:
            code, shifted = self._keycode(ord(ch))
            if code is None:
                continue
            if shifted:
                xtest.fake_input(self.d, X.KeyPress, shift)
            xtest.fake_input(self.d, X.KeyPress, code)
            xtest.fake_input(self.d, X.KeyRelease, code)
            if shifted:
                xtest.fake_input(self.d, X.KeyRelease, shift)
            self.d.sync()
            time.sleep(delay)

    # -- the window manager ------------------------------------------------------------------------

    def _root_message(self, wid, atom, data):
        ev = event.ClientMessage(window=self.d.create_resource_object("window", wid), client_type=atom,
                                 data=(32, (data + [0, 0, 0, 0, 0])[:5]))
        self.root.send_event(ev, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.d.sync()

    def wm_close(self, wid):
        """What the title bar's close button does: ask the window manager to close the window."""
        self._root_message(wid, self.A["_NET_CLOSE_WINDOW"], [X.CurrentTime, 2])

    def delete_window(self, wid):
        """WM_DELETE_WINDOW sent straight to the client, as a window manager does on close."""
        w = self.d.create_resource_object("window", wid)
        ev = event.ClientMessage(window=w, client_type=self.A["WM_PROTOCOLS"],
                                 data=(32, [self.A["WM_DELETE_WINDOW"], X.CurrentTime, 0, 0, 0]))
        w.send_event(ev)
        self.d.sync()

    def iconify(self, wid):
        self._root_message(wid, self.A["WM_CHANGE_STATE"], [3])

    def maximise(self, wid, toggle=False):
        self._root_message(wid, self.A["_NET_WM_STATE"], [2 if toggle else 1, self.A["_NET_WM_STATE_MAXIMIZED_VERT"],
                                                           self.A["_NET_WM_STATE_MAXIMIZED_HORZ"], 1])
