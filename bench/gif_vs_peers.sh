#!/usr/bin/env bash
# Size, quality, speed and memory of loopforge-render's classic and optimised
# GIFs beside the peers Debian 12 packages: ffmpeg's two-pass palettegen /
# paletteuse, and ImageMagick's plain `convert` and `convert -layers
# Optimize`. The frame sets are made here with ffmpeg. Prints one table of
# figures (no pass/fail); the goals are judged from it. Beside size, quality
# and time it shows each tool's CPU time (user + system) and the cores it
# kept busy (CPU / wall), and the lossless headroom: how much Debian's
# gifsicle -O3 takes off the file without changing a pixel.
#
#   bench/gif_vs_peers.sh [BUILD_DIR] [RENDER_BEFORE]
#
# BUILD_DIR (default build) holds the renderer under test. RENDER_BEFORE, if
# given, is a loopforge-render built from an earlier commit: its classic
# output is compared byte for byte and its time paired with ours.
# REPEAT (default 3) is how often each set runs; every run takes all tools
# back to back, so the machine's load hits them alike, and the table shows
# the median time of each tool. SETS (default "recording screen photo hd dot
# small memory") picks the sets. Needs ffmpeg, ImageMagick, gifsicle, GNU
# time, Debian's python3 with PIL and the DejaVu fonts (scripts/deps.sh --test).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
before="${2:-}"
render="$build/stage/bin/loopforge-render"
repeat="${REPEAT:-3}"
sets="${SETS:-recording screen photo hd dot small memory}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
mono=/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
convert=/usr/bin/convert

for tool in ffmpeg "$convert" gifsicle /usr/bin/time /usr/bin/python3 "$render" $before; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
for file in "$font" "$mono"; do
    [[ -f "$file" ]] || { echo "missing: $file (fonts-dejavu-core)" >&2; exit 1; }
done

# --- Frame sets -------------------------------------------------------------

frames() {  # name graph count
    mkdir -p "$work/$1"
    ffmpeg -v error -f lavfi -i "$2" -frames:v "$3" "$work/$1/%03d.png"
}

# A screen recording: a still window of text, panels and a chart, with a
# clock, text being typed, a progress bar and a moving pointer.
screen_graph() {
    local g t
    g="color=c=0xf4f4f4:s=800x600:r=25,format=rgb24"
    g+=",drawbox=x=0:y=0:w=800:h=32:color=0x203060:t=fill"
    g+=",drawbox=x=0:y=32:w=180:h=568:color=0xdcdcdc:t=fill"
    g+=",drawbox=x=190:y=42:w=600:h=510:color=white:t=fill"
    g+=",drawtext=fontfile=$font:text='Project  Edit  View  Tools  Help':x=12:y=8:fontsize=16:fontcolor=white"
    for i in 0 1 2 3 4 5 6 7; do
        g+=",drawtext=fontfile=$font:text='Folder item $i':x=14:y=$((60 + i * 28)):fontsize=15:fontcolor=0x202020"
    done
    for i in 0 1 2 3 4 5 6 7 8 9; do
        t=101010
        ((i % 3 == 0)) && t=0000a0
        g+=",drawtext=fontfile=$mono:text='$i  int value_$i = compute(alpha, beta + $i) * scale;':x=200:y=$((60 + i * 22)):fontsize=14:fontcolor=0x$t"
    done
    g+=",drawtext=fontfile=$mono:text='  return accumulate(values.begin(), values.end(), 0.0) / count;':x=200:y=300:fontsize=14:fontcolor=0x803000"
    g+=",drawbox=x=220:y=380:w=60:h=150:color=0x3070c0:t=fill,drawbox=x=300:y=430:w=60:h=100:color=0xc05030:t=fill"
    g+=",drawbox=x=380:y=400:w=60:h=130:color=0x40a040:t=fill,drawbox=x=460:y=360:w=60:h=170:color=0xe0b020:t=fill[base];"
    g+="color=c=white:s=600x22:r=25,format=rgb24[hide];[base][hide]overlay=x='200+7*n':y=296[typed];"
    g+="color=c=0x2080ff:s=216x12:r=25,format=rgb24[bar];[typed][bar]overlay=x='562-216+2*n':y=562[prog];"
    g+="color=c=black:s=10x16:r=25,format=rgb24[cur];[prog][cur]overlay=x='600-3*n':y='150+2*n'"
    g+=",drawbox=x=790:y=290:w=10:h=30:color=0xf4f4f4:t=fill,drawbox=x=180:y=556:w=381:h=24:color=0xf4f4f4:t=fill"
    g+=",drawbox=x=780:y=556:w=20:h=24:color=0xf4f4f4:t=fill,drawbox=x=560:y=560:w=220:h=16:color=0x909090:t=2"
    g+=",drawtext=fontfile=$font:text='%{eif\\:n/10\\:d}.%{eif\\:mod(n\\,10)\\:d} s':x=700:y=8:fontsize=16:fontcolor=white"
    echo "$g"
}

