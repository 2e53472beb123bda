#!/usr/bin/env python3
"""Remakes the picture files in tests/corpus/: one small picture (at most
16 x 16) in each BMP sub-format that Qt reads, and one in each other format
the viewer reads through Qt (two for JPEG: baseline and progressive), and the
text formats without a newline after their last line: ASCII PBM, PGM and PPM,
and XBM and XPM laid out as Qt writes them. The table test cuts each at every
length and the fuzzer starts from them; what the fuzzer found lives in
tests/corpus/found/ and is left alone.

Needs ImageMagick's `convert` (Debian: apt-get install imagemagick) and
python3. ImageMagick writes every sub-format but two, which this script makes
from ImageMagick's own files: pictures stored top down (a negative height)
and run-length data in absolute mode, which covers RLE4 (ImageMagick writes
only RLE8, and only runs of repeated pixels).

Run from anywhere: python3 scripts/make-corpus.py
"""

import os
import re
import struct
import subprocess
import sys

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "corpus")

# ImageMagick's built-in photograph, so the pictures have many colours.
SOURCE = "rose:"


def made(size, options, coder):
    return subprocess.run(["convert", SOURCE, "-resize", size + "!"] + options + [coder + ":-"],
                          check=True, stdout=subprocess.PIPE).stdout


