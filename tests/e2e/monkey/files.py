"""The data folder as the monkey watches it: a catalogue of worksheets made for the run, snapshots of
every file (size, time, and for the worksheet folder a hash), and the checks that the catalogue and
every worksheet it lists can be read."""

import hashlib
import os
import random

TOPICS = ["Trees", "Rivers", "Recycling", "Weather", "Oceans", "Birds", "Energy", "Soil", "Insects", "Water"]


def worksheet_lines(title, rng):
    """The 72 lines of a worksheet file (without line ends), commas stored as "&"."""
    lines = [title.replace(",", "&"), " "]
    for q in range(1, 11):
        lines.append(f"Question {q} about {title}, and why?".replace(",", "&"))
        words = ["caf\u00e9", "na\u00efve", "5,000", "\u2013 dash", "plain"]
        for c in "ABCD":
            lines.append(f"Choice {c}{q} {rng.choice(words)}".replace(",", "&"))
        lines.append(str(rng.randint(1, 4)))
        lines.append(" ")
    return lines


def write_lines(path, lines):
    with open(path, "wb") as f:
        f.write(b"".join(line.encode("cp1252") + b"\r\n" for line in lines))


def make_catalogue(data_dir, count=30):
    """count worksheets and a catalogue listing them, in the data folder's multiple folder."""
    rng = random.Random(7)
    folder = os.path.join(data_dir, "multiple")
    titles = [f"Sheet {i:02d} {TOPICS[(i - 1) % len(TOPICS)]}" for i in range(1, count + 1)]
    for t in titles:
        write_lines(os.path.join(folder, t + ".txt"), worksheet_lines(t, rng))
    write_lines(os.path.join(folder, "track.txt"), [f" {count} "] + titles)
    return titles


def answer_key(path):
    """The correct-choice digits of a question set file, or None when it cannot be read."""
    try:
        lines = read_lines(path)
    except (OSError, ValueError):
        return None
    if len(lines) < 72:
        return None
    return [lines[7 + 7 * k].strip() for k in range(10)]


def read_lines(path):
    with open(path, "rb") as f:
        data = f.read()
    if data and not data.endswith(b"\r\n"):
        raise ValueError("the last line does not end in CR LF")
    body = data[:-2] if data.endswith(b"\r\n") else data
    lines = body.split(b"\r\n") if data else []
    for i, line in enumerate(lines):
        if b"\n" in line or b"\r" in line:
            raise ValueError(f"line {i + 1} has a line end other than CR LF")
    return [line.decode("cp1252") for line in lines]


def worksheet_problem(path, title=None):
    """Why a worksheet file does not load as a ten-question set, or None."""
    try:
        lines = read_lines(path)
    except FileNotFoundError:
        return "missing"
    except (OSError, ValueError) as e:
        return str(e)
    if len(lines) != 72:
        return f"{len(lines)} lines, not 72"
    if lines[1].strip() != "":
        return "line 2 is not blank"
    for k in range(10):
        digit = lines[7 + 7 * k].strip()
        if digit not in ("1", "2", "3", "4"):
            return f"line {8 + 7 * k} (correct choice of question {k + 1}) reads {digit!r}"
        if lines[8 + 7 * k].strip() != "":
            return f"line {9 + 7 * k} is not blank"
    if "," in "".join(lines):
        return "a line holds a comma"
    if title is not None and lines[0].replace("&", ",") != title.replace("&", ","):
        return f"title line {lines[0]!r} does not match the catalogue's {title!r}"
    return None


def catalogue_problems(data_dir):
    """Problems of multiple/track.txt and of every worksheet it lists (empty when all is well)."""
    folder = os.path.join(data_dir, "multiple")
    try:
        lines = read_lines(os.path.join(folder, "track.txt"))
    except (OSError, ValueError) as e:
        return [f"track.txt: {e}"]
    if not lines:
        return ["track.txt is empty"]
    try:
        count = int(lines[0].strip())
    except ValueError:
        return [f"track.txt: count line {lines[0]!r}"]
    if not 0 <= count <= 1000:
        return [f"track.txt: count {count}"]
    if len(lines) != count + 1:
        return [f"track.txt: count {count} but {len(lines) - 1} titles"]
    problems = []
    for title in lines[1:]:
        # The program reads each title as a field: leading blanks go, a comma ends it.
        problem = worksheet_problem(worksheet_path(folder, title), title)
        if problem:
            problems.append(f"worksheet {title!r}: {problem}")
    return problems


def worksheet_path(folder, title):
    """The file a title names; names match without regard to case, as the program finds them."""
    exact = os.path.join(folder, title + ".txt")
    if os.path.exists(exact):
        return exact
    want = (title + ".txt").lower()
    for name in os.listdir(folder):
        if name.lower() == want:
            return os.path.join(folder, name)
    return exact


def snapshot(root, hashed_prefix="multiple" + os.sep, previous=None):
    """relative path -> (size, mtime_ns, hash or None) for every file under root; files whose size and
    time match previous keep its hash."""
    out = {}
    previous = previous or {}
    for dirpath, _dirs, names in os.walk(root):
        for n in names:
            full = os.path.join(dirpath, n)
            rel = os.path.relpath(full, root)
            try:
                st = os.stat(full)
            except FileNotFoundError:
                continue
            digest = None
            old = previous.get(rel)
            if old is not None and old[:2] == (st.st_size, st.st_mtime_ns):
                digest = old[2]
            elif rel.startswith(hashed_prefix):
                try:
                    with open(full, "rb") as f:
                        digest = hashlib.sha1(f.read()).hexdigest()
                except OSError:
                    digest = "unreadable"
            out[rel] = (st.st_size, st.st_mtime_ns, digest)
    return out


def differences(before, after):
    """(added, removed, changed) relative paths between two snapshots."""
    added = sorted(set(after) - set(before))
    removed = sorted(set(before) - set(after))
    changed = sorted(p for p in set(before) & set(after) if before[p] != after[p])
    return added, removed, changed
