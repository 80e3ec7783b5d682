#!/usr/bin/env python3
"""Fails on an #include that reaches up the program's layers.

The layers, lowest first; a file may include its own layer and those below:

  seam     platform/platform.h, platform/lines.h: the one interface to the
           operating system, no Windows types
  frame    app/frame/: forms and controls from stored layouts, monitors and
           scaling, the work budget, line files, GBK text
  words    the hook's word composition and the mailbox words, shared by the
           hook library and the core (input/hookwords, input/words.h,
           input/dragscroll, input/hookwatch, input/keys.h)
  hook     hook/: the hook library
  forms    app/, bar/, browser/, input/ (the rest) and the generated
           forms/*_controls.h: the fifteen forms and the gestures; they
           reach each other through the application object
  top      the backends (platform/sim, platform/win32), tests, fuzz, bench,
           e2e/probe: anything

The forms layer may not include the hook library or a backend; the frame
knows no form; the seam and the shared words know neither.

  tools/layercheck.py [ROOT]     prints each offending include; exit 1 if any
"""
import os
import re
import sys

ORDER = ["seam", "frame", "words", "hook", "forms", "top"]
# Which lower layers each layer may include, beside its own.
ALLOWED = {
    "seam": {"seam"},
    "frame": {"seam", "frame"},
    "words": {"seam", "words"},
    "hook": {"seam", "words", "hook"},
    "forms": {"seam", "frame", "words", "forms"},
    "top": set(ORDER),
}
WORDS = {
    "input/hookwords.h", "input/hookwords.cpp", "input/words.h",
    "input/dragscroll.h", "input/dragscroll.cpp", "input/hookwatch.h",
    "input/hookwatch.cpp", "input/keys.h",
}
SEAM = {"platform/platform.h", "platform/lines.h"}
SOURCE = re.compile(r"\.(h|cpp)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer(path):
    """The layer of a file named relative to the root (None: not ours)."""
    if path in SEAM:
        return "seam"
    if path in WORDS:
        return "words"
    if path.startswith("app/frame/"):
        return "frame"
    if path.startswith("hook/"):
        return "hook"
    if path.startswith("forms/"):  # generated control accessors
        return "forms"
    top = path.split("/", 1)[0]
    if top in ("app", "bar", "browser", "input"):
        return "forms"
    if top in ("platform", "tests", "fuzz", "bench", "e2e"):
        return "top"
    return None


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    bad = []
    files = 0
    for folder in ("app", "bar", "browser", "input", "platform", "hook"):
        for dirpath, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if not SOURCE.search(name):
                    continue
                full = os.path.join(dirpath, name)
                rel = os.path.relpath(full, root).replace(os.sep, "/")
                own = layer(rel)
                if own is None or own == "top":
                    continue
                files += 1
                with open(full, encoding="utf-8", errors="replace") as f:
                    for n, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        target = m.group(1)
                        theirs = layer(target)
                        if theirs is None:
                            bad.append(f"{rel}:{n}: includes \"{target}\", which is no file of the program's")
                        elif theirs not in ALLOWED[own]:
                            bad.append(f"{rel}:{n}: {own} includes {theirs} (\"{target}\")")
    for b in bad:
        print(b)
    print(f"layercheck: {files} files, {len(bad)} includes against the layers")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
