#!/usr/bin/env python3
"""Draws the wizard's page pictures and program icon into ui/res/.

ImageMagick (`convert`, with the DejaVu fonts of fonts-dejavu-core) rasterises the
pictures; this script lays them out and writes the files itself, so that their formats
are exact: 600x400 24-bit bottom-up uncompressed BMPs and a 48x48 32-bit icon with one
image.

    python3 ui/art/make_art.py [output-dir]
"""
import os
import struct
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 600, 400
BLACK = "rgb(0,0,0)"
GREY = "rgb(50,49,48)"
BLUE = "rgb(3,151,212)"
FONT = "DejaVu-Sans-Bold"
TEXT_SIZE = 17
LINE_STEP = 28
MAKER = "QUORVANE"


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def raw_pixels(path, size, channels):
    """The picture's pixels, top row first, as RGB or RGBA bytes."""
    data = subprocess.run(
        ["convert", path, "-depth", "8", f"{channels}:-"], check=True, capture_output=True
    ).stdout
    width, height = size
    expected = width * height * len(channels)
    if len(data) != expected:
        raise SystemExit(f"{path}: {len(data)} bytes of pixels, expected {expected}")
    return data


def text_lines(x, first_top, lines, step=LINE_STEP):
    """-annotate arguments for left-aligned lines whose tops are `step` pixels apart."""
    args = ["-font", FONT, "-pointsize", str(TEXT_SIZE), "-fill", BLUE, "-gravity", "NorthWest"]
    for i, line in enumerate(lines):
        args += ["-annotate", f"+{x}+{first_top + i * step}", line]
    return args


def panel(path, width, height, logo_radius, letter_size):
    """The maker's panel: a letter pattern of the name, light at the top fading into blue,
    with rounded corners and the circular logo in the middle."""
    rows = []
    for i, top in enumerate(range(2, height, letter_size + 3)):
        shift = (i % 2) * letter_size
        rows += ["-annotate", f"+{2 - shift}+{top}", (MAKER + " ") * 6]
    cx, cy = width // 2, height // 2
    r = logo_radius
    convert(
        "-size", f"{width}x{height}", "gradient:rgb(236,242,246)-rgb(3,151,212)",
        "-font", FONT, "-pointsize", str(letter_size), "-gravity", "NorthWest",
        "-fill", "rgba(255,255,255,0.45)", *rows,
        # the logo: a dark disc in a white ring, the maker's initial in it
        "-fill", "rgb(20,40,60)", "-stroke", "white", "-strokewidth", str(max(2, r // 10)),
        "-draw", f"circle {cx},{cy} {cx + r},{cy}",
        "-stroke", "none", "-fill", "white", "-pointsize", str(int(r * 1.3)),
        "-gravity", "Center", "-annotate", f"+0+{-r // 12}", "Q",
        "-fill", BLUE, "-draw", f"circle {cx + r // 3},{cy + r // 3} {cx + r // 3 + r // 7},{cy + r // 3}",
        # softly rounded corners over black
        "(", "-size", f"{width}x{height}", "xc:black", "-fill", "white",
        "-draw", f"roundrectangle 0,0 {width - 1},{height - 1} 14,14", ")",
        "-alpha", "off", "-compose", "CopyOpacity", "-composite",
        "-background", "black", "-compose", "Over", "-flatten",
        path,
    )


def page(path, work, background, panel_args, text_args):
    convert("-size", f"{WIDTH}x{HEIGHT}", "xc:" + GREY, *background, *panel_args,
            *text_args, "-type", "TrueColor", "-alpha", "off", path)


def write_bmp(path, rgb, width, height):
    """A 24-bit, bottom-up, uncompressed device-independent bitmap."""
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for y in range(height - 1, -1, -1):
        row = rgb[y * width * 3:(y + 1) * width * 3]
        bgr = bytearray(len(row))
        bgr[0::3], bgr[1::3], bgr[2::3] = row[2::3], row[1::3], row[0::3]
        body += bgr + b"\0" * (stride - width * 3)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + body)


def write_ico(path, rgba, size):
    """An icon file with one 32-bit image: BGRA rows bottom-up, then the AND mask (all
    zero: the alpha channel decides)."""
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        row = rgba[y * size * 4:(y + 1) * size * 4]
        bgra = bytearray(len(row))
        bgra[0::4], bgra[1::4], bgra[2::4], bgra[3::4] = row[2::4], row[1::4], row[0::4], row[3::4]
        xor += bgra
    mask_stride = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_stride * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                       0, 0, 0, 0)
    image = info + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


