# Sourced by every script that runs Windows programs in a Wine session of wine-session.sh.
#   . cmake/wine-env.sh && wine_session STATE_DIR || exit
# wine_session points Wine at the session's prefix and screen, and puts first on PATH a `wine`
# that starts programs with the loader the session chose. Where the session cannot run programs
# (a 32-bit session on a host without 32-bit code) it says why and returns 77, CTest's code
# for a skipped test.

wine_session() {
  local state
  state=$(realpath -m "$1")
  if [ -f "$state/skip" ]; then
    cat "$state/skip"
    return 77
  fi
  if [ ! -x "$state/bin/wine" ]; then
    echo "no Wine session in $state: its setup did not run or failed"
    return 1
  fi
  export WINEPREFIX=$state/prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
  PATH=$state/bin:$PATH
  if [ -f "$state/display" ]; then
    DISPLAY=$(cat "$state/display")
    export DISPLAY
  fi
}
