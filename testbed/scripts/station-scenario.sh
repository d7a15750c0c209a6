#!/usr/bin/env bash
# A production station's shift on simulated devices: three devices plugged in one after
# another, the second refusing a block, then the end of input. Shows orvo's output and ends
# with orvo's exit code.
#   station-scenario.sh PLUG_FILE LOG_FILE ORVO_COMMAND... [-- OPTIONS...]
# ORVO_SIM_PLUG must name PLUG_FILE as orvo sees it; ORVO_COMMAND runs orvo in its folder,
# and is given "station --log LOG_FILE OPTIONS" (LOG_FILE as orvo sees it).
set -u
plug_file=$1 log=$2
shift 2
command=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  command+=("$1")
  shift
done
[ $# -gt 0 ] && shift
work=$(mktemp -d)
trap 'exec 3>&-; rm -rf "$work"' EXIT
: >"$plug_file"
mkfifo "$work/input"
"${command[@]}" station --log "$log" "$@" <"$work/input" >"$work/out" 2>&1 &
orvo=$!
exec 3>"$work/input"

# Waits until `pattern` stands on `count` lines of orvo's output.
await() {
  local pattern=$1 count=$2
  for _ in $(seq 600); do
    [ "$(grep -c -- "$pattern" "$work/out")" -ge "$count" ] && return 0
    kill -0 $orvo 2>/dev/null || break
    sleep 0.1
  done
  echo "station-scenario: no \"$pattern\" ($count) in orvo's output:" >&2
  cat "$work/out" >&2
  return 1
}

device=0
for line in 961990000301 "961990000302 failure-reply@6:4" 961990000303; do
  device=$((device + 1))
  await "waiting for the next device" $device || break
  echo "$line" >"$plug_file"
  await "unplug the device" $device || break
  : >"$plug_file"
done
await "waiting for the next device" 4
exec 3>&-
wait $orvo
status=$?
cat "$work/out"
exit $status
