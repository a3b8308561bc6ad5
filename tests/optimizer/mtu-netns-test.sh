#!/usr/bin/env bash
# "Find largest MTU" over a real link: two network namespaces made here,
# joined by a veth pair whose MTU is 1400, and the test executable run under
# Wine inside the first, measuring towards the second. Only the addresses of
# this link are used, and both namespaces are removed afterwards.
#
# Wine gets its own prefix for this, booted inside the namespace, so that
# its echo and interface calls (served by the prefix's own processes) see the
# namespace's link and not the machine's.
#
# Usage: mtu-netns-test.sh <wine-run> <with-display> <test.exe> [gtest args]
# Exits 77 (skipped) without root rights or the ip command.
set -euo pipefail
wine_run=$1
with_display=$2
exe=$3
shift 3

if [ "$(id -u)" != 0 ] || ! command -v ip >/dev/null || ! ip netns list >/dev/null 2>&1; then
  echo "SKIP: network namespaces need root rights and the ip command (package iproute2)"
  exit 77
fi

ns_a="tarvix-mtu-$$-a"
ns_b="tarvix-mtu-$$-b"
link_mtu=1400
# A private /29 that exists only on this link: .1 here, .2 the peer, .5 nobody.
here_addr=10.214.14.1
peer_addr=10.214.14.2
silent_addr=10.214.14.5
prefix="${TARVIX_BUILD_DIR:?}/wineprefix-netns"

cleanup() {
  ip netns exec "$ns_a" env WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  ip netns del "$ns_a" 2>/dev/null || true
  ip netns del "$ns_b" 2>/dev/null || true
}
trap cleanup EXIT

ip netns add "$ns_a"
ip netns add "$ns_b"
ip link add tvxa netns "$ns_a" mtu "$link_mtu" type veth peer name tvxb netns "$ns_b" mtu "$link_mtu"
ip -n "$ns_a" addr add "$here_addr/29" dev tvxa
ip -n "$ns_b" addr add "$peer_addr/29" dev tvxb
for ns in "$ns_a" "$ns_b"; do
  ip -n "$ns" link set lo up
done
ip -n "$ns_a" link set tvxa up
ip -n "$ns_b" link set tvxb up
# With Linux's ping at hand, check the link first: the peer answers, a
# 1400-byte packet passes and a 1401-byte one does not.
if command -v ping >/dev/null; then
  ip netns exec "$ns_a" ping -c 1 -W 2 -M do -s $((link_mtu - 28)) "$peer_addr" >/dev/null
  if ip netns exec "$ns_a" ping -c 1 -W 1 -M do -s $((link_mtu - 27)) "$peer_addr" >/dev/null 2>&1; then
    echo "FAIL: a 1401-byte packet crossed the 1400-byte link"
    exit 1
  fi
fi

status=0
ip netns exec "$ns_a" env WINEPREFIX="$prefix" TARVIX_MTU_PEER="$peer_addr" TARVIX_MTU_SILENT="$silent_addr" \
  TARVIX_MTU_LINK="$link_mtu" "$with_display" bash -c \
  '"$@"; status=$?; wineserver -k 2>/dev/null; exit $status' measure "$wine_run" "$exe" "$@" || status=$?
exit "$status"
