#!/usr/bin/python3
"""Writes the frames Pillow composes from a GIF file (or an animated WebP),
for the differential test of the program's own composition.

Output on stdout, per frame: the text line
  "frame WIDTH HEIGHT DISPOSAL X0 Y0 X1 Y1\n"
(the frame's disposal method and its rectangle on the screen, as Pillow read
them) followed by WIDTH * HEIGHT * 4 bytes of RGBA; after the last frame
"end\n", or "error MESSAGE\n" when Pillow stopped on damage.
"""
import sys

from PIL import Image


def main(path):
    out = sys.stdout.buffer
    try:
        with Image.open(path) as image:
            index = 0
            while True:
                try:
                    image.seek(index)
                except EOFError:
                    break
                rgba = image.convert("RGBA")
                # A WebP has no disposal: its frames come composed.
                x0, y0, x1, y1 = getattr(image, "dispose_extent", (0, 0, 0, 0))
                out.write(b"frame %d %d %d %d %d %d %d\n" % (
                    rgba.width, rgba.height, getattr(image, "disposal_method", 0),
                    x0, y0, x1, y1))
                out.write(rgba.tobytes())
                index += 1
        out.write(b"end\n")
    except Exception as error:  # any failure of Pillow's is reported, not raised
        out.write(("error %s\n" % type(error).__name__).encode())


if __name__ == "__main__":
    main(sys.argv[1])
