#!/usr/bin/env python3
"""Generate common/cp932_table.inc from glibc's iconv CP932 converter.

Usage: python3 scripts/gen_cp932_table.py [output]   (default: common/cp932_table.inc)

The tables come from glibc through ctypes (iconv_open/iconv), not from Python's own
"cp932" codec, which differs from Windows in a few places (it decodes 0x80, 0xA0 and
0xFD-0xFF, and its encoder accepts extra one-way mappings such as U+2212 -> 0x817C).

What is recorded:
  * decode: every single byte 0x00-0xFF and every double-byte code with lead 0x81-0x9F or
    0xE0-0xFC and trail 0x40-0x7E or 0x80-0xFC, asked to iconv CP932 -> UTF-8 one at a time.
  * encode: for every code point that some code decodes to, the code iconv UTF-8 -> CP932
    gives back. Where several codes decode to the same character this is the one Windows
    writes (JIS row 2 before NEC row 13, NEC row 13 before IBM 0xFA-0xFC, IBM 0xFA-0xFC
    before the NEC-selected IBM rows 0xED/0xEE). The script checks that iconv's choice
    follows that order.
  * nothing else: characters that glibc's encoder also accepts but that no code decodes to
    (for example U+00A5 -> 0x5C) are left out, so that decode(encode(text)) == text for all
    text the encoder accepts. They are listed in the header of the generated file.

The output depends only on the glibc iconv data, and is byte-for-byte the same on every run.
"""

import ctypes
import ctypes.util
import os
import sys

LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = list(range(0x40, 0x7F)) + list(range(0x80, 0xFD))
TRAIL_SPAN = 0xFC - 0x40 + 1  # trail index 0..188; 0x7F is kept as an always-invalid slot
INVALID = 0xFFFF  # sentinel in the decode tables (U+FFFF is a noncharacter, never a mapping)

E2BIG, EILSEQ, EINVAL = 7, 84, 22


class Iconv:
    def __init__(self, to_code, from_code):
        self.libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
        self.libc.iconv_open.restype = ctypes.c_void_p
        self.libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
        self.libc.iconv.restype = ctypes.c_size_t
        self.libc.iconv.argtypes = [
            ctypes.c_void_p,
            ctypes.POINTER(ctypes.c_char_p),
            ctypes.POINTER(ctypes.c_size_t),
            ctypes.POINTER(ctypes.c_char_p),
            ctypes.POINTER(ctypes.c_size_t),
        ]
        self.cd = self.libc.iconv_open(to_code.encode(), from_code.encode())
        if self.cd in (None, ctypes.c_void_p(-1).value):
            raise OSError(f"iconv_open({to_code!r}, {from_code!r}) failed")
        self.out = ctypes.create_string_buffer(64)

    def convert(self, data):
        """Return the converted bytes, or None if iconv rejects or cannot finish the input."""
        self.libc.iconv(self.cd, None, None, None, None)  # back to the initial state
        in_buf = ctypes.c_char_p(data)
        in_left = ctypes.c_size_t(len(data))
        out_ptr = ctypes.cast(self.out, ctypes.c_char_p)
        out_left = ctypes.c_size_t(len(self.out))
        rc = self.libc.iconv(
            self.cd, ctypes.byref(in_buf), ctypes.byref(in_left), ctypes.byref(out_ptr),
            ctypes.byref(out_left))
        if rc == ctypes.c_size_t(-1).value:
            err = ctypes.get_errno()
            if err in (EILSEQ, EINVAL):
                return None
            raise OSError(err, os.strerror(err))
        if in_left.value != 0:
            return None
        # Flush any shift state (CP932 has none, but do not rely on it).
        out_flush = ctypes.c_size_t(out_left.value)
        self.libc.iconv(self.cd, None, None, ctypes.byref(out_ptr), ctypes.byref(out_flush))
        return self.out.raw[: len(self.out) - out_flush.value]

    def __del__(self):
        if getattr(self, "cd", None):
            self.libc.iconv_close(ctypes.c_void_p(self.cd))


def glibc_version():
    libc = ctypes.CDLL(ctypes.util.find_library("c"))
    libc.gnu_get_libc_version.restype = ctypes.c_char_p
    return libc.gnu_get_libc_version().decode()


def decode_one(dec, code_bytes):
    """Return the single code point `code_bytes` decodes to, or None."""
    out = dec.convert(code_bytes)
    if out is None:
        return None
    text = out.decode("utf-8")
    if len(text) != 1:
        return None  # e.g. a lead byte followed by an ASCII byte read as two characters
    return ord(text)


