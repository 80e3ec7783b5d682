#!/usr/bin/env python3
"""Keeps every struct and class of the core small: at most 12 data members
and at most 5 of them bool.

Reads the headers and sources of app/, input/, bar/ and browser/ (layouts/
holds the stored layouts, not code) well enough for this code base: comments
and literals are blanked, member function bodies and nested types are taken
out of their class, and what is left between semicolons at the class's own
level is a data member unless it is a function, a static, a type or a using
declaration. `int a = 0, b = 0;` is two members. A bit-field, an array or a
std::array counts once.

    tools/structcheck.py [ROOT]   exit 1 when a type is over the limits

The allow-list below names the types that are over them still, each with
why; one that has come within the limits must leave the list, so the list
only shrinks.
"""
import os
import re
import sys

MAX_MEMBERS = 12
MAX_BOOLS = 5
CORE = ("app", "input", "bar", "browser")

# Types over the limits, by file and name, each with why it is so still
# (none is, now).
ALLOWED = set()


def blank(src):
    """Comments, string and character literals blanked; preprocessor lines
    dropped; newlines kept."""
    out = []
    i, n = 0, len(src)
    while i < n:
        c = src[i]
        if src.startswith("//", i):
            j = src.find("\n", i)
            i = n if j < 0 else j
        elif src.startswith("/*", i):
            j = src.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", src[i:j]))
            i = j
        elif c == 'R' and src.startswith('R"', i):
            m = re.match(r'R"([^(]*)\(', src[i:])
            if not m:
                out.append(c)
                i += 1
                continue
            end = ")" + m.group(1) + '"'
            j = src.find(end, i + m.end())
            j = n if j < 0 else j + len(end)
            out.append('""')
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and src[j] != c:
                j += 2 if src[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
        elif c == "#" and (i == 0 or src[i - 1] == "\n"):
            j = i
            while True:
                k = src.find("\n", j)
                if k < 0:
                    j = n
                    break
                if src[k - 1] != "\\":
                    j = k
                    break
                j = k + 1
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def match_brace(s, i):
    """Index just past the brace block opening at s[i] == '{'."""
    depth = 0
    for j in range(i, len(s)):
        if s[j] == "{":
            depth += 1
        elif s[j] == "}":
            depth -= 1
            if depth == 0:
                return j + 1
    return len(s)


TYPE_HEAD = re.compile(
    r"\b(struct|class|union)\s+(?:alignas\s*\([^)]*\)\s*)?([A-Za-z_]\w*)\s*(?:final\s*)?"
    r"(?::[^;{}()]*)?\{")
ENUM_HEAD = re.compile(r"\benum\b[^;{}()]*\{")


def members_of(body):
    """(members, bools) of a class body whose nested types and function
    bodies are gone already."""
    members = bools = 0
    for stmt in body.split(";"):
        s = re.sub(r"\b(public|private|protected)\s*:", " ", stmt).strip()
        s = re.sub(r"\[\[[^\]]*\]\]", " ", s).strip()
        if not s:
            continue
        first = s.split()[0]
        if first in ("using", "typedef", "friend", "static", "template", "enum",
                     "struct", "class", "union", "static_assert", "namespace"):
            continue
        if re.search(r"\boperator\b", s):
            continue
        # Initializers out: `= ...` and `{...}` after a declarator.
        decl = strip_initializers(s)
        if "(" in decl:
            # A function (or a constructor), unless it is a pointer to one.
            if not re.search(r"\(\s*\*\s*\w+\s*\)", decl):
                continue
        names = split_top(decl, ",")
        members += len(names)
        if re.match(r"(?:mutable\s+)?(?:const\s+)?bool\b", decl):
            bools += len(names)
    return members, bools


def strip_initializers(s):
    out, depth, i = [], 0, 0
    skip = False
    while i < len(s):
        c = s[i]
        if c in "<([":
            depth += 1
        elif c in ">)]":
            depth -= 1
        if depth == 0 and c == "=" and s[i:i + 2] != "==":
            skip = True
        elif depth == 0 and c == ",":
            skip = False
        if c == "{":
            i = match_brace(s, i)
            continue
        if not skip:
            out.append(c)
        i += 1
    return "".join(out)


def split_top(s, sep):
    parts, depth, cur = [], 0, []
    for c in s:
        if c in "<([{":
            depth += 1
        elif c in ">)]}":
            depth -= 1
        if c == sep and depth == 0:
            parts.append("".join(cur))
            cur = []
        else:
            cur.append(c)
    parts.append("".join(cur))
    return [p for p in parts if p.strip()]


def types_in(text, found, path, prefix=""):
    """Appends (path, name, members, bools) of each type in text."""
    pos = 0
    while True:
        m = TYPE_HEAD.search(text, pos)
        if not m:
            return
        # `struct X` in a declaration that is not a definition has no brace
        # before its semicolon; the regex needs the brace.
        open_at = m.end() - 1
        close = match_brace(text, open_at)
        body = text[open_at + 1:close - 1]
        name = prefix + m.group(2)
        nested = []
        flat = flatten(body, nested)
        members, bools = members_of(flat)
        found.append((path, name, members, bools))
        for inner in nested:
            types_in(inner, found, path, name + "::")
        pos = close


def flatten(body, nested):
    """The class body with nested types and function bodies replaced by ';'
    (nested type definitions go to `nested`)."""
    out, i = [], 0
    while i < len(body):
        m = TYPE_HEAD.match(body, i) if body[i] in "scu" and (i == 0 or not (body[i - 1].isalnum() or body[i - 1] == "_")) else None
        if m:
            close = match_brace(body, m.end() - 1)
            nested.append(body[i:close])
            # What follows the body (`struct {..} x;`) stays: a member.
            out.append(";")
            i = close
            continue
        e = ENUM_HEAD.match(body, i) if body.startswith("enum", i) else None
        if e:
            # `enum class E {..} e_ = ..;` keeps ` e_ = ..;`: a member.
            i = match_brace(body, e.end() - 1)
            out.append(";")
            continue
        c = body[i]
        if c == "{":
            before = "".join(out).rstrip()
            # A function body follows ')' and its qualifiers, or a
            # constructor's initializer list.
            tail = re.sub(r"(\b(const|override|final|noexcept|volatile)\b|&|\s|->\s*[\w:<>,\s\*&]+$)*$", "", before)
            is_fn = tail.endswith(")") or re.search(r"\)\s*:\s*[^;]*$", before) is not None
            close = match_brace(body, i)
            if is_fn:
                out.append(";")
            else:
                out.append("{}")
            i = close
            continue
        out.append(c)
        i += 1
    return "".join(out)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("-")]
    root = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    found = []
    for folder in CORE:
        for dirpath, _, files in os.walk(os.path.join(root, folder)):
            for f in sorted(files):
                if not f.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(dirpath, f)
                rel = os.path.relpath(path, root)
                with open(path, encoding="utf-8") as fh:
                    types_in(blank(fh.read()), found, rel)
    bad, stale = [], []
    allowed_seen = set()
    for path, name, members, bools in found:
        over = members > MAX_MEMBERS or bools > MAX_BOOLS
        key = (path, name)
        if key in ALLOWED:
            allowed_seen.add(key)
            if not over:
                stale.append(key)
            continue
        if over:
            bad.append((path, name, members, bools))
    for path, name, members, bools in bad:
        print(f"structcheck: {path}: {name}: {members} data members, {bools} bool "
              f"(at most {MAX_MEMBERS} and {MAX_BOOLS})")
    for path, name in stale:
        print(f"structcheck: {path}: {name} is within the limits now: take it off the allow-list")
    for key in sorted(set(ALLOWED) - allowed_seen):
        print(f"structcheck: {key[0]}: {key[1]} is on the allow-list but no longer exists")
    if "-v" in sys.argv:
        for path, name, members, bools in sorted(found, key=lambda t: -t[2]):
            print(f"{members:4d} {bools:3d}  {path}: {name}")
    ok = not bad and not stale and set(ALLOWED) <= allowed_seen
    if ok:
        print(f"structcheck: {len(found)} types, none over {MAX_MEMBERS} data members "
              f"or {MAX_BOOLS} bool ({len(ALLOWED)} allowed)")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
