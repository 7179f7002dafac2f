#!/bin/bash
# A share that goes away while a student is in the middle of a ticket, on real shares: Samba
# through smbnetfs and an SSH server through sshfs. A student's copy of the program
# (proveron_ticket_driver: the program's own windows, no screen) answers question 1 on the
# share; the share's client is then killed, as a dropped network does to it, and the student
# opens question 2. The copy must say the exam folder cannot be reached, show the results
# with question 1 answered and the questions not reached, fail to save while the share is
# gone, and save the record once the share is back and "Закрыть" is pressed again. The record
# is looked for in the server's own copy of the report.
#
#   tests/lab/share_gone.sh DRIVER
#
# Exits 77 (ctest's SKIP_RETURN_CODE) where the machine cannot run it: not root, no FUSE, a
# package missing, or a share that does not mount. It takes the ports of the other lab test
# (445, 2222), so the two run one after the other.
set -u

DRIVER=${1:?usage: share_gone.sh DRIVER}

skip() {
    echo "share gone: SKIPPED: $*"
    exit 77
}

[ "$(id -u)" = 0 ] || skip "needs root (mounts)"
[ -c /dev/fuse ] || skip "no /dev/fuse: this machine cannot mount a FUSE share"
for tool in smbd smbpasswd smbnetfs sshfs sshd ssh-keygen fusermount iconv timeout; do
    command -v "$tool" >/dev/null 2>&1 || [ -x "/usr/sbin/$tool" ] ||
        skip "$tool is missing (apt-get install samba smbnetfs sshfs openssh-server)"
done
if ss -ltn 2>/dev/null | grep -q '[:.]445 \|[:.]2222 '; then
    skip "port 445 or 2222 is taken (another lab test running?)"
fi

W=$(mktemp -d /tmp/proveron-share-gone.XXXXXX)
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

mkdir -p "$W"/{smb,share,sshshare,state,private,run,log,mnt,home/.smb,ssh} /run/sshd
chmod 777 "$W/share" "$W/sshshare"

# --- Samba on 127.0.0.1 only, and an SSH server on 127.0.0.1:2222 -----------------------
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
EOF
"$(command -v sshd || echo /usr/sbin/sshd)" -f "$W/ssh/sshd_config" -D -E "$W/log/sshd.log" &
PIDS+=($!)
for _ in $(seq 50); do
    ss -ltn | grep -q '127.0.0.1:445 ' && ss -ltn | grep -q '127.0.0.1:2222 ' && break
    sleep 0.1
done
export HOME=$W/home
printf 'auth "127.0.0.1" "root" "labpass"\nsmb_query_browsers "false"\nhost "127.0.0.1" visible=true\n' \
    >"$HOME/.smb/smbnetfs.conf"
printf '[global]\n  client min protocol = SMB2\n' >"$HOME/.smb/smb.conf"
chmod 600 "$HOME/.smb/"*

# mount FS: the share's client in the foreground of a background job, so that it can be
# killed as a dropped network kills it. Sets CLIENT and DIR (the application folder).
mount_share() {
    local fs=$1 m=$W/mnt/$1
    mkdir -p "$m"
    if [ "$fs" = smb ]; then
        smbnetfs "$m" -f -o "config=$HOME/.smb/smbnetfs.conf" 2>/dev/null &
        CLIENT=$!
        DIR=$m/127.0.0.1/lab
    else
        sshfs -f -o "IdentityFile=$W/ssh/user,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,port=2222" \
            "root@127.0.0.1:$W/sshshare" "$m" 2>/dev/null &
        CLIENT=$!
        DIR=$m
    fi
    PIDS+=("$CLIENT")
    for _ in $(seq 100); do [ -f "$DIR/test.ini" ] && break; sleep 0.1; done
    [ -f "$DIR/test.ini" ]
}

# expect FILE WORD: waits up to 60 s for a line WORD in the driver's output.
expect_line() {
    for _ in $(seq 600); do
        grep -qx "$2" "$1" && return 0
        sleep 0.1
    done
    return 1
}

FAILED=0
fail() {
    echo "share gone: $1: FAILED: $2"
    sed 's/^/    /' "$W/out.$1"
    FAILED=$((FAILED + 1))
}

run_case() {
    local fs=$1 backing out=$W/out.$1 fifo=$W/in.$1
    [ "$fs" = smb ] && backing=$W/share || backing=$W/sshshare
    mkdir -p "$backing/s" "$backing/b/exam/b1"
    printf '[test]\r\nre=rus\r\nbilet=1\r\nvopros=3\r\nball=3\r\ntime=1\r\nz=b/exam\r\n' >"$backing/test.ini"
    printf 'Exam\r\n' >"$backing/b/exam/lzm.lzm"
    for n in 1 2 3; do
        printf 'Question %s?\r\n' "$n" >"$backing/b/exam/b1/q$n.txt"
        printf 'a\r\nb\r\n' >"$backing/b/exam/b1/v$n.txt"
        printf 'a\r\n' >"$backing/b/exam/b1/o$n.txt"
    done
    mount_share "$fs" || skip "the $fs share does not mount here"
    local client=$CLIENT dir=$DIR
    mkfifo "$fifo"
    timeout 240 "$DRIVER" "$dir" <"$fifo" >"$out" 2>"$out.err" &
    local driver=$!
    PIDS+=("$driver")
    exec 3>"$fifo"
    expect_line "$out" answered || { fail "$fs" "the ticket did not open"; exec 3>&-; return; }

    # The network drops: the share's client dies, its mount answers nothing any more.
    kill -9 "$client"
    wait "$client" 2>/dev/null
    echo next >&3
    expect_line "$out" "not saved" || { fail "$fs" "a save reported while the share is gone"; exec 3>&-; return; }
    grep -q '^message: Папка экзамена недоступна:\\n.*Экзамен прерван на вопросе 2; ' "$out" ||
        fail "$fs" "no message that the exam folder cannot be reached"
    grep -qx 'results: Первый вопрос, оценка  5 | Не закончен, не заданы вопросы: 2, 3' "$out" ||
        fail "$fs" "no results with question 1 answered and 2, 3 not reached"
    grep -q '^message: Не удалось сохранить результат в отчет:' "$out" ||
        fail "$fs" "the failed save was not told"

    # The network is back: "Закрыть" again saves the record.
    fusermount -uz "$W/mnt/$fs" 2>/dev/null
    mount_share "$fs" || { fail "$fs" "the share did not mount again"; exec 3>&-; return; }
    echo retry >&3
    expect_line "$out" saved || fail "$fs" "the record was not saved once the share was back"
    exec 3>&-
    wait "$driver"
    if iconv -f cp1251 -t utf-8 "$backing/s/oth.txt" 2>/dev/null |
        grep -q '^Не закончен, не заданы вопросы: 2, 3'$'\r\r''$'; then
        echo "share gone: $fs: the student was told, the result was kept and saved once the share was back"
    else
        fail "$fs" "the server's report lacks the record"
    fi
    fusermount -uz "$W/mnt/$fs" 2>/dev/null
}

run_case sshfs
run_case smb

if [ "$FAILED" != 0 ]; then
    echo "share gone: $FAILED failures"
    exit 1
fi
echo "share gone: passed"
