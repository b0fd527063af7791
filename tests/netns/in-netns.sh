#!/usr/bin/env bash
# Runs a command inside a network namespace of its own, in which only the
# loopback exists: it is brought up with multicast on and a route for the
# multicast range 224.0.0.0/4, so that group and broadcast traffic of the
# tests stays on it and never reaches a real network. Where the namespace
# cannot be made, or its loopback cannot be set up, the command is not run
# and the script fails saying what is missing.
set -u
if [ "${1:-}" = "--inside" ]; then
  shift
  fail() { echo "in-netns: $1" >&2; exit 1; }
  ip link set lo up 2>/dev/null || fail "cannot bring the loopback up in the namespace (ip link set lo up)"
  ip link set lo multicast on 2>/dev/null || fail "cannot turn multicast on for the loopback (ip link set lo multicast on)"
  ip route add 224.0.0.0/4 dev lo 2>/dev/null || fail "cannot add the multicast route (ip route add 224.0.0.0/4 dev lo)"
  export ZK_NETNS=1
  exec "$@"
fi
command -v unshare >/dev/null || { echo "in-netns: unshare is missing: install the Debian package util-linux" >&2; exit 1; }
command -v ip >/dev/null || { echo "in-netns: ip is missing: install the Debian package iproute2" >&2; exit 1; }
[ $# -gt 0 ] || { echo "usage: $0 command [arguments...]" >&2; exit 2; }
. "$(dirname "$0")/namespace.sh"
enter_namespace in-netns -n network " (sysctl kernel.unprivileged_userns_clone=1)" "$0" "$@" || exit 1