# A desktop recording, mostly still: an editor window where text is typed a
# key in four frames of five, a pointer that rests, crosses the window and
# rests again, and a clock that ticks once a second.
recording_graph() {
    local g i
    g="color=c=0x2d5f8a:s=1280x720:r=25,format=rgb24"
    g+=",drawbox=x=0:y=684:w=1280:h=36:color=0x1e1e24:t=fill"
    g+=",drawtext=fontfile=$font:text='Files   Terminal   Editor   Browser':x=16:y=694:fontsize=15:fontcolor=0xd0d0d0"
    g+=",drawbox=x=120:y=50:w=1040:h=600:color=0xfafafa:t=fill,drawbox=x=120:y=50:w=1040:h=30:color=0x3c3f58:t=fill"
    g+=",drawtext=fontfile=$font:text='notes.txt - Editor':x=136:y=57:fontsize=15:fontcolor=white"
    g+=",drawbox=x=120:y=80:w=200:h=570:color=0xe8e8ec:t=fill"
    for i in 0 1 2 3 4 5 6 7 8 9; do
        g+=",drawtext=fontfile=$font:text='chapter_$i.txt':x=134:y=$((96 + i * 26)):fontsize=14:fontcolor=0x303030"
    done
    for i in 0 1 2 3 4 5 6 7 8 9 10 11; do
        g+=",drawtext=fontfile=$mono:text='$((i + 1))  The quick brown fox number $i jumps over the lazy dog again.':x=336:y=$((96 + i * 22)):fontsize=14:fontcolor=0x$((i % 4 == 0 ? 204080 : 202020))"
    done
    g+=",drawtext=fontfile=$mono:text='13  Typing goes on one key at a time, with pauses between the words, while the clock ticks.':x=336:y=360:fontsize=14:fontcolor=0x202020[base];"
    # The unwritten rest of line 13 stays hidden.
    g+="color=c=0xfafafa:s=820x20:r=25,format=rgb24[hide];[base][hide]overlay=x='372+4*floor(n*4/5)':y=358[typed];"
    g+="color=c=black:s=12x18:r=25,format=rgb24[cur];[typed][cur]overlay=x='if(lt(n,150),1000,if(lt(n,230),1000-6*(n-150),520))':y='if(lt(n,150),500,if(lt(n,230),500-3*(n-150),260))'"
    g+=",drawbox=x=1160:y=0:w=120:h=684:color=0x2d5f8a:t=fill"
    g+=",drawtext=fontfile=$font:text='10\\:42\\:%{eif\\:10+n/25\\:d\\:2}':x=1190:y=694:fontsize=15:fontcolor=0xd0d0d0"
    echo "$g"
}

