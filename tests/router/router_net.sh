#!/bin/bash
# A small internet in network namespaces: "home" behind "router" (nftables NAT, optionally a
# real miniupnpd) and "internet" outside it. The router's outside address is an ordinary one,
# as miniupnpd refuses to map behind a reserved range; it exists only inside these namespaces,
# which have no link to the machine's own network, so no packet leaves them.
# Sourced by the tests: router_net_up both|upnp|none (what the router's miniupnpd answers:
# UPnP and NAT-PMP, UPnP only, or no miniupnpd), router_net_down; names unique per run.

KF_NS="kfr$$x$RANDOM"
HOME_NS="$KF_NS-home" ROUTER_NS="$KF_NS-router" INET_NS="$KF_NS-inet"
HOME_IP=192.168.77.2 ROUTER_LAN_IP=192.168.77.1
ROUTER_WAN_IP=88.77.66.1 INET_IP=88.77.66.20
ROUTER_DIR=""
UPNPD_PID=""

# Why namespaces cannot be made here, or nothing.
router_net_unavailable() {
  [ "$(id -u)" -eq 0 ] || { echo "not root"; return; }
  for tool in ip nft miniupnpd upnpc; do
    command -v "$tool" >/dev/null || { echo "$tool missing"; return; }
  done
  local probe="$KF_NS-probe"
  ip netns add "$probe" 2>/dev/null || { echo "network namespaces cannot be made"; return; }
  if ! ip netns exec "$probe" nft add table inet kfprobe 2>/dev/null; then
    ip netns del "$probe"
    echo "nftables does not work in a network namespace"
    return
  fi
  ip netns del "$probe"
}

# Namespaces left by a run that was killed (its shell gone): their processes and names.
sweep_stale_namespaces() {
  local ns pid
  for ns in $(ip netns list 2>/dev/null | grep -oE '^kfr[0-9]+x[0-9]+-[a-z]+'); do
    pid=${ns#kfr}
    pid=${pid%%x*}
    kill -0 "$pid" 2>/dev/null && continue
    ip netns pids "$ns" 2>/dev/null | xargs -r kill -9 2>/dev/null
    ip netns del "$ns" 2>/dev/null
  done
}

router_net_up() {
  local with="$1"
  sweep_stale_namespaces
  ROUTER_DIR=$(mktemp -d /tmp/kf-router.XXXXXX)
  for ns in "$HOME_NS" "$ROUTER_NS" "$INET_NS"; do
    ip netns add "$ns"
    ip -n "$ns" link set lo up
  done
  # Interface names are per namespace, so fixed names do not collide between runs.
  ip link add kfh netns "$HOME_NS" type veth peer name lan netns "$ROUTER_NS"
  ip link add wan netns "$ROUTER_NS" type veth peer name kfi netns "$INET_NS"
  ip -n "$HOME_NS" addr add "$HOME_IP/24" dev kfh
  ip -n "$ROUTER_NS" addr add "$ROUTER_LAN_IP/24" dev lan
  ip -n "$ROUTER_NS" addr add "$ROUTER_WAN_IP/24" dev wan
  ip -n "$INET_NS" addr add "$INET_IP/24" dev kfi
  ip -n "$HOME_NS" link set kfh up
  ip -n "$ROUTER_NS" link set lan up
  ip -n "$ROUTER_NS" link set wan up
  ip -n "$INET_NS" link set kfi up
  ip -n "$HOME_NS" route add default via "$ROUTER_LAN_IP"
  ip netns exec "$ROUTER_NS" sysctl -qw net.ipv4.ip_forward=1
  ip netns exec "$ROUTER_NS" nft -f - <<NFT
table inet filter {
  chain forward {
    type filter hook forward priority 0; policy drop;
    ct state established,related accept
    iifname "lan" oifname "wan" accept
    jump miniupnpd
  }
  chain miniupnpd {
  }
  chain prerouting {
    type nat hook prerouting priority -100; policy accept;
    jump prerouting_miniupnpd
  }
  chain postrouting {
    type nat hook postrouting priority 100; policy accept;
    jump postrouting_miniupnpd
    oifname "wan" masquerade
  }
  chain prerouting_miniupnpd {
  }
  chain postrouting_miniupnpd {
  }
}
NFT
  [ "$with" = none ] && return 0
  local natpmp=yes
  [ "$with" = upnp ] && natpmp=no
  cat > "$ROUTER_DIR/miniupnpd.conf" <<CONF
ext_ifname=wan
listening_ip=lan
enable_upnp=yes
enable_natpmp=$natpmp
secure_mode=yes
system_uptime=yes
lease_file=$ROUTER_DIR/leases
uuid=8a4a6a3e-5d6f-4c1b-9c55-6b7e1c2d3f40
port=5555
allow 1024-65535 192.168.77.0/24 1024-65535
deny 0-65535 0.0.0.0/0 0-65535
CONF
  ip netns exec "$ROUTER_NS" miniupnpd -d -f "$ROUTER_DIR/miniupnpd.conf" \
    -P "$ROUTER_DIR/miniupnpd.pid" >"$ROUTER_DIR/miniupnpd.log" 2>&1 &
  UPNPD_PID=$!
  # Ready once it answers its SSDP port.
  for _ in $(seq 50); do
    ip netns exec "$ROUTER_NS" ss -lun 2>/dev/null | grep -q ':1900 ' && return 0
    sleep 0.1
  done
  echo "miniupnpd did not start:"; cat "$ROUTER_DIR/miniupnpd.log"
  return 1
}

# The router's port forwardings: its DNAT rules.
router_forwardings() {
  ip netns exec "$ROUTER_NS" nft list chain inet filter prerouting_miniupnpd | grep dnat || true
}

router_net_down() {
  if [ -n "$UPNPD_PID" ]; then
    kill "$UPNPD_PID" 2>/dev/null
    wait "$UPNPD_PID" 2>/dev/null
  fi
  for ns in "$HOME_NS" "$ROUTER_NS" "$INET_NS"; do
    ip netns pids "$ns" 2>/dev/null | xargs -r kill 2>/dev/null
    ip netns del "$ns" 2>/dev/null
  done
  [ -n "$ROUTER_DIR" ] && rm -rf "$ROUTER_DIR"
  return 0
}
