#!/usr/bin/env bash
# A user's session with the real program, driven by keyboard and mouse with
# xdotool: build a strip from three pictures and a GIF, change the delay and
# the width, save the GIF and the project, quit, start again, open the
# project, and save the GIF again; then render the project with
# loopforge-render. All three GIF files must be the same bytes, and both
# quits must close at once (nothing unsaved).
# Needs a display (ctest runs under xvfb-run) and xdotool.
# Arguments: stage dir, source dir.
set -euo pipefail
stage="$1"
source_dir="$2"
corpus="$source_dir/../shared/corpus"
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 HOME="$work/home"
mkdir -p "$HOME" "$work/pics" "$work/out"
cp "$corpus/progressive_cat.jpg" "$corpus/grayscale.png" "$corpus/cogs.gif" "$corpus/rgb24.bmp" \
    "$work/pics/"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits for a visible window of the program with exactly this title; prints its id.
wait_window() {
    local title="$1" id=""
    for _ in $(seq 1 100); do
        id="$(xdotool search --all --onlyvisible --pid "$pid" --name "^$title\$" 2>/dev/null | head -1 || true)"
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Waits until no visible window of the program has this title.
wait_gone() {
    for _ in $(seq 1 300); do
        xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

start_program() {
    "$stage/bin/loopforge" >"$work/log.txt" 2>&1 &
    pid=$!
    main="$(wait_window 'Corvanel Loopforge')" || fail "the program opened no window"
}

# Answers the file dialog with this title with a full path.
choose_file() {
    local title="$1" path="$2" dialog
    dialog="$(wait_window "$title")" || fail "no dialog \"$title\""
    xdotool windowfocus --sync "$dialog"
    if [[ "$title" == Save* ]]; then
        xdotool key ctrl+a
    else
        xdotool key ctrl+l
    fi
    sleep 0.3
    xdotool type --delay 10 "$path"
    # Lets the chooser's completion settle, or it takes the Return.
    sleep 0.5
    xdotool key Return
    wait_gone "$title" || fail "dialog \"$title\" stayed open"
}

add_picture() {
    xdotool windowfocus --sync "$main"
    xdotool key ctrl+Insert
    choose_file "Add Image Files" "$1"
    sleep 0.5
    wait_gone "Load Images Progress Dialog" || fail "the import of $1 did not end"
}

# Types a value into a spin control at a point of the window, as a user would.
type_into() {
    xdotool mousemove --window "$main" "$1" "$2" click --repeat 3 1
    xdotool key ctrl+a
    xdotool type "$3"
    xdotool key Tab
    sleep 0.3
}

# File > Save (the first enabled item of the File menu once there are frames).
save_gif() {
    xdotool windowfocus --sync "$main"
    xdotool key F10 Down Return
    choose_file "Save GIF Files" "$1"
    wait_gone "Save GIF Progress Dialog" || fail "saving $1 did not end"
    for _ in $(seq 1 100); do [[ -s "$1" ]] && return 0; sleep 0.1; done
    fail "$1 was not written"
}

quit_at_once() {
    xdotool windowfocus --sync "$main"
    xdotool key ctrl+q
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" || fail "exit status $?"; return 0; }
        sleep 0.1
    done
    fail "the program did not close at once: $(xdotool search --all --onlyvisible --pid "$pid" getwindowname %@ 2>/dev/null)"
}

# --- First session -----------------------------------------------------------
start_program
for picture in progressive_cat.jpg grayscale.png cogs.gif rgb24.bmp; do
    add_picture "$work/pics/$picture"
done
# The delay and width spins of the toolbar (the height follows the width).
type_into 228 45 25
type_into 534 45 240
save_gif "$work/out/first.gif"
xdotool windowfocus --sync "$main"
xdotool key ctrl+s
choose_file "Save XML Files" "$work/out/show"
[[ -s "$work/out/show.xml" ]] || fail "no project file"
[[ "$(xdotool getwindowname "$main")" == "show - Corvanel Loopforge" ]] \
    || fail "title after saving: $(xdotool getwindowname "$main")"
grep -q '<delay_time>25</delay_time>' "$work/out/show.xml" || fail "delay not saved: $(cat "$work/out/show.xml")"
grep -q '<width>240</width>' "$work/out/show.xml" || fail "width not saved"
grep -q '<height>180</height>' "$work/out/show.xml" || fail "height not saved"
[[ "$(grep -c '<path>' "$work/out/show.xml")" == 9 ]] || fail "8 frames and the GIF entry expected"
quit_at_once

# --- Second session: open the project, save the GIF again ----------------------
start_program
xdotool windowfocus --sync "$main"
xdotool key F10 Down Return
choose_file "Load Xml Files" "$work/out/show.xml"
sleep 0.5
wait_gone "Load Images Progress Dialog" || fail "the project's import did not end"
[[ "$(xdotool getwindowname "$main")" == "show - Corvanel Loopforge" ]] \
    || fail "title after opening: $(xdotool getwindowname "$main")"
save_gif "$work/out/again.gif"
cmp "$work/out/first.gif" "$work/out/again.gif" || fail "the reopened project saves another GIF"
quit_at_once

# --- The renderer ---------------------------------------------------------------
"$stage/bin/loopforge-render" "$work/out/show.xml" -o "$work/out/rendered.gif"
cmp "$work/out/first.gif" "$work/out/rendered.gif" || fail "loopforge-render made another GIF"
echo "test_project_session: all checks passed"
