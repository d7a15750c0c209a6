#!/usr/bin/env bash
# orvo end to end as a production line's script runs it, on the simulated device: the parts
# the device received, exit codes from real causes, --retries, --json lines, the log's SHA-256,
# write-sn twice, and a station over three devices.
#   orvo-cli-test.sh native PROGRAM DATA_FOLDER IMAGE  orvo built natively on the simulated
#                                                      device, with the sample settings of
#                                                      DATA_FOLDER and IMAGE as the upgrade file
#   orvo-cli-test.sh WINE_STATE DIST_SIM_FOLDER    orvo.exe under Wine, in the run's session
set -u
here=$(cd "$(dirname "$0")" && pwd)
scenario=$here/../../../testbed/scripts/station-scenario.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tool=$work/tool
mkdir -p "$tool" "$work/device"

if [ "$1" = native ]; then
  cp "$3"/CONFIG.INI "$3"/language.ini "$3"/burn_sn.txt "$tool"/
  cp "$4" "$tool/orvo_upgrade.bin"
  cp "$2" "$tool/orvo"
  seen() { echo "$1"; }  # a path as orvo sees it
  orvo_command=("$tool/orvo")
else
  . "$here/../../../cmake/wine-env.sh"
  wine_session "$1" || exit
  cp -r "$2"/. "$tool"/
  seen() { echo "Z:$1"; }
  orvo_command=(wine "$tool/orvo.exe")
fi
export ORVO_SIM_OUTPUT
ORVO_SIM_OUTPUT=$(seen "$work/device")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs orvo in its folder: output in $work/out (stdout) and $work/err, exit code in $status.
orvo() {
  (cd "$tool" && "${orvo_command[@]}" "$@" >"$work/out" 2>"$work/err" </dev/null)
  status=$?
  sed -i 's/\r$//' "$work/out" "$work/err"
}
expect_exit() {
  local want=$1 what=$2
  shift 2
  orvo "$@"
  [ "$status" -eq "$want" ] || fail "$what: exit code $status, not $want; $(cat "$work/err")"
}

image=$tool/orvo_upgrade.bin
expect_exit 0 "upgrade" upgrade --log runs.csv
cmp -s <(cat "$work/device/internal.bin" "$work/device/external.bin") <(tail -c +257 "$image") ||
  fail "the parts the device received are not the image's"
sha=$(sha256sum "$image" | cut -d' ' -f1)
line=$(tail -n 1 "$tool/runs.csv" | tr -d '\r')
case "$line" in
*,961990000100,orvo_upgrade.bin,$sha,T2,,*) ;;
*) fail "log line \"$line\" does not name the image with SHA-256 $sha" ;;
esac

expect_exit 0 "upgrade --json" upgrade --json
python3 -c '
import json, sys
events = [json.loads(line) for line in open(sys.argv[1])]
assert events[0] == {"event": "start", "command": "upgrade"}, events[0]
assert events[-1]["event"] == "done" and events[-1]["exit_code"] == 0, events[-1]
assert any(e["event"] == "progress" and e["part"] == "external" and e["done"] == e["total"]
           for e in events)
' "$work/out" || fail "--json lines: $(cat "$work/out")"

printf 'short' >"$tool/bad.bin"
expect_exit 1 "usage" flash
expect_exit 2 "settings missing" upgrade --config absent.ini
expect_exit 3 "image refused" upgrade --image bad.bin
ORVO_SIM_FAULTS=unplugged@0 expect_exit 4 "no device" read-sn
ORVO_SIM_FAULTS=failure-reply@6:4 expect_exit 5 "device refused" upgrade
grep -q "device error code 4" "$work/err" || fail "the refusal's code is not shown: $(cat "$work/err")"
ORVO_SIM_FAULTS=failure-reply@6:4 expect_exit 0 "--retries 1" upgrade --retries 1
expect_exit 6 "serial number not 12 digits" write-sn 12

expect_exit 0 "write-sn" write-sn 961990000777
expect_exit 0 "write-sn again" write-sn 961990000777
[ "$(grep -c '^961990000777' "$tool/burn_sn.txt")" -eq 1 ] || fail "961990000777 not recorded once"

# -- The approved-images list beside the program: approve prints its line, an approved image
# upgrades, a changed byte is refused (T20, exit 3) before any frame of the upgrade.
orvo approve orvo_upgrade.bin
listed="$(sha256sum "$image" | cut -d' ' -f1)  orvo_upgrade.bin"
[ "$status" -eq 0 ] && [ "$(cat "$work/out")" = "$listed" ] ||
  fail "approve: exit code $status, printed \"$(cat "$work/out")\", not \"$listed\""
cp "$work/out" "$tool/approved-images.sha256"
expect_exit 0 "upgrade of an approved image" upgrade
expect_exit 0 "inspect of an approved image" inspect orvo_upgrade.bin
grep -q "^approved images: approved by line 1 of " "$work/out" || fail "inspect: $(cat "$work/out")"
cp "$image" "$work/approved.bin"
printf 'X' | dd of="$image" bs=1 seek=1000 conv=notrunc status=none
traffic_before=$(wc -c <"$work/device/traffic.log")
expect_exit 3 "upgrade of a changed image" upgrade
grep -q "is not one of the approved images.*\[T20\]" "$work/err" || fail "no T20: $(cat "$work/err")"
tail -c +$((traffic_before + 1)) "$work/device/traffic.log" | grep -q "^write pipe 1 16 -> 16: 55 AA 03" &&
  fail "the changed image's upgrade started"
cp "$work/approved.bin" "$image"
rm "$tool/approved-images.sha256"
# -- end of the approved-images list

(cd "$tool" && ORVO_SIM_PLUG=$(seen "$work/plug") "$scenario" "$work/plug" station.csv \
  "${orvo_command[@]}") >"$work/station" 2>&1
station=$?
[ $station -eq 5 ] || fail "station: exit code $station, not 5 (the second device's refusal)"
grep -q "station: 3 devices, 2 done, 1 failed" "$work/station" ||
  fail "station summary: $(cat "$work/station")"
[ "$(tail -n +2 "$tool/station.csv" | cut -d, -f2,5,6 | tr -d '\r' | tr '\n' ' ')" = \
  "961990000301,T2, 961990000302,E3,4 961990000303,T2, " ] ||
  fail "station log: $(cat "$tool/station.csv")"

[ $failures -eq 0 ] && echo "orvo: every check passed"
exit $((failures > 0))
