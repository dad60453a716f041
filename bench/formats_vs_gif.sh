#!/usr/bin/env bash
# Size, time and quality of the same frames written as GIF (classic and
# optimised), animated WebP (lossless and lossy at quality 75), MP4 and
# WebM by loopforge-render, on a photo-like and a screen-like set made here
# with ffmpeg. Prints one table of figures (no pass/fail).
#
#   bench/formats_vs_gif.sh [BUILD_DIR]
#
# REPEAT (default 3) runs of each; the table shows the median time. PSNR is
# over all frames against the source pictures (Pillow reads GIF and WebP,
# ffmpeg decodes the videos). Needs ffmpeg, GNU time, Debian's python3 with
# PIL and the DejaVu fonts (scripts/deps.sh --test).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
render="$build/stage/bin/loopforge-render"
repeat="${REPEAT:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mono=/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
for tool in ffmpeg /usr/bin/time /usr/bin/python3 "$render"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

# Photo-like: smooth tones under fine grain, all of it changing every frame.
photo="nullsrc=s=640x480:r=25,format=rgb24,geq=r='clip(120+80*sin(X/37+T*2)*cos(Y/53)+25*sin(Y/90),0,255)':g='clip(100+70*sin(X/37+T*2),0,255)':b='clip(90+30*cos(X/80+T),0,255)',noise=alls=6:allf=t"
# Screen-like: a still window of code lines with a line being typed and a moving pointer.
screen="color=c=0xf4f4f4:s=800x600:r=25,format=rgb24,drawbox=x=0:y=0:w=800:h=32:color=0x203060:t=fill"
for i in 0 1 2 3 4 5 6 7 8 9 10 11; do
    screen+=",drawtext=fontfile=$mono:text='$i  int value_$i = compute(alpha, beta + $i) * scale;':x=20:y=$((50 + i * 22)):fontsize=14:fontcolor=0x202020"
done
screen+="[base];color=c=0xf4f4f4:s=600x22:r=25,format=rgb24[hide];[base][hide]overlay=x='40+5*n':y=314[typed];"
screen+="color=c=black:s=10x16:r=25,format=rgb24[cur];[typed][cur]overlay=x='600-3*n':y='150+2*n'"
for set in photo screen; do
    mkdir -p "$work/$set"
    ffmpeg -v error -f lavfi -i "${!set}" -frames:v 100 "$work/$set/%03d.png"
done

# Each way of writing: a name, the output's ending and the renderer's options.
ways=("gif-classic gif" "gif-optimised gif --optimize" "webp-lossless webp --webp-lossless"
      "webp-q75 webp --webp-quality 75" "mp4 mp4" "webm webm")

psnr() {  # file set
    /usr/bin/python3 - "$1" "$work/$2" <<'PY'
import glob, math, subprocess, sys
from PIL import Image, ImageSequence
path, folder = sys.argv[1], sys.argv[2]
sources = [Image.open(p).convert("RGB") for p in sorted(glob.glob(folder + "/*.png"))]
w, h = sources[0].size
if path.endswith((".mp4", ".webm")):
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-vf", f"crop={w}:{h}:0:0",
                          "-f", "rawvideo", "-pix_fmt", "rgb24", "-"], capture_output=True).stdout
    size = w * h * 3
    frames = [raw[i:i + size] for i in range(0, len(raw), size)][:len(sources)]
else:
    frames = [f.convert("RGB").tobytes() for f in ImageSequence.Iterator(Image.open(path))]
err = n = 0
for got, src in zip(frames, sources):
    a = src.tobytes()
    err += sum((x - y) ** 2 for x, y in zip(got[::7], a[::7]))  # every 7th byte: quick, and fair
    n += len(a[::7])
print(f"{10 * math.log10(255 * 255 / max(err / n, 1e-9)):.1f}")
PY
}

printf "%-8s %-14s %10s %8s %8s\n" set format bytes seconds "PSNR dB"
for set in photo screen; do
    for way in "${ways[@]}"; do
        read -r name ending options <<<"$way"
        out="$work/$set.$name.$ending"
        times=()
        for _ in $(seq "$repeat"); do
            # shellcheck disable=SC2086
            /usr/bin/time -f "%e" -o "$work/time.txt" "$render" -d 4 $options -o "$out" "$work/$set"/*.png
            times+=("$(cat "$work/time.txt")")
        done
        median=$(printf "%s\n" "${times[@]}" | sort -n | sed -n "$(((repeat + 1) / 2))p")
        printf "%-8s %-14s %10d %8s %8s\n" "$set" "$name" "$(stat -c %s "$out")" "$median" "$(psnr "$out" "$set")"
    done
done