def code_class(code):
    """Windows' preference among duplicate codes: lower class wins."""
    lead = code >> 8
    if lead == 0x87:
        return 1  # NEC row 13
    if 0xFA <= lead <= 0xFC:
        return 2  # IBM extensions
    if lead in (0xED, 0xEE):
        return 3  # NEC-selected IBM extensions
    return 0  # single bytes and JIS X 0208 rows


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "common",
                                                                   "cp932_table.inc")
    dec = Iconv("UTF-8", "CP932")
    enc = Iconv("CP932", "UTF-8")

    single = [INVALID] * 256
    for b in range(256):
        cp = decode_one(dec, bytes([b]))
        if cp is not None:
            single[b] = cp

    double = [INVALID] * (len(LEADS) * TRAIL_SPAN)
    decoded = {}  # code point -> list of codes decoding to it
    for b in range(256):
        if single[b] != INVALID:
            decoded.setdefault(single[b], []).append(b)
    for li, lead in enumerate(LEADS):
        if single[lead] != INVALID:
            sys.exit(f"lead byte {lead:#04x} also decodes on its own")
        for trail in TRAILS:
            cp = decode_one(dec, bytes([lead, trail]))
            if cp is None:
                continue
            if cp > 0xFFFF or cp == INVALID:
                sys.exit(f"{lead:02X}{trail:02X} decodes outside the BMP or to U+FFFF")
            double[li * TRAIL_SPAN + trail - 0x40] = cp
            decoded.setdefault(cp, []).append(lead << 8 | trail)

    for b in range(0x80):
        if single[b] != b:
            sys.exit(f"byte {b:#04x} does not decode to itself")

    encode = {}  # code point -> code, for everything above ASCII
    for cp, codes in sorted(decoded.items()):
        out = enc.convert(chr(cp).encode("utf-8"))
        if out is None:
            sys.exit(f"U+{cp:04X} decodes from {codes} but iconv cannot encode it")
        code = int.from_bytes(out, "big")
        if code not in codes:
            sys.exit(f"U+{cp:04X} encodes to {code:#x}, which does not decode to it")
        expected = min(codes, key=lambda c: (code_class(c), c))
        if code != expected:
            sys.exit(f"U+{cp:04X}: iconv picks {code:#x}, Windows order gives {expected:#x}")
        if cp >= 0x80:
            encode[cp] = code

    # Code points glibc encodes although no code decodes to them: recorded, not used.
    one_way = []
    for cp in range(0x110000):
        if 0xD800 <= cp <= 0xDFFF or cp in decoded:
            continue
        out = enc.convert(chr(cp).encode("utf-8"))
        if out is not None:
            one_way.append((cp, out))

    duplicates = {cp: codes for cp, codes in decoded.items() if len(codes) > 1}
    valid_double = sum(1 for v in double if v != INVALID)
    valid_single = sum(1 for v in single if v != INVALID)

    lines = []
    w = lines.append
    w("// Generated by scripts/gen_cp932_table.py from glibc iconv CP932")
    w(f"// (glibc {glibc_version()}). Do not edit; run the script again instead.")
    w("//")
    w(f"// Valid codes: {valid_single} single-byte, {valid_double} double-byte.")
    w(f"// Characters with more than one code: {len(duplicates)}; the encoder writes the code")
    w("// Windows writes (JIS rows, then NEC row 13, then IBM 0xFA-0xFC, then NEC-selected IBM")
    w("// 0xED/0xEE).")
    w("//")
    w("// glibc's encoder also accepts these characters, which no code decodes to. They are")
    w("// left out of kCp932Encode so that decoding what was encoded gives the same text:")
    for cp, out in one_way:
        if out:
            w(f"//   U+{cp:04X} -> {out.hex().upper()}")
    dropped = [cp for cp, out in one_way if not out]
    if dropped:
        # glibc skips the tag characters U+E0000-U+E007F without writing anything.
        w("// It also drops these without writing anything; the encoder rejects them instead:")
        start = prev = dropped[0]
        for cp in dropped[1:] + [None]:
            if cp is not None and cp == prev + 1:
                prev = cp
                continue
            w(f"//   U+{start:04X}-U+{prev:04X}" if start != prev else f"//   U+{start:04X}")
            if cp is not None:
                start = prev = cp
    if not one_way:
        w("//   (none)")
    w("//")
    w("// kCp932Single: byte -> code point, 0xFFFF where the byte is not a character by itself")
    w("// (lead bytes and unassigned bytes).")
    w("// kCp932Double: [lead index * 189 + (trail - 0x40)] -> code point, 0xFFFF if unassigned;")
    w("// lead index is lead - 0x81 for 0x81-0x9F and lead - 0xC1 for 0xE0-0xFC.")
    w("// kCp932Encode: {code point, code} for every character above U+007F that CP932 holds,")
    w("// sorted by code point. Codes below 0x100 are single bytes.")
    w("// clang-format off")
    w(f"constexpr std::size_t kCp932TrailSpan = {TRAIL_SPAN};")
    w(f"constexpr std::size_t kCp932LeadCount = {len(LEADS)};")
    w("constexpr char16_t kCp932Single[256] = {")
    for i in range(0, 256, 16):
        w("    " + " ".join(f"0x{v:04X}," for v in single[i:i + 16]))
    w("};")
    w(f"constexpr char16_t kCp932Double[{len(double)}] = {{")
    for li, lead in enumerate(LEADS):
        row = double[li * TRAIL_SPAN:(li + 1) * TRAIL_SPAN]
        w(f"    // lead 0x{lead:02X}")
        for i in range(0, TRAIL_SPAN, 16):
            w("    " + " ".join(f"0x{v:04X}," for v in row[i:i + 16]))
    w("};")
    w(f"constexpr Cp932EncodeEntry kCp932Encode[{len(encode)}] = {{")
    items = sorted(encode.items())
    for i in range(0, len(items), 8):
        w("    " + " ".join(f"{{0x{cp:04X}, 0x{code:04X}}}," for cp, code in items[i:i + 8]))
    w("};")
    w("// clang-format on")

    with open(out_path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    print(f"wrote {os.path.normpath(out_path)}: {valid_single} single, {valid_double} double, "
          f"{len(encode)} encode entries, {len(duplicates)} duplicated characters, "
          f"{len(one_way)} one-way mappings left out")


if __name__ == "__main__":
    main()
