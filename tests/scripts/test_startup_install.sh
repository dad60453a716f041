#!/usr/bin/env bash
# Starts the real program as a user would: installed with cmake --install,
# through a symbolic link on PATH, without option.cfg, and without Themes.
# Needs a display (ctest runs under xvfb-run) and xdotool.
set -euo pipefail
source "$(dirname "$0")/../support/script_helpers.sh"
build="$(dirname "$stage")"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1

# Windows are looked up by process: other tests may show windows with the
# same title on the same display.
window_of() { xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -1; }
has_window() { [[ -n "$(window_of "$1" "$2")" ]]; }
ended() { ! kill -0 "$1" 2>/dev/null; }

# Presses a key in the window, as a user would, until the process ends (a
# window that has just appeared may miss the first key); sets rc to its exit
# status. Not run in a subshell: only this shell may wait for its children.
press_until_ended() {
    local pid="$1" window="$2" key="$3"
    for _ in 1 2 3; do
        timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null || true
        xdotool key --clearmodifiers "$key"
        if wait_for 5 ended "$pid"; then
            rc=0
            wait "$pid" || rc=$?
            return 0
        fi
    done
    return 1
}

# --- Installed layout -------------------------------------------------------
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for path in bin/loopforge bin/loopforge-render Themes/MyFrame1.xrc Themes/AboutDialog.xrc \
            Themes/application.ico Themes/play.png Themes/stop.png option.cfg Language \
            share/applications/loopforge.desktop share/icons/hicolor/256x256/apps/loopforge.png \
            share/icons/hicolor/scalable/apps/loopforge.svg; do
    [[ -e "$prefix/$path" ]] || fail "install lacks $path"
done
[[ ! -e "$prefix/bin/Themes" ]] || fail "Themes must sit beside bin, not inside it"

# --- Through a symbolic link on PATH, started from another folder -----------
mkdir -p "$work/launcher" "$work/elsewhere"
ln -s "$prefix/bin/loopforge" "$work/launcher/loopforge"
(cd "$work/elsewhere" && PATH="$work/launcher:$PATH" exec loopforge >"$work/out.txt" 2>&1) &
pid=$!
wait_for 30 has_window "$pid" '^Corvanel Loopforge$' || abort "the installed program opened no window"
grep -qx "$prefix/option.cfg" "$work/out.txt" || fail "wrong option file: $(cat "$work/out.txt")"
press_until_ended "$pid" "$(window_of "$pid" '^Corvanel Loopforge$')" ctrl+q ||
    abort "the program did not end after Ctrl+Q"
[[ "$rc" == 0 ]] || fail "exit status $rc after Ctrl+Q"

# --- Without option.cfg the window still opens --------------------------------
rm "$prefix/option.cfg"
"$prefix/bin/loopforge" >"$work/out2.txt" 2>&1 &
pid=$!
wait_for 30 has_window "$pid" '^Corvanel Loopforge$' ||
    abort "no window without option.cfg: $(cat "$work/out2.txt"); alive: $(kill -0 "$pid" 2>&1 && echo yes); windows: $(xdotool search --pid "$pid" 2>&1 | tr '\n' ' ')"
press_until_ended "$pid" "$(window_of "$pid" '^Corvanel Loopforge$')" ctrl+q ||
    abort "the program did not end"
[[ "$rc" == 0 ]] || fail "exit status $rc without option.cfg"

# --- Without Themes start-up ends with a message and a non-zero status --------
mv "$prefix/Themes" "$prefix/Themes.away"
"$prefix/bin/loopforge" >/dev/null 2>"$work/err.txt" &
pid=$!
wait_for 30 has_window "$pid" 'Corvanel Loopforge' ||
    abort "no message without Themes: $(cat "$work/err.txt"); windows: $(xdotool search --pid "$pid" 2>&1)"
grep -q 'MyFrame1' "$work/err.txt" || fail "the message does not name the resource"
press_until_ended "$pid" "$(window_of "$pid" 'Corvanel Loopforge')" Return ||
    abort "the program did not end after the message"
[[ "$rc" != 0 ]] || fail "a start without Themes must end with a non-zero status"

finish
