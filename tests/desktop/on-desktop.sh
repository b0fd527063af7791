#!/usr/bin/env bash
# Runs a command on an X display of its own: Xvfb with the openbox window
# manager, so that windows get frames, focus and placement as on a desktop.
# ZK_SCREEN sets the screen size (default 1280x1024). Both servers are
# stopped when the command ends; a missing server is a failure naming its
# Debian package.
set -u
SCREEN="${ZK_SCREEN:-1280x1024}"
command -v Xvfb >/dev/null || { echo "Xvfb is missing: install the Debian package xvfb" >&2; exit 1; }
command -v openbox >/dev/null || { echo "openbox is missing: install the Debian package openbox" >&2; exit 1; }
command -v xprop >/dev/null || { echo "xprop is missing: install the Debian package x11-utils" >&2; exit 1; }
tmp=$(mktemp -d)
cleanup() {
  # Continued too, in case a test that held it back (SIGSTOP) ended early.
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null && kill -CONT "$WM_PID" 2>/dev/null
  [ -n "${X_PID:-}" ] && kill "$X_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
# Each step waits for the servers to answer rather than for a time: a busy
# machine only makes them slower. The deadlines only end a wait for a
# server that is not coming, with a failure and its log.
DEADLINE=120
elapsed() { echo $(( $(date +%s) - START )); }
Xvfb -displayfd 3 -screen 0 "${SCREEN}x24" -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
X_PID=$!
START=$(date +%s)
until [ -s "$tmp/display" ] && grep -q '^[0-9]' "$tmp/display"; do
  if ! kill -0 "$X_PID" 2>/dev/null || [ "$(elapsed)" -ge "$DEADLINE" ]; then
    echo "Xvfb did not start:" >&2; cat "$tmp/xvfb.log" >&2; exit 1
  fi
  sleep 0.05
done
export DISPLAY=":$(head -n1 "$tmp/display")"
# The server answers a client.
until xprop -root >/dev/null 2>&1; do
  if ! kill -0 "$X_PID" 2>/dev/null || [ "$(elapsed)" -ge "$DEADLINE" ]; then
    echo "Xvfb on $DISPLAY does not answer:" >&2; cat "$tmp/xvfb.log" >&2; exit 1
  fi
  sleep 0.05
done
# True when a window manager owns the screen: the root names a check window
# that names itself (EWMH _NET_SUPPORTING_WM_CHECK).
wm_ready() {
  local id
  id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # \(0x[0-9a-fA-F]*\).*/\1/p')
  [ -n "$id" ] && xprop -id "$id" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -qi "window id # $id"
}
# openbox with a configuration of its own, so a user's settings never leak
# in; started again if it ends before it owns the screen (it can fail to
# open a display that is just starting).
START=$(date +%s)
tries=0
WM_PID=""
until [ -n "$WM_PID" ] && wm_ready; do
  if [ -z "$WM_PID" ] || ! kill -0 "$WM_PID" 2>/dev/null; then
    if [ -n "$WM_PID" ]; then
      echo "openbox ended before owning the screen (try $tries):" >&2; cat "$tmp/openbox.log" >&2
    fi
    tries=$((tries + 1))
    if [ "$tries" -gt 5 ]; then echo "openbox could not be started on $DISPLAY" >&2; exit 1; fi
    HOME="$tmp" XDG_CONFIG_HOME="$tmp/config" openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
    WM_PID=$!
  fi
  if [ "$(elapsed)" -ge "$DEADLINE" ]; then
    echo "openbox did not take the screen on $DISPLAY:" >&2; cat "$tmp/openbox.log" >&2; exit 1
  fi
  sleep 0.05
done
export QT_QPA_PLATFORM=xcb
# The window manager's process, for tests that hold it back (SIGSTOP) as a
# busy machine does.
export ZK_WM_PID="$WM_PID"
"$@"
