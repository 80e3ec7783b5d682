#!/usr/bin/env python3
"""Helpers of tools/package.sh (standard library only).

  pkgtool.py logo PNG                 draws the help page's 64 x 64 picture
  pkgtool.py zip FOLDER ZIP STAMP     zips FOLDER as FOLDER's name/..., entries
                                      dated STAMP (Unix seconds), sorted
  pkgtool.py nsis FOLDER FILES UNFILES [USERFILE...]
                                      the installer's File lines (FILES) and
                                      the uninstaller's Delete and RMDir lines
                                      (UNFILES) for FOLDER's files, leaving out
                                      the USERFILEs
  pkgtool.py check ZIP                prints each entry: its name, how it is
                                      stored ("ascii", "gbk+unicode-field",
                                      or what is wrong), and for text files
                                      whether they decode as GBK with CR LF
  pkgtool.py extract ZIP FOLDER       unpacks ZIP as the zip folders of a
                                      Chinese Windows do: names without the
                                      UTF-8 flag are read in code page 936

Names: an entry name that is not ASCII ("发行软件.txt") is stored in GBK,
without the UTF-8 flag, as Chinese Windows' own zip folders write and read
names (in the OEM code page, 936 there; they ignore the flag on older
Windows), and with the Info-ZIP Unicode Path extra field (0x7075) holding
the UTF-8 name, which 7-Zip, WinRAR, Info-ZIP's unzip and others read on
any system.
"""
import os
import struct
import sys
import time
import zipfile
import zlib

TEXT = (".txt", ".ini", ".htm", ".html", ".scf")


def png(path, w, h, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(w)) for y in range(h))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


def logo(path):
    # A blue rounded square with a white quill: a slanted stroke thinning
    # to its tip, and a short line under it.
    n = 64

    def pixel(x, y):
        r = 12
        cx = min(max(x, r), n - 1 - r)
        cy = min(max(y, r), n - 1 - r)
        if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
            return (0, 0, 0, 0)
        # distance from the stroke's axis, from (18, 50) to (48, 12)
        ax, ay, bx, by = 18.0, 50.0, 48.0, 12.0
        dx, dy = bx - ax, by - ay
        t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
        if 0 <= t <= 1:
            px, py = ax + t * dx, ay + t * dy
            width = 1.0 + 5.0 * t * (1.2 - t)
            if (x - px) ** 2 + (y - py) ** 2 <= width * width:
                return (255, 255, 255, 255)
        if 50 <= y <= 52 and 14 <= x <= 40:
            return (255, 224, 128, 255)
        return (30, 90, 160, 255)

    png(path, n, n, pixel)


class GbkName(zipfile.ZipInfo):
    """An entry whose non-ASCII name is stored in GBK with a Unicode Path
    extra field, instead of zipfile's UTF-8 with the flag."""

    def __init__(self, name, date):
        super().__init__(name, date)
        try:
            name.encode("ascii")
        except UnicodeEncodeError:
            raw = name.encode("gbk")
            utf8 = name.encode("utf-8")
            data = struct.pack("<BI", 1, zlib.crc32(raw)) + utf8
            self.extra = struct.pack("<HH", 0x7075, len(data)) + data

    def _encodeFilenameFlags(self):
        try:
            return self.filename.encode("ascii"), self.flag_bits
        except UnicodeEncodeError:
            return self.filename.encode("gbk"), self.flag_bits & ~0x800


def unicode_field(extra):
    """The UTF-8 name and name CRC of a Unicode Path extra field, or None."""
    i = 0
    while i + 4 <= len(extra):
        kind, size = struct.unpack("<HH", extra[i:i + 4])
        if kind == 0x7075 and size >= 5:
            version, crc = struct.unpack("<BI", extra[i + 4:i + 9])
            return extra[i + 9:i + 4 + size].decode("utf-8"), crc
        i += 4 + size
    return None


