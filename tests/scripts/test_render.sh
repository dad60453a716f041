#!/usr/bin/env bash
# loopforge-render end to end: pictures in, a GIF out that an independent
# decoder (Pillow) reads; bad arguments and unwritable outputs fail with a
# one-line message. Arguments: stage dir, source dir.
set -uo pipefail
source "$(dirname "$0")/../support/script_helpers.sh"
render="$stage/bin/loopforge-render"

# 1. A still picture, a whole GIF and a frame reference at a chosen size.
"$render" -d 25 -s 160x120 -o "$work/mixed.gif" \
    "$corpus/progressive_cat.jpg" "$corpus/rgb24.bmp" "$corpus/dispose_bgnd.gif_0" 2>"$work/err.txt" \
    || fail "mixed render failed: $(cat "$work/err.txt")"
[[ -s "$work/err.txt" ]] && fail "no progress bar expected when stderr is not a terminal"

# Where each picture lands on the canvas is checked on PrepareFrame itself.
"$python" - "$work/mixed.gif" <<'PY' || fail "Pillow check of mixed.gif"
import sys
from PIL import Image, ImageSequence
im = Image.open(sys.argv[1])
frames = [f.convert("RGB") for f in ImageSequence.Iterator(im)]
assert im.size == (160, 120), im.size
assert len(frames) == 3, len(frames)
assert im.info.get("loop") == 0, im.info
assert im.info.get("duration") == 250, im.info
PY

# 2. Pixels close to the prepared frames: an exact-size picture comes back
#    within colour-reduction error.
"$render" -o "$work/cat.gif" "$corpus/progressive_cat.jpg" || fail "cat render failed"
"$python" - "$work/cat.gif" "$corpus/progressive_cat.jpg" <<'PY' || fail "Pillow pixel check"
import sys, math
from PIL import Image
out = Image.open(sys.argv[1]).convert("RGB")
src = Image.open(sys.argv[2]).convert("RGB")
assert out.size == src.size == (320, 240), (out.size, src.size)
a, b = out.tobytes(), src.tobytes()
mse = sum((x - y) ** 2 for x, y in zip(a, b)) / len(a)
psnr = 10 * math.log10(255 * 255 / mse)
assert psnr > 22, psnr
PY

# 3. Default size: the rule the main window uses (the last frame wider or higher);
#    a GIF frame comes composed on its screen (colorTables.gif: 640x400).
"$render" -o "$work/sizes.gif" "$corpus/hopper.gif" "$corpus/sample_1.gif" "$corpus/colorTables.gif_1" \
    || fail "default-size render failed"
"$python" -c "
import sys
from PIL import Image
im = Image.open(sys.argv[1]); assert im.size == (640, 400), im.size" "$work/sizes.gif" \
    || fail "default size"

# 4. Bad arguments (each one is checked on the argument reader) and unwritable outputs.
expect_error "invalid delay" "$render" -d soon -o "$work/x.gif" "$corpus/hopper.gif"
[[ "$(wc -l <"$work/err.txt")" -le 3 ]] || fail "a usage error prints more than the reason and the usage"
expect_error "cannot read a picture from .*empty.gif" "$render" -o "$work/x.gif" "$corpus/empty.gif"
expect_error "Cannot write $work/missing/x.gif: No such file or directory" \
    "$render" -o "$work/missing/x.gif" "$corpus/hopper.gif"
[[ -e "$work/x.gif" ]] && fail "a failed render left an output file"
# The messages come in the language the environment asks for, from the
# installed catalogs, even without a system locale for that language.
LANGUAGE=de expect_error "ungültige Verzögerung" "$render" -d soon -o "$work/x.gif" "$corpus/hopper.gif"
LANGUAGE=sv:ja LC_ALL=C expect_error "書き込めません" "$render" -o "$work/missing/x.gif" "$corpus/hopper.gif"

# 5. A failed render leaves an existing file alone.
printf 'previous' >"$work/keep.gif"
expect_error "cannot read" "$render" -o "$work/keep.gif" "$corpus/hopper.gif" "$corpus/broken.png"
[[ "$(cat "$work/keep.gif")" == "previous" ]] || fail "existing output was touched"
if ls -A "$work" | grep -q '^\.'; then fail "temporary files left behind"; fi

# 6. Only regular files are read: a named pipe or a terminal would block the open forever.
mkfifo "$work/pipe.png"
expect_error "cannot read a picture from $work/pipe.png: not a regular file" \
    timeout 20 "$render" -o "$work/x.gif" "$work/pipe.png"
expect_error "cannot read a picture from /dev/stdin: not a regular file" \
    timeout 20 "$render" -o "$work/x.gif" /dev/stdin
