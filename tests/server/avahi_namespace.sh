#!/bin/sh
# Runs the Avahi cases of the server suite against a private Avahi daemon: in network and mount
# namespaces of their own (and a user namespace when not root), with a private system bus and a veth
# pair with an address, so that nothing reaches a real network. Exit 77 (skipped) when that cannot be
# had here, saying why.
set -u
suite=$1
address=10.201.0.1

skip() {
    echo "skipped: $*"
    exit 77
}

if [ "${2:-}" != "--inside" ]; then
    for tool in unshare dbus-daemon avahi-daemon ip; do
        command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
    done
    ldconfig -p | grep -q 'libdns_sd\.so\.1 ' || skip "the DNS-SD library of Avahi is not installed"
    if [ "$(id -u)" -eq 0 ]; then
        set -- unshare --net --mount
    else
        set -- unshare --user --map-root-user --net --mount
    fi
    "$@" true 2>/dev/null || skip "network and mount namespaces cannot be made here"
    exec "$@" sh "$0" "$suite" --inside
fi

work=$(mktemp -d) || skip "no temporary folder"
pids=
finish() {
    [ -n "$pids" ] && kill $pids 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

# The daemons' runtime files stay in this mount namespace.
mount -t tmpfs tmpfs /run || skip "no private /run"
mkdir -p /run/dbus
ip link set lo up
ip link add veth0 type veth peer name veth1 || skip "no veth pair"
ip addr add "$address/24" dev veth0
ip link set veth0 up
ip link set veth1 up

cat > "$work/avahi.conf" <<CONF
[server]
host-name=testhost
use-ipv4=yes
use-ipv6=no
allow-interfaces=veth0
[wide-area]
enable-wide-area=no
[publish]
publish-workstation=no
CONF

export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/run/dbus/system_bus_socket AVAHI_COMPAT_NOWARN=1
dbus-daemon --config-file=/usr/share/dbus-1/system.conf --address="$DBUS_SYSTEM_BUS_ADDRESS" \
    --nofork --nopidfile --nosyslog &
pids="$pids $!"
timeout 5 sh -c 'until [ -S /run/dbus/system_bus_socket ]; do sleep 0.01; done' || skip "the private bus did not start"
avahi-daemon -f "$work/avahi.conf" --no-drop-root --no-chroot --no-rlimits >"$work/avahi.log" 2>&1 &
pids="$pids $!"
timeout 10 sh -c 'until dbus-send --system --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Avahi 2>/dev/null | grep -q true; do sleep 0.02; done' ||
    { cat "$work/avahi.log"; skip "the private Avahi daemon did not start"; }

ORVANTIS_AVAHI_ADDRESS=$address "$suite" --gtest_filter='AvahiNamespaceTest.*'
