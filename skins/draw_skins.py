#!/usr/bin/env python3
"""Draws the skin artwork of the configuration program.

Usage: draw_skins.py OUTPUT_FOLDER

Writes into OUTPUT_FOLDER every skin description file of layouts.py with its
five sheets (Normal, Over, Down, Disable, Mask), the slider thumbs, the record
button images, "DPI_Window_Mask.bmp", the mouse pictures in "Mouse\\", and in
"res\\" the bitmaps and icons the programs' resource scripts include.
Everything is drawn from code; the output is the same on every run.
"""
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

sys.dont_write_bytecode = True  # keep the source tree free of build output
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "tools"))
import layouts as L  # noqa: E402

# Palette: dark navy surfaces, yellow and light-grey accents.
NAVY0 = (8, 13, 28)
NAVY1 = (14, 22, 44)
NAVY2 = (22, 34, 64)
NAVY3 = (32, 50, 92)
NAVY_HI = (44, 68, 120)
LINE = (52, 72, 118)
YELLOW = (250, 200, 40)
YELLOW_DIM = (120, 96, 24)
GREY = (196, 202, 214)
WHITE = (244, 246, 250)
DIM = (86, 94, 112)
DIS_FILL = (20, 26, 38)
DIS_LINE = (42, 48, 62)
WELL = (229, 229, 229)

S = 2  # sheets are drawn at twice the size, then reduced, for smooth edges
FONT_DIR = "/usr/share/fonts/truetype"
_fonts = {}


# Every face the artwork uses, with the Debian package that ships it.
FONT_FILES = {
    ("dejavu", True): ("dejavu/DejaVuSansCondensed-Bold.ttf", "fonts-dejavu-extra"),
    ("dejavu", False): ("dejavu/DejaVuSansCondensed.ttf", "fonts-dejavu-extra"),
    ("liberation", True): ("liberation/LiberationSans-Bold.ttf", "fonts-liberation"),
    ("liberation", False): ("liberation/LiberationSans-Regular.ttf", "fonts-liberation"),
}


def font_path(face, bold):
    """The file of a face, or a stop that names the package to install."""
    name, package = FONT_FILES[(face, bold)]
    path = os.path.join(FONT_DIR, name)
    if not os.path.isfile(path):
        sys.exit(f"draw_skins.py: font {path} is missing; install the Debian package "
                 f"'{package}' (tools/install-deps.sh installs it)")
    return path


def font(size, bold=True, face="dejavu"):
    key = (size, bold, face)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(font_path(face, bold), size)
    return _fonts[key]


def check_fonts():
    for face, bold in FONT_FILES:
        font_path(face, bold)


def chamfer(x0, y0, x1, y1, big, small):
    """Outline with the top-left and bottom-right corners cut by `big`, the others by `small`."""
    return [(x0 + big, y0), (x1 - small, y0), (x1, y0 + small), (x1, y1 - big),
            (x1 - big, y1), (x0 + small, y1), (x0, y1 - small), (x0, y0 + big)]