rm -f "$work/pipe.png"

# 7. INT, TERM or HUP during an export remove the temporary file, keep the
#    previous GIF and end the renderer as the signal would have.
mkdir "$work/signals"
printf 'previous' >"$work/signals/anim.gif"
frames=()
for _ in $(seq 40); do frames+=("$corpus/progressive_cat.jpg"); done
for signal in INT TERM HUP; do
    set -m  # a script's background job would ignore SIGINT
    "$render" -s 1600x1200 -o "$work/signals/anim.gif" "${frames[@]}" 2>/dev/null &
    pid=$!
    set +m
    if wait_for 60 compgen -G "$work/signals/.anim.gif.*"; then
        kill -s "$signal" "$pid"
    else
        fail "$signal: no temporary file appeared"
        kill "$pid"
    fi
    wait "$pid"
    status=$?
    [[ $status == $((128 + $(kill -l "$signal"))) ]] || fail "$signal: exit status $status"
    [[ "$(cat "$work/signals/anim.gif")" == "previous" ]] || fail "$signal: the previous GIF changed"
    if ls -A "$work/signals" | grep -q '^\.'; then fail "$signal left a temporary file"; fi
done

# 8. The optimised profile, read back by an independent composing decoder:
#    a still background with a moving object, a repeated frame (shown for
#    twice the delay instead) and a frame that clears to black come back
#    exactly (few colours), a photo within the reducer's error; the loop count
#    is in the file.
mkdir -p "$work/opt"
"$python" - "$work/opt" "$corpus/progressive_cat.jpg" <<'PY' || fail "making the optimised inputs"
import sys
from PIL import Image, ImageDraw
out, cat = sys.argv[1], sys.argv[2]
def scene(x):
    im = Image.new("RGB", (96, 64), (30, 60, 90))
    d = ImageDraw.Draw(im)
    d.rectangle([0, 40, 95, 63], fill=(200, 200, 180))
    d.ellipse([x, 10, x + 14, 24], fill=(240, 40, 40))
    return im
frames = [scene(5), scene(20), scene(20), Image.new("RGB", (96, 64)), scene(60)]
for i, im in enumerate(frames):
    im.save(f"{out}/s{i}.png")
Image.open(cat).convert("RGB").save(f"{out}/p0.png")
Image.open(cat).convert("RGB").rotate(3).save(f"{out}/p1.png")
PY
"$render" --optimize --loop 3 -d 5 -o "$work/opt/scene.gif" "$work/opt"/s*.png || fail "optimised render failed"
"$render" --optimize --dither=diffuse -o "$work/opt/photo.gif" "$work/opt"/p*.png || fail "optimised photo render failed"
"$python" - "$work/opt" <<'PY' || fail "Pillow check of the optimised files"
import sys, math
from PIL import Image, ImageSequence, ImageChops
d = sys.argv[1]
def shown(path):
    im = Image.open(path)
    frames = [(f.convert("RGB"), f.info["duration"]) for f in ImageSequence.Iterator(im)]
    return im, [f for f, _ in frames], [ms for _, ms in frames]
im, frames, durations = shown(f"{d}/scene.gif")
expected = [(0, 50), (1, 100), (3, 50), (4, 50)]  # s2 repeats s1
assert durations == [ms for _, ms in expected], durations
for f, (i, _) in zip(frames, expected):
    assert ImageChops.difference(f, Image.open(f"{d}/s{i}.png").convert("RGB")).getbbox() is None, i
assert im.info.get("loop") == 3, im.info          # played once, then 3 repetitions
im, frames, _ = shown(f"{d}/photo.gif")
for i, f in enumerate(frames):
    a, b = f.tobytes(), Image.open(f"{d}/p{i}.png").convert("RGB").tobytes()
    psnr = 10 * math.log10(255 * 255 / (sum((x - y) ** 2 for x, y in zip(a, b)) / len(a)))
    assert psnr > 28, (i, psnr)
PY

# 9. Command conventions: --version, long options, standard output, delay 0.
"$render" --version | grep -q "^loopforge-render [0-9]" || fail "--version"
"$render" --delay 5 --size=48x32 --output - "$corpus/hopper.gif_0" >"$work/stdout.gif" \
    || fail "render to standard output failed"
"$python" -c "
import sys
from PIL import Image
im = Image.open(sys.argv[1]); assert im.size == (48, 32) and im.info['duration'] == 50, im.info" \
    "$work/stdout.gif" || fail "the GIF on standard output"
expect_error "invalid delay '0'" "$render" -d 0 -o "$work/x.gif" "$corpus/hopper.gif"

