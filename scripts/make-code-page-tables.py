#!/usr/bin/env python3
"""Writes payload/CodePageTables.cpp from the system's iconv (glibc), once,
and says how large the double-byte pages' tables came out.

vpack and vpack.exe convert names and settings by these tables, so that both
write and show the same bytes; iconv is where the tables came from, and the
host test CodePageTables checks them against it again. Run it from the
repository's root: python3 scripts/make-code-page-tables.py
"""
import ctypes
import ctypes.util
import sys

PAGES = [874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 932, 936, 949, 950]
# Japanese, Simplified Chinese, Korean and Traditional Chinese: a character is
# one byte or a lead byte and a second byte (platform/DoubleByte.h has which
# bytes lead). glibc's CP932 reads 0x5C as '\' and writes the NEC and IBM
# letters the page holds twice as Windows does (U+2252 as 81 E0, not 87 90;
# U+2170 as FA 40, not EE EF).
DOUBLE_BYTE_PAGES = [932, 936, 949, 950]
# A run of consecutive codes whose letters are consecutive too is kept as its
# start alone from this length on; shorter ones cost less listed letter by
# letter.
SHORTEST_LINEAR_RUN = 4
# Only the Vietnamese page is written with letters split into a base letter
# and a combining mark, as Windows does too; the others map one byte to one
# letter.
COMBINING_PAGE = 1258

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t),
                       ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t)]
libc.iconv_close.argtypes = [ctypes.c_void_p]
libc.newlocale.restype = ctypes.c_void_p
libc.newlocale.argtypes = [ctypes.c_int, ctypes.c_char_p, ctypes.c_void_p]
libc.towupper_l.restype = ctypes.c_uint
libc.towupper_l.argtypes = [ctypes.c_uint, ctypes.c_void_p]
LC_CTYPE_MASK = 1 << 0
utf8_locale = libc.newlocale(LC_CTYPE_MASK, b"C.UTF-8", None)
if not utf8_locale:
    sys.exit("make-code-page-tables: no C.UTF-8 locale")


# One converter a direction, kept open: the double-byte pages alone ask iconv
# some 350,000 questions.
HANDLES = {}


def convert(to, frm, data):
    """The whole of data converted, or None when iconv stops anywhere."""
    if (to, frm) not in HANDLES:
        HANDLES[(to, frm)] = libc.iconv_open(to.encode(), frm.encode())
    handle = HANDLES[(to, frm)]
    libc.iconv(handle, None, None, None, None)
    inbuf = ctypes.create_string_buffer(data, len(data))
    inptr = ctypes.c_char_p(ctypes.addressof(inbuf))
    inleft = ctypes.c_size_t(len(data))
    out = ctypes.create_string_buffer(64)
    outptr = ctypes.c_char_p(ctypes.addressof(out))
    outleft = ctypes.c_size_t(64)
    if libc.iconv(handle, ctypes.byref(inptr), ctypes.byref(inleft), ctypes.byref(outptr),
                  ctypes.byref(outleft)) == ctypes.c_size_t(-1).value:
        return None
    libc.iconv(handle, None, None, ctypes.byref(outptr), ctypes.byref(outleft))
    return out.raw[:64 - outleft.value]


def letters_of(page):
    letters = []
    for byte in range(256):
        text = convert("UTF-32LE", "CP%d" % page, bytes([byte]))
        letters.append(int.from_bytes(text, "little") if text and len(text) == 4 else None)
    return letters


def upper_bytes(page, letters):
    """Each byte's letter in Unicode's upper case, where the page holds it as one byte."""
    inverse = {letter: byte for byte, letter in enumerate(letters) if letter is not None}
    upper = []
    for byte, letter in enumerate(letters):
        mapped = libc.towupper_l(letter, utf8_locale) if letter is not None else None
        upper.append(inverse.get(mapped, byte))
    return upper


