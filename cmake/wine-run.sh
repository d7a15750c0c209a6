#!/usr/bin/env bash
# Runs one Windows program under Wine in the session that wine-session.sh set up.
#   wine-run.sh STATE_DIR PROGRAM [ARGS...]
set -u
state=$1
shift
. "$(dirname "$0")/wine-env.sh"
wine_session "$state" || exit
# Wine's helper processes (services, explorer) outlive the program; they must not inherit our
# output, or whoever reads it (CTest) waits for them. So the output goes through a file.
log=$(mktemp)
wine "$@" >"$log" 2>&1
status=$?
cat "$log"
rm -f "$log"
exit $status
