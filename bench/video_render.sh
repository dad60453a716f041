#!/usr/bin/env bash
# loopforge-render from full-HD video clips made here with ffmpeg: wall time,
# frames written and peak memory for clips of two lengths, so the memory can
# be seen not to grow with the clip (frames stream from ffmpeg into the
# export), plus a scaled and a reversed part. Prints a table; no pass/fail.
#
#   bench/video_render.sh [BUILD_DIR]     (default: build)
#
# Needs ffmpeg (scripts/deps.sh --test installs it).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
render="$build/stage/bin/loopforge-render"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for tool in ffmpeg /usr/bin/time "$render"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

for seconds in 4 16; do
    ffmpeg -v error -f lavfi -i "testsrc2=size=1920x1080:rate=30:duration=$seconds" \
        -pix_fmt yuv420p "$work/clip$seconds.mp4"
done

printf '%-36s %8s %7s %8s\n' "render" "seconds" "frames" "peak MiB"
run() {  # label, then the renderer's arguments
    local label="$1"
    shift
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$render" "$@" -o "$work/out.gif" >/dev/null 2>&1
    local frames
    frames=$(ffprobe -v error -count_frames -select_streams v:0 \
        -show_entries stream=nb_read_frames -of csv=p=0 "$work/out.gif")
    awk -v label="$label" -v frames="$frames" \
        '{ printf "%-36s %8.2f %7d %8.0f\n", label, $1, frames, $2 / 1024 }' "$work/time.txt"
}
run "4 s of 1080p at 10 fps" --fps 10 "$work/clip4.mp4"
run "16 s of 1080p at 10 fps" --fps 10 "$work/clip16.mp4"
run "16 s at 10 fps, --width 480" --fps 10 --width 480 "$work/clip16.mp4"
run "4 s at 10 fps, --optimize" --fps 10 --optimize "$work/clip4.mp4"
run "4 s at 10 fps, --reverse" --fps 10 --reverse "$work/clip4.mp4"