# 10. A GIF keeps its frames' delays (-d sets them all), whatever the case of
#     its ending; an output that is one of the inputs is refused untouched.
"$python" - "$work/timed.gif" <<'PY' || fail "making timed.gif"
import sys
from PIL import Image
frames = [Image.new("RGB", (8, 8), c) for c in [(200, 0, 0), (0, 200, 0), (0, 0, 200), (90, 90, 90)]]
frames[0].save(sys.argv[1], save_all=True, append_images=frames[1:], duration=[80, 80, 500, 30], loop=0)
PY
cp "$work/timed.gif" "$work/TIMED.GIF"
durations='
import sys
from PIL import Image, ImageSequence
print(" ".join(str(f.info["duration"]) for f in ImageSequence.Iterator(Image.open(sys.argv[1]))))'
"$render" -o "$work/kept.gif" "$work/TIMED.GIF" || fail "render of TIMED.GIF failed"
[[ "$("$python" -c "$durations" "$work/kept.gif")" == "80 80 500 30" ]] \
    || fail "file delays not kept: $("$python" -c "$durations" "$work/kept.gif")"
"$render" -d 7 -o "$work/set.gif" "$work/timed.gif" "$work/TIMED.GIF_3" || fail "render with -d failed"
[[ "$("$python" -c "$durations" "$work/set.gif")" == "70 70 70 70 70" ]] || fail "-d does not set every delay"
expect_error "Cannot write $work/timed.gif: it is $work/timed.gif, which the GIF is made from" \
    "$render" -o "$work/timed.gif" "$work/timed.gif"
expect_error "which the GIF is made from" "$render" -o "$work/TIMED.GIF" "$corpus/hopper.gif" "$work/TIMED.GIF_1"
cmp -s "$work/timed.gif" "$work/TIMED.GIF" || fail "a refused output was written"

# 11. A picture that does not fit in the memory allowed is reported as such,
#     not as unreadable.
"$python" -c "
import sys
from PIL import Image
Image.new('RGB', (9000, 9000), (20, 120, 200)).save(sys.argv[1])" "$work/big.png"
expect_error "cannot read a picture from $work/big.png: too large for the memory available" \
    bash -c 'ulimit -v 300000 && exec "$@"' - "$render" -o "$work/big.gif" "$work/big.png"

# 12. The progress bar appears on a terminal (script gives the renderer a pty).
if command -v script >/dev/null; then
    script -qec "'$render' -o '$work/tty.gif' '$corpus/cogs.gif'" /dev/null >"$work/tty.txt" 2>&1
    grep -q "100%" "$work/tty.txt" || fail "no progress bar on a terminal"
fi

# 13. WebP and video: the format comes from the output's ending (any case) or
#     --format; read back by Pillow and ffprobe: frames, delays, size, the
#     loop count and transparency of a WebP, and a video's frame times.
mkdir -p "$work/formats"
"$python" - "$work/formats" <<'PY' || fail "making the format inputs"
import sys
from PIL import Image, ImageDraw
for i in range(3):
    im = Image.new("RGBA", (61, 41), (0, 0, 0, 0))
    ImageDraw.Draw(im).rectangle([i * 15, 5, i * 15 + 20, 30], fill=(200, 60 + i * 60, 30, 255))
    im.save(f"{sys.argv[1]}/f{i}.png")
PY
inputs=("$work/formats"/f*.png)
"$render" -d 7 --loop 2 --webp-lossless -o "$work/formats/lossless.WEBP" "${inputs[@]}" \
    || fail "WebP by ending"
"$render" -d 7 --webp-quality 60 --format webp -o "$work/formats/lossy.gif" "${inputs[@]}" \
    || fail "WebP by --format"
"$python" - "$work/formats" <<'PY' || fail "Pillow check of the WebP files"
import sys
from PIL import Image
d = sys.argv[1]
for name, loop, exact in [("lossless.WEBP", 3, True), ("lossy.gif", 0, False)]:
    im = Image.open(f"{d}/{name}")
    assert im.format == "WEBP" and im.size == (61, 41) and im.n_frames == 3, (name, im.format, im.n_frames)
    assert im.info["loop"] == loop, (name, im.info)  # a WebP counts the plays: once, then 2 more
    for i in range(3):
        im.seek(i)
        im.load()
        assert im.info["duration"] == 70, (name, i, im.info)
        frame, src = im.convert("RGBA"), Image.open(f"{d}/f{i}.png")
        assert frame.getpixel((60, 40))[3] == 0, (name, i, "transparency lost")
        if exact:
            assert frame.tobytes() == src.tobytes(), (name, i)
PY
"$render" -d 7 -o "$work/formats/clip.Mp4" "${inputs[@]}" "$work/formats/f2.png" 2>"$work/err.txt" \
    || fail "MP4 render: $(cat "$work/err.txt")"
