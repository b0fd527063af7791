#!/usr/bin/env bash
# Runs a command as on a system without a hosts file: inside a mount
# namespace of its own, an empty file is mounted over /etc/hosts (where
# there is none, the command runs as it is, outside any namespace). Where
# the namespace cannot be made the command is not run and the script fails
# saying what is missing.
set -u
if [ "${1:-}" = "--inside" ]; then
  shift
  if [ -e /etc/hosts ]; then
    empty=$(mktemp) || exit 1
    mount --bind "$empty" /etc/hosts || { echo "without-hosts: cannot mount an empty file over /etc/hosts" >&2; exit 1; }
    rm -f "$empty"
    [ ! -s /etc/hosts ] || { echo "without-hosts: /etc/hosts is not empty after the mount" >&2; exit 1; }
  fi
  exec "$@"
fi
command -v unshare >/dev/null || { echo "without-hosts: unshare is missing: install the Debian package util-linux" >&2; exit 1; }
[ $# -gt 0 ] || { echo "usage: $0 command [arguments...]" >&2; exit 2; }
# With no hosts file there is nothing to hide (and a chroot, where "/" is no
# mount point, could not make its mounts private).
[ -e /etc/hosts ] || exec "$@"
. "$(dirname "$0")/namespace.sh"
enter_namespace without-hosts -m mount "" "$0" "$@" || exit 1
