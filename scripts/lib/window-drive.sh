# Sourced by the scripts that work the running tool's window through orvo-drive and take its
# pictures off the X screen, in a Wine session (cmake/wine-env.sh):
#   ORVO_DRIVE=.../orvo-drive.exe; . scripts/lib/window-drive.sh

# One orvo-drive command; its lines end in CR LF, as a Windows console program's do.
drive() { wine "$ORVO_DRIVE" "$@" | tr -d '\r'; }

# A part of the screen: X Y W H FILE.
crop_screen() { import -display "$DISPLAY" -window root -crop "${3}x${4}+${1}+${2}" +repage "$5"; }

# The window's client area, or the oldest message box with its frame, into FILE.
shoot_window() {
  local rect
  rect=$(drive rect) && crop_screen $rect "$1"
}
shoot_message() {
  local rect
  rect=$(drive message-rect) && crop_screen $rect "$1"
}

# How many blocks the simulated device has taken, from the traffic.log of its output folder:
# each block's data frame goes to pipe 3.
blocks_sent() { # OUTPUT_FOLDER
  local count
  count=$(grep -c '^write pipe 3' "$1/traffic.log" 2>/dev/null) || true
  echo "${count:-0}"
}