class Bmp:
    """The fields of a BMP file that the transforms below rewrite."""

    def __init__(self, data):
        self.data = bytearray(data)
        self.offset, self.header = struct.unpack_from("<II", data, 10)
        if self.header == 12:
            self.width, self.height, _, self.bits = struct.unpack_from("<hhHH", data, 18)
        else:
            self.width, self.height, _, self.bits = struct.unpack_from("<iiHH", data, 18)
        self.row = (self.width * self.bits + 31) // 32 * 4

    def rows(self):
        return [self.data[self.offset + y * self.row:self.offset + (y + 1) * self.row]
                for y in range(abs(self.height))]

    def pixels(self, row):
        """The palette indices of one row of a 4- or 8-bit picture."""
        if self.bits == 8:
            return list(row[:self.width])
        return [(row[x // 2] >> (4 if x % 2 == 0 else 0)) & 15 for x in range(self.width)]


def top_down(data):
    """The same picture with its rows stored top first and a negative height."""
    bmp = Bmp(data)
    out = bmp.data[:bmp.offset] + b"".join(reversed(bmp.rows()))
    struct.pack_into("<h" if bmp.header == 12 else "<i", out, 22 if bmp.header != 12 else 20,
                     -bmp.height)
    return bytes(out)


def run_length(data):
    """The same 4- or 8-bit picture run-length encoded: repeats as runs, other
    stretches of three pixels or more in absolute mode, each row closed by an
    end-of-line escape except the last, which the end-of-bitmap escape closes."""
    bmp = Bmp(data)
    rle4 = bmp.bits == 4
    stream = bytearray()
    rows = bmp.rows()
    for y, row in enumerate(rows):
        pixels = bmp.pixels(row)
        x = 0
        while x < len(pixels):
            run = 1
            while x + run < len(pixels) and pixels[x + run] == pixels[x] and run < 255:
                run += 1
            if run >= 2 or len(pixels) - x < 3:
                stream += bytes([run, pixels[x] * 17 if rle4 else pixels[x]])
                x += run
                continue
            end = x + 1  # a stretch without repeats, up to the next pair
            while end < len(pixels) and end - x < 255 and (
                    end + 1 >= len(pixels) or pixels[end] != pixels[end + 1]):
                end += 1
            literal = pixels[x:end]
            if len(literal) < 3:
                stream += bytes([1, literal[0] * 17 if rle4 else literal[0]])
                x += 1
                continue
            if rle4:
                packed = bytes((literal[i] << 4) | (literal[i + 1] if i + 1 < len(literal) else 0)
                               for i in range(0, len(literal), 2))
            else:
                packed = bytes(literal)
            stream += bytes([0, len(literal)]) + packed + (b"\0" if len(packed) % 2 else b"")
            x = end
        stream += b"\0\1" if y == len(rows) - 1 else b"\0\0"
    out = bmp.data[:bmp.offset] + stream
    struct.pack_into("<I", out, 2, len(out))
    struct.pack_into("<II", out, 30, 2 if rle4 else 1, len(stream))
    return bytes(out)


def info_header_40(data, masks):
    """The same 16-bit picture with the 40-byte info header: bit fields with
    their three masks after the header, or (without masks) plain 5-5-5."""
    bmp = Bmp(data)
    header = bytearray(data[14:54])
    struct.pack_into("<I", header, 0, 40)
    struct.pack_into("<I", header, 16, 3 if masks else 0)
    extra = data[54:66] if masks else b""
    out = bytearray(b"BM\0\0\0\0\0\0\0\0") + struct.pack("<I", 54 + len(extra))
    out += header + extra + data[bmp.offset:]
    struct.pack_into("<I", out, 2, len(out))
    return bytes(out)


def raw_pnm(data):
    """The width, height and pixel bytes of ImageMagick's raw PBM or PPM."""
    header = re.match(rb"(P[46])\s+(\d+)\s+(\d+)\s" + rb"(?:\d+\s)?" * (data[1:2] == b"6"), data)
    return int(header[2]), int(header[3]), data[header.end():]


def qt_xbm(pbm, name="picture"):
    """The bitmap as Qt's XBM writer lays it out: 15 values a line, the last
    followed by " };" and no newline."""
    width, height, bits = raw_pnm(pbm)
    # PBM stores the leftmost pixel in the top bit of a byte, XBM in the low one.
    values = ["0x%02x" % int(f"{b:08b}"[::-1], 2) for b in bits[:(width + 7) // 8 * height]]
    body = "".join(v + ("," + ("\n " if i % 15 == 14 else "") if i < len(values) - 1 else " };")
                   for i, v in enumerate(values))
    return (f"#define {name}_width {width}\n#define {name}_height {height}\n"
            f"static char {name}_bits[] = {{\n {body}").encode()


def qt_xpm(ppm, name="picture"):
    """The pixmap as Qt's XPM writer lays it out, one character a pixel, the
    last row followed by "};" and no newline."""
    width, height, rgb = raw_pnm(ppm)
    pixels = [rgb[i:i + 3].hex() for i in range(0, width * height * 3, 3)]
    colours = sorted(set(pixels))
    code = {c: ".#abcdefghijklmnopqrstuvwxyz"[i] for i, c in enumerate(colours)}
    lines = [f'"{width} {height} {len(colours)} 1"'] + [f'"{code[c]} c #{c}"' for c in colours]
    lines += ['"' + "".join(code[p] for p in pixels[y * width:(y + 1) * width]) + '"'
              for y in range(height)]
    return (f"/* XPM */\nstatic char *{name}[]={{\n" + ",\n".join(lines) + "};").encode()


def write(name, data):
    with open(os.path.join(CORPUS, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(CORPUS, exist_ok=True)
    # ImageMagick compresses pictures with a palette unless told not to.
    palette = lambda n: ["-colors", str(n), "-type", "Palette", "-compress", "None"]
    # -intent Undefined: without a rendering intent ImageMagick writes the
    # 108-byte (V4) header instead of the 124-byte (V5) one.
    v4 = ["-intent", "Undefined"]
    alpha = ["-alpha", "set", "-channel", "A", "-fx", "(i+j)/(w+h)", "+channel"]
    files = {
        "os2-1bit.bmp": made("13x11", palette(2), "BMP2"),
        "os2-4bit.bmp": made("15x9", palette(16), "BMP2"),
        "os2-8bit.bmp": made("13x11", palette(200), "BMP2"),
        "os2-24bit.bmp": made("13x11", [], "BMP2"),
        "v3-1bit.bmp": made("16x16", palette(2), "BMP3"),
        "v3-4bit.bmp": made("13x11", palette(16), "BMP3"),
        "v3-8bit.bmp": made("13x11", palette(200), "BMP3"),
        "v3-8bit-rle.bmp": made("13x11", palette(200) + ["-compress", "RLE"], "BMP3"),
        "v3-24bit.bmp": made("13x11", [], "BMP3"),
        "v3-32bit.bmp": made("13x11", alpha + ["-define", "bmp3:alpha=true"], "BMP3"),
        "v4-24bit.bmp": made("13x11", v4, "BMP"),
        "v4-32bit-alpha.bmp": made("13x11", v4 + alpha, "BMP"),
        "v5-8bit.bmp": made("13x11", palette(200), "BMP"),
        "v5-16bit-565.bmp": made("13x11", ["-define", "bmp:subtype=RGB565"], "BMP"),
        "v5-16bit-555.bmp": made("9x7", ["-define", "bmp:subtype=RGB555"], "BMP"),
        "v5-32bit-alpha.bmp": made("13x11", alpha, "BMP"),
        # Without the chunks that date the file, so a remade file is the same.
        "picture.png": made("13x11", ["-define", "png:exclude-chunks=date,time"], "PNG"),
        "picture.jpg": made("16x16", ["-quality", "90"], "JPEG"),
        "picture-progressive.jpg": made("16x16", ["-quality", "90", "-interlace", "Plane"], "JPEG"),
        "picture.gif": made("13x11", [], "GIF"),
        "picture.ico": made("16x16", [], "ICO"),
        "picture.ppm": made("13x11", [], "PPM"),
        "picture.xbm": made("16x11", [], "XBM"),
        "picture.xpm": made("9x7", palette(8), "XPM"),
    }
    for kind in ("PBM", "PGM", "PPM"):
        # ImageMagick writes these plain (ASCII) when told not to compress.
        files[f"ascii-no-newline.{kind.lower()}"] = made("9x7", ["-compress", "None"], kind).rstrip()
    files["qt-no-newline.xbm"] = qt_xbm(made("15x9", [], "PBM"))
    files["qt-no-newline.xpm"] = qt_xpm(made("9x7", ["-colors", "6"], "PPM"))
    files["os2-24bit-topdown.bmp"] = top_down(files["os2-24bit.bmp"])
    files["v3-24bit-topdown.bmp"] = top_down(files["v3-24bit.bmp"])
    files["v3-8bit-topdown.bmp"] = top_down(files["v3-8bit.bmp"])
    # ImageMagick's 40-byte header for 16 bits says bit fields but leaves the
    # masks out, which no reader can decode.
    files["v3-16bit-565.bmp"] = info_header_40(files["v5-16bit-565.bmp"], masks=True)
    files["v3-16bit-555.bmp"] = info_header_40(files["v5-16bit-555.bmp"], masks=False)
    files["v3-4bit-rle.bmp"] = run_length(files["v3-4bit.bmp"])
    files["v3-8bit-rle-absolute.bmp"] = run_length(files["v3-8bit.bmp"])
    for name, data in sorted(files.items()):
        write(name, data)
        print(f"{name:28} {len(data):5} bytes")


if __name__ == "__main__":
    sys.exit(main())
