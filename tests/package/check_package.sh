#!/usr/bin/env bash
# Builds the packages from a built tree and uses what they install, as a fresh machine
# would: the .deb files unpacked into a temporary root, the installed program and the
# installed scenario runner run from there, and the portable archive unpacked and run.
#   check_package.sh BUILD_DIR SOURCE_DIR APP_ID
set -euo pipefail
build=$1
source=$2
id=$3
unset PROVERON_FOLDER

work=$(mktemp -d)
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() { echo "--- $*"; }

# Waits up to a minute for the condition (a shell command) to hold.
wait_for() {
    for _ in $(seq 600); do
        if eval "$1"; then return 0; fi
        sleep 0.1
    done
    return 1
}

for tool in cpack dpkg-deb dpkg-shlibdeps file tar; do
    command -v "$tool" >/dev/null || fail "$tool is missing (Debian packages cmake, dpkg-dev, file, tar)"
done

step "cpack -G DEB"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack -G DEB"; }
program=$(ls "$work"/deb/proveron_*.deb)
runner=$(ls "$work"/deb/proveron-scenario_*.deb)

step "what the program's package holds"
listing=$(dpkg-deb -c "$program" | awk '{print $6}')
for path in ./usr/bin/proveron \
    "./usr/share/applications/$id.desktop" \
    "./usr/share/metainfo/$id.metainfo.xml" \
    ./usr/share/icons/hicolor/scalable/apps/proveron.svg \
    ./usr/share/icons/hicolor/16x16/apps/proveron.png \
    ./usr/share/icons/hicolor/48x48/apps/proveron.png \
    ./usr/share/icons/hicolor/256x256/apps/proveron.png \
    ./usr/share/man/man1/proveron.1 \
    ./usr/share/proveron/data/test.ini \
    ./usr/share/proveron/data/help/help.html \
    ./usr/share/proveron/data/s/; do
    grep -qxF "$path" <<<"$listing" || fail "$(basename "$program") does not list $path"
done
if grep -q '\.keep$\|/bin/proveron-scenario$' <<<"$listing"; then
    fail "$(basename "$program") holds what belongs elsewhere"
fi
depends=$(dpkg-deb -f "$program" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libc6* ]] ||
    fail "the dependencies were not found automatically: $depends"
[[ $depends == *qt6-translations-l10n* ]] || fail "Qt's translations are no dependency: $depends"
[[ $(dpkg-deb -f "$program" Package) == proveron ]] || fail "the package is not called proveron"
runner_listing=$(dpkg-deb -c "$runner" | awk '{print $6}')
for path in ./usr/bin/proveron-scenario ./usr/share/man/man1/proveron-scenario.1 \
    ./usr/share/doc/proveron-scenario/examples/exam_check.scn; do
    grep -qxF "$path" <<<"$runner_listing" || fail "$(basename "$runner") does not list $path"
done

root="$work/root"
dpkg-deb -x "$program" "$root"
dpkg-deb -x "$runner" "$root"
data="$root/usr/share/proveron/data"

step "desktop entry and metadata"
desktop="$root/usr/share/applications/$id.desktop"
for line in "Name=Proveron" "Name[ru]=Проверон" "Exec=proveron" "Icon=proveron" "Categories=Education;"; do
    grep -qxF "$line" "$desktop" || fail "the desktop entry lacks $line"
done
grep -q '^Comment=' "$desktop" && grep -q '^Comment\[ru\]=' "$desktop" ||
    fail "the desktop entry lacks a comment in both languages"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
else
    echo "appstreamcli is not installed: the metadata is not validated"
fi
file "$root/usr/share/icons/hicolor/48x48/apps/proveron.png" | grep -q 'PNG image data, 48 x 48' ||
    fail "the 48 pixel icon is no 48 x 48 PNG"

step "the installed program"
installed="$root/usr/bin/proveron"
version=$("$installed" --version)
[[ $version == "proveron $(dpkg-deb -f "$program" Version)" ]] || fail "--version said: $version"

# A lab's shared folder: a fresh copy of the installed data, named on the command line
# or in the environment; --help names the folder in use and touches nothing.
cp -r "$data" "$work/shared"
help=$("$installed" --folder "$work/shared" --help)
grep -qF "Application folder: $work/shared" <<<"$help" || fail "--help did not name the folder: $help"
help=$(PROVERON_FOLDER="$work/shared" "$installed" --help)
grep -qF "Application folder: $work/shared" <<<"$help" || fail "PROVERON_FOLDER was not used"
diff -r "$data" "$work/shared" >/dev/null || fail "--help changed the folder"

step "the installed scenario runner on the bundled example"
out=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/proveron-scenario" \
    "$root/usr/share/doc/proveron-scenario/examples/exam_check.scn")
grep -qx "1 passed, 0 failed" <<<"$out" || fail "the example did not pass: $out"

step "a new user's first start"
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
own="$XDG_DATA_HOME/proveron"
help=$("$installed" --help)
grep -qF "Application folder: $own" <<<"$help" || fail "--help did not name $own"
[[ ! -e $own ]] || fail "--help made the user's folder"
QT_QPA_PLATFORM=offscreen "$installed" >"$work/first.log" 2>&1 &
started+=($!)
wait_for "[[ -f '$own/test.ini' ]]" || { cat "$work/first.log"; fail "$own was not filled"; }
sleep 1
kill -0 "${started[-1]}" 2>/dev/null || { cat "$work/first.log"; fail "the program did not keep running"; }
# The running program tells the class view what it does (s/class): that is its own.
diff -r -x class "$data" "$own" || fail "the user's folder is not a copy of the sample data"
[[ -f $own/s/class/$(hostname | tr 'A-Z' 'a-z' | tr -c 'a-z0-9_\n-' '_').sts ]] ||
    fail "the running program told the class nothing"

step "a folder that does not exist is refused in both languages"
QT_QPA_PLATFORM=offscreen "$installed" --folder "$work/missing" >"$work/missing.log" 2>&1 &
started+=($!)
wait_for "grep -q 'does not exist' '$work/missing.log'" || { cat "$work/missing.log"; fail "no refusal"; }
grep -qF "Папка программы не найдена:" "$work/missing.log" || fail "no Russian refusal"
[[ ! -e $work/missing ]] || fail "the missing folder was made"

step "cpack -G TGZ: a portable folder"
cpack --config "$build/CPackConfig.cmake" -G TGZ -B "$work/tgz" >"$work/cpack-tgz.log" 2>&1 ||
    { cat "$work/cpack-tgz.log"; fail "cpack -G TGZ"; }
mkdir "$work/portable"
tar -xzf "$work"/tgz/proveron-*.tar.gz -C "$work/portable"
top=$(ls -d "$work"/portable/*)
for path in proveron proveron-scenario test.ini plt.txt help/help.html b s t; do
    [[ -e $top/$path ]] || fail "the archive lacks $path"
done
help=$("$top/proveron" --help)
grep -qF "Application folder: $top" <<<"$help" || fail "the portable copy does not use its folder: $help"

echo "package checks passed"