def raw_name(info):
    """The name's bytes as stored (zipfile decodes names without the flag
    as code page 437)."""
    if info.flag_bits & 0x800:
        return info.filename.encode("utf-8")
    return info.filename.encode("cp437")


def make_zip(folder, out, stamp):
    folder = os.path.abspath(folder)
    date = time.gmtime(int(stamp))[:6]
    entries = []
    for base, dirs, files in os.walk(folder):
        dirs.sort()
        rel = os.path.relpath(base, os.path.dirname(folder)).replace(os.sep, "/")
        entries.append((rel + "/", None))
        for name in sorted(files):
            entries.append((rel + "/" + name, os.path.join(base, name)))
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name, path in entries:
            info = GbkName(name, date)
            info.create_system = 0  # MS-DOS attributes, as Windows writes them
            if path is None:
                info.external_attr = 0x10
                z.writestr(info, b"")
                continue
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0x20
            with open(path, "rb") as f:
                z.writestr(info, f.read())
    os.replace(tmp, out)


def nsis(folder, files_out, unfiles_out, user):
    folder = os.path.abspath(folder)
    inst, uninst, dirs = [], [], []
    for base, subdirs, files in os.walk(folder):
        subdirs.sort()
        rel = os.path.relpath(base, folder)
        win = "" if rel == "." else "\\" + rel.replace(os.sep, "\\")
        if win:
            dirs.append(win)
        chosen = [f for f in sorted(files) if not (rel == "." and f in user)]
        if not chosen:
            continue
        inst.append('SetOutPath "$INSTDIR%s"' % win)
        for f in chosen:
            inst.append('File "%s"' % os.path.join(base, f))
            uninst.append('Delete "$INSTDIR%s\\%s"' % (win, f))
    for d in sorted(dirs, key=lambda s: -s.count("\\")):
        uninst.append('RMDir "$INSTDIR%s"' % d)
    for path, lines in ((files_out, inst), (unfiles_out, uninst)):
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")


def check(path):
    with zipfile.ZipFile(path) as z:
        for info in z.infolist():
            raw = raw_name(info)
            field = unicode_field(info.extra)
            if info.flag_bits & 0x800:
                name, how = info.filename, "utf8-flag"
            elif all(b < 128 for b in raw):
                name, how = raw.decode("ascii"), "ascii"
            else:
                name = raw.decode("gbk", "replace")
                if field is None:
                    how = "gbk-without-unicode-field"
                elif field[0] != name or field[1] != zlib.crc32(raw):
                    how = "gbk-unicode-field-differs"
                else:
                    how = "gbk+unicode-field"
            line = [name, how]
            if name.endswith(TEXT):
                data = z.read(info)
                try:
                    data.decode("gbk")
                    gbk = "gbk"
                except UnicodeDecodeError:
                    gbk = "not-gbk"
                bare_lf = data.count(b"\n") - data.count(b"\r\n")
                crlf = "crlf" if data.endswith(b"\r\n") and bare_lf == 0 else "not-crlf"
                line += [gbk, crlf]
            print(" ".join(line))


def extract(path, folder):
    with zipfile.ZipFile(path) as z:
        for info in z.infolist():
            if info.flag_bits & 0x800:
                name = info.filename
            else:
                name = raw_name(info).decode("cp936")
            target = os.path.join(folder, *name.split("/"))
            if name.endswith("/"):
                os.makedirs(target, exist_ok=True)
                continue
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "wb") as f:
                f.write(z.read(info))


def main(argv):
    if len(argv) >= 3 and argv[1] == "logo":
        logo(argv[2])
    elif len(argv) == 5 and argv[1] == "zip":
        make_zip(argv[2], argv[3], argv[4])
    elif len(argv) >= 5 and argv[1] == "nsis":
        nsis(argv[2], argv[3], argv[4], set(argv[5:]))
    elif len(argv) == 3 and argv[1] == "check":
        check(argv[2])
    elif len(argv) == 4 and argv[1] == "extract":
        extract(argv[2], argv[3])
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
