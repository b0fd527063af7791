#!/usr/bin/env bash
# Checks the namespace wrapper itself: inside it only the loopback exists,
# up, with multicast and the route for 224.0.0.0/4; where no namespace can
# be made (an unshare that refuses) it fails with a message saying so and
# does not run the command.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
fail() { echo "FAIL: $1" >&2; exit 1; }

links=$("$here/in-netns.sh" ip -o link show) || fail "the wrapper did not run its command"
[ "$(printf '%s\n' "$links" | wc -l)" = 1 ] || fail "more than one interface inside: $links"
printf '%s' "$links" | grep -q '^1: lo: <.*MULTICAST.*UP' || fail "the loopback is not up with multicast: $links"
"$here/in-netns.sh" ip route show | grep -q '^224.0.0.0/4 dev lo' || fail "no multicast route on the loopback"

fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\necho "unshare: unshare failed: Operation not permitted" >&2\nexit 1\n' >"$fake/unshare"
chmod +x "$fake/unshare"
if out=$(PATH="$fake:$PATH" "$here/in-netns.sh" touch "$fake/ran" 2>&1); then
  fail "the wrapper succeeded without a namespace"
fi
printf '%s' "$out" | grep -q 'cannot make a network namespace' || fail "no message saying what is missing: $out"
[ ! -e "$fake/ran" ] || fail "the command ran outside a namespace"
echo "in-netns: ok"