grep -q "the video is 62 x 42" "$work/err.txt" || fail "no word of the MP4's padding"
"$render" --format webm -d 30 -o "$work/formats/clip.out" "${inputs[@]}" || fail "WebM by --format"
probe() {
    ffprobe -v error -show_entries stream=codec_name,width,height -of csv=p=0 "$1"
    ffprobe -v error -show_entries packet=pts_time -of csv=p=0 "$1" | sort -n | tr '\n' ' '
}
# Frames start where the delays before them add up to; a closing copy of the
# last frame, a millisecond long, marks the end of its delay.
[[ "$(probe "$work/formats/clip.Mp4")" == $'h264,62,42\n0.000000 0.070000 0.140000 0.210000 0.280000 ' ]] \
    || fail "MP4 frames: $(probe "$work/formats/clip.Mp4")"
[[ "$(probe "$work/formats/clip.out")" == $'vp9,61,41\n0.000000 0.300000 0.600000 0.900000 ' ]] \
    || fail "WebM frames: $(probe "$work/formats/clip.out")"

# 14. Without the ffmpeg program a video is refused with what to install, and
#     nothing is written.
expect_error 'install the "ffmpeg" package' \
    env PATH=/nonexistent "$render" -o "$work/formats/none.mp4" "${inputs[@]}"
[[ -e "$work/formats/none.mp4" ]] && fail "a video was written without ffmpeg"
if ls -A "$work/formats" | grep -q '^\.'; then fail "temporary files left behind"; fi

# 15. Lossy codes, the size estimate and a size limit on photo-like frames:
#     lossy files are smaller and read back; --estimate prints a size within
#     10 % of the file's and writes nothing; a limit a quarter of the
#     lossless size gives a file under it (its PSNR printed); a limit nothing
#     can meet writes nothing and says so.
mkdir -p "$work/lossy"
"$python" - "$work/lossy" <<'PY' || fail "making the photo-like frames"
import sys
from PIL import Image, ImageChops
for i in range(24):
    r = Image.linear_gradient("L").resize((160, 120)).rotate(i * 4)
    g = ImageChops.offset(Image.radial_gradient("L").resize((160, 120)), i * 3, 0)
    b = ImageChops.add(Image.effect_noise((160, 120), 24), r, 2)
    Image.merge("RGB", (r, g, b)).save(f"{sys.argv[1]}/f{i:02d}.png")
PY
frames=("$work/lossy"/f*.png)
"$render" --optimize -o "$work/lossy/exact.gif" "${frames[@]}" || fail "lossless render failed"
"$render" --lossy 60 -o "$work/lossy/lossy.gif" "${frames[@]}" || fail "lossy render failed"
exact=$(stat -c %s "$work/lossy/exact.gif")
(( $(stat -c %s "$work/lossy/lossy.gif") < exact )) || fail "lossy is not smaller"
estimate=$("$render" --optimize --estimate "${frames[@]}") || fail "--estimate failed"
(( estimate * 10 >= exact * 9 && estimate * 10 <= exact * 11 )) || fail "estimate $estimate for $exact bytes"
limit=$((exact / 4))
"$render" --max-size "$limit" -o "$work/lossy/limited.gif" "${frames[@]}" 2>"$work/err.txt" \
    || fail "--max-size $limit failed: $(cat "$work/err.txt")"
grep -q "To keep the file under" "$work/err.txt" || fail "no word of what was changed"
(( $(stat -c %s "$work/lossy/limited.gif") <= limit )) || fail "the file passes the limit"
"$python" - "$work/lossy" <<'PY' || fail "Pillow check of the lossy files"
import sys, math
from PIL import Image, ImageSequence
d = sys.argv[1]
def psnr(gif):
    total, count, at = 0, 0, 0
    for f in ImageSequence.Iterator(Image.open(f"{d}/{gif}")):
        src = Image.open(f"{d}/f{at:02d}.png").convert("RGB")
        a, b = f.convert("RGB").resize(src.size).tobytes(), src.tobytes()
        total += sum((x - y) ** 2 for x, y in zip(a, b)); count += len(a)
        at += f.info["duration"] // 100
    return 10 * math.log10(255 * 255 * count / total)
for gif in ("exact.gif", "lossy.gif", "limited.gif"):
    print(f"{gif}: PSNR {psnr(gif):.1f} dB")
    assert psnr(gif) > 20, gif
PY
expect_error "nothing reasonable fits under 2 KB" \
    "$render" --max-size 2K -o "$work/lossy/none.gif" "${frames[@]}"
[[ -e "$work/lossy/none.gif" ]] && fail "an impossible limit wrote a file"

finish
