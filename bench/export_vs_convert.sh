#!/usr/bin/env bash
# Export speed and quality of loopforge-render beside ImageMagick's plain
# `convert -delay 10 -loop 0 IN... OUT.gif`, on frame sets made here with
# ffmpeg, plus the import of a 300-frame GIF. Prints a table; no pass/fail.
#
#   bench/export_vs_convert.sh [BUILD_DIR]     (default: build)
#
# Needs ffmpeg and ImageMagick (scripts/deps.sh --test installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
render="$build/stage/bin/loopforge-render"
bench="$build/bench/engine_bench"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for tool in ffmpeg convert /usr/bin/time "$render" "$bench"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

make_set() {  # name source size count
    mkdir -p "$work/$1"
    ffmpeg -v error -f lavfi -i "$2=size=$3:rate=25" -frames:v "$4" "$work/$1/%03d.png"
}

seconds() {  # command...: wall seconds, peak RSS in MiB
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>&1
    awk '{ printf "%s %.0f\n", $1, $2 / 1024 }' "$work/time.txt"
}

# Mean PSNR of a GIF against the PNG frames it was made from; the frames are
# the output size, so they are the prepared frames. A delay of 10 is 10 frames/s.
psnr() {  # gif set
    ffmpeg -v info -i "$1" -framerate 10 -i "$work/$2/%03d.png" \
        -lavfi "[0:v]format=rgb24[a];[1:v]format=rgb24[b];[a][b]psnr" -f null - 2>&1 |
        sed -n 's/.*PSNR.* average:\([0-9.inf]*\).*/\1/p' | tail -n1 | xargs printf '%.2f'
}

make_set photo testsrc2 640x480 100
make_set screen testsrc 800x600 100
make_set hd testsrc2 1920x1080 20

printf '%-24s %7s %8s %7s %7s | %9s %7s %7s | %6s\n' "set" "ours s" "frames/s" "PSNR" "MiB" \
    "convert s" "PSNR" "MiB" "ratio"
for set in photo screen hd; do
    frames=("$work/$set"/*.png)
    read -r ours ours_mib < <(seconds "$render" -d 10 -o "$work/$set-ours.gif" "${frames[@]}")
    read -r theirs theirs_mib < <(seconds convert -delay 10 -loop 0 "${frames[@]}" "$work/$set-im.gif")
    count=${#frames[@]}
    size=$(identify -format '%wx%h' "${frames[0]}")
    printf '%-24s %7.2f %8.1f %7s %7s | %9.2f %7s %7s | %6.2f\n' "$set ($count x $size)" "$ours" \
        "$(echo "$count / $ours" | bc -l)" "$(psnr "$work/$set-ours.gif" "$set")" "$ours_mib" \
        "$theirs" "$(psnr "$work/$set-im.gif" "$set")" "$theirs_mib" "$(echo "$ours / $theirs" | bc -l)"
done

# Import: every frame of a 300-frame GIF decoded to full-size pictures.
ffmpeg -v error -f lavfi -i "testsrc2=size=320x240:rate=25" -frames:v 300 "$work/import.gif"
import_ms=$(LF_BENCH_GIF="$work/import.gif" "$bench" --benchmark_filter=BM_ImportGif \
    --benchmark_format=csv 2>/dev/null | awk -F, '/BM_ImportGif/ { print $3 }')
read -r im_import im_mib < <(seconds convert "$work/import.gif" null:)
printf '%-24s %7.2f %8.1f %7s %7s | %9.2f %7s %7s | %6.2f\n' "import (300 x 320x240)" \
    "$(echo "$import_ms / 1000" | bc -l)" "$(echo "300000 / $import_ms" | bc -l)" "-" "-" \
    "$im_import" "-" "$im_mib" "$(echo "$import_ms / 1000 / $im_import" | bc -l)"
echo
echo "ours: loopforge-render (decode, fit, reduce, write); MiB: peak resident memory"
echo "of the whole process (ours holds every decoded input, as the strip does)."
echo "import: our decoder alone (engine_bench); ImageMagick: convert IN.gif null:"