# Photo-like: smooth tones of correlated colour under fine grain, all of it
# changing from frame to frame, as in filmed video.
photo_graph() {  # size
    local l="(120+80*sin(X/37+T*2)*cos(Y/53)+30*sin((X+Y)/17-T))"
    echo "nullsrc=s=$1:r=25,format=rgb24,geq=r='clip($l+25*sin(Y/90),0,255)':g='clip(0.9*$l+10,0,255)':b='clip(0.7*$l+30*cos(X/80+T),0,255)',noise=alls=6:allf=t"
}

# A dot moving across a still two-dimensional colour gradient.
dot_graph() {
    local d="lt(hypot(X-(40+8*N)\\,Y-H/2)\\,14)"
    echo "nullsrc=s=320x240:r=25,format=rgb24,geq=r='if($d,250,X*255/W)':g='if($d,40,Y*96/H+60)':b='if($d,40,200-X*120/W)'"
}

wanted() { [[ " $sets " == *" $1 "* ]]; }
wanted recording && frames recording "$(recording_graph)" 300
wanted screen && frames screen "$(screen_graph)" 100
wanted photo && frames photo "$(photo_graph 640x480)" 100
wanted hd && frames hd "$(photo_graph 1920x1080)" 20
wanted dot && frames dot "$(dot_graph)" 30
wanted small && frames small "$(photo_graph 320x240)" 500
wanted memory && frames memory "testsrc2=size=1920x1080:rate=25" 400

# --- Measuring --------------------------------------------------------------

# Runs a command; appends "wall-seconds peak-MiB cpu-seconds" to the tool's record.
measure() {  # record command...
    local record="$1"
    shift
    /usr/bin/time -f "%e %M %U %S" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" ||
        { echo "failed: $*" >&2; cat "$work/err.txt" >&2; exit 1; }
    awk '{ printf "%s %.0f %.2f\n", $1, $2 / 1024, $3 + $4 }' "$work/time.txt" >>"$record"
}

# What gifsicle -O3 takes off a GIF without changing its pixels, in percent.
headroom() {  # gif
    local after
    after=$(gifsicle -O3 "$1" 2>/dev/null | wc -c)
    echo "100 * (1 - $after / $(stat -c %s "$1"))" | bc -l
}

# Mean PSNR of a GIF against the frames it was made from, frames composed as
# a viewer shows them (a delay of 10 is 10 frames a second).
psnr() {  # gif set
    ffmpeg -v info -i "$1" -framerate 10 -i "$work/$2/%03d.png" \
        -lavfi "[0:v]format=rgb24[a];[1:v]format=rgb24[b];[a][b]psnr" -f null - 2>&1 |
        sed -n 's/.*PSNR.* average:\([0-9.inf]*\).*/\1/p' | tail -n1
}

median() {  # column record
    sort -n -k"$1" "$2" | awk -v c="$1" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'
}

ffmpeg_two_pass() {  # set out
    ffmpeg -v error -y -i "$work/$1/%03d.png" -vf palettegen "$work/$1-palette.png" &&
        ffmpeg -v error -y -framerate 10 -i "$work/$1/%03d.png" -i "$work/$1-palette.png" \
            -lavfi paletteuse "$2"
}

tools=(classic optimised)
[[ -n "$before" ]] && tools+=(before)
tools+=(ffmpeg convert layers)
# TOOLS picks some of them ("classic optimised"): ImageMagick's default
# resource policy on Debian refuses the 300-frame recording set.
[[ -n "${TOOLS:-}" ]] && read -r -a tools <<<"$TOOLS"

