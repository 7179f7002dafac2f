#!/bin/bash
# A lab on a real network share: Samba on 127.0.0.1 mounted through the FUSE SMB client
# (smbnetfs), and an SSH server mounted through sshfs. Fifteen "computers", each a UTS and
# mount namespace of its own (its own host name, machine id and mount of the share, so its
# own client caches), append report records and store settings keys through the program's
# own routines (proveron_file_worker). Every record and key reported saved is looked for in
# the server's own copy of the files; the figures are printed, and anything lost or torn
# fails the test. Three lab set-ups on each share: separate machine ids, one cloned
# machine id on every computer, and one computer whose clock is 10 minutes fast.
#
#   tests/lab/lab.sh WORKER [COPIES APPENDS STORES]
#
# Exits 77 (ctest's SKIP_RETURN_CODE) where the machine cannot run it: not root, no FUSE,
# no namespaces, a package missing, or a share that does not mount.
set -u

WORKER=${1:?usage: lab.sh WORKER [COPIES APPENDS STORES]}
COPIES=${2:-15}
APPENDS=${3:-20}
STORES=${4:-10}
SIZE=300

skip() {
    echo "lab: SKIPPED: $*"
    exit 77
}

[ "$(id -u)" = 0 ] || skip "needs root (mounts and namespaces)"
[ -c /dev/fuse ] || skip "no /dev/fuse: this machine cannot mount a FUSE share"
for tool in smbd smbpasswd smbnetfs sshfs sshd ssh-keygen unshare fusermount timeout; do
    command -v "$tool" >/dev/null 2>&1 || [ -x "/usr/sbin/$tool" ] ||
        skip "$tool is missing (apt-get install samba smbnetfs sshfs openssh-server)"
done
unshare --uts --mount true 2>/dev/null || skip "unshare --uts --mount is refused here"
FAKETIME=$(command -v faketime || true)

