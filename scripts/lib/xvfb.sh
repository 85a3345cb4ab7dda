# shellcheck shell=bash
# A private X server for machines without a display (CI, ssh sessions).

XVFB_PID=

# Starts Xvfb on a display it picks itself (-displayfd), so two runs never race for a number,
# and exports DISPLAY.
xvfb_start() {
  local tmp display=""
  tmp=$(mktemp -d)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" \
    >"$tmp/log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    display=$(cat "$tmp/display" 2>/dev/null || true)
    [ -n "$display" ] && break
    if ! kill -0 "$XVFB_PID" 2>/dev/null; then break; fi
    sleep 0.1
  done
  if [ -z "$display" ]; then
    cat "$tmp/log" >&2
    rm -rf "$tmp"
    echo "Xvfb did not start" >&2
    return 1
  fi
  rm -rf "$tmp"
  export DISPLAY=":$display"
}

xvfb_stop() {
  [ -n "$XVFB_PID" ] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
