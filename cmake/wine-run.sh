#!/usr/bin/env bash
# Runs one Windows program under Wine in the session that wine-session.sh set up.
#   wine-run.sh STATE_DIR PROGRAM [ARGS...]
set -u
state=$1
shift
export WINEPREFIX=$state/prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$state/display" ] && export DISPLAY=$(cat "$state/display")
# Wine's helper processes (services, explorer) outlive the program; they must not inherit our
# output, or whoever reads it (CTest) waits for them. So the output goes through a file.
log=$(mktemp)
wine "$@" >"$log" 2>&1
status=$?
cat "$log"
rm -f "$log"
exit $status