W=$(mktemp -d /tmp/proveron-lab.XXXXXX)
chmod 755 "$W"
PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    [ -f "$W/run/smbd.pid" ] && kill "$(cat "$W/run/smbd.pid")" 2>/dev/null
    for m in "$W"/mnt/*; do fusermount -uz "$m" 2>/dev/null; done
    sleep 0.5
    rm -rf "$W"
}
trap cleanup EXIT

# --- Samba on 127.0.0.1 only --------------------------------------------------------
if ss -ltn 2>/dev/null | grep -q '[:.]445 '; then skip "port 445 is taken on this machine"; fi
mkdir -p "$W"/{smb,share,state,private,run,log,mnt,out,home,ids}
chmod 777 "$W/share"
cat >"$W/smb/smb.conf" <<EOF
[global]
  interfaces = 127.0.0.1
  bind interfaces only = yes
  disable netbios = yes
  server role = standalone server
  passdb backend = tdbsam:$W/private/passdb.tdb
  private dir = $W/private
  state directory = $W/state
  cache directory = $W/state
  lock directory = $W/state
  pid directory = $W/run
  ncalrpc dir = $W/run/ncalrpc
  log file = $W/log/smbd.log
  load printers = no
  printcap name = /dev/null
  disable spoolss = yes
[lab]
  path = $W/share
  read only = no
  force user = root
EOF
printf 'labpass\nlabpass\n' | smbpasswd -c "$W/smb/smb.conf" -a -s root >/dev/null ||
    skip "smbpasswd failed"
smbd -D -s "$W/smb/smb.conf" || skip "smbd does not start"
for _ in $(seq 50); do ss -ltn | grep -q '127.0.0.1:445 ' && break; sleep 0.1; done

# --- An SSH server on 127.0.0.1:2222 for sshfs ----------------------------------------
mkdir -p "$W/ssh" "$W/sshshare" /run/sshd
chmod 777 "$W/sshshare"
ssh-keygen -q -t ed25519 -N '' -f "$W/ssh/host" && ssh-keygen -q -t ed25519 -N '' -f "$W/ssh/user"
cp "$W/ssh/user.pub" "$W/ssh/authorized"
cat >"$W/ssh/sshd_config" <<EOF
ListenAddress 127.0.0.1
Port 2222
HostKey $W/ssh/host
AuthorizedKeysFile $W/ssh/authorized
PermitRootLogin yes
StrictModes no
UsePAM no
PidFile $W/run/sshd.pid
Subsystem sftp internal-sftp
MaxStartups 100:30:200
EOF
"$(command -v sshd || echo /usr/sbin/sshd)" -f "$W/ssh/sshd_config" -D -E "$W/log/sshd.log" &
PIDS+=($!)
for _ in $(seq 50); do ss -ltn | grep -q '127.0.0.1:2222 ' && break; sleep 0.1; done

# --- One computer -----------------------------------------------------------------------
# computer.sh FS N HOST MACHINE_ID CLOCK FILE_DIR: mounts the share in its own namespace and
# runs the copies, the appends first and then the stores.
cat >"$W/computer.sh" <<'EOF'
#!/bin/bash
set -u
fs=$1 n=$2 host=$3 id=$4 clock=$5 W=$6 WORKER=$7 APPENDS=$8 STORES=$9 SIZE=${10}
hostname "$host"
printf '%s\n' "$id" >"$W/ids/$n"
mount --bind "$W/ids/$n" /etc/machine-id
m=$W/mnt/$fs$n
mkdir -p "$m"
if [ "$fs" = smb ]; then
    export HOME=$W/home/$n
    mkdir -p "$HOME/.smb"
    printf 'auth "127.0.0.1" "root" "labpass"\nsmb_query_browsers "false"\nhost "127.0.0.1" visible=true\n' >"$HOME/.smb/smbnetfs.conf"
    printf '[global]\n  client min protocol = SMB2\n' >"$HOME/.smb/smb.conf"
    chmod 600 "$HOME/.smb/"*
    for _ in 1 2 3 4 5; do
        smbnetfs "$m" -o "config=$HOME/.smb/smbnetfs.conf" 2>/dev/null && break
        sleep 0.5
    done
    mountpoint -q "$m" || exit 3
    dir=$m/127.0.0.1/lab
else
    for _ in 1 2 3 4 5; do
        sshfs -o "IdentityFile=$W/ssh/user,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,port=2222" \
            "root@127.0.0.1:$W/sshshare" "$m" 2>/dev/null && break
        sleep 0.5
    done
    mountpoint -q "$m" || exit 3
    dir=$m
fi
for _ in $(seq 100); do [ -d "$dir" ] && ls "$dir" >/dev/null 2>&1 && break; sleep 0.1; done
mkdir -p "$dir/s" 2>/dev/null
run=()
if [ "$clock" != 0 ] && [ -n "${FAKETIME:-}" ]; then
    run=("$FAKETIME" -f "$clock")
    export ASAN_OPTIONS=verify_asan_link_order=0
fi
start=$(date +%s%N)
"${run[@]}" "$WORKER" append "$dir/s/oth.txt" "$n" "$APPENDS" "$SIZE" >"$W/out/$n.append"
middle=$(date +%s%N)
"${run[@]}" "$WORKER" store "$dir/test.ini" "$n" "$STORES" >"$W/out/$n.store"
end=$(date +%s%N)
echo "$(( (middle - start) / 1000000 )) $(( (end - middle) / 1000000 ))" >"$W/out/$n.time"
fusermount -u "$m" 2>/dev/null
EOF
chmod +x "$W/computer.sh"

# --- Counting -----------------------------------------------------------------------------
# The records and keys present in the server's own copy of the files, against what the
# copies were told.
count() {
    local report=$1 ini=$2
    cat "$W"/out/*.append 2>/dev/null >"$W/told.append"
    cat "$W"/out/*.store 2>/dev/null >"$W/told.store"
    awk -v size="$SIZE" -v told="$W/told.append" '
        BEGIN { while ((getline line < told) > 0) { split(line, f, " "); said[f[1] ":" f[2]] = f[3] } }
        { sub(/\r$/, "") }
        $0 == "" { next }
        {
            n = split($0, f, ":")
            if (n == 4 && f[3] == size && length(f[4]) == size) { present[f[1] ":" f[2]]++ }
            else torn++
        }
        END {
            for (k in said) {
                if (said[k] == "saved") { saved++; if (!(k in present)) lost++ }
                else if (said[k] == "busy") busy++
                else failed++
            }
            for (k in present) if (present[k] > 1) doubled++
            printf "%d %d %d %d %d %d\n", saved, lost + 0, torn + 0, busy + 0, failed + 0, doubled + 0
        }' "$report" 2>/dev/null || echo "0 0 0 0 0 0"
    local stored=0 storeLost=0 storeFailed=0
    while read -r id n result; do
        if [ "$result" = saved ]; then
            stored=$((stored + 1))
            grep -aq "^k${id}_${n}=${n}"$'\r'"\?$" "$ini" 2>/dev/null || storeLost=$((storeLost + 1))
        else
            storeFailed=$((storeFailed + 1))
        fi
    done <"$W/told.store"
    echo "$stored $storeLost $storeFailed"
}

TOTAL_BAD=0
# trial FS MODE COPIES: one lab run, its figures printed on one line.
trial() {
    local fs=$1 mode=$2 copies=$3 backing
    [ "$fs" = smb ] && backing=$W/share || backing=$W/sshshare
    [ "$fs" = local ] && backing=$W/localshare
    rm -rf "$W/out"/* "${backing:?}"/* 2>/dev/null
    mkdir -p "$backing/s"
    printf '[test]\r\nre=rus\r\n' >"$backing/test.ini"
    local started=$(date +%s%N) pids=() n
    for n in $(seq "$copies"); do
        local id clock=0
        id=$(printf '%032x' "$n")
        [ "$mode" = cloned ] && id=0123456789abcdef0123456789abcdef
        [ "$mode" = clock-off ] && [ "$n" = 1 ] && clock=+10m
        if [ "$fs" = local ]; then
            (FS=local; mkdir -p "$W/mnt"
             timeout 240 unshare --uts bash -c "hostname pc$n; \
                 '$WORKER' append '$backing/s/oth.txt' $n $APPENDS $SIZE >'$W/out/$n.append'; \
                 '$WORKER' store '$backing/test.ini' $n $STORES >'$W/out/$n.store'") &
        else
            FAKETIME=$FAKETIME timeout 240 unshare --uts --mount --propagation private \
                "$W/computer.sh" "$fs" "$n" "pc$n" "$id" "$clock" "$W" "$WORKER" "$APPENDS" \
                "$STORES" "$SIZE" &
        fi
        pids+=($!)
    done
    local status=0
    for pid in "${pids[@]}"; do wait "$pid" || status=$?; done
    local elapsed=$(( ($(date +%s%N) - started) / 1000000 ))
    local figures
    mapfile -t figures < <(count "$backing/s/oth.txt" "$backing/test.ini")
    read -r saved lost torn busy failed doubled <<<"${figures[0]}"
    read -r stored storeLost storeFailed <<<"${figures[1]}"
    local appends=$((copies * APPENDS))
    printf 'lab: %-6s %-10s %2d computers  appends: %4d tried %4d saved %d lost %d torn %d busy %d failed %d doubled | stores: %4d saved %d lost %d refused | %6d ms' \
        "$fs" "$mode" "$copies" "$appends" "$saved" "$lost" "$torn" "$busy" "$failed" "$doubled" \
        "$stored" "$storeLost" "$storeFailed" "$elapsed"
    [ "$status" = 3 ] && printf '  (a share did not mount)'
    echo
    TOTAL_BAD=$((TOTAL_BAD + lost + torn + storeLost))
    if [ "$saved" = 0 ] && [ "$fs" != local ]; then TOTAL_BAD=$((TOTAL_BAD + 1)); fi
    # one computer alone: the time an append and a store take on this share
    if [ "$copies" = 1 ]; then
        a=0 s=0
        [ -f "$W/out/1.time" ] && read -r a s <"$W/out/1.time"
        [ "$fs" = local ] && { a=$elapsed; s=0; }
        echo "lab: $fs alone: $((a / APPENDS)) ms per append, $((s / (STORES > 0 ? STORES : 1))) ms per store"
    fi
}

# A share that does not mount at all is no lab: skip, saying so.
FAKETIME=$FAKETIME timeout 60 unshare --uts --mount --propagation private \
    "$W/computer.sh" smb 0 probe 0 0 "$W" true 0 0 0 || skip "the SMB share does not mount here"

mkdir -p "$W/localshare"
trial local separate 1
trial smb separate 1
trial sshfs separate 1
for fs in smb sshfs; do
    for mode in separate cloned clock-off; do
        trial "$fs" "$mode" "$COPIES"
    done
done
trial local separate "$COPIES"

# A copy that waits for its turn while another computer appends must write after that
# record, not where the file ended when it began to wait: the holder of the lock is a copy
# on this computer, the waiting copy appends through an sshfs mount (its client keeps the
# size it saw for 20 s), and a record reaches the server while it waits.
waited_turn() {
    local backing=$W/sshshare m=$W/mnt/waiting
    rm -rf "${backing:?}"/* "$W/out"/*
    mkdir -p "$backing/s" "$m"
    : >"$backing/s/oth.txt"
    sshfs -o "IdentityFile=$W/ssh/user,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,port=2222" \
        "root@127.0.0.1:$backing" "$m" 2>/dev/null || { echo "lab: waited turn: no mount"; return; }
    "$WORKER" hold "$backing/s/oth.txt" >"$W/out/hold" &
    local holder=$!
    PIDS+=($holder)
    for _ in $(seq 50); do grep -q held "$W/out/hold" 2>/dev/null && break; sleep 0.1; done
    stat "$m/s/oth.txt" >/dev/null
    "$WORKER" append "$m/s/oth.txt" 99 1 "$SIZE" >"$W/out/99.append" &
    local appender=$!
    sleep 1
    printf 'another computer\r\n' >>"$backing/s/oth.txt"
    kill "$holder"
    wait "$appender"
    fusermount -u "$m" 2>/dev/null
    if grep -aq '^another computer' "$backing/s/oth.txt" && grep -q '99 1 saved' "$W/out/99.append" &&
        grep -aq "^99:1:$SIZE:" "$backing/s/oth.txt"; then
        echo "lab: waited turn: both records kept"
    else
        echo "lab: waited turn: LOST a record ($(grep -c '' "$backing/s/oth.txt") lines, $(cat "$W/out/99.append"))"
        TOTAL_BAD=$((TOTAL_BAD + 1))
    fi
}
waited_turn

if [ "$TOTAL_BAD" != 0 ]; then
    echo "lab: LOST: $TOTAL_BAD records or keys reported saved are missing or torn (see docs/reliability.md)"
    # PROVERON_LAB_LENIENT=1 only reports, for a look at a share that is known to lose.
    [ "${PROVERON_LAB_LENIENT:-0}" = 1 ] && exit 0
    exit 1
fi
echo "lab: passed: nothing reported saved was lost or torn"
