#!/usr/bin/env python3
"""Draws Torvane's icons and tool-bar images and writes them into res/.

The pictures are drawn from simple shapes so that they can be changed here and rebuilt:
  res/mainicon.ico   program icon: 16x16 and 32x32, each in 16 and 256 colours
  res/active.ico     tray image while the main window is shown (32x32, 16 colours)
  res/sleep.ico      the same picture dimmed, while the window is hidden
  res/toolbar.bmp    the button images, 16x16 each, side by side, magenta as transparent
  res/tree.bmp       the tree and item-list images, 16x16 each, magenta as transparent
  res/minitool.bmp   the mini tool window's button images, 12x12 each, magenta as transparent

Run: python3 scripts/make_images.py  (no third-party modules needed)
"""
import math
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
MAGENTA = (255, 0, 255)

# The 16 colours of the standard VGA palette, the only ones a 16-colour image can use.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


class Canvas:
    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        self.px = [[bg for _ in range(w)] for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.set(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def ring(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x - cx, y - cy)
                if r - 0.5 <= d < r + 0.5:
                    self.set(x, y, c)

    def glyph(self, x0, y0, rows, c):
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch == "#":
                    self.set(x0 + dx, y0 + dy, c)

    def blit(self, other, x0, y0):
        for y in range(other.h):
            for x in range(other.w):
                if other.px[y][x] is not None:
                    self.set(x0 + x, y0 + y, other.px[y][x])


BLACK, DARK, GREY, LIGHT, WHITE = (0, 0, 0), (128, 128, 128), (160, 160, 160), (192, 192, 192), (255, 255, 255)
NAVY, BLUE, SKY, CYAN = (0, 0, 128), (0, 0, 255), (90, 150, 230), (0, 200, 220)
RED, DRED, GREEN, DGREEN = (230, 30, 30), (128, 0, 0), (40, 180, 40), (0, 110, 0)
YELLOW, GOLD, BROWN, ORANGE = (255, 230, 60), (220, 170, 30), (140, 90, 40), (255, 150, 30)

QUESTION = [" ### ", "#   #", "    #", "   # ", "  #  ", "     ", "  #  "]
LETTER_I = ["#", " ", "#", "#", "#", "#", "#"]


def document(c, x=3, y=1):
    c.rect(x, y, x + 9, y + 13, WHITE)
    c.frame(x, y, x + 9, y + 13, DARK)
    for ly in range(y + 3, y + 12, 2):
        c.line(x + 2, ly, x + 7, ly, GREY)


def folder(c, open_=False):
    c.rect(1, 4, 6, 5, GOLD)
    c.rect(1, 5, 14, 13, GOLD if open_ else YELLOW)
    c.frame(1, 5, 14, 13, BROWN)
    c.line(1, 4, 6, 4, BROWN)
    if open_:
        for i in range(6):
            c.line(3 + i // 2, 8 + i, 15, 8 + i, YELLOW) if 8 + i <= 13 else None
        c.line(3, 8, 15, 8, BROWN)


def plus(c, cx, cy, col=GREEN):
    c.rect(cx - 3, cy - 1, cx + 3, cy + 1, col)
    c.rect(cx - 1, cy - 3, cx + 1, cy + 3, col)


def cross(c, cx, cy, col=RED, r=3):
    for d in (-1, 0, 1):
        c.line(cx - r, cy - r + d, cx + r, cy + r + d, col)
        c.line(cx - r, cy + r + d, cx + r, cy - r + d, col)


def small_window(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, WHITE)
    c.frame(x0, y0, x1, y1, NAVY)
    c.rect(x0, y0, x1, y0 + 2, BLUE)


def tool_images():
    imgs = []

    def new():
        c = Canvas(16, 16)
        imgs.append(c)
        return c

    c = new()  # 0 exit: a door with an arrow leaving it
    c.rect(2, 1, 9, 14, BROWN)
    c.frame(2, 1, 9, 14, BLACK)
    c.set(8, 8, YELLOW)
    c.line(10, 8, 15, 8, RED)
    c.line(13, 6, 15, 8, RED)
    c.line(13, 10, 15, 8, RED)
    c = new()  # 1 to the tray: a window going down into the task bar
    small_window(c, 2, 1, 13, 8)
    c.rect(0, 13, 15, 15, LIGHT)
    c.line(0, 13, 15, 13, WHITE)
    c.line(7, 9, 7, 12, RED)
    c.line(5, 10, 7, 12, RED)
    c.line(9, 10, 7, 12, RED)
    c = new()  # 2 macro: a keyboard
    c.rect(0, 5, 15, 13, LIGHT)
    c.frame(0, 5, 15, 13, DARK)
    for y in (7, 9):
        for x in range(2, 14, 2):
            c.set(x, y, BLACK)
    c.line(4, 11, 11, 11, BLACK)
    c = new()  # 3 add item
    document(c, 2)
    plus(c, 11, 11)
    c = new()  # 4 item (spare)
    document(c)
    c = new()  # 5 delete item
    document(c, 2)
    cross(c, 11, 11)
    c = new()  # 6 open URL: a globe
    c.disc(7.5, 7.5, 6.5, SKY)
    c.ring(7.5, 7.5, 6.5, NAVY)
    c.line(1, 7, 14, 7, NAVY)
    c.line(7, 1, 7, 14, NAVY)
    for y in range(2, 14):
        dx = round(3 * math.sqrt(max(0, 1 - ((y - 7.5) / 6.5) ** 2)))
        c.set(7 - dx, y, NAVY)
        c.set(8 + dx, y, NAVY)
    c = new()  # 7 send mail: an envelope
    c.rect(1, 4, 14, 12, WHITE)
    c.frame(1, 4, 14, 12, DARK)
    c.line(1, 4, 7, 9, DARK)
    c.line(14, 4, 8, 9, DARK)
    c = new()  # 8 help
    c.disc(7.5, 7.5, 7, BLUE)
    c.glyph(6, 4, QUESTION, WHITE)
    c = new()  # 9 property panel: a window with a panel below
    small_window(c, 1, 1, 14, 14)
    c.rect(2, 9, 13, 13, LIGHT)
    c.line(2, 9, 13, 9, DARK)
    c.line(4, 11, 11, 11, DARK)
    c = new()  # 10 new folder
    folder(c)
    plus(c, 11, 10, GREEN)
    c = new()  # 11 delete folder
    folder(c)
    cross(c, 11, 10)
    c = new()  # 12 open file
    folder(c, True)
    c = new()  # 13 version information
    c.disc(7.5, 7.5, 7, DGREEN)
    c.glyph(7, 4, LETTER_I, WHITE)
    c.glyph(8, 4, LETTER_I, WHITE)
    c = new()  # 14 save: a floppy disk
    c.rect(1, 1, 14, 14, NAVY)
    c.rect(4, 1, 11, 6, WHITE)
    c.rect(9, 2, 10, 5, NAVY)
    c.rect(3, 9, 12, 14, LIGHT)
    c = new()  # 15 reload: a circular arrow
    c.ring(7.5, 7.5, 5, DGREEN)
    c.rect(9, 1, 15, 6, None)
    c.line(9, 3, 13, 3, DGREEN)
    c.line(13, 3, 13, 7, DGREEN)
    c = new()  # 16 settings: a gear
    c.disc(7.5, 7.5, 5.5, DARK)
    for a in range(8):
        x = 7.5 + 6.5 * math.cos(a * math.pi / 4)
        y = 7.5 + 6.5 * math.sin(a * math.pi / 4)
        c.rect(round(x) - 1, round(y) - 1, round(x), round(y), DARK)
    c.disc(7.5, 7.5, 2, WHITE)
    c = new()  # 17 mini window
    small_window(c, 4, 4, 12, 12)
    c.line(6, 8, 10, 8, DARK)
    c.line(6, 10, 10, 10, DARK)
    return imgs


def tree_images():
    imgs = []
    c = Canvas(16, 16)  # 0 top node: a card box
    c.rect(1, 5, 14, 14, ORANGE)
    c.frame(1, 5, 14, 14, BROWN)
    c.rect(3, 2, 12, 6, WHITE)
    c.frame(3, 2, 12, 6, DARK)
    c.line(1, 9, 14, 9, BROWN)
    imgs.append(c)
    c = Canvas(16, 16)  # 1 folder
    folder(c)
    imgs.append(c)
    c = Canvas(16, 16)  # 2 open folder
    folder(c, True)
    imgs.append(c)
    c = Canvas(16, 16)  # 3 due soon: a yellow warning triangle
    for y in range(2, 15):
        half = (y - 2) * 7 // 12
        c.line(7 - half, y, 8 + half, y, YELLOW)
    c.line(7, 2, 1, 14, BROWN)
    c.line(8, 2, 14, 14, BROWN)
    c.line(1, 14, 14, 14, BROWN)
    c.rect(7, 6, 8, 10, BLACK)
    c.rect(7, 12, 8, 12, BLACK)
    imgs.append(c)
    c = Canvas(16, 16)  # 4 expired: a red stop sign
    c.disc(7.5, 7.5, 7, RED)
    c.rect(3, 6, 12, 9, WHITE)
    imgs.append(c)
    c = Canvas(16, 16)  # 5 record
    c.rect(2, 3, 13, 12, WHITE)
    c.frame(2, 3, 13, 12, DARK)
    c.rect(4, 5, 6, 7, SKY)
    c.line(8, 5, 11, 5, GREY)
    c.line(8, 7, 11, 7, GREY)
    c.line(4, 10, 11, 10, GREY)
    imgs.append(c)
    return imgs


def mini_images():
    """The mini tool window's buttons: the main window's pictures drawn again at 12x12."""
    imgs = []

    def new():
        c = Canvas(12, 12)
        imgs.append(c)
        return c

    c = new()  # 0 exit: a door with an arrow leaving it
    c.rect(1, 1, 6, 10, BROWN)
    c.frame(1, 1, 6, 10, BLACK)
    c.set(5, 6, YELLOW)
    c.line(7, 6, 11, 6, RED)
    c.line(9, 4, 11, 6, RED)
    c.line(9, 8, 11, 6, RED)
    c = new()  # 1 close the mini window: a small window with a cross
    small_window(c, 0, 1, 11, 10)
    cross(c, 6, 7, RED, 2)
    c = new()  # 2 main window: a window with a list
    small_window(c, 0, 0, 11, 11)
    for y in (5, 7, 9):
        c.line(2, y, 9, y, DARK)
    c = new()  # 3 run the macro: a keyboard
    c.rect(0, 3, 11, 10, LIGHT)
    c.frame(0, 3, 11, 10, DARK)
    for y in (5, 7):
        for x in range(2, 10, 2):
            c.set(x, y, BLACK)
    c.line(3, 9, 8, 9, BLACK)
    c = new()  # 4 open URL: a globe
    c.disc(5.5, 5.5, 5, SKY)
    c.ring(5.5, 5.5, 5, NAVY)
    c.line(1, 5, 10, 5, NAVY)
    c.line(5, 1, 5, 10, NAVY)
    for y in range(2, 10):
        dx = round(2 * math.sqrt(max(0, 1 - ((y - 5.5) / 5) ** 2)))
        c.set(5 - dx, y, NAVY)
        c.set(6 + dx, y, NAVY)
    c = new()  # 5 send mail: an envelope
    c.rect(0, 2, 11, 9, WHITE)
    c.frame(0, 2, 11, 9, DARK)
    c.line(0, 2, 5, 6, DARK)
    c.line(11, 2, 6, 6, DARK)
    c = new()  # 6 help
    c.disc(5.5, 5.5, 5.5, BLUE)
    c.glyph(4, 2, QUESTION, WHITE)
    c = new()  # 7 version information
    c.disc(5.5, 5.5, 5.5, DGREEN)
    c.glyph(5, 2, LETTER_I, WHITE)
    c.glyph(6, 2, LETTER_I, WHITE)
    return imgs


def mainicon(size):
    """A card with a key across it: the catalogue of keys and serials."""
    c = Canvas(size, size)
    s = size / 32.0

    def sc(v):
        return int(round(v * s))

    c.rect(sc(3), sc(6), sc(26), sc(27), WHITE)
    c.frame(sc(3), sc(6), sc(26), sc(27), NAVY)
    c.rect(sc(3), sc(6), sc(26), sc(10), BLUE)
    for y in (14, 18, 22):
        c.line(sc(6), sc(y), sc(16), sc(y), GREY)
    c.disc(sc(22), sc(20), max(2, sc(6)), GOLD)
    c.disc(sc(22), sc(20), max(1, sc(2)), WHITE)
    c.rect(sc(14), sc(19), sc(18), sc(21), GOLD)
    c.rect(sc(10), sc(19), sc(14), sc(21), GOLD)
    c.rect(sc(10), sc(21), sc(11), sc(24), GOLD)
    c.rect(sc(13), sc(21), sc(14), sc(23), GOLD)
    c.frame(sc(3), sc(6), sc(26), sc(27), NAVY)
    return c


def dim(c):
    out = Canvas(c.w, c.h)
    for y in range(c.h):
        for x in range(c.w):
            p = c.px[y][x]
            if p is not None:
                g = (p[0] * 30 + p[1] * 59 + p[2] * 11) // 100
                out.px[y][x] = (g // 2 + 64, g // 2 + 64, g // 2 + 64)
    return out


def nearest(palette, c):
    return min(range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], c)))


def palette256(canvases):
    colours = []
    for c in canvases:
        for row in c.px:
            for p in row:
                if p is not None and p not in colours:
                    colours.append(p)
    colours = (colours + VGA16)[:256]
    return colours + [(0, 0, 0)] * (256 - len(colours))


def icon_image(c, bpp, palette):
    """One icon directory image: BITMAPINFOHEADER, palette, XOR bits, AND mask."""
    w, h = c.w, c.h
    row_bytes = ((w * bpp + 31) // 32) * 4
    mask_row = ((w + 31) // 32) * 4
    xor, andm = bytearray(), bytearray()
    for y in reversed(range(h)):
        bits, mbits = [], []
        for x in range(w):
            p = c.px[y][x]
            bits.append(0 if p is None else nearest(palette, p))
            mbits.append(1 if p is None else 0)
        row = bytearray()
        if bpp == 4:
            for i in range(0, w, 2):
                row.append((bits[i] << 4) | (bits[i + 1] if i + 1 < w else 0))
        else:
            row.extend(bits)
        row.extend(b"\0" * (row_bytes - len(row)))
        xor += row
        mrow = bytearray(mask_row)
        for x, m in enumerate(mbits):
            if m:
                mrow[x // 8] |= 0x80 >> (x % 8)
        andm += mrow
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0, len(xor) + len(andm), 0, 0, len(palette), 0)
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    return header + pal + bytes(xor) + bytes(andm), len(palette)


def write_ico(path, images):
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for c, bpp, palette in images:
        blob, ncol = icon_image(c, bpp, palette)
        entries.append(struct.pack("<BBBBHHII", c.w % 256, c.h % 256, ncol % 256, 0, 1, bpp, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)))
        f.write(b"".join(entries))
        f.write(b"".join(blobs))


def write_strip_bmp(path, canvases, size=16):
    """24-bit bitmap of square images side by side; empty pixels magenta (the mask colour)."""
    w, h = size * len(canvases), size
    row_bytes = ((w * 3 + 3) // 4) * 4
    data = bytearray()
    for y in reversed(range(h)):
        row = bytearray()
        for c in canvases:
            for x in range(size):
                p = c.px[y][x] or MAGENTA
                row += bytes((p[2], p[1], p[0]))
        row += b"\0" * (row_bytes - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def main():
    small, big = mainicon(16), mainicon(32)
    pal = palette256([small, big])
    write_ico(os.path.join(ROOT, "mainicon.ico"),
              [(small, 4, VGA16), (big, 4, VGA16), (small, 8, pal), (big, 8, pal)])
    write_ico(os.path.join(ROOT, "active.ico"), [(big, 4, VGA16)])
    write_ico(os.path.join(ROOT, "sleep.ico"), [(dim(big), 4, VGA16)])
    write_strip_bmp(os.path.join(ROOT, "toolbar.bmp"), tool_images())
    write_strip_bmp(os.path.join(ROOT, "tree.bmp"), tree_images())
    write_strip_bmp(os.path.join(ROOT, "minitool.bmp"), mini_images(), 12)


if __name__ == "__main__":
    main()
