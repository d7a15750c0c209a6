#!/usr/bin/env bash
# The road of a host that runs no 32-bit code, taken on any host with ORVO_NO_32BIT=1: the
# probe answers no, a 32-bit Wine session records why and every program of it is skipped
# (exit 77) with that reason, and a program without a session fails saying so.
#   host-fallback-test.sh SOURCE_DIR
set -u
source=$1
failures=0
expect() { # WHAT EXPECTED_STATUS EXPECTED_TEXT STATUS TEXT
  if [ "$4" != "$2" ] || [[ "$5" != *"$3"* ]]; then
    echo "FAIL: $1: status $4, output \"$5\"; expected status $2 and \"$3\""
    failures=$((failures + 1))
  fi
}
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
export ORVO_NO_32BIT=1

out=$("$source/scripts/host-probe")
expect "probe" 1 "32-bit code on this host: no (forced by ORVO_NO_32BIT=1)" $? "$out"

out=$("$source/cmake/wine-session.sh" setup "$state/win32" 32)
expect "32-bit session" 77 "skipped: a 32-bit Windows program cannot run here" $? "$out"

out=$("$source/cmake/wine-run.sh" "$state/win32" settings_test.exe)
expect "program of the 32-bit session" 77 "forced by ORVO_NO_32BIT=1" $? "$out"

out=$("$source/cmake/wine-run.sh" "$state/none" settings_test.exe)
expect "program without a session" 1 "its setup did not run or failed" $? "$out"

out=$("$source/cmake/wine-session.sh" setup "$state/win16" 16 2>&1)
expect "session of no known width" 2 "usage" $? "$out"

[ "$failures" -eq 0 ] && echo "host fallback: all as expected"
[ "$failures" -eq 0 ]
