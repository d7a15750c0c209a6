#!/usr/bin/env bash
# The main window as the X server shows it, before and after an upgrade on the simulated
# device, checked pixel by pixel against the layout. The screenshots stay in ARTIFACTS.
#   window-screenshot.sh STATE_DIR DIST_SIM_DIR ORVO_DRIVE BACKGROUND_BMP ARTIFACTS
# Runs in the Wine session of the test run (wine-session.sh): its prefix and its Xvfb screen.
set -uo pipefail
state=$1 dist=$2 drive_exe=$3 background=$4 artifacts=$5
. "$(dirname "$0")/../../cmake/wine-env.sh"
wine_session "$state" || exit

work=$(mktemp -d)
tool=
cleanup() {
  [ -n "$tool" ] && kill "$tool" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# orvo-drive's lines end in CR LF, as a Windows console program's do.
drive() { wine "$drive_exe" "$@" | tr -d '\r'; }
# "r,g,b" of a pixel of an image.
pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info: | sed 's/^s*rgb(\(.*\))$/\1/'; }
expect_pixel() { # IMAGE X Y EXPECTED WHAT
  local got
  got=$(pixel "$1" "$2" "$3")
  [ "$got" = "$4" ] || fail "$5 at ($2,$3): $got, expected $4"
}
# The window's client area, cropped from the whole screen.
screenshot() {
  local rect x y w h
  rect=$(drive rect) || { fail "no window to take a picture of"; return 1; }
  read -r x y w h <<<"$rect"
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$1"
}

cp "$dist"/* "$work"/
mkdir -p "$artifacts"
before=$artifacts/window-before.png
after=$artifacts/window-after.png
rm -f "$before" "$after"

(cd "$work" && exec wine OrvoUpgradeTool.exe >/dev/null 2>&1) &
tool=$!
drive wait-window 60 || { echo "FAIL: the window did not come"; exit 1; }
sleep 0.5 # the title and the version come with the first ticks of the 100 ms timer
screenshot "$before" || exit 1

window_colour=$(drive colour 5)
highlight_colour=$(drive colour 13)

size=$(identify -format '%wx%h' "$before")
[ "$size" = 480x360 ] || fail "client area is $size, expected 480x360"
# The background image shows where no control covers it: its frame and its inner panel.
for point in "5 200" "100 345" "470 200" "30 200" "400 250"; do
  read -r x y <<<"$point"
  expect_pixel "$before" "$x" "$y" "$(pixel "$background" "$x" "$y")" "background"
done
expect_pixel "$before" 30 200 "200,204,205" "panel colour"
# The SN field is empty after start-up: the control colour shows all over it.
expect_pixel "$before" 300 108 "199,203,204" "SN field"
red=$(convert "$before" -crop 200x18+0+0 txt:- | grep -c '#FF0000')
[ "$red" -gt 50 ] || fail "the red title at the top left has $red pixels"
# The layout as the template's font lays it out: the whole title inside the window and clear of
# the title-bar buttons, the SN label clear of its field, the progress bar inside the panel.
read -r left right <<<"$(convert "$before" -crop 480x18+0+0 txt:- | grep '#FF0000' |
  sed 's/^\([0-9]*\),.*/\1/' | sort -n | sed -n '1p;$p' | tr '\n' ' ')"
[ "${left:-0}" -gt 0 ] || fail "the title is cut on the left (its first red column: ${left:-none})"
minimise_left=$(drive control-rect 1021 | cut -d' ' -f1)
[ "${right:-999}" -lt "$minimise_left" ] || fail "the title runs to x=$right, into the buttons at x=$minimise_left"
read -r label_x _ label_w _ <<<"$(drive control-rect 1014)"
read -r field_x _ <<<"$(drive control-rect 1002)"
[ $((label_x + label_w)) -le "$field_x" ] ||
  fail "the SN label ends at x=$((label_x + label_w)), inside its field at x=$field_x"
read -r bar_x bar_y bar_w bar_h <<<"$(drive control-rect 1009)"
# The background's inner panel, inclusive: app/resources/art/background.py.
[ "$bar_x" -ge 15 ] && [ "$bar_y" -ge 31 ] && [ $((bar_x + bar_w - 1)) -le 466 ] &&
  [ $((bar_y + bar_h - 1)) -le 323 ] ||
  fail "the progress bar ($bar_x,$bar_y ${bar_w}x$bar_h) passes the panel (15,31)-(466,323)"
# At 0 % the bar is all background; its text stays in the middle.
expect_pixel "$before" 30 310 "$window_colour" "empty progress bar"
expect_pixel "$before" 440 310 "$window_colour" "empty progress bar"

drive click 1001
success=$(iconv -f UTF-16 -t UTF-8 "$work/language.ini" | tr -d '\r' |
  sed -n '/^\[LANGUAGE_EN\]/,/^\[LANGUAGE_FR\]/s/^T2=//p')
drive wait-text 1009 "$success" 120 || fail "the upgrade did not end on \"$success\""
sleep 0.3
screenshot "$after" || exit 1
expect_pixel "$after" 30 310 "$highlight_colour" "full progress bar"
expect_pixel "$after" 440 310 "$highlight_colour" "full progress bar"
expect_pixel "$after" 30 200 "200,204,205" "panel colour after the upgrade"

drive click 2
drive wait-end 30 || fail "Exit did not end the tool"
wait "$tool" 2>/dev/null
tool=

echo "screenshots: $before $after"
[ "$failures" -eq 0 ]
