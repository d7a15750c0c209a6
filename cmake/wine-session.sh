#!/usr/bin/env bash
# Sets up or tears down the Wine session of one test run: its own prefix, booted once,
# a persistent wineserver and a private Xvfb screen.
#   wine-session.sh setup|cleanup STATE_DIR [DISPLAY]
# Given a DISPLAY, setup uses that screen instead of an Xvfb of its own and leaves Wine's
# window management as it is, for a person at that screen (scripts/demo).
set -u
action=$1 state=$2 screen=${3:-}
export WINEPREFIX=$state/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

stop() {
  [ -d "$WINEPREFIX" ] && wineserver -k >/dev/null 2>&1
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" >/dev/null 2>&1
    rm -f "$state/xvfb.pid"
  fi
}

case $action in
setup)
  stop
  rm -rf "$state" && mkdir -p "$WINEPREFIX"
  if [ -n "$screen" ]; then
    export DISPLAY=$screen
  else
    # Xvfb picks a free display itself and tells its number: two sessions starting at the
    # same moment (win32 and win64, or a demo beside the tests) never share one.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display-number" \
      </dev/null >/dev/null 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do [ -s "$state/display-number" ] && break; sleep 0.1; done
    n=$(tr -dc 0-9 <"$state/display-number")
    [ -n "$n" ] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$n"
  fi
  echo "$DISPLAY" >"$state/display"
  wine wineboot -i >/dev/null 2>&1
  # Without a window manager Wine waits 2 s for one whenever a managed window hides.
  [ -z "$screen" ] && wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # A crashing program must end at once, not wait in a crash dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
  setsid wineserver -p </dev/null >/dev/null 2>&1
  if [ -z "$screen" ]; then
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb did not start on :$n" >&2; exit 1; }
  fi
  echo "wine session ready: prefix $WINEPREFIX, display $DISPLAY"
  ;;
cleanup)
  stop
  ;;
*)
  echo "usage: $0 setup|cleanup STATE_DIR" >&2
  exit 2
  ;;
esac
