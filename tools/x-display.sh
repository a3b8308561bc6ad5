# Sourced by the scripts that need an X display for Wine's windows:
# tarvix_start_display keeps the caller's DISPLAY when set; otherwise it
# starts a private Xvfb on a free display number (from $1, default 90; its
# screen $TARVIX_XVFB_SCREEN, default 1280x1024x24),
# exports DISPLAY and leaves its process id in TARVIX_XVFB_PID for the
# caller to end (tarvix_stop_display).
TARVIX_XVFB_PID=""
tarvix_start_display() {
  [ -z "${DISPLAY:-}" ] || return 0
  local n
  for n in $(seq "${1:-90}" 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 "${TARVIX_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
  TARVIX_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
}
tarvix_stop_display() {
  [ -z "$TARVIX_XVFB_PID" ] || kill "$TARVIX_XVFB_PID" 2>/dev/null || true
}
