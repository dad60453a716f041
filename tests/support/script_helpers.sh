# Shared set-up of the end-to-end test scripts, sourced with the script's own
# arguments (the staged install folder and the source folder). It gives
# $stage, $source_dir, $corpus, $python, a fresh $work folder removed on exit
# (a script with a trap of its own removes it there), and the helpers below.
stage="$1"
source_dir="$2"
corpus="$source_dir/tests/data/corpus"
# Debian's python3 with python3-pil, whatever python3 comes first on PATH.
python=/usr/bin/python3
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
# The programs speak the language the environment asks for; the checks read
# their English messages unless a check asks for another language.
export LANGUAGE=en

# Records a failed check; the script goes on with the next one.
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Ends the script: a non-zero status when any check failed.
finish() {
    if ((failures != 0)); then
        echo "$failures failure(s)" >&2
        exit 1
    fi
    echo "$(basename "$0" .sh): all checks passed"
    exit 0
}

# Records a failure that makes the remaining checks pointless, and ends.
abort() {
    fail "$@"
    finish
}

# wait_for SECONDS COMMAND...: runs the command until it succeeds; false
# when it still fails after that many seconds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# expect_error PATTERN COMMAND...: the command must fail, print nothing on
# stdout, and name what went wrong on the first line of stderr.
expect_error() {
    local pattern="$1"
    shift
    "$@" >"$work/out.txt" 2>"$work/err.txt" </dev/null
    local status=$?
    if ((status == 0)); then
        fail "expected a failure: $*"
    elif ! head -n1 "$work/err.txt" | grep -q -- "$pattern"; then
        fail "message for '$*' does not match '$pattern': $(cat "$work/err.txt")"
    elif [[ -s "$work/out.txt" ]]; then
        fail "stdout not empty for '$*'"
    fi
}
