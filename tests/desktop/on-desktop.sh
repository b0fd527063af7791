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
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null
  [ -n "${X_PID:-}" ] && kill "$X_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 "${SCREEN}x24" -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
X_PID=$!
for _ in $(seq 100); do
  [ -s "$tmp/display" ] && break
  sleep 0.05
done
if [ ! -s "$tmp/display" ]; then
  echo "Xvfb did not start:" >&2; cat "$tmp/xvfb.log" >&2; exit 1
fi
export DISPLAY=":$(head -n1 "$tmp/display")"
# openbox with a configuration of its own, so a user's settings never leak in.
HOME="$tmp" XDG_CONFIG_HOME="$tmp/config" openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
WM_PID=$!
# Wait until the window manager owns the screen (the _NET_SUPPORTING_WM_CHECK property).
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
export QT_QPA_PLATFORM=xcb
# The window manager's process, for tests that hold it back (SIGSTOP) as a
# busy machine does.
export ZK_WM_PID="$WM_PID"
"$@"
