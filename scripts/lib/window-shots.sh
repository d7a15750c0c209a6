#!/usr/bin/env bash
# Pictures of the real window on the simulated device, in English, French and Spanish: before,
# during and after an upgrade, and after a device failure with the failure's message box; and
# the About box. Each language runs from a fresh copy of dist-sim/ whose CONFIG.INI names it.
#   window-shots.sh DIST_SIM_DIR ORVO_DRIVE OUT_DIR
# Runs in a Wine session of cmake/wine-session.sh (wine-env.sh's wine_session already called):
# its prefix, its screen. Writes OUT_DIR/<en|fr|sp>-<before|during|after|failure|
# failure-message>.png and OUT_DIR/about.png; says on stderr what went wrong and exits 1.
set -uo pipefail
dist=$1 drive_exe=$2 out=$3

# The failure: the device answers error code 3 (message E2) to a data frame of the external
# part. Frames 0-2 open the run and read the number, 3-7 carry the internal part's two blocks,
# 8 starts the external part, 9 and on its blocks, two frames each: frame 16 is the fourth
# block's data.
readonly failure_fault=failure-reply@16:3
readonly languages=(en fr sp)
# Each transfer takes 40 ms: an upgrade of a few seconds, long enough to catch it half-way.
readonly latency_us=40000

work=$(mktemp -d)
tool_pid= runs=0
cleanup() {
  [ -n "$tool_pid" ] && kill "$tool_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

die() {
  echo "window-shots: $*" >&2
  exit 1
}
ORVO_DRIVE=$drive_exe
. "$(dirname "$0")/window-drive.sh"
window_picture() { shoot_window "$1" || die "no window to take a picture of"; }
message_picture() { shoot_message "$1" || die "no message box to take a picture of"; }
# The text of KEY in SECTION of the sample language.ini (UTF-16).
language_text() { # SECTION KEY
  iconv -f UTF-16 -t UTF-8 "$dist/language.ini" | tr -d '\r' |
    sed -n "/^\[$1\]/,/^\[/s/^$2=//p"
}
section_of() {
  case $1 in en) echo LANGUAGE_EN ;; fr) echo LANGUAGE_FR ;; sp) echo LANGUAGE_SP ;; esac
}

# Starts the tool in a fresh copy of dist-sim/ set to LANGUAGE, with the device's settings of
# the environment, and waits for its window and its title. The 100 ms timer draws the title
# again and again over itself, and its anti-aliased edges darken with each tick until they
# settle, after a second or so: only then is the picture the same from run to run.
start_tool() { # LANGUAGE
  runs=$((runs + 1))
  local folder=$work/$runs-$1
  cp -r "$dist" "$folder"
  mkdir -p "$folder/device"
  sed -i "s/^LANGUAGE=.*/LANGUAGE=$(section_of "$1")/" "$folder/CONFIG.INI"
  device=$folder/device
  (cd "$folder" && ORVO_SIM_OUTPUT="Z:$device" exec wine OrvoUpgradeTool.exe >/dev/null 2>&1) &
  tool_pid=$!
  drive wait-window 60 >/dev/null || die "the window did not come"
  sleep 1.5
}
stop_tool() {
  drive click 2
  drive wait-end 30 >/dev/null || die "Exit did not end the tool"
  wait "$tool_pid" 2>/dev/null
  tool_pid=
}

mkdir -p "$out"
export ORVO_SIM_LATENCY_US=$latency_us
for language in "${languages[@]}"; do
  section=$(section_of "$language")
  success=$(language_text "$section" T2)
  failed=$(language_text "$section" T3)

  unset ORVO_SIM_FAULTS
  start_tool "$language"
  window_picture "$out/$language-before.png"
  if [ "$language" = en ]; then
    drive about
    drive wait-message 30 >/dev/null || die "the About box did not open"
    sleep 0.3
    message_picture "$out/about.png"
    drive press-ok >/dev/null || die "the About box did not close"
  fi
  drive click 1001
  for _ in $(seq 300); do # the sample image has 13 blocks
    [ "$(blocks_sent "$device")" -ge 7 ] && break
    sleep 0.1
  done
  window_picture "$out/$language-during.png"
  drive wait-text 1009 "$success" 120 >/dev/null || die "$language: the upgrade did not end on \"$success\""
  sleep 0.3
  window_picture "$out/$language-after.png"
  stop_tool

  export ORVO_SIM_FAULTS=$failure_fault
  start_tool "$language"
  drive click 1001
  drive wait-message 120 >/dev/null || die "$language: the device failure gave no message"
  sleep 0.3
  message_picture "$out/$language-failure-message.png"
  drive press-ok >/dev/null || die "$language: the failure's message box did not close"
  drive wait-text 1009 "$failed" 30 >/dev/null || die "$language: the bar did not say \"$failed\""
  sleep 0.3
  window_picture "$out/$language-failure.png"
  stop_tool
done
unset ORVO_SIM_FAULTS
