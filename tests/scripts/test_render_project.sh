#!/usr/bin/env bash
# loopforge-render on saved projects: the default output beside the project
# at the project's size and delay, the one-line error naming missing
# pictures, and --help describing the project form. (The reading of projects
# and the messages for each kind of bad project are checked in the core
# tests; -o against the window's own Save in the window tests.)
# Arguments: stage dir, source dir.
set -uo pipefail
source "$(dirname "$0")/../support/script_helpers.sh"
render="$stage/bin/loopforge-render"

# Writes a project file: name, width, height, delay, then the path entries.
write_project() {
    local file="$1" name="$2" width="$3" height="$4" delay="$5"
    shift 5
    {
        printf '<?xml version="1.0" encoding="UTF-8"?>\n<project>\n  <name>%s</name>\n' "$name"
        printf '  <gif>\n    <width>%s</width>\n    <height>%s</height>\n' "$width" "$height"
        printf '    <delay_time>%s</delay_time>\n  </gif>\n  <images>\n' "$delay"
        for entry in "$@"; do printf '    <path>%s</path>\n' "$entry"; done
        printf '  </images>\n</project>\n'
    } >"$file"
}

pics="$work/proj"
mkdir -p "$pics"
cp "$corpus/progressive_cat.jpg" "$corpus/cogs.gif" "$corpus/rgb24.bmp" "$pics/"

# Without -o, started elsewhere: the project's GIF name beside the project.
write_project "$pics/show.xml" "show.gif" 160 120 25 \
    "$pics/progressive_cat.jpg" "$pics/cogs.gif_0" "$pics/cogs.gif_1" "$pics/cogs.gif" "$pics/rgb24.bmp"
(cd / && "$render" "$pics/show.xml") || fail "render of show.xml failed"
"$python" - "$pics/show.gif" <<'PY' || fail "show.gif is not the project's animation"
import sys
from PIL import Image, ImageSequence
im = Image.open(sys.argv[1])
assert im.size == (160, 120), im.size
assert sum(1 for _ in ImageSequence.Iterator(im)) == 4
assert im.info.get("duration") == 250 and im.info.get("loop") == 0, im.info
PY

write_project "$pics/holes.xml" "holes.gif" 50 50 10 \
    "$pics/rgb24.bmp" "$pics/gone.png" "$pics/cogs.gif_0" "$pics/lost.gif_0" "$pics/lost.gif_1"
expect_error "pictures of the project $pics/holes.xml are missing or cannot be read: $pics/gone.png, $pics/lost.gif (2 frames)" \
    "$render" "$pics/holes.xml"
[[ -e "$pics/holes.gif" ]] && fail "a project with missing pictures was rendered"

"$render" --help >"$work/help.txt" || fail "--help failed"
grep -q "loopforge-render PROJECT.xml \[-o OUT.gif\]" "$work/help.txt" || fail "--help lacks the project form"
grep -q "only input" "$work/help.txt" || fail "--help does not say how a project is recognised"

if ls -A "$pics" | grep -q '^\.'; then fail "temporary files left behind"; fi
finish