def combined_letters(page, letters):
    """(letter, base byte, mark byte, ways) for every letter iconv writes as
    a base and a mark (kWrittenSplit) or reads joined from them (kReadJoined).
    The two differ: a base and a mark read back as a letter the page also
    holds whole ("A" and a grave are "\u00c0"), and iconv writes a Greek
    letter as a diaeresis and an acute that read back apart. Mark 0: written
    as the base byte alone."""
    found = {}
    for point in range(0x80, 0x10000):
        if 0xD800 <= point <= 0xDFFF:
            continue
        written = convert("CP%d" % page, "UTF-32LE", point.to_bytes(4, "little"))
        if written is not None and len(written) == 2:
            found[(point, written[0], written[1])] = "kWrittenSplit"
        elif written is not None and len(written) == 1 and letters[written[0]] != point:
            # A mark of the same meaning as one the page holds (U+0340 as U+0300).
            found[(point, written[0], 0)] = "kWrittenSplit"
    marks = [byte for byte, letter in enumerate(letters) if letter is not None and 0x300 <= letter <= 0x36F]
    for base in range(256):
        for mark in marks:
            read = convert("UTF-32LE", "CP%d" % page, bytes([base, mark]))
            if read is not None and len(read) == 4:
                key = (int.from_bytes(read, "little"), base, mark)
                found[key] = found[key] + " | kReadJoined" if key in found else "kReadJoined"
    return sorted((point, base, mark, ways) for (point, base, mark), ways in found.items())


def is_lead_byte(page, byte):
    if page == 932:
        return 0x81 <= byte <= 0x9F or 0xE0 <= byte <= 0xFC
    return 0x81 <= byte <= 0xFE


def double_byte_letters(page):
    """{lead byte * 256 + second byte: letter} for every two-byte character."""
    letters = {}
    for lead in range(0x81, 0xFF):
        if not is_lead_byte(page, lead):
            continue
        for second in range(0x40, 0xFF):
            text = convert("UTF-32LE", "CP%d" % page, bytes([lead, second]))
            if text and len(text) == 4:
                letter = int.from_bytes(text, "little")
                assert letter < 0x10000, "CP%d %04X reads outside the BMP" % (page, lead * 256 + second)
                letters[lead * 256 + second] = letter
    return letters


def segments(letters):
    """The codes cut where one is undefined: lists of consecutive codes."""
    cut = []
    for code in sorted(letters):
        if cut and cut[-1][-1] == code - 1 and len(cut[-1]) < 255:
            cut[-1].append(code)
        else:
            cut.append([code])
    return cut


def runs_of(letters):
    """(code, first, count, listed) runs and the listed letters they index."""
    runs, listed = [], []
    for segment in segments(letters):
        linear = []  # (start index, length) of each long enough stretch
        start = 0
        for i in range(1, len(segment) + 1):
            if i == len(segment) or letters[segment[i]] != letters[segment[i - 1]] + 1:
                if i - start >= SHORTEST_LINEAR_RUN:
                    linear.append((start, i - start))
                start = i
        at = 0
        for start, length in linear + [(len(segment), 0)]:
            if start > at:
                runs.append((segment[at], len(listed), start - at, 1))
                listed.extend(letters[code] for code in segment[at:start])
            if length:
                runs.append((segment[start], letters[segment[start]], length, 0))
            at = start + length
    return runs, listed


def written_as(page, single, double):
    """(letter, code) wherever iconv writes a letter otherwise than as its
    first code: at another code it reads back as that letter, or not at all
    (code 0), as for a letter it writes one way only (U+00A5 as 0x5C in 932)."""
    first = {}
    for code, letter in [(b, l) for b, l in enumerate(single) if l is not None and b >= 0x80] + sorted(double.items()):
        first.setdefault(letter, code)
    found = []
    for point in range(0x80, 0x10000):
        if 0xD800 <= point <= 0xDFFF:
            continue
        written = convert("CP%d" % page, "UTF-32LE", point.to_bytes(4, "little"))
        code = int.from_bytes(written, "big") if written and len(written) <= 2 else None
        reads = single[code] if code is not None and code < 0x100 else double.get(code)
        if reads == point and code != first.get(point):
            found.append((point, code))
        elif reads != point and point in first:
            found.append((point, 0))
    return found


