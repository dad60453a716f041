#!/usr/bin/env bash
# loopforge-render on saved projects: the default output beside the project,
# -o, and the one-line errors for unreadable projects and missing pictures.
# Arguments: stage dir, source dir.
set -uo pipefail
stage="$1"
source_dir="$2"
render="$stage/bin/loopforge-render"
corpus="$source_dir/../shared/corpus"
python=/usr/bin/python3
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Expects a non-zero exit and one line on stderr matching the pattern.
expect_error() {
    local pattern="$1"
    shift
    "$@" >"$work/out.txt" 2>"$work/err.txt" </dev/null
    local rc=$?
    if [[ $rc -eq 0 ]]; then
        fail "expected a failure: $*"
    elif ! head -n1 "$work/err.txt" | grep -q -- "$pattern"; then
        fail "message for '$*' does not match '$pattern': $(cat "$work/err.txt")"
    fi
}

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

# Checks a GIF with Pillow: size, frame count and delay in milliseconds.
check_gif() {
    "$python" - "$@" <<'PY'
import sys
from PIL import Image, ImageSequence
path, width, height, frames, duration = sys.argv[1], *map(int, sys.argv[2:])
im = Image.open(path)
count = sum(1 for _ in ImageSequence.Iterator(im))
assert im.size == (width, height), im.size
assert count == frames, count
assert im.info.get("duration") == duration, im.info
assert im.info.get("loop") == 0, im.info
PY
}

mkdir -p "$work/proj"
cp "$corpus/progressive_cat.jpg" "$corpus/cogs.gif" "$corpus/rgb24.bmp" "$work/proj/"
pics="$work/proj"

# 1. Without -o: the project's GIF name beside the project, at its stored size and delay.
write_project "$pics/show.xml" "show.gif" 160 120 25 \
    "$pics/progressive_cat.jpg" "$pics/cogs.gif_0" "$pics/cogs.gif_1" "$pics/cogs.gif" "$pics/rgb24.bmp"
(cd / && "$render" "$pics/show.xml") || fail "render of show.xml failed"
check_gif "$pics/show.gif" 160 120 4 250 || fail "show.gif"

# 2. -o writes the same GIF elsewhere.
"$render" "$pics/show.xml" -o "$work/chosen.gif" || fail "render with -o failed"
cmp -s "$work/chosen.gif" "$pics/show.gif" || fail "-o output differs from the default output"

# 3. Errors: one line naming the project or the pictures, non-zero exit, nothing written.
printf 'not xml' >"$pics/broken.xml"
expect_error "cannot read the project $pics/broken.xml: not an XML file" "$render" "$pics/broken.xml"
write_project "$pics/holes.xml" "holes.gif" 50 50 10 \
    "$pics/rgb24.bmp" "$pics/gone.png" "$pics/cogs.gif_0" "$pics/lost.gif_0" "$pics/lost.gif_1"
expect_error "pictures of the project $pics/holes.xml are missing or cannot be read: $pics/gone.png, $pics/lost.gif (2 frames)" \
    "$render" "$pics/holes.xml"
[[ -e "$pics/holes.gif" ]] && fail "a project with missing pictures was rendered"
expect_error "-d and -s do not apply to a project" "$render" -d 5 "$pics/show.xml"
expect_error "must be the only input" "$render" -o "$work/x.gif" "$pics/rgb24.bmp" "$pics/show.xml"
[[ "$(wc -l <"$work/err.txt")" -le 3 ]] || fail "usage errors print the reason and the usage only"

# 4. --help describes the project form.
"$render" --help >"$work/help.txt" || fail "--help failed"
grep -q "loopforge-render PROJECT.xml \[-o OUT.gif\]" "$work/help.txt" || fail "--help lacks the project form"
grep -q "only input" "$work/help.txt" || fail "--help does not say how a project is recognised"

if ls -A "$pics" | grep -q '^\.'; then fail "temporary files left behind"; fi
if [[ $failures -ne 0 ]]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "test_render_project: all checks passed"