def icon(path):
    """A white identification tag on a cord, a four-digit number on it, on a grey square
    that is lighter in the middle."""
    convert(
        "-size", "48x48", "radial-gradient:rgb(196,196,196)-rgb(92,92,92)",
        "(", "-size", "48x48", "xc:black", "-fill", "white",
        "-draw", "roundrectangle 0,0 47,47 6,6", ")",
        "-alpha", "off", "-compose", "CopyOpacity", "-composite", "-compose", "Over",
        # the cord, from the top edge to the tag's eyelet
        "-fill", "none", "-stroke", "rgb(150,90,40)", "-strokewidth", "2",
        "-draw", "path 'M 14,0 Q 18,8 22,13'", "-draw", "path 'M 34,0 Q 30,8 26,13'",
        # the tag
        "-stroke", "rgb(70,70,70)", "-strokewidth", "1", "-fill", "white",
        "-draw", "polygon 24,10 38,20 38,42 10,42 10,20",
        "-fill", "rgb(92,92,92)", "-draw", "circle 24,17 24,19",
        "-stroke", "none", "-fill", "black", "-font", "DejaVu-Sans-Condensed-Bold",
        "-pointsize", "10", "-gravity", "NorthWest", "-annotate", "+12+27", "4721",
        path,
    )


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "res")
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        tall = os.path.join(work, "panel_tall.png")
        short = os.path.join(work, "panel_short.png")
        panel(tall, 176, 348, 52, 13)
        panel(short, 134, 92, 30, 9)

        strip = ["-fill", BLACK, "-draw", "rectangle 0,0 225,399"]
        band = ["-fill", BLACK, "-draw", "rectangle 0,0 599,101"]
        with_tall = [tall, "-geometry", "+26+28", "-composite"]
        with_short = [short, "-geometry", "+5+5", "-composite"]

        pages = {
            "page_welcome.bmp": (strip, with_tall, text_lines(244, 37, [
                "Thank you for choosing",
                "Quorvane Telemetry.",
            ]) + text_lines(244, 37 + 2 * LINE_STEP + 32, [
                "This wizard will help you use the",
                "Probe KX Unit to identify and test",
                "your probes.",
            ]) + text_lines(244, 37 + 5 * LINE_STEP + 64, [
                "The KX Unit should already be",
                "connected to your USB port before",
                "proceeding.",
            ])),
            "page_connect.bmp": (strip, with_tall, text_lines(250, 100, [
                "One moment while we",
                "attempt to connect to",
                "KX Unit...",
            ])),
            "page_unit.bmp": (band, with_short, text_lines(157, 10, [
                "Now connect your Quorvane Telemetry",
                "probe to the KX Unit and press",
                "\u201cQuery\u201d.",
            ]) + ["-gravity", "Center", "-annotate", "+6+10", "results text box here"]),
        }
        for name, (background, panel_args, text_args) in pages.items():
            png = os.path.join(work, name + ".png")
            page(png, work, background, panel_args, text_args)
            write_bmp(os.path.join(out, name), raw_pixels(png, (WIDTH, HEIGHT), "rgb"),
                      WIDTH, HEIGHT)

        png = os.path.join(work, "icon.png")
        icon(png)
        write_ico(os.path.join(out, "KXWizard.ico"), raw_pixels(png, (48, 48), "rgba"), 48)


if __name__ == "__main__":
    main()
