#!/usr/bin/env bash
# End to end: the staged program is started, killed with SIGSEGV, and must
# leave a crash report folder (toolkit files, timestamp.my, the zip), tell
# the user where it is, and hand that folder to the desktop's opener.
# Arguments: the staged install folder and the source folder. Needs $DISPLAY
# (run under xvfb-run) and xdotool.
set -euo pipefail
source "$(dirname "$0")/../support/script_helpers.sh"
command -v xdotool >/dev/null || abort "xdotool is not installed (scripts/deps.sh --test)"
[[ -n "${DISPLAY:-}" ]] || abort "no DISPLAY: run under xvfb-run"

pid=""
cleanup() {
    if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/home" "$work/tmp" "$work/bin"

# The desktop's opener is replaced by one that records its argument.
cat > "$work/bin/xdg-open" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$1" >> "$work/opened.txt"
SCRIPT
chmod +x "$work/bin/xdg-open"

HOME="$work/home" TMPDIR="$work/tmp" PATH="$work/bin:$PATH" \
    "$stage/bin/loopforge" >"$work/stdout.txt" 2>"$work/stderr.txt" &
pid=$!

# Windows are looked up by process: other tests may show theirs on the
# same display.
main_window() {
    xdotool search --all --onlyvisible --pid "$pid" --name '^Corvanel Loopforge$' | head -n 1
}
has_main_window() { [[ -n "$(main_window)" ]]; }
wait_for 30 has_main_window || abort "the main window did not appear"
main="$(main_window)"
kill -SEGV "$pid"

# The crash message box waits for the user. It carries the toolkit's default
# caption, which GTK leaves empty: it is the program's other visible window.
message_box() { xdotool search --onlyvisible --pid "$pid" | grep -vx "$main" | head -n 1; }
has_message_box() { [[ -n "$(message_box)" ]]; }
wait_for 30 has_message_box ||
    { cat "$work/stderr.txt" >&2; abort "no crash message appeared"; }
# A box that has just appeared may miss the first key: press until it ends.
ended=""
for _ in 1 2 3 4 5 6; do
    timeout 5 xdotool windowfocus --sync "$(message_box)" 2>/dev/null || true
    xdotool key --clearmodifiers Return
    if wait_for 5 bash -c "! kill -0 $pid"; then
        ended=yes
        break
    fi
done
[[ -n "$ended" ]] || abort "the program did not end after the message"
status=0
wait "$pid" 2>/dev/null || status=$?
pid=""
((status != 0)) || abort "a crashed program reported success"

shopt -s nullglob
folders=("$work/tmp"/loopforge*dbgrpt*)
((${#folders[@]} == 1)) || abort "expected one report folder in TMPDIR, found ${#folders[@]}"
folder="${folders[0]}"

stamp="$folder/timestamp.my"
[[ -f "$stamp" ]] || abort "timestamp.my is missing"
[[ "$(wc -c < "$stamp")" -eq 19 ]] || abort "timestamp.my holds $(wc -c < "$stamp") bytes, not 19"
grep -Eqx '[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}' "$stamp" ||
    abort "timestamp.my holds '$(cat "$stamp")'"
[[ -f "$folder/loopforge.xml" ]] || abort "the toolkit's context file is missing"

python3 - "$folder" "$stamp" <<'PY' || abort "the zip or the timestamp is wrong"
import datetime, glob, sys, zipfile
folder, stamp = sys.argv[1], sys.argv[2]
zips = glob.glob(folder + "/*.zip")
assert len(zips) == 1, zips
names = set(zipfile.ZipFile(zips[0]).namelist())
assert {"timestamp.my", "loopforge.xml"} <= names, names
when = datetime.datetime.strptime(open(stamp).read(), "%Y-%m-%d %H:%M:%S")
assert abs((datetime.datetime.now() - when).total_seconds()) < 600, when
PY

# The message names the folder on its third line (it also goes to stderr).
third="$(grep -A2 '^Application have crashed' "$work/stderr.txt" | sed -n 3p)"
[[ "$third" == "$folder" ]] || abort "third line of the message is '$third', not the folder"

wait_for 10 test -s "$work/opened.txt" || abort "the report folder was not opened"
[[ "$(cat "$work/opened.txt")" == "$folder" ]] ||
    abort "opened '$(cat "$work/opened.txt")' instead of the report folder"
finish
