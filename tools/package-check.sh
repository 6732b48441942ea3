#!/usr/bin/env bash
# Builds the Debian package from a finished build folder and checks it without touching the
# running system:
#   - its file list is the promised install layout;
#   - lintian finds no error (warnings are printed);
#   - unpacked into a scratch root, the installed utility prints --version and --help, starts
#     offscreen, answers -exit, and copes with a broken installation or environment: missing
#     language and configuration files, a read-only installation folder, HOME unset,
#     XDG_CONFIG_HOME naming a file, and a second user beside the first.
# Prints "package: N passed, N failed" as its last line and fails when any check failed.
# Usage: tools/package-check.sh BUILD_DIR
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/installed-run.sh

build=${1:?usage: tools/package-check.sh BUILD_DIR}
finish() {
    echo "package: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

scratch=$(mktemp -d)
chmod 755 "$scratch"
trap 'rm -rf "$scratch"' EXIT

echo "== Package (cpack -G DEB)"
if ! (cd "$build" && cpack -G DEB >"$scratch/cpack.log" 2>&1); then
    cat "$scratch/cpack.log"
    check "the package builds" false
    finish
fi
deb=$(ls -t "$build"/rizorivu_*.deb | head -n 1)
echo "$deb"
check "the package builds" test -s "$deb"

# The promised layout: every file and link the package holds (folders left out).
expected="./etc/xdg/autostart/rizorivu.desktop
./usr/bin/rizorivu -> ../lib/rizorivu/rizorivu
./usr/lib/rizorivu/QVMLa.INI
./usr/lib/rizorivu/QVMLu.INI
./usr/lib/rizorivu/rizorivu
./usr/lib/rizorivu/rizorivu.INI
./usr/share/applications/rizorivu.desktop
./usr/share/doc/rizorivu/changelog.gz
./usr/share/doc/rizorivu/copyright
./usr/share/icons/hicolor/scalable/apps/rizorivu.svg
./usr/share/icons/hicolor/scalable/status/rizorivu-status0.svg
./usr/share/icons/hicolor/scalable/status/rizorivu-status1.svg
./usr/share/icons/hicolor/scalable/status/rizorivu-status2.svg
./usr/share/icons/hicolor/scalable/status/rizorivu-status3.svg
./usr/share/icons/hicolor/scalable/status/rizorivu-status4.svg
./usr/share/man/man1/rizorivu.1.gz
./usr/share/metainfo/org.example.rizorivu.metainfo.xml"
actual=$(dpkg-deb -c "$deb" | grep -v '^d' | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }' | sort)
layout_matches() {
    if [ "$actual" != "$expected" ]; then
        diff <(echo "$expected") <(echo "$actual")
        return 1
    fi
}
check "the file list is the install layout" layout_matches
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
depends_named() {
    local lib
    for lib in libqt6widgets6 libqt6svg6 libqt6dbus6 libsqlite3-0 libssl3 qt6-qpa-plugins; do
        grep -q "$lib" <<<"$depends" || { echo "Depends lacks $lib"; return 1; }
    done
}
check "the dependencies name Qt 6, SQLite and OpenSSL" depends_named
conffiles_listed() {
    dpkg-deb -I "$deb" conffiles | grep -qx /etc/xdg/autostart/rizorivu.desktop
}
check "the autostart entry is a configuration file" conffiles_listed

echo "== lintian"
lintian_clean() {
    lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$scratch/lintian.log"
}
check "lintian finds no error" lintian_clean
if command -v appstreamcli >/dev/null; then
    check "the AppStream metadata validates" \
        appstreamcli validate --no-net --explain \
        <(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/metainfo/org.example.rizorivu.metainfo.xml)
fi

echo "== Installed into a scratch root"
root=$scratch/root
dpkg-deb -x "$deb" "$root"
exe=$root/usr/bin/rizorivu
libraries_found() {
    ! ldd "$root/usr/lib/rizorivu/rizorivu" | grep 'not found'
}
check "every shared library is found" libraries_found
version=$(dpkg-deb -f "$deb" Version)
check "--version prints the version" bash -c "[ \"\$(env -i '$exe' --version)\" = 'rizorivu $version' ]"
check "--help prints the switches" bash -c "env -i '$exe' --help | grep -q -- -exit"

# run NAME HOME_DIR EXTRA_ENV...: starts the installed utility offscreen with a private
# registry under HOME_DIR (HOME unset when it is empty), waits until it runs, ends it with
# -exit, and wants both to succeed.
run_and_exit() {
    local name=$1 home=$2
    shift 2
    local log=$scratch/$name.log
    local homeVariable=()
    if [ -n "$home" ]; then
        mkdir -p "$home"
        homeVariable=(HOME="$home")
    fi
    set -- "${homeVariable[@]}" "$@"
    env -i PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen "$@" "$exe" >"$log" 2>&1 &
    local pid=$!
    if ! rizorivu_wait_published "$pid" 20; then
        echo "$name: did not start"; cat "$log"
        kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
        return 1
    fi
    env -i PATH=/usr/bin:/bin "$@" "$exe" -exit >>"$log" 2>&1 || {
        echo "$name: -exit failed"; cat "$log"; return 1; }
    rizorivu_wait_end "$pid" 20
    local rc=$rizorivu_rc
    if [ "$rc" != 0 ]; then
        echo "$name: ended with $rc"; cat "$log"
        return 1
    fi
}
check "starts offscreen and ends on -exit" run_and_exit plain "$scratch/home"
check "the settings are the user's own" test -f "$scratch/home/.config/rizorivu/HKEY_CURRENT_USER.hive"

# A broken installation: the utility falls back to built-in texts and defaults.
broken=$scratch/broken
cp -a "$root" "$broken"
rm "$broken/usr/lib/rizorivu/QVMLu.INI" "$broken/usr/lib/rizorivu/QVMLa.INI"
rm "$broken/usr/lib/rizorivu/rizorivu.INI"
chmod -R a-w "$broken/usr/lib/rizorivu"
exe=$broken/usr/bin/rizorivu
check "starts without its language and configuration files, read-only" \
    run_and_exit broken "$scratch/home-broken"
exe=$root/usr/bin/rizorivu
chmod -R a-w "$root/usr/lib/rizorivu"
check "starts from a read-only installation folder" run_and_exit readonly "$scratch/home-ro"

# The environment: with HOME unset the XDG folders still hold (the password database's home
# is the fallback, kept out of this check so that the machine's own settings stay untouched); XDG_CONFIG_HOME naming a file keeps the settings in
# memory for this run.
check "starts with HOME unset" run_and_exit nohome "" \
    XDG_CONFIG_HOME="$scratch/config-nohome" XDG_DATA_HOME="$scratch/data-nohome"
touch "$scratch/not-a-folder"
check "starts with XDG_CONFIG_HOME naming a file" run_and_exit xdgfile "$scratch/home-xdg" \
    XDG_CONFIG_HOME="$scratch/not-a-folder"

# A second user on the same machine: neither finds nor ends the other's instance.
second_user() {
    local other=nobody
    id "$other" >/dev/null 2>&1 || { echo "no second user on this machine: skipped"; return 0; }
    [ "$(id -u)" -eq 0 ] || { echo "not root: second user skipped"; return 0; }
    local home=$scratch/home-first
    mkdir -p "$home" "$scratch/home-second"
    chown "$other" "$scratch/home-second"
    env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen "$exe" \
        >"$scratch/first.log" 2>&1 &
    local pid=$!
    rizorivu_wait_published "$pid" 20 || { cat "$scratch/first.log"; return 1; }
    local answer
    answer=$(setpriv --reuid="$other" --regid="$(id -g "$other")" --clear-groups \
        env -i PATH=/usr/bin:/bin HOME="$scratch/home-second" "$exe" -exit 2>&1)
    echo "second user's -exit: $answer"
    local ok=0
    grep -q "no running instance" <<<"$answer" || ok=1
    kill -0 "$pid" 2>/dev/null || { echo "the second user ended the first user's instance"; ok=1; }
    env -i PATH=/usr/bin:/bin HOME="$home" "$exe" -exit >/dev/null 2>&1
    rizorivu_wait_end "$pid" 20
    [ "$rizorivu_rc" = 0 ] || ok=1
    return $ok
}
check "a second user neither finds nor ends the first user's instance" second_user

finish
