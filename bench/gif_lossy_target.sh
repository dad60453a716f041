#!/usr/bin/env bash
# Bytes and quality of loopforge-render's lossy codes (--lossy) and size
# limits (--max-size) beside ffmpeg's two-pass palettegen / paletteuse and
# ImageMagick's `convert -layers Optimize`, on the photo-like and the screen
# sets of gif_vs_peers.sh (same frames). Also the size estimate (--estimate)
# against the file, and what a size limit costs in time beside one plain
# optimised export. Prints one table (no pass/fail); the goals are judged
# from it.
#
#   bench/gif_lossy_target.sh [BUILD_DIR]
#
# SETS (default "photo screen") picks the sets; FRAMES (default 100) how
# many frames each has. Needs ffmpeg, ImageMagick, GNU time and the DejaVu
# fonts (scripts/deps.sh --test).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
render="$build/stage/bin/loopforge-render"
sets="${SETS:-photo screen}"
count="${FRAMES:-100}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
mono=/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf

for tool in ffmpeg convert /usr/bin/time "$render"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

# The frame sets of gif_vs_peers.sh, taken from there so both measure the same.
eval "$(sed -n '/^screen_graph() {/,/^}/p; /^photo_graph() {/,/^}/p' bench/gif_vs_peers.sh)"
make_set() {  # name graph
    mkdir -p "$work/$1"
    ffmpeg -v error -f lavfi -i "$2" -frames:v "$count" "$work/$1/%03d.png"
}

# Mean PSNR of a GIF against its frames, composed as a viewer shows them and
# scaled back to the frames' size (a size limit may have made it smaller).
psnr() {  # gif set
    local size
    size=$(ffprobe -v error -select_streams v -show_entries stream=width,height -of csv=p=0:s=x \
        "$work/$2/001.png")
    ffmpeg -v info -i "$1" -framerate 10 -i "$work/$2/%03d.png" \
        -lavfi "[0:v]scale=${size/x/:}:flags=bicubic,format=rgb24[a];[1:v]format=rgb24[b];[a][b]psnr" \
        -f null - 2>&1 | sed -n 's/.*PSNR.* average:\([0-9.inf]*\).*/\1/p' | tail -n1
}

# Runs a command; prints "wall-seconds cpu-seconds".
timed() {
    /usr/bin/time -f "%e %U %S" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" || return 1
    awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$work/time.txt"
}

row() {  # set label gif wall cpu [note]
    printf '| %s | %s | %s | %s | %s | %s | %s |\n' "$1" "$2" "$(stat -c %s "$3")" \
        "$(psnr "$3" "$1")" "$4" "$5" "${6:-}"
}

printf '| set | run | bytes | PSNR dB | wall s | CPU s | note |\n'
printf '|---|---|---|---|---|---|---|\n'
for set in $sets; do
    case "$set" in
        photo) make_set photo "$(photo_graph 640x480)" ;;
        screen) make_set screen "$(screen_graph)" ;;
        *) echo "unknown set: $set" >&2; exit 1 ;;
    esac
    pngs=("$work/$set"/*.png)
    read -r wall cpu < <(timed "$render" --optimize -d 10 -o "$work/$set-exact.gif" "${pngs[@]}")
    exact=$(stat -c %s "$work/$set-exact.gif")
    estimate=$("$render" --optimize -d 10 --estimate "${pngs[@]}")
    row "$set" "optimised" "$work/$set-exact.gif" "$wall" "$cpu" \
        "estimate $estimate ($(echo "scale=1; 100 * ($estimate - $exact) / $exact" | bc) %)"
    base_wall=$wall
    for lossy in 20 40 50 55 60 80 100; do
        out="$work/$set-lossy$lossy.gif"
        read -r wall cpu < <(timed "$render" --lossy "$lossy" -d 10 -o "$out" "${pngs[@]}")
        estimate=$("$render" --lossy "$lossy" -d 10 --estimate "${pngs[@]}")
        row "$set" "--lossy $lossy" "$out" "$wall" "$cpu" \
            "$(echo "scale=1; 100 * ($(stat -c %s "$out") - $exact) / $exact" | bc) % bytes; estimate off $(echo "scale=1; 100 * ($estimate - $(stat -c %s "$out")) / $(stat -c %s "$out")" | bc) %"
    done
    for fraction in 2 4 8; do
        limit=$((exact / fraction))
        out="$work/$set-limit$fraction.gif"
        if read -r wall cpu < <(timed "$render" --max-size "$limit" -d 10 -o "$out" "${pngs[@]}"); then
            row "$set" "--max-size 1/$fraction ($limit)" "$out" "$wall" "$cpu" \
                "$(echo "scale=2; $wall / $base_wall" | bc)x the optimised time; $(grep -o 'under.*' "$work/err.txt" | head -c 150)"
        else
            printf '| %s | --max-size 1/%s (%s) | - | - | - | - | %s |\n' "$set" "$fraction" "$limit" \
                "$(tail -n1 "$work/err.txt")"
        fi
    done
    read -r wall cpu < <(timed bash -c "ffmpeg -v error -y -i '$work/$set/%03d.png' -vf palettegen '$work/$set-palette.png' &&
        ffmpeg -v error -y -framerate 10 -i '$work/$set/%03d.png' -i '$work/$set-palette.png' -lavfi paletteuse '$work/$set-ffmpeg.gif'")
    row "$set" "ffmpeg palettegen/paletteuse" "$work/$set-ffmpeg.gif" "$wall" "$cpu"
    if read -r wall cpu < <(timed convert -delay 10 -loop 0 "${pngs[@]}" -layers Optimize "$work/$set-layers.gif"); then
        row "$set" "convert -layers Optimize" "$work/$set-layers.gif" "$wall" "$cpu"
    fi
done
echo
echo "PSNR: ffmpeg's psnr filter on the composed GIF frames (scaled back to the frames' size) against the source PNGs."
