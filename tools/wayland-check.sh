#!/usr/bin/env bash
# Runs the utility under a headless Weston compositor, with a private runtime folder and
# socket: it must start on Wayland, draw its window (Weston's bare shell has no notification
# area, so the window opens at start), and end on -exit. Also checks that a display which is
# named but does not answer gives the one-line "no display" message, not a toolkit abort.
# Prints "wayland: N passed, N failed" as its last line and fails when any check failed.
# Usage: tools/wayland-check.sh EXECUTABLE
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/installed-run.sh

exe=${1:?usage: tools/wayland-check.sh EXECUTABLE}

scratch=$(mktemp -d)
runtime=$scratch/runtime
mkdir -m 700 "$runtime"
weston_pid=
cleanup() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

echo "== Wayland (headless Weston)"
socket=rizorivu-check-$$
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket="$socket" \
    --width=1024 --height=768 --idle-time=0 >"$scratch/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    sleep 0.1
done
check "weston runs headless" test -S "$runtime/$socket"

common=(PATH=/usr/bin:/bin HOME="$scratch/home" XDG_RUNTIME_DIR="$runtime"
        RIZORIVU_REGISTRY_DIR="$scratch/registry")
mkdir -p "$scratch/home"
on_wayland() {
    # WAYLAND_DEBUG traces the protocol: the window's buffer attached and committed is the
    # proof that it drew.
    env -i "${common[@]}" WAYLAND_DISPLAY="$socket" XDG_SESSION_TYPE=wayland WAYLAND_DEBUG=client \
        "$exe" >"$scratch/run.log" 2>&1 &
    local pid=$!
    if ! rizorivu_wait_published "$pid" 20; then
        echo "did not start:"; tail -n 20 "$scratch/run.log"
        kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
        return 1
    fi
    local drawn=1
    for _ in $(seq 50); do
        if grep -q 'xdg_toplevel' "$scratch/run.log" &&
            grep -qE 'wl_surface@[0-9]+\.attach\(wl_buffer@[0-9]+' "$scratch/run.log" &&
            grep -qE 'wl_surface@[0-9]+\.commit\(\)' "$scratch/run.log"; then
            drawn=0
            break
        fi
        sleep 0.1
    done
    [ "$drawn" -eq 0 ] || echo "no window buffer was committed"
    env -i "${common[@]}" "$exe" -exit >/dev/null 2>&1 || { echo "-exit failed"; drawn=1; }
    rizorivu_wait_end "$pid" 20
    local rc=$rizorivu_rc
    [ "$rc" = 0 ] || { echo "ended with $rc"; drawn=1; }
    grep -v -E '^\[ *[0-9.]+\] ' "$scratch/run.log" | head -n 5
    return $drawn
}
check "starts on Wayland, draws its window and ends on -exit" on_wayland

no_display_line() {  # no_display_line ENV...: the utility refuses in one line, exit code 1
    local out rc
    out=$(env -i "${common[@]}" "$@" "$exe" 2>&1)
    rc=$?
    if [ "$rc" -ne 1 ] || [ "$(wc -l <<<"$out")" -ne 1 ] || ! grep -q "no display found" <<<"$out"; then
        echo "exit code $rc: $out"
        return 1
    fi
}
check "no display at all: one line" no_display_line
check "an X display without a server: the same line" no_display_line DISPLAY=:97
check "a Wayland socket nobody listens on: the same line" no_display_line \
    WAYLAND_DISPLAY=rizorivu-nobody-$$
check "QT_QPA_PLATFORM=xcb without a server: the same line" no_display_line \
    QT_QPA_PLATFORM=xcb DISPLAY=:97

echo "wayland: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