def double_byte_tables(page, letters, out):
    """Writes the page's runs, listed letters and exceptions; returns the
    fields of its CodePageTable past the combined letters."""
    double = double_byte_letters(page)
    runs, listed = runs_of(double)
    exceptions = written_as(page, letters, double)
    out.append("const DoubleByteRun kRuns%d[] = {" % page)
    for row in range(0, len(runs), 4):
        out.append("    " + " ".join("{0x%04X, 0x%04X, %d, %d}," % run for run in runs[row:row + 4]))
    out.append("};")
    out.append("const unsigned short kListed%d[] = {" % page)
    for row in range(0, len(listed), 12):
        out.append("    " + " ".join("0x%04X," % letter for letter in listed[row:row + 12]))
    out.append("};")
    written = "nullptr"
    if exceptions:
        out.append("const WrittenAs kWrittenAs%d[] = {" % page)
        for row in range(0, len(exceptions), 6):
            out.append("    " + " ".join("{0x%04X, 0x%04X}," % pair for pair in exceptions[row:row + 6]))
        out.append("};")
        written = "kWrittenAs%d" % page
    size = len(runs) * 6 + len(listed) * 2 + len(exceptions) * 4
    print("CP%d: %d runs, %d listed letters, %d written otherwise: %d bytes" %
          (page, len(runs), len(listed), len(exceptions), size))
    return "kRuns%d, %d, kListed%d, %s, %d" % (page, len(runs), page, written, len(exceptions))


def main():
    out = []
    out.append("// Written by scripts/make-code-page-tables.py from glibc's iconv; do not edit.")
    out.append('#include "payload/CodePageTables.h"')
    out.append("")
    out.append("namespace payload {")
    out.append("namespace {")
    out.append("")
    entries = []
    for page in PAGES:
        letters = letters_of(page)
        upper = upper_bytes(page, letters)
        out.append("// 0 where the page defines no letter (byte 0 is U+0000 all the same).")
        out.append("const unsigned short kLetters%d[256] = {" % page)
        for row in range(0, 256, 8):
            out.append("    " + " ".join("0x%04X," % (l if l is not None else 0) for l in letters[row:row + 8]))
        out.append("};")
        out.append("const unsigned char kUpper%d[256] = {" % page)
        for row in range(0, 256, 16):
            out.append("    " + " ".join("0x%02X," % u for u in upper[row:row + 16]))
        out.append("};")
        combined = "nullptr, 0"
        if page == COMBINING_PAGE:
            pairs = combined_letters(page, letters)
            out.append("const CombinedLetter kCombined%d[] = {" % page)
            for point, base, mark, ways in pairs:
                out.append("    {0x%04X, 0x%02X, 0x%02X, %s}," % (point, base, mark, ways))
            out.append("};")
            combined = "kCombined%d, %d" % (page, len(pairs))
        extra = "nullptr, 0, nullptr, nullptr, 0"
        if page in DOUBLE_BYTE_PAGES:
            extra = double_byte_tables(page, letters, out)
        entries.append("    {%d, kLetters%d, kUpper%d, %s, %s}," % (page, page, page, combined, extra))
        out.append("")
    out.append("const CodePageTable kTables[] = {")
    out.extend(entries)
    out.append("};")
    out.append("")
    out.append("}  // namespace")
    out.append("")
    out.append("const CodePageTable* FindCodePageTable(unsigned number) {")
    out.append("  for (const CodePageTable& table : kTables) {")
    out.append("    if (table.number == number) return &table;")
    out.append("  }")
    out.append("  return nullptr;")
    out.append("}")
    out.append("")
    out.append("}  // namespace payload")
    with open("payload/CodePageTables.cpp", "w") as f:
        f.write("\n".join(out) + "\n")


main()
