#!/usr/bin/env bash
# The main window as the X server shows it, on the simulated device, checked pixel by pixel
# against the layout: the pictures of scripts/lib/window-shots.sh (three languages, before,
# during and after an upgrade and after a device failure, and the About box), kept in
# ARTIFACTS/screenshots, and compared with the committed ones of DOCS_SHOTS.
#   window-screenshot.sh STATE_DIR DIST_SIM_DIR ORVO_DRIVE BACKGROUND_BMP ARTIFACTS DOCS_SHOTS
# Runs in the Wine session of the test run (wine-session.sh): its prefix and its Xvfb screen.
set -uo pipefail
state=$1 dist=$2 drive_exe=$3 background=$4 artifacts=$5 docs_shots=$6
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../cmake/wine-env.sh"
wine_session "$state" || exit

work=$(mktemp -d)
tool=
cleanup() {
  [ -n "$tool" ] && kill "$tool" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# Wine's helper processes outlive the programs and inherit their output: it goes through a
# file, or CTest would wait for them (as in wine-run.sh).
if [ -z "${ORVO_SCREENSHOT_TEST_LOGGED:-}" ]; then
  ORVO_SCREENSHOT_TEST_LOGGED=1 "$0" "$@" >"$work/output" 2>&1
  status=$?
  cat "$work/output"
  exit $status
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
ORVO_DRIVE=$drive_exe
. "$here/../../scripts/lib/window-drive.sh"
# "r,g,b" of a pixel of an image.
pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info: | sed 's/^s*rgb(\(.*\))$/\1/'; }
expect_pixel() { # IMAGE X Y EXPECTED WHAT
  local got
  got=$(pixel "$1" "$2" "$3")
  [ "$got" = "$4" ] || fail "$5 at ($2,$3): $got, expected $4"
}
# The bounding box "W H X Y" of the red pixels in a part of an image; nothing when none.
red_box() { # IMAGE X Y W H
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -fuzz 30% -fill black +opaque red \
    -fill white -opaque red -format '%@' info: |
    sed -n 's/^\([0-9]*\)x\([0-9]*\)+\([0-9]*\)+\([0-9]*\)$/\1 \2 \3 \4/p'
}

