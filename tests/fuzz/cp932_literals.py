#!/usr/bin/env python3
"""Writes copies of UTF-8 C++ sources whose narrow literals hold CP932 bytes.

GCC turns narrow literals into CP932 with -fexec-charset=CP932; clang knows
only UTF-8. Each non-ASCII character inside a narrow string or character
literal becomes octal escapes of its CP932 bytes: octal, because a \\x escape
would swallow the hexadecimal digits after it, and escapes at all, because a
CP932 trail byte may be 0x5C, a backslash. Comments and u8, u, U and L
literals stay as they are.

usage: cp932_literals.py SOURCE_ROOT OUT_ROOT FILE...  (FILE relative to SOURCE_ROOT)
"""
import os
import subprocess
import sys

IDENT = set("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_")
WIDE_PREFIXES = {"u8", "u", "U", "L"}


class ConvertError(Exception):
    pass


def escape(ch, seen):
    data = ch.encode("cp932")
    seen.add(ch)
    return "".join("\\%03o" % b for b in data)


def literal_end(text, start, quote):
    """Index just past the literal whose opening quote is at start."""
    i = start + 1
    while i < len(text):
        c = text[i]
        if c == "\\":
            i += 2
            continue
        if c == quote:
            return i + 1
        if c == "\n":
            raise ConvertError("unterminated literal")
        i += 1
    raise ConvertError("unterminated literal")


def raw_end(text, start):
    """Index just past a raw string whose opening quote is at start."""
    paren = text.index("(", start)
    closing = ")" + text[start + 1:paren] + '"'
    return text.index(closing, paren) + len(closing)


def convert(text, seen):
    out = []
    i = 0
    ident_start = None  # start of the identifier run right before i
    while i < len(text):
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = len(text) if j < 0 else j
            out.append(text[i:j])
            i, ident_start = j, None
            continue
        if text.startswith("/*", i):
            j = text.index("*/", i + 2) + 2
            out.append(text[i:j])
            i, ident_start = j, None
            continue
        if c in "\"'":
            prefix = text[ident_start:i] if ident_start is not None else ""
            raw = c == '"' and prefix.endswith("R")
            kind = prefix[:-1] if raw else prefix
            j = raw_end(text, i) if raw else literal_end(text, i, c)
            body = text[i:j]
            narrow = kind not in WIDE_PREFIXES
            if narrow and any(ord(ch) > 127 for ch in body):
                if raw:
                    raise ConvertError("non-ASCII raw string literal: " + body[:40])
                body = "".join(escape(ch, seen) if ord(ch) > 127 else ch for ch in body)
            out.append(body)
            i, ident_start = j, None
            continue
        if c in IDENT:
            if ident_start is None:
                ident_start = i
        else:
            ident_start = None
        out.append(c)
        i += 1
    return "".join(out)


def check_with_iconv(seen):
    """The bytes must be those GCC writes: it converts through iconv's CP932."""
    if not seen:
        return
    chars = sorted(seen)
    try:
        got = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"],
                             input="\n".join(chars).encode("utf-8"),
                             capture_output=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError) as e:
        raise ConvertError("iconv could not check the conversion: %s" % e)
    expected = b"\n".join(ch.encode("cp932") for ch in chars)
    if got != expected:
        for ch, a, b in zip(chars, got.split(b"\n"), expected.split(b"\n")):
            if a != b:
                raise ConvertError("%r: iconv gives %s, python %s" % (ch, a.hex(), b.hex()))
        raise ConvertError("iconv and python disagree")


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    src_root, out_root, files = argv[0], argv[1], argv[2:]
    seen = set()
    for rel in files:
        path = os.path.join(src_root, rel)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        try:
            converted = convert(text, seen)
        except (ConvertError, ValueError, UnicodeEncodeError) as e:
            sys.stderr.write("%s: %s\n" % (path, e))
            return 1
        target = os.path.join(out_root, rel)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        # Diagnostics and sanitizer reports name the real file.
        header = '#line 1 "%s"\n' % os.path.abspath(path).replace("\\", "/")
        with open(target, "w", encoding="utf-8", newline="") as f:
            f.write(header + converted)
    try:
        check_with_iconv(seen)
    except ConvertError as e:
        sys.stderr.write("cp932_literals: %s\n" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
