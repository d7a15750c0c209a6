#!/usr/bin/env bash
# orvo.exe under Wine in a folder whose name has an "é", with --lang FR, as a French technician's
# PC has it: every --json line is UTF-8 JSON with the path and the French texts intact; what it
# writes to a console shows them too; the console's code pages are what they were before; and
# files named by such paths are opened and written.
#   orvo-unicode-test.sh WINE_STATE DIST_SIM_FOLDER CONSOLE_PROBE_EXE
set -u
. "$(dirname "$0")/../../../cmake/wine-env.sh"
wine_session "$1" || exit
dist=$2 probe=$3
# Wine reads its command line and the Unix file names in the encoding of the Unix locale.
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

folder="$work/dossier é"
mkdir -p "$folder" "$work/device" "$work/probe"
cp -r "$dist"/. "$folder"/
export ORVO_SIM_OUTPUT="Z:$work/device"
windows() { echo "Z:$1" | sed 's|/|\\|g'; }
absent="$(windows "$folder")\\absent é.bin"
french_t9=$(iconv -f UTF-16 -t UTF-8 "$folder/language.ini" | tr -d '\r' |
  sed -n '/^\[LANGUAGE_FR\]/,/^\[/s/^T9=//p')
[ -n "$french_t9" ] || fail "language.ini has no French T9"

# orvo in the console of console-probe (code page 850 before it starts); the probe's line says
# which code pages the console had before and after, and orvo's exit code. Its standard error
# goes to a file: a Wine process that the console starts may outlive the probe, and must not
# hold the test's own output open.
probed() {
  (cd "$folder" && wine "$probe" "$(windows "$work/probe")" "$(windows "$folder")\\orvo.exe" "$@" \
    2>>"$work/probe.err" </dev/null) | tr -d '\r'
}
expect_console_kept() { # WHAT PROBE_LINE EXIT_CODE
  [ "$2" = "input code page 850 850, output code page 850 850, exit code $3" ] ||
    fail "$1: $2 (the console's code pages must stay 850, the exit code be $3); $(cat "$work/probe.err")"
}

# --json: standard output is a file, so UTF-8 bytes, each line an object that names the path.
line=$(probed upgrade --json --lang FR --image "$absent")
expect_console_kept "upgrade --json" "$line" 2
python3 - "$work/probe/stdout.txt" "$absent" "$french_t9" <<'PY' || fail "--json lines: $(cat "$work/probe/stdout.txt")"
import json, sys
path, absent, french = sys.argv[1], sys.argv[2], sys.argv[3]
raw = open(path, "rb").read()
text = raw.decode("utf-8")  # strict: a byte of another code page fails here
events = [json.loads(line) for line in text.splitlines()]
assert events[0] == {"event": "start", "command": "upgrade"}, events[0]
assert {"event": "message", "key": "T9", "text": french} in events, events
assert {"event": "note", "text": "cannot read " + absent} in events, events
assert events[-1]["event"] == "failed" and events[-1]["key"] == "T9", events[-1]
PY
! grep -q '[^[:space:]]' "$work/probe/screen.txt" || fail "--json wrote to the console: $(cat "$work/probe/screen.txt")"

# For people: standard error is the console, written as UTF-16, whatever its code page.
line=$(probed upgrade --lang FR --image "$absent")
expect_console_kept "upgrade" "$line" 2
grep -qxF "orvo: $french_t9 [T9]" "$work/probe/screen.txt" ||
  fail "the console does not show the French T9: $(cat "$work/probe/screen.txt")"
grep -qxF "orvo: cannot read $absent" "$work/probe/screen.txt" ||
  fail "the console does not show the path: $(cat "$work/probe/screen.txt")"

# Files named with an "é" are read and written: the image and a log in that folder, twice.
image="$(windows "$folder")\\orvo_upgrade.bin"
for run in 1 2; do
  (cd "$folder" && wine orvo.exe upgrade --json --lang FR --image "$image" --log "runs é.csv" \
    >"$work/out" 2>"$work/err" </dev/null)
  status=$?
  [ $status -eq 0 ] || fail "upgrade $run from \"$image\": exit code $status; $(cat "$work/out" "$work/err")"
  python3 -c 'import json, sys; [json.loads(l) for l in open(sys.argv[1], "rb").read().decode("utf-8").splitlines()]' \
    "$work/out" || fail "upgrade $run: --json lines are not UTF-8 JSON: $(cat "$work/out")"
done
log="$folder/runs é.csv"
if [ ! -f "$log" ]; then
  fail "no log \"runs é.csv\" in \"$folder\": $(ls "$folder")"
else
  [ "$(grep -c '^utc_time,' "$log")" -eq 1 ] || fail "the log's header is not there once: $(cat "$log")"
  [ "$(grep -cF ",$image," "$log")" -eq 2 ] || fail "the log does not name \"$image\" twice: $(cat "$log")"
fi

[ $failures -eq 0 ] && echo "orvo in a folder named with é: every check passed"
exit $((failures > 0))
