#!/usr/bin/env bash
# A real network share with a school's latency, on this computer: an SSH server on loopback,
# delay_relay in front of it holding every piece of data back DELAY microseconds each way
# (so every file operation is a round trip of twice that), and two sshfs mounts through the
# relay: one with a client cache of one second, as a Windows share's client keeps, and one
# with no cache at all.
#
#   benchmarks/slow_share.sh start WORK RELAY [DELAY]   # DELAY defaults to 1000 (1 ms)
#   benchmarks/slow_share.sh stop WORK
#
# WORK/server is the share's folder on this computer's disk; WORK/cached and WORK/uncached
# reach it through the share. Needs root, sshd, sshfs and FUSE; exits 77 (skipped) where
# they are missing.
set -euo pipefail

action=${1:-}
work=${2:-}
[ -n "$action" ] && [ -n "$work" ] || { echo "usage: $0 start|stop WORK [RELAY DELAY]" >&2; exit 2; }

stop() {
    for mount in "$work/cached" "$work/uncached"; do
        mountpoint -q "$mount" 2>/dev/null && { fusermount3 -u "$mount" 2>/dev/null || umount -l "$mount"; }
    done
    for pidfile in "$work"/run/*.pid; do
        [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null || true
    done
    rm -f "$work"/run/*.pid
}

if [ "$action" = stop ]; then
    stop
    exit 0
fi

relay=${3:?the delay_relay program}
delay=${4:-1000}
for tool in sshd sshfs ssh-keygen fusermount3; do
    command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] ||
        { echo "slow share skipped: $tool is missing (apt-get install openssh-server sshfs fuse3)"; exit 77; }
done
[ -e /dev/fuse ] || { echo "slow share skipped: no /dev/fuse"; exit 77; }
[ "$(id -u)" = 0 ] || { echo "slow share skipped: needs root"; exit 77; }

free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])' 2>/dev/null ||
        echo $((20000 + RANDOM % 20000))
}

mkdir -p "$work/server" "$work/cached" "$work/uncached" "$work/ssh" "$work/run" /run/sshd
chmod 777 "$work/server"
ssh_port=$(free_port)
relay_port=$(free_port)
[ -f "$work/ssh/host" ] || ssh-keygen -q -t ed25519 -N '' -f "$work/ssh/host"
[ -f "$work/ssh/user" ] || ssh-keygen -q -t ed25519 -N '' -f "$work/ssh/user"
cp "$work/ssh/user.pub" "$work/ssh/authorized"
cat >"$work/ssh/sshd_config" <<EOF
ListenAddress 127.0.0.1
Port $ssh_port
HostKey $work/ssh/host
AuthorizedKeysFile $work/ssh/authorized
PermitRootLogin yes
StrictModes no
UsePAM no
PidFile $work/run/sshd.pid
Subsystem sftp internal-sftp
EOF
"$(command -v sshd || echo /usr/sbin/sshd)" -f "$work/ssh/sshd_config" -E "$work/run/sshd.log"
"$relay" "$relay_port" "$ssh_port" "$delay" >"$work/run/relay.log" 2>&1 &
echo $! >"$work/run/relay.pid"
for _ in $(seq 50); do
    ss -ltn 2>/dev/null | grep -q "127.0.0.1:$ssh_port " && ss -ltn | grep -q "127.0.0.1:$relay_port " && break
    sleep 0.1
done

options="IdentityFile=$work/ssh/user,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,port=$relay_port"
sshfs -o "$options,dcache_timeout=1,attr_timeout=1,entry_timeout=1" \
    "root@127.0.0.1:$work/server" "$work/cached" || { stop; echo "slow share skipped: sshfs failed"; exit 77; }
sshfs -o "$options,dir_cache=no,attr_timeout=0,entry_timeout=0,negative_timeout=0" \
    "root@127.0.0.1:$work/server" "$work/uncached" || { stop; echo "slow share skipped: sshfs failed"; exit 77; }
echo "slow share: $work/server through $work/cached and $work/uncached, ${delay} us each way"
