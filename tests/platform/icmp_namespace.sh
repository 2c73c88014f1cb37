#!/bin/sh
# Runs the ICMP cases of the platform suite as an unprivileged user in a network namespace of their
# own: once where that user may open the ICMP datagram socket (net.ipv4.ping_group_range, set in the
# namespace only) and once where no ICMP socket may be opened. Exit 77 (skipped) when that cannot be
# had here, saying why.
set -u
suite=$1
nobody=65534

skip() {
    echo "skipped: $*"
    exit 77
}

[ "$(id -u)" -eq 0 ] || skip "needs root to make the namespace and give up its rights"
for tool in unshare setpriv ip sysctl; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
as_nobody="setpriv --reuid=$nobody --regid=$nobody --clear-groups --inh-caps=-all"
$as_nobody test -x "$suite" 2>/dev/null || skip "the test program is out of the unprivileged user's reach"
unshare --net true 2>/dev/null || skip "network namespaces cannot be made here"

run() {
    unshare --net sh -c "ip link set lo up && sysctl -q -w net.ipv4.ping_group_range='$2' &&
        ORVANTIS_ICMP_CASE=$1 $as_nobody '$suite' --gtest_filter='IcmpNamespaceTest.*'"
}

run datagram "0 2147483647" && run none "1 0"
