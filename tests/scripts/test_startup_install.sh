#!/usr/bin/env bash
# Starts the real program as a user would: installed with cmake --install,
# through a symbolic link on PATH, without option.cfg, and without Themes.
# Needs a display (ctest runs under xvfb-run) and xdotool.
set -euo pipefail

stage="$1"
build="$(dirname "$stage")"
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits for a top-level window of a process with the given title; prints its
# id. Other tests may show windows with the same title on the same display.
wait_window() {
    local pid="$1" title="$2" id=""
    for _ in $(seq 1 300); do
        id="$(xdotool search --all --onlyvisible --pid "$pid" --name "$title" 2>/dev/null | head -1 || true)"
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Waits for a background process of this shell to end; sets rc to its exit
# status. (Not run in a subshell: only this shell may wait for its children.)
wait_exit() {
    local pid="$1"
    for _ in $(seq 1 300); do
        if ! kill -0 "$pid" 2>/dev/null; then
            rc=0
            wait "$pid" || rc=$?
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Closes the main window with Ctrl+Q, as a user would, and waits for the end.
quit_and_wait() {
    local pid="$1" window="$2"
    for _ in 1 2 3; do
        xdotool windowfocus --sync "$window" 2>/dev/null || true
        xdotool key --clearmodifiers ctrl+q
        for _ in $(seq 1 50); do
            kill -0 "$pid" 2>/dev/null || { wait_exit "$pid"; return 0; }
            sleep 0.1
        done
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
id="$(wait_window "$pid" '^Corvanel Loopforge$')" || fail "the installed program opened no window"
grep -qx "$prefix/option.cfg" "$work/out.txt" || fail "wrong option file: $(cat "$work/out.txt")"
quit_and_wait "$pid" "$id" || fail "the program did not end after Ctrl+Q"
[[ "$rc" == 0 ]] || fail "exit status $rc after Ctrl+Q"

# --- Without option.cfg the window still opens --------------------------------
rm "$prefix/option.cfg"
"$prefix/bin/loopforge" >/dev/null 2>&1 &
pid=$!
id="$(wait_window "$pid" '^Corvanel Loopforge$')" || fail "no window without option.cfg"
quit_and_wait "$pid" "$id" || fail "the program did not end"
[[ "$rc" == 0 ]] || fail "exit status $rc without option.cfg"

# --- Without Themes start-up ends with a message and a non-zero status --------
mv "$prefix/Themes" "$prefix/Themes.away"
"$prefix/bin/loopforge" >/dev/null 2>"$work/err.txt" &
pid=$!
box="$(wait_window "$pid" 'Corvanel Loopforge')" ||
    fail "no message without Themes: $(cat "$work/err.txt"); windows: $(xdotool search --pid "$pid" 2>&1)"
grep -q 'MyFrame1' "$work/err.txt" || fail "the message does not name the resource"
answered=""
for _ in 1 2 3; do
    xdotool windowfocus --sync "$box" 2>/dev/null || true
    xdotool key --clearmodifiers Return
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || { answered=yes; break; }
        sleep 0.1
    done
    [[ -n "$answered" ]] && break
done
wait_exit "$pid" || fail "the program did not end after the message"
[[ "$rc" != 0 ]] || fail "a start without Themes must end with a non-zero status"

echo "startup and install: ok"
