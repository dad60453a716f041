#!/usr/bin/env python3
"""Takes the README's screenshots of the real program.

Starts the built program on a display of its own (Xvfb), drives it with
xdotool the way a user would (keyboard shortcuts, file chooser, clicks on the
strip) and writes the pictures into the output folder:

  window.png           the strip holding the frames of an animation, one in the preview
  delete-question.png  a question the program asks
  german.png           the window in German, asking about the unsaved project

Windows are found by their owner and title and every step waits for what it
needs to see, so the script keeps working when menus or toolbars change.

Usage: screenshots.py STAGE_DIR OUT_DIR   (scripts/screenshots.sh builds and runs it)
"""
import math
import os
import shutil
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops, ImageDraw

PRODUCT = "Corvanel Loopforge"
STRIP_BACKGROUND = (176, 223, 227)
LANGUAGE_CODES = {"English": 58, "German": 89}
TIMEOUT = 30.0


class ScreenshotError(Exception):
    pass


def wait_until(what, condition, timeout=TIMEOUT):
    """Polls condition until it returns something true; that is returned."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise ScreenshotError(f"timed out waiting for {what}")
        time.sleep(0.1)


def make_animation(path, frames=10, size=(320, 200)):
    """A ball bouncing over a meadow while the sky turns to evening. Every
    frame differs all over, so the GIF keeps each frame at full size."""
    width, height = size
    images = []
    for i in range(frames):
        evening = i / (frames - 1)
        image = Image.new("RGB", size)
        draw = ImageDraw.Draw(image)
        for y in range(height):
            t = y / height
            draw.line([(0, y), (width, y)],
                      fill=(int(80 + 90 * t + 80 * evening), int(150 + 60 * t - 40 * evening),
                            int(235 - 40 * t - 90 * evening)))
        draw.rectangle([0, 168, width, height], fill=(60 + 4 * i, 140, 60))
        x = 24 + i * (width - 48) // (frames - 1)
        y = 150 - int(115 * abs(math.cos(i * math.pi / 3)))
        draw.ellipse([x - 16, 166, x + 16, 174], fill=(40, 100, 40))
        draw.ellipse([x - 18, y - 18, x + 18, y + 18], fill=(235, 90, 40),
                     outline=(120, 40, 10), width=2)
        images.append(image)
    images[0].save(path, save_all=True, append_images=images[1:], duration=100, loop=0)


class Display:
    """An Xvfb server on a free display number, and the tools that act on it."""

    def __init__(self, width=1280, height=900):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as number:
            self.name = ":" + number.readline().strip()
        if self.name == ":":
            raise ScreenshotError("Xvfb did not start")

    def run(self, *args):
        env = dict(os.environ, DISPLAY=self.name)
        return subprocess.run(args, env=env, check=True, capture_output=True, text=True).stdout

    def xdotool(self, *args):
        return self.run("xdotool", *args)

    def visible_windows(self, pid):
        try:
            out = self.xdotool("search", "--onlyvisible", "--pid", str(pid))
        except subprocess.CalledProcessError:  # no window yet
            return []
        return out.split()

    def title(self, window):
        return self.xdotool("getwindowname", window).strip()

    def geometry(self, window):
        values = {}
        for line in self.xdotool("getwindowgeometry", "--shell", window).splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value) if value.lstrip("-").isdigit() else value
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def capture(self, box):
        """The screen inside box (x, y, width, height) as a PIL image."""
        x, y, w, h = box
        with tempfile.NamedTemporaryFile(suffix=".png") as shot:
            self.run("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                     shot.name)
            return Image.open(shot.name).convert("RGB")

    def settled_capture(self, box):
        """Captures until two captures in a row agree: the window has drawn."""
        previous = [None]

        def same_twice():
            image = self.capture(box)
            stable = previous[0] is not None and not ImageChops.difference(
                image, previous[0]).getbbox()
            previous[0] = image
            return image if stable else None

        return wait_until("the screen to settle", same_twice)

    def close(self):
        self.server.terminate()
        self.server.wait()


class Program:
    """The program started in a home folder of its own, in a given language."""

    def __init__(self, display, stage, home, language):
        self.display = display
        documents = os.path.join(home, "Documents")
        data = os.path.join(documents, "Corvanel files", PRODUCT)
        os.makedirs(data, exist_ok=True)
        os.makedirs(os.path.join(home, ".config"), exist_ok=True)
        with open(os.path.join(home, ".config", "user-dirs.dirs"), "w") as dirs:
            dirs.write('XDG_DOCUMENTS_DIR="$HOME/Documents"\n')
        with open(os.path.join(data, "language.txt"), "w") as code:
            code.write(str(LANGUAGE_CODES[language]))
        env = dict(os.environ, DISPLAY=display.name, HOME=home,
                   XDG_CONFIG_HOME=os.path.join(home, ".config"), GSETTINGS_BACKEND="memory",
                   NO_AT_BRIDGE="1")
        self.process = subprocess.Popen([os.path.join(stage, "bin", "loopforge")], env=env,
                                        cwd=home, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.window = wait_until("the main window", self.find_main_window)
        display.xdotool("windowsize", "--sync", self.window, "1000", "700")
        display.xdotool("windowmove", "--sync", self.window, "0", "0")

    def find_main_window(self):
        for window in self.display.visible_windows(self.process.pid):
            if self.display.title(window) == PRODUCT:
                return window
        return None

    def others(self):
        return [w for w in self.display.visible_windows(self.process.pid) if w != self.window]

    def key(self, keys, window=None):
        self.display.xdotool("windowfocus", "--sync", window or self.window)
        self.display.xdotool("key", "--clearmodifiers", keys)

    def open_dialog(self, keys):
        """Presses keys in the main window and returns the window they open."""
        self.key(keys)
        return wait_until(f"a window after {keys}", lambda: (self.others() or [None])[0])

    def wait_for_main_window_alone(self):
        wait_until("the dialogs to close", lambda: not self.others())

    def add_pictures(self, path):
        """Add Image (Ctrl+Insert) and the file chooser, as typed by a user."""
        chooser = self.open_dialog("ctrl+Insert")
        self.key("ctrl+l", chooser)
        self.display.xdotool("type", "--delay", "20", path)
        # Delete drops what the chooser proposes to complete the typed name with.
        self.display.xdotool("key", "Delete", "Return")
        self.wait_for_main_window_alone()

    def window_box(self):
        return self.display.geometry(self.window)

    def cells(self):
        """Screen rectangles of the strip's first row of cells."""
        x0, y0, _, _ = box = self.window_box()
        image = self.display.capture(box)
        mask = Image.new("L", image.size)
        mask.putdata([255 if pixel == STRIP_BACKGROUND else 0 for pixel in image.getdata()])
        strip = mask.getbbox()
        if not strip:
            return []
        left, top, right, bottom = strip
        row = top + 12
        cells, start = [], None
        for x in range(left, right):
            inside = image.getpixel((x, row)) != STRIP_BACKGROUND
            if inside and start is None:
                start = x
            elif not inside and start is not None:
                cells.append((x0 + start, y0 + row, x - start))
                start = None
        return cells

    def click_cell(self, index):
        cells = wait_until(f"{index + 1} frames in the strip",
                           lambda: (lambda c: c if len(c) > index else None)(self.cells()))
        x, y, width = cells[index]
        self.display.xdotool("mousemove", "--sync", str(x + width // 2), str(y + 40))
        self.display.xdotool("click", "1")

    def capture_with(self, dialog, path):
        """The main window and the dialog over it, once both have drawn."""
        boxes = [self.window_box(), self.display.geometry(dialog)]
        left = min(b[0] for b in boxes)
        top = min(b[1] for b in boxes)
        right = max(b[0] + b[2] for b in boxes)
        bottom = max(b[1] + b[3] for b in boxes)
        image = self.display.settled_capture((left, top, right - left, bottom - top))
        # Without a window manager the dialog has no frame; an outline stands in.
        x, y, w, h = boxes[1]
        ImageDraw.Draw(image).rectangle([x - left - 1, y - top - 1, x - left + w, y - top + h],
                                        outline=(90, 90, 90))
        image.save(path)

    def quit(self):
        self.process.terminate()
        self.process.wait()


def take_shots(display, stage, home, language, animation, cell, dialog_keys, dialog_shot,
               window_shot=None):
    """One run of the program: frames added, one clicked, a dialog asked for."""
    program = Program(display, stage, home, language)
    try:
        program.add_pictures(animation)
        program.click_cell(cell)
        if window_shot:
            display.settled_capture(program.window_box()).save(window_shot)
        dialog = program.open_dialog(dialog_keys)
        program.capture_with(dialog, dialog_shot)
        # Escape answers Cancel (or No): nothing is deleted, the window stays.
        program.key("Escape", dialog)
        program.wait_for_main_window_alone()
    finally:
        program.quit()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    stage, out = (os.path.abspath(a) for a in sys.argv[1:])
    os.makedirs(out, exist_ok=True)
    work = tempfile.mkdtemp(prefix="loopforge-shots-")
    display = Display()
    try:
        animation = os.path.join(work, "bounce.gif")
        make_animation(animation)
        take_shots(display, stage, os.path.join(work, "home-en"), "English", animation, 3,
                   "ctrl+Delete", os.path.join(out, "delete-question.png"),
                   window_shot=os.path.join(out, "window.png"))
        take_shots(display, stage, os.path.join(work, "home-de"), "German", animation, 5,
                   "ctrl+q", os.path.join(out, "german.png"))
    finally:
        display.close()
        shutil.rmtree(work, ignore_errors=True)
    for name in ("window.png", "delete-question.png", "german.png"):
        print(os.path.join(out, name))


if __name__ == "__main__":
    try:
        main()
    except (ScreenshotError, subprocess.CalledProcessError) as error:
        sys.exit(f"screenshots.py: {error}")