run() {  # tool set out
    local pngs=("$work/$2"/*.png)
    case "$1" in
        classic) measure "$work/$2-$1.txt" "$render" -d 10 -o "$3" "${pngs[@]}" ;;
        optimised) measure "$work/$2-$1.txt" "$render" --optimize -d 10 -o "$3" "${pngs[@]}" ;;
        before) measure "$work/$2-$1.txt" "$before" -d 10 -o "$3" "${pngs[@]}" ;;
        ffmpeg) measure "$work/$2-$1.txt" bash -c "$(declare -f ffmpeg_two_pass); work='$work'; ffmpeg_two_pass '$2' '$3'" ;;
        convert) measure "$work/$2-$1.txt" "$convert" -delay 10 -loop 0 "${pngs[@]}" "$3" ;;
        layers) measure "$work/$2-$1.txt" "$convert" -delay 10 -loop 0 "${pngs[@]}" -layers Optimize "$3" ;;
    esac
}

printf '| set | tool | bytes | PSNR dB | wall s (median of %d) | wall / classic | CPU s | cores busy | lossless headroom %% | peak MiB |\n' "$repeat"
printf '|---|---|---|---|---|---|---|---|---|---|\n'
for set in recording screen photo hd dot small; do
    wanted "$set" || continue
    for ((r = 0; r < repeat; ++r)); do
        for tool in "${tools[@]}"; do
            run "$tool" "$set" "$work/$set-$tool.gif"
        done
    done
    classic_time=$(median 1 "$work/$set-classic.txt")
    for tool in "${tools[@]}"; do
        wall=$(median 1 "$work/$set-$tool.txt")
        cpu=$(median 3 "$work/$set-$tool.txt")
        note=""
        if [[ "$tool" == before ]]; then
            cmp -s "$work/$set-before.gif" "$work/$set-classic.gif" && note=" (same bytes)" ||
                note=" (BYTES DIFFER)"
        fi
        printf '| %s | %s%s | %s | %s | %.2f | %.2f | %.2f | %.2f | %.1f | %s |\n' "$set" "$tool" \
            "$note" "$(stat -c %s "$work/$set-$tool.gif")" "$(psnr "$work/$set-$tool.gif" "$set")" \
            "$wall" "$(echo "$wall / $classic_time" | bc -l)" "$cpu" "$(echo "$cpu / $wall" | bc -l)" \
            "$(headroom "$work/$set-$tool.gif")" "$(median 2 "$work/$set-$tool.txt")"
    done
done

# Memory: 400 frames of 1920 x 1080, once each, and again under a 1.5 GB
# address-space limit.
memory_tools=()
wanted memory && memory_tools=(classic optimised ${before:+before})
pngs=("$work/memory"/*.png)
for tool in "${memory_tools[@]}"; do
    run "$tool" memory "$work/memory-$tool.gif"
    case "$tool" in
        classic) renderer=("$render") ;;
        optimised) renderer=("$render" --optimize) ;;
        before) renderer=("$before") ;;
    esac
    if (ulimit -v 1500000 && "${renderer[@]}" -o "$work/memory-limited.gif" "${pngs[@]}") \
        >/dev/null 2>&1; then
        limited="finishes"
    else
        limited="FAILS"
    fi
    printf '| memory 400 x 1920x1080 | %s | %s | - | %.2f | - | %s (under ulimit -v 1500000: %s) |\n' \
        "$tool" "$(stat -c %s "$work/memory-$tool.gif")" "$(median 1 "$work/memory-$tool.txt")" \
        "$(median 2 "$work/memory-$tool.txt")" "$limited"
done

echo
echo "classic: loopforge-render; optimised: loopforge-render --optimize (default parts);"
echo "before: RENDER_BEFORE; ffmpeg: palettegen then paletteuse (both passes timed);"
echo "convert: ImageMagick convert -delay 10 -loop 0; layers: the same with -layers Optimize."
echo "PSNR: ffmpeg's psnr filter on the composed GIF frames against the source PNGs."
echo "CPU: user + system seconds (median); cores busy: CPU / wall, on a machine others share too."
echo "Lossless headroom: 1 - size after gifsicle -O3 / size; negative when gifsicle's file is larger."
echo "gifski is not packaged in Debian 12 and is not run here."