# Where the controls are: the layout as the template's font lays it out.
cp "$dist"/* "$work"/
(cd "$work" && exec wine OrvoUpgradeTool.exe >/dev/null 2>&1) &
tool=$!
drive wait-window 60 >/dev/null || { echo "FAIL: the window did not come"; exit 1; }
read -r minimise_x _ <<<"$(drive control-rect 1021)"
read -r label_x _ label_w _ <<<"$(drive control-rect 1014)"
read -r field_x field_y field_w field_h <<<"$(drive control-rect 1002)"
read -r bar_x bar_y bar_w bar_h <<<"$(drive control-rect 1009)"
window_colour=$(drive colour 5)
highlight_colour=$(drive colour 13)
drive click 2
drive wait-end 30 >/dev/null || fail "Exit did not end the tool"
wait "$tool" 2>/dev/null
tool=

[ $((label_x + label_w)) -le "$field_x" ] ||
  fail "the SN label ends at x=$((label_x + label_w)), inside its field at x=$field_x"
# The background's inner panel, inclusive: app/resources/art/background.py.
[ "$bar_x" -ge 15 ] && [ "$bar_y" -ge 31 ] && [ $((bar_x + bar_w - 1)) -le 466 ] &&
  [ $((bar_y + bar_h - 1)) -le 323 ] ||
  fail "the progress bar ($bar_x,$bar_y ${bar_w}x$bar_h) passes the panel (15,31)-(466,323)"

shots=$artifacts/screenshots
rm -rf "$shots"
"$here/../../scripts/lib/window-shots.sh" "$dist" "$drive_exe" "$shots" || exit 1

for language in en fr sp; do
  before=$shots/$language-before.png after=$shots/$language-after.png
  for picture in "$before" "$after" "$shots/$language-during.png" "$shots/$language-failure.png"; do
    size=$(identify -format '%wx%h' "$picture")
    [ "$size" = 480x360 ] || fail "$(basename "$picture"): client area is $size, expected 480x360"
  done
  # The whole title inside the window, clear of the title-bar buttons.
  read -r width _ left _ <<<"$(red_box "$before" 0 0 480 18)"
  [ "${width:-0}" -gt 100 ] || fail "$language: no red title at the top left"
  [ "${left:-0}" -gt 0 ] || fail "$language: the title is cut on the left (its first red column: ${left:-none})"
  [ $((${left:-0} + ${width:-0} - 1)) -lt "$minimise_x" ] ||
    fail "$language: the title runs to x=$((left + width - 1)), into the buttons at x=$minimise_x"
  # The serial number, red in its field: twelve digits wide and tall enough to read, not clipped.
  read -r width height left _ <<<"$(red_box "$after" "$field_x" "$field_y" "$field_w" "$field_h")"
  echo "$language: the serial number's twelve digits take ${width:-0} x ${height:-0} px in a field of $field_w x $field_h"
  [ "${width:-0}" -ge 60 ] || fail "$language: the serial number is ${width:-0} px wide, at least 60 expected"
  [ "${height:-0}" -ge 8 ] || fail "$language: the serial number's digits are ${height:-0} px tall, at least 8 expected"
  [ $((${left:-0} + ${width:-0})) -le $((field_w - 3)) ] ||
    fail "$language: the serial number runs to the field's right border"
  expect_pixel "$after" 30 310 "$highlight_colour" "$language: full progress bar"
  expect_pixel "$after" 440 310 "$highlight_colour" "$language: full progress bar"
done

before=$shots/en-before.png
# The background image shows where no control covers it: its frame and its inner panel.
for point in "5 200" "100 345" "470 200" "30 200" "400 250"; do
  read -r x y <<<"$point"
  expect_pixel "$before" "$x" "$y" "$(pixel "$background" "$x" "$y")" "background"
done
expect_pixel "$before" 30 200 "200,204,205" "panel colour"
# The SN field is empty after start-up: the control colour shows all over it.
expect_pixel "$before" 300 108 "199,203,204" "SN field"
# At 0 % the bar is all background; its text stays in the middle.
expect_pixel "$before" 30 310 "$window_colour" "empty progress bar"
expect_pixel "$before" 440 310 "$window_colour" "empty progress bar"
expect_pixel "$shots/en-after.png" 30 200 "200,204,205" "panel colour after the upgrade"

# The committed pictures are these. The same program in the same fonts draws the same pixels,
# so each picture must match its committed one but for a few pixels (the fuzz takes in
# anti-aliasing); the picture during the upgrade catches the bar where it happens to be, so only
# its size counts.
stale=()
for picture in "$shots"/*.png; do
  name=$(basename "$picture") committed=$docs_shots/$(basename "$picture")
  if [ ! -f "$committed" ]; then
    stale+=("$name (not in docs)")
  elif [ "$(identify -format '%wx%h' "$picture")" != "$(identify -format '%wx%h' "$committed")" ]; then
    stale+=("$name (another size)")
  elif [[ $name != *-during.png ]]; then
    differing=$(compare -metric AE -fuzz 10% "$picture" "$committed" null: 2>&1)
    [ "${differing%%.*}" -le 20 ] 2>/dev/null || stale+=("$name ($differing pixels differ)")
  fi
done
for committed in "$docs_shots"/*.png; do
  [ -f "$shots/$(basename "$committed")" ] || stale+=("$(basename "$committed") (no longer made)")
done
if [ ${#stale[@]} -gt 0 ]; then
  fail "the pictures of docs/screenshots are not what the program draws now: ${stale[*]};" \
    "run scripts/screenshots and commit them"
fi

echo "screenshots: $shots"
[ "$failures" -eq 0 ]
