# shellcheck shell=bash
# A private X display for the real-window tests. Xvfb picks a free display
# number itself and writes it to a file descriptor, so runs beside each other
# (ctest -j, other checkouts) never race for one.

xvfb_start() {  # xvfb_start WORK_DIR: exports DISPLAY, sets xvfb_pid; the caller kills it
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1/display" 2>/dev/null &
  xvfb_pid=$!
  local _
  for _ in $(seq 50); do [ -s "$1/display" ] && break; sleep 0.1; done
  [ -s "$1/display" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(cat "$1/display")"
}
