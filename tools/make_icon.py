#!/usr/bin/env python3
"""Draws the suite's program icon: a mouse seen from above, yellow on navy.

Usage: make_icon.py OUTPUT.ico
"""
import sys

from PIL import Image, ImageDraw


def draw(size):
    scale = 4  # draw large, then shrink for smooth edges
    s = size * scale
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([0, 0, s - 1, s - 1], radius=s // 5, fill=(16, 24, 48, 255))
    body = [s * 0.28, s * 0.12, s * 0.72, s * 0.88]
    d.rounded_rectangle(body, radius=int(s * 0.22), fill=(250, 200, 40, 255))
    d.line([s * 0.5, s * 0.14, s * 0.5, s * 0.42], fill=(16, 24, 48, 255), width=max(1, s // 24))
    d.line([s * 0.3, s * 0.42, s * 0.7, s * 0.42], fill=(16, 24, 48, 255), width=max(1, s // 24))
    d.rounded_rectangle([s * 0.46, s * 0.2, s * 0.54, s * 0.34], radius=s // 40, fill=(220, 220, 230, 255))
    return img.resize((size, size), Image.LANCZOS)


def main():
    out = sys.argv[1]
    big = draw(48)
    big.save(out, format="ICO", sizes=[(16, 16), (32, 32), (48, 48)],
             append_images=[draw(16), draw(32)])


if __name__ == "__main__":
    main()
