#!/usr/bin/env bash
# Sets up or tears down the Wine session of one test run: its own prefix, booted once,
# a persistent wineserver and a private Xvfb screen.
#   wine-session.sh setup STATE_DIR 32|64 [DISPLAY]
#   wine-session.sh cleanup STATE_DIR
# The session runs programs of the given width. 64-bit programs run through Wine's 64-bit
# loader where this host runs no 32-bit code (scripts/host-probe); a 32-bit session there
# records why it cannot run and exits 77, and every program of it is skipped (wine-env.sh).
# Given a DISPLAY, setup uses that screen instead of an Xvfb of its own and leaves Wine's
# window management as it is, for a person at that screen (scripts/demo).
set -u
action=$1 state=$2 bits=${3:-} screen=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
state=$(realpath -m "$state") # Wine takes only an absolute prefix
export WINEPREFIX=$state/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

stop() {
  [ -d "$WINEPREFIX" ] && wineserver -k >/dev/null 2>&1
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" >/dev/null 2>&1
    rm -f "$state/xvfb.pid"
  fi
}

# Runs one Wine step; when Wine cannot start it, setup fails with Wine's own words.
wine_step() { # WHAT COMMAND...
  local what=$1 output
  shift
  if ! output=$("$@" 2>&1); then
    echo "Wine cannot $what: $output" >&2
    exit 1
  fi
}

# Start-up settings of the session's prefix, in one start of Wine.
session_settings() {
  cat <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
; A crashing program must end at once, not wait in a crash dialog.
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
; The dialogs' fonts, absent here, replaced by metric-compatible ones, so that the dialog
; units, and with them the layout, are those of Windows.
"Times New Roman"="Liberation Serif"
"Arial"="Liberation Sans"
; The About box's font, for its Chinese characters.
"宋体"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
REG
  if [ -z "$screen" ]; then
    cat <<'REG'

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
; Without a window manager Wine waits 2 s for one whenever a managed window hides.
"Managed"="N"
REG
  fi
}

start_xvfb() {
  # Xvfb picks a free display itself and tells its number: two sessions starting at the
  # same moment (win32 and win64, or a demo beside the tests) never share one.
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display-number" \
    </dev/null >/dev/null 2>&1 &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do [ -s "$state/display-number" ] && break; sleep 0.1; done
  local n
  n=$(tr -dc 0-9 <"$state/display-number")
  [ -n "$n" ] || { echo "Xvfb did not start" >&2; exit 1; }
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb did not start on :$n" >&2; exit 1; }
  DISPLAY=":$n"
}

case $action in
setup)
  case $bits in
  32 | 64) ;;
  *)
    echo "usage: $0 setup STATE_DIR 32|64 [DISPLAY]" >&2
    exit 2
    ;;
  esac
  stop
  rm -rf "$state" && mkdir -p "$WINEPREFIX"
  if host=$("$here/../scripts/host-probe"); then
    loader=/usr/bin/wine
  elif [ "$bits" = 64 ]; then
    loader=/usr/lib/wine/wine64 # /usr/bin/wine would start the 32-bit loader first
  else
    echo "skipped: a 32-bit Windows program cannot run here; ${host}" | tee "$state/skip"
    exit 77
  fi
  mkdir -p "$state/bin"
  printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$state/bin/wine"
  chmod +x "$state/bin/wine"
  if [ -n "$screen" ]; then DISPLAY=$screen; else start_xvfb; fi
  export DISPLAY
  echo "$DISPLAY" >"$state/display"
  # The 64-bit loader's boot says it misses the 32-bit rundll32; its prefix serves 64-bit
  # programs all the same, so the boot's word is not taken: the next step starts a program.
  "$loader" wineboot -i >"$state/wineboot.log" 2>&1
  # reg reads a file without a byte-order mark in the ANSI code page: the Chinese face name
  # needs UTF-16.
  { printf '\xff\xfe'; session_settings | iconv -f UTF-8 -t UTF-16LE; } >"$state/session.reg"
  wine_step "start a program (reg.exe, importing the session's settings)" \
    "$loader" reg import "$state/session.reg"
  wineserver -w
  setsid wineserver -p </dev/null >/dev/null 2>&1
  echo "wine session ready: prefix $WINEPREFIX, display $DISPLAY, loader $loader; $host"
  ;;
cleanup)
  stop
  ;;
*)
  echo "usage: $0 setup STATE_DIR 32|64 [DISPLAY] | cleanup STATE_DIR" >&2
  exit 2
  ;;
esac