class Sheet:
    """One full-window image drawn at S times its size."""

    def __init__(self, w, h, fill=(255, 255, 255)):
        self.w, self.h = w, h
        self.img = Image.new("RGB", (w * S, h * S), fill)
        self.d = ImageDraw.Draw(self.img)

    def poly(self, pts, fill=None, outline=None, width=1):
        p = [(x * S, y * S) for x, y in pts]
        self.d.polygon(p, fill=fill)
        if outline:
            self.d.line(p + [p[0]], fill=outline, width=width * S, joint="curve")

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=1, radius=0):
        box = [x0 * S, y0 * S, x1 * S - 1, y1 * S - 1]
        if radius:
            self.d.rounded_rectangle(box, radius * S, fill=fill, outline=outline, width=width * S)
        else:
            self.d.rectangle(box, fill=fill, outline=outline, width=width * S)

    def line(self, pts, fill, width=1):
        self.d.line([(x * S, y * S) for x, y in pts], fill=fill, width=width * S)

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.d.ellipse([x0 * S, y0 * S, x1 * S - 1, y1 * S - 1], fill=fill, outline=outline,
                       width=width * S)

    def text(self, x, y, s, size, fill, bold=True, anchor="la", face="dejavu"):
        self.d.text((x * S, y * S), s, font=font(size * S, bold, face), fill=fill, anchor=anchor)

    def text_width(self, s, size, bold=True):
        return self.d.textlength(s, font=font(size * S, bold)) / S

    def final(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


# ---------------------------------------------------------------- window frames

def outline_of(win):
    w, h = win["size"]
    kind = win["kind"]
    if kind == "main":
        return chamfer(0, 0, w, h, 26, 10)
    if kind == "page":
        return chamfer(0, 0, w, h, 16, 5)
    return chamfer(0, 0, w, h, 18, 6)


def draw_mask(win):
    w, h = win["size"]
    img = Image.new("RGB", (w, h), (255, 255, 255))
    d = ImageDraw.Draw(img)
    d.polygon(outline_of(win), fill=(0, 0, 0))
    return img


def draw_frame(sh, win):
    w, h = win["size"]
    kind = win["kind"]
    pts = outline_of(win)
    if kind == "main":
        sh.poly(pts, fill=NAVY0)
        # Vertical shading of the body.
        for y in range(0, h, 2):
            t = y / h
            c = tuple(int(NAVY0[i] + (NAVY1[i] - NAVY0[i]) * (1 - t) * 0.8) for i in range(3))
            sh.line([(1, y), (w - 1, y)], fill=c, width=2)
        sh.poly(pts, outline=LINE, width=2)
        # Title strip and yellow accents.
        sh.line([(190, 48), (w - 12, 48)], fill=LINE, width=1)
        sh.poly([(0, 26), (26, 0), (120, 0), (114, 4), (28, 4), (4, 28), (4, 90), (0, 94)],
                fill=YELLOW)
        sh.poly([(w, h - 26), (w - 26, h), (w - 140, h), (w - 134, h - 4), (w - 28, h - 4),
                 (w - 4, h - 28), (w - 4, h - 90), (w, h - 94)], fill=YELLOW)
        # The panel under the profile column.
        sh.poly(chamfer(12, 92, 204, 516, 12, 4), fill=NAVY1, outline=LINE)
        # Page area shadow.
        x, y = L.PAGE_X, L.PAGE_Y
        sh.poly(chamfer(x - 4, y - 4, x + L.PAGE_W + 4, y + L.PAGE_H + 4, 18, 6), fill=NAVY0,
                outline=LINE)
        return
    if kind == "page":
        sh.poly(pts, fill=NAVY1)
        # A faint grid gives the surface some depth.
        for gx in range(24, w, 24):
            sh.line([(gx, 2), (gx, h - 2)], fill=(17, 26, 50))
        for gy in range(24, h, 24):
            sh.line([(2, gy), (w - 2, gy)], fill=(17, 26, 50))
        sh.poly(pts, outline=LINE, width=1)
        sh.line([(16, 0), (120, 0)], fill=YELLOW, width=2)
        return
    # Pop-ups: frame, title bar, title.
    sh.poly(pts, fill=NAVY1)
    sh.poly([(18, 0), (w - 6, 0), (w, 6), (w, 40), (0, 40), (0, 18)], fill=NAVY2)
    sh.line([(2, 40), (w - 2, 40)], fill=LINE)
    sh.poly(pts, outline=LINE, width=2)
    sh.poly([(0, 18), (18, 0), (70, 0), (66, 3), (19, 3), (3, 19), (3, 40), (0, 40)], fill=YELLOW)
    title = win.get("title", "")
    if title:
        sh.text(26, 21, title, 14 if w > 300 else 11, WHITE, anchor="lm")
    if win.get("warn"):
        # A warning triangle left of the question.
        cx, cy = 48, 82
        sh.poly([(cx, cy - 24), (cx + 26, cy + 20), (cx - 26, cy + 20)], fill=YELLOW)
        sh.rect(cx - 2, cy - 10, cx + 3, cy + 8, fill=NAVY1)
        sh.rect(cx - 2, cy + 11, cx + 3, cy + 16, fill=NAVY1)


def draw_texts(sh, win):
    for x, y, s, style in win.get("texts", []):
        if style == "head":
            sh.rect(x, y + 3, x + 3, y + 14, fill=YELLOW)
            sh.text(x + 9, y, s, 13, YELLOW)
        elif style == "label":
            sh.text(x, y, s, 13, GREY)
        elif style == "small":
            sh.text(x, y, s, 10, DIM)
        elif style == "note":
            sh.text(x, y, s, 12, (150, 158, 176), bold=False)
        elif style == "question":
            sh.text(x, y, s, 15, WHITE)


# ---------------------------------------------------------------- controls

STATES = ("normal", "over", "down", "disable")


def plate(sh, x, y, w, h, state, active_fill=YELLOW, cut=6):
    pts = chamfer(x, y, x + w, y + h, cut, 2)
    if state == "normal":
        sh.poly(pts, fill=NAVY2, outline=LINE)
        sh.line([(x + cut, y + 1), (x + w - 3, y + 1)], fill=NAVY3)
    elif state == "over":
        sh.poly(pts, fill=NAVY_HI, outline=YELLOW)
        sh.rect(x + 2, y + cut + 2, x + 4, y + h - 4, fill=YELLOW)
    elif state == "down":
        sh.poly(pts, fill=active_fill, outline=YELLOW)
    else:
        sh.poly(pts, fill=DIS_FILL, outline=DIS_LINE)


def label_colour(state, on_yellow=True):
    return {"normal": GREY, "over": WHITE, "down": NAVY0 if on_yellow else WHITE,
            "disable": DIM}[state]


def draw_button(sh, ctl, state):
    style, x, y, w, h, label = ctl[:6]
    size = 13 if h >= 28 else 11
    if style == "tab":
        plate(sh, x, y, w, h, state, cut=8)
        if state == "down":
            sh.rect(x + 4, y + h - 3, x + w - 4, y + h, fill=WHITE)
        sh.text(x + w / 2, y + h / 2 + 1, label, 13, label_colour(state), anchor="mm")
    elif style in ("button", "radio", "toggle"):
        plate(sh, x, y, w, h, state)
        sh.text(x + w / 2, y + h / 2 + 1, label, size, label_colour(state), anchor="mm")
    elif style == "selector":
        plate(sh, x, y, w, h, state, cut=10)
        sh.text(x + w / 2, y + h / 2 + 1, label, 20, label_colour(state), anchor="mm")
    elif style == "caption":
        # The function name is drawn over this plate by the program, in light grey.
        plate(sh, x, y, w, h, state, active_fill=(92, 72, 14))
        badge = {"normal": NAVY3, "over": YELLOW, "down": YELLOW, "disable": DIS_LINE}[state]
        sh.poly(chamfer(x + 3, y + 3, x + 25, y + h - 3, 4, 1), fill=badge)
        sh.text(x + 14, y + h / 2 + 1, label, 11,
                NAVY0 if state in ("over", "down") else GREY if state == "normal" else DIM,
                anchor="mm")
    elif style == "dropdown":
        plate(sh, x, y, w, h, state, active_fill=(92, 72, 14))
        ax, ay = x + w - 20, y + h / 2
        col = {"normal": GREY, "over": YELLOW, "down": YELLOW, "disable": DIM}[state]
        sh.poly([(ax - 6, ay - 3), (ax + 6, ay - 3), (ax, ay + 4)], fill=col)
    elif style in ("close", "min"):
        fill = {"normal": NAVY2, "over": NAVY_HI, "down": YELLOW, "disable": DIS_FILL}[state]
        edge = {"normal": LINE, "over": YELLOW, "down": YELLOW, "disable": DIS_LINE}[state]
        sh.poly(chamfer(x, y, x + w, y + h, 5, 1), fill=fill, outline=edge)
        col = {"normal": GREY, "over": YELLOW, "down": NAVY0, "disable": DIM}[state]
        cx, cy = x + w / 2, y + h / 2
        if style == "close":
            sh.line([(cx - 5, cy - 5), (cx + 5, cy + 5)], fill=col, width=2)
            sh.line([(cx - 5, cy + 5), (cx + 5, cy - 5)], fill=col, width=2)
        else:
            sh.line([(cx - 6, cy + 4), (cx + 6, cy + 4)], fill=col, width=2)
    elif style == "check":
        box = h - 6
        bx, by = x + 2, y + 3
        edge = {"normal": GREY, "over": YELLOW, "down": YELLOW, "disable": DIS_LINE}[state]
        fill = {"normal": NAVY0, "over": NAVY2, "down": YELLOW, "disable": DIS_FILL}[state]
        sh.rect(bx, by, bx + box, by + box, fill=fill, outline=edge, radius=2)
        if state == "down":
            sh.line([(bx + 3, by + box / 2), (bx + box / 2 - 1, by + box - 4),
                     (bx + box - 3, by + 3)], fill=NAVY0, width=2)
        col = {"normal": GREY, "over": WHITE, "down": YELLOW, "disable": DIM}[state]
        sh.text(bx + box + 8, y + h / 2 + 1, label, 12, col, anchor="lm")
    elif style == "logo":
        col = {"normal": WHITE, "over": YELLOW, "down": YELLOW, "disable": DIM}[state]
        mark = {"normal": YELLOW, "over": YELLOW, "down": WHITE, "disable": DIM}[state]
        sh.poly([(x + 4, y + 20), (x + 16, y + 6), (x + 28, y + 20), (x + 16, y + 34)], fill=mark)
        sh.poly([(x + 11, y + 20), (x + 16, y + 14), (x + 21, y + 20), (x + 16, y + 26)],
                fill=NAVY0)
        sh.text(x + 38, y + 21, label, 24, col, anchor="lm")
        sh.text(x + 40, y + 37, "GAMING MOUSE", 8, GREY if state != "disable" else DIM,
                anchor="ls")
    elif style == "colour":
        rgb = L.COLOURS[L.COLOUR_NAMES.index(ctl[6])]
        plate(sh, x, y, w, h, state, active_fill=NAVY_HI, cut=4)
        inner = rgb if state != "disable" else tuple(c // 3 for c in rgb)
        sh.rect(x + 6, y + 6, x + w - 6, y + h - 6, fill=inner, radius=2)
        if state == "down":
            sh.rect(x + 3, y + 3, x + w - 3, y + h - 3, outline=WHITE, width=2, radius=3)
    elif style == "cell":
        rgb = L.COLOURS[L.COLOUR_NAMES.index(ctl[6])]
        edge = {"normal": LINE, "over": YELLOW, "down": WHITE, "disable": DIS_LINE}[state]
        inner = rgb if state != "disable" else tuple(c // 3 for c in rgb)
        sh.rect(x, y, x + w, y + h, fill=NAVY0, outline=edge, width=2, radius=3)
        sh.rect(x + 4, y + 4, x + w - 4, y + h - 4, fill=inner, radius=2)
    elif style == "swatch":
        # The program paints the stage colour into the 15 x 15 square at the left.
        col = {"normal": GREY, "over": YELLOW, "down": YELLOW, "disable": DIM}[state]
        sh.rect(x, y, x + 15, y + 15, fill=NAVY0)
        if state in ("over", "down"):
            sh.rect(x + 18, y + 1, x + 21, y + 14, fill=YELLOW)
        if state == "down":
            sh.rect(x + 26, y + 13, x + w - 4, y + 15, fill=YELLOW)
        sh.text(x + 26, y + 7, label, 11, col, anchor="lm")
    elif style == "record":
        draw_record(sh, x, y, w, h, state, recording=False)
    elif style == "stage":
        draw_stage(sh, x, y, label, state)


def draw_record(sh, x, y, w, h, state, recording):
    plate(sh, x, y, w, h, state, active_fill=(92, 72, 14))
    cx, cy = x + 20, y + h / 2
    mark = (230, 52, 52) if state != "disable" else DIM
    if recording:
        sh.rect(cx - 6, cy - 6, cx + 6, cy + 6, fill=mark, radius=2)
    else:
        sh.ellipse(cx - 7, cy - 7, cx + 7, cy + 7, fill=mark)
    sh.text(x + 36, cy + 1, "STOP" if recording else "RECORD", 13,
            {"normal": GREY, "over": WHITE, "down": YELLOW, "disable": DIM}[state], anchor="lm")


def stage_outline(x, y):
    return chamfer(x, y, x + L.STAGE_W - 1, y + L.STAGE_H - 1, 8, 3)


def draw_stage(sh, x, y, number, state):
    """A resolution stage: select plate, enable box, slider track, CPI label well.

    The control shows its Down image while it is the active stage; its select
    plate and enable box are cut from the same four images at fixed places."""
    active = state == "down"
    sh.poly(stage_outline(x, y), fill=NAVY2 if state != "disable" else DIS_FILL,
            outline=YELLOW if active else (LINE if state != "disable" else DIS_LINE))
    # Select plate at (1, 1)-(110, 19).
    px, py = x + 1, y + 1
    fill = {"normal": NAVY3, "over": NAVY_HI, "down": YELLOW, "disable": DIS_FILL}[state]
    sh.poly(chamfer(px, py, px + 109, py + 18, 7, 0), fill=fill)
    if state == "over":
        sh.line([(px + 7, py + 17), (px + 108, py + 17)], fill=YELLOW, width=1)
    sh.text(px + 12, py + 10, "STAGE " + number, 11, label_colour(state), anchor="lm")
    # CPI caption and the dark well of the value label at (238, 9)-(265, 18).
    sh.text(x + 232, y + 14, "CPI", 9, DIM if state == "disable" else GREY, anchor="rm")
    sh.rect(x + 236, y + 7, x + 267, y + 20, fill=(2, 2, 2))
    # Enable box at (10, 24)-(27, 41); its Down image is the ticked box.
    bx, by = x + 11, y + 25
    edge = {"normal": GREY, "over": YELLOW, "down": YELLOW, "disable": DIS_LINE}[state]
    sh.rect(bx, by, bx + 15, by + 15, fill=YELLOW if active else NAVY0, outline=edge, radius=2)
    if active:
        sh.line([(bx + 3, by + 8), (bx + 6, by + 11), (bx + 12, by + 4)], fill=NAVY0, width=2)
    # Slider track at (30, 23)-(272, 38).
    draw_track(sh, x + 30, y + 23, 242, 15, 12, dim=state == "disable")


def draw_track(sh, x, y, w, h, ticks, dim=False):
    cy = y + h / 2
    sh.rect(x + 2, cy - 2, x + w - 2, cy + 2, fill=NAVY0, outline=DIS_LINE if dim else LINE,
            radius=2)
    for i in range(ticks):
        tx = x + L.THUMB_W / 2 + (w - L.THUMB_W) * i / max(1, ticks - 1)
        sh.line([(tx, y + h - 3), (tx, y + h)], fill=DIS_LINE if dim else DIM)


def draw_window(win):
    w, h = win["size"]
    sheets = {}
    for state in STATES:
        sh = Sheet(w, h)
        draw_frame(sh, win)
        draw_texts(sh, win)
        for key, ctl in sorted(win["controls"].items()):
            style = ctl[0]
            if style == "slider":
                draw_track(sh, *ctl[1:5], ticks=11)
            elif style in ("edit", "list"):
                x, y, cw, ch = ctl[1:5]
                sh.rect(x - 2, y - 2, x + cw + 2, y + ch + 2, fill=WELL, outline=LINE, width=2)
            elif style == "namelabel":
                x, y, cw, ch = ctl[1:5]
                sh.rect(x - 3, y - 3, x + cw + 3, y + ch + 3, fill=(2, 2, 2), outline=LINE)
            elif style == "area":
                pass
            else:
                draw_button(sh, ctl, state)
        sheets[state] = sh.final()
    sheets["mask"] = draw_mask(win)
    return sheets


# ---------------------------------------------------------------- single images

def draw_thumb(kind):
    """Slider thumbs; the top-left pixel's colour (magenta) lies outside the thumb."""
    w, h = L.THUMB_W, L.THUMB_H
    big = Image.new("RGB", (w * 4, h * 4), (255, 0, 255))
    d = ImageDraw.Draw(big)
    W, H = w * 4 - 1, h * 4 - 1
    if kind == "up":
        pts = [(W / 2, 0), (W, H * 0.42), (W, H), (0, H), (0, H * 0.42)]
        fill = GREY
    else:
        # Top corners cut, so the top-left pixel stays the outside colour.
        pts = [(8, 0), (W - 8, 0), (W, 8), (W, H * 0.58), (W / 2, H), (0, H * 0.58), (0, 8)]
        fill = YELLOW if kind == "down" else (255, 226, 120)
    d.polygon(pts, fill=NAVY0)
    inner = [(px * 0.8 + W * 0.1, py * 0.84 + H * 0.08) for px, py in pts]
    d.polygon(inner, fill=fill)
    img = big.resize((w, h), Image.NEAREST)
    return img


def draw_record_image(state, recording):
    sh = Sheet(L.RECORD_W, L.RECORD_H, fill=NAVY1)
    draw_record(sh, 0, 0, L.RECORD_W, L.RECORD_H, state, recording)
    return sh.final()


def draw_stage_mask():
    img = Image.new("RGB", (L.STAGE_W, L.STAGE_H), (255, 255, 255))
    ImageDraw.Draw(img).polygon(stage_outline(0, 0), fill=(0, 0, 0))
    return img


# The parts of the mouse seen from above, in a 180 x 330 picture.
def mouse_parts():
    return {
        # Cut by the body's outline where they meet it.
        "left": [(20, 8), (87, 8), (87, 128), (20, 128)],
        "right": [(93, 8), (160, 8), (160, 128), (93, 128)],
        "wheel": (82, 40, 98, 92),
        "cpi": (83, 100, 97, 112),
        "profile": (83, 116, 97, 126),
        "forward": [(30, 132), (38, 130), (38, 172), (30, 170)],
        "back": [(30, 178), (38, 176), (38, 214), (30, 212)],
        "tilt_left": (76, 50, 81, 82),
        "tilt_right": (99, 50, 104, 82),
    }


MOUSE_PICTURES = [("mouse.jpg", None, ""), ("mouse_1.jpg", "left", "BUTTON 1"),
                  ("mouse_2.jpg", "right", "BUTTON 2"), ("mouse_3.jpg", "wheel", "BUTTON 3"),
                  ("mouse_4.jpg", "back", "BUTTON 4"), ("mouse_5.jpg", "forward", "BUTTON 5"),
                  ("mouse_6.jpg", "cpi", "BUTTON 6"), ("mouse_7.jpg", "profile", "BUTTON 7"),
                  ("mouse_8.jpg", "tilt_left", "BUTTON 14"),
                  ("mouse_9.jpg", "tilt_right", "BUTTON 15")]


def draw_mouse(highlight, caption):
    w, h = L.MOUSE_W, L.MOUSE_H
    k = 3
    img = Image.new("RGB", (w * k, h * k), NAVY1)
    d = ImageDraw.Draw(img)

    def sc(pts):
        return [(x * k, y * k) for x, y in pts]

    def box(b):
        return [b[0] * k, b[1] * k, b[2] * k, b[3] * k]

    # Soft glow under the mouse.
    glow = Image.new("L", img.size, 0)
    ImageDraw.Draw(glow).ellipse(box((20, 30, 160, 300)), fill=90)
    glow = glow.filter(ImageFilter.GaussianBlur(14 * k))
    img.paste(Image.new("RGB", img.size, NAVY3), (0, 0), glow)
    # Body.
    body = Image.new("L", img.size, 0)
    bd = ImageDraw.Draw(body)
    bd.ellipse(box((36, 16, 144, 150)), fill=255)
    bd.ellipse(box((30, 110, 150, 306)), fill=255)
    bd.rectangle(box((33, 80, 147, 220)), fill=255)
    img.paste(Image.new("RGB", img.size, (26, 30, 40)), (0, 0), body)
    shade = body.filter(ImageFilter.GaussianBlur(10 * k))
    img.paste(Image.new("RGB", img.size, (52, 58, 74)), (0, 0),
              Image.eval(shade, lambda v: max(0, v - 150)))
    parts = mouse_parts()
    # Buttons, side buttons and the wheel.
    for name in ("left", "right"):
        # The buttons follow the body's rounded front.
        shape = Image.new("L", img.size, 0)
        ImageDraw.Draw(shape).polygon(sc(parts[name]), fill=255)
        shape = ImageChops.multiply(shape, body)
        edge = shape.filter(ImageFilter.MaxFilter(2 * k + 1))
        img.paste(Image.new("RGB", img.size, (104, 112, 134)), (0, 0), edge)
        img.paste(Image.new("RGB", img.size, (44, 50, 66)), (0, 0), shape)
    d.line(sc([(90, 20), (90, 130)]), fill=NAVY0, width=2 * k)
    for name in ("forward", "back"):
        d.polygon(sc(parts[name]), fill=(60, 66, 82), outline=(90, 98, 118))
    d.rounded_rectangle(box(parts["wheel"]), radius=6 * k, fill=(16, 18, 24), outline=(120, 128, 146),
                        width=k)
    for gy in range(44, 90, 5):
        d.line(sc([(85, gy), (95, gy)]), fill=(70, 76, 92), width=k)
    for name in ("cpi", "profile"):
        d.rounded_rectangle(box(parts[name]), radius=2 * k, fill=(56, 62, 78), outline=(96, 104, 124))
    # Lighting strip and logo.
    d.line(sc([(58, 296), (122, 296)]), fill=YELLOW, width=2 * k)
    d.polygon(sc([(90, 222), (100, 234), (90, 246), (80, 234)]), fill=YELLOW)
    d.polygon(sc([(90, 229), (95, 234), (90, 239), (85, 234)]), fill=(26, 30, 40))
    if highlight:
        part = parts[highlight]
        hl = Image.new("L", img.size, 0)
        hd = ImageDraw.Draw(hl)
        if isinstance(part, tuple):
            hd.rounded_rectangle(box(part), radius=2 * k, fill=255)
        else:
            hd.polygon(sc(part), fill=255)
            if highlight in ("left", "right"):
                hl = ImageChops.multiply(hl, body)
        halo = hl.filter(ImageFilter.GaussianBlur(5 * k))
        img.paste(Image.new("RGB", img.size, (255, 214, 80)), (0, 0), halo)
        img.paste(Image.new("RGB", img.size, YELLOW), (0, 0), hl)
    img = img.resize((w, h), Image.LANCZOS)
    d = ImageDraw.Draw(img)
    if caption:
        d.text((w / 2, h - 10), caption, font=font(13), fill=YELLOW, anchor="ms")
    else:
        d.text((w / 2, h - 10), "POINT AT A BUTTON", font=font(11), fill=GREY, anchor="ms")
    return img


# ---------------------------------------------------------------- resources

def draw_list_icon(kind):
    """16 x 14 line icons of the macro event list; black is transparent."""
    k = 4
    img = Image.new("RGB", (16 * k, 14 * k), (0, 0, 0))
    d = ImageDraw.Draw(img)
    ink, accent = (24, 40, 84), (214, 150, 0)
    if kind == "delay":
        d.ellipse([1 * k, 0, 15 * k - 1, 14 * k - 1], fill=ink)
        d.ellipse([3 * k, 2 * k, 13 * k - 1, 12 * k - 1], fill=(240, 240, 240))
        d.line([(8 * k, 7 * k), (8 * k, 3 * k)], fill=ink, width=k + 2)
        d.line([(8 * k, 7 * k), (11 * k, 8 * k)], fill=accent, width=k + 2)
    elif kind in ("press", "release"):
        d.rounded_rectangle([0, 0, 16 * k - 1, 14 * k - 1], radius=2 * k, fill=ink)
        if kind == "press":
            pts = [(4 * k, 4 * k), (12 * k, 4 * k), (8 * k, 11 * k)]
        else:
            pts = [(4 * k, 10 * k), (12 * k, 10 * k), (8 * k, 3 * k)]
        d.polygon(pts, fill=accent)
    else:  # mouse button
        d.ellipse([3 * k, 0, 13 * k - 1, 14 * k - 1], fill=ink)
        d.rectangle([3 * k, 0, 8 * k - 2, 6 * k], fill=accent)
        d.line([(8 * k, 0), (8 * k, 6 * k)], fill=(240, 240, 240), width=k)
    return img.resize((16, 14), Image.LANCZOS)


def draw_submenu_icon(size):
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    if size == 32:
        d.polygon([(9, 12), (15, 17), (9, 22)], fill=YELLOW + (255,))
    else:
        d.polygon([(5, 3), (10, 8), (5, 13)], fill=YELLOW + (255,))
    return img


def write_ini(path, name, win):
    stem = name[len("skin_"):-len(".ini")]
    lines = ["[SCREEN]"]
    for key, state in (("Normal", "normal"), ("Over", "over"), ("Down", "down"),
                       ("Disable", "disable"), ("Mask", "mask")):
        lines.append("%s=%s_%s.bmp" % (key, stem, state))
    lines.append("")
    lines.append("[BUTTONPOS]")
    for key, ctl in sorted(win["controls"].items()):
        style, x, y, w, h, label, hover, rec_name = ctl
        lines.append("%d=%s,%d,%d,%d,%d,%s" % (key, rec_name, x, y, w, h, hover))
    with open(path, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    return stem


def main():
    out = sys.argv[1]
    check_fonts()
    os.makedirs(os.path.join(out, "Mouse"), exist_ok=True)
    os.makedirs(os.path.join(out, "res"), exist_ok=True)
    for name, win in L.WINDOWS.items():
        stem = write_ini(os.path.join(out, name), name, win)
        for state, img in draw_window(win).items():
            img.save(os.path.join(out, "%s_%s.bmp" % (stem, state)))
    draw_thumb("down").save(os.path.join(out, "scroll_arrow_down.bmp"))
    draw_thumb("down2").save(os.path.join(out, "scroll_arrow_down2.bmp"))
    draw_thumb("up").save(os.path.join(out, "scroll_arrow_up.bmp"))
    for recording, prefix in ((False, "start"), (True, "stop")):
        for state in ("normal", "over", "down"):
            draw_record_image(state, recording).save(
                os.path.join(out, "%s_record_%s.bmp" % (prefix, state)))
    draw_stage_mask().save(os.path.join(out, "DPI_Window_Mask.bmp"))
    for file, part, caption in MOUSE_PICTURES:
        draw_mouse(part, caption).save(os.path.join(out, "Mouse", file), quality=92)
    res = os.path.join(out, "res")
    for number, kind in ((135, "delay"), (137, "release"), (138, "press"), (146, "mouse")):
        draw_list_icon(kind).save(os.path.join(res, "bitmap%d.bmp" % number))
    draw_submenu_icon(32).save(os.path.join(res, "icon145.ico"), format="ICO", sizes=[(32, 32)])
    import make_icon
    make_icon.draw(48).save(os.path.join(res, "icon128.ico"), format="ICO",
                            sizes=[(16, 16), (32, 32), (48, 48)])


if __name__ == "__main__":
    main()
