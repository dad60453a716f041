#!/usr/bin/env bash
# The desktop integration files that the install puts into share/: the menu
# entry passes the freedesktop validator and names the program and the icon
# that are installed, and the two icon files are what their folders promise.
set -euo pipefail
source "$(dirname "$0")/../support/script_helpers.sh"
entry="$source_dir/data/loopforge.desktop"
art="$source_dir/data/art"

desktop-file-validate "$entry" || fail "loopforge.desktop is not a valid desktop entry"

# Reads one key of the [Desktop Entry] group.
key() { sed -n "/^\[Desktop Entry\]/,/^\[/s/^$1=//p" "$entry"; }
[[ "$(key Name)" == "Corvanel Loopforge" ]] || fail "Name is '$(key Name)'"
# The file manager's "Open with" hands over the chosen files.
[[ "$(key Exec)" == "loopforge %F" ]] || fail "Exec is '$(key Exec)'"
[[ "$(key MimeType)" == *"image/png;"* ]] || fail "MimeType is '$(key MimeType)'"
[[ "$(key Icon)" == "loopforge" ]] || fail "Icon is '$(key Icon)'"
[[ "$(key Type)" == "Application" ]] || fail "Type is '$(key Type)'"
[[ -n "$(key GenericName)" && -n "$(key Comment)" ]] || fail "GenericName or Comment is empty"

# hicolor/256x256 needs exactly that size; scalable needs a square SVG.
"$python" - "$art/loopforge-256.png" "$art/loopforge.svg" <<'PY' || fail "icon files"
import sys
import xml.etree.ElementTree as ET
from PIL import Image

png, svg = sys.argv[1], sys.argv[2]
with Image.open(png) as image:
    assert image.format == "PNG", f"{png} is {image.format}"
    assert image.size == (256, 256), f"{png} is {image.size}"
    assert image.mode == "RGBA", f"{png} has no alpha ({image.mode})"
    assert image.getpixel((0, 0))[3] == 0, f"{png} has an opaque corner"
root = ET.parse(svg).getroot()
assert root.tag == "{http://www.w3.org/2000/svg}svg", f"{svg} is not SVG"
_, _, width, height = (float(v) for v in root.get("viewBox").split())
assert width == height, f"{svg} is not square"
PY

finish
