#!/usr/bin/env bash
# Runs the utility on a real X11 desktop, as a user drives it: Xvfb with the openbox window
# manager and a tint2 panel whose notification area takes the tray icon, driven with xdotool
# (pointer and keys), the windows read back with xwd and ImageMagick (pixels) and the
# registry with sqlite3. The utility runs on a small world of its own (one open, one WEP and
# one WPA-PSK network), in a German locale, and as an ordinary user when this runs as root.
# Checks: the tray icon appears; its double-click opens a painted window; minimising hides the
# window to the tray, and the tray brings it back painted and taking input (both through the
# window manager's own minimise and through a taskbar's iconify request); the arrow keys and
# Enter in the network list join a network; Enter applies what was typed in the WEP keys and
# WPA settings dialogs and Escape closes them, while Escape leaves a Yes/No question open;
# the tray's double-click brings back a minimised dialog, in front; "Exit" from the tray menu
# ends the utility while a dialog is open; Qt reports no window-system error.
# Prints "x11: N passed, N failed" as its last line and fails when any check failed.
# Usage: tools/x11-check.sh EXECUTABLE
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
source tools/installed-run.sh

exe=$(readlink -f "${1:?usage: tools/x11-check.sh EXECUTABLE}")

finish() {
    echo "x11: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

for tool in Xvfb openbox tint2 xdotool xwd xwininfo xprop convert sqlite3; do
    if ! command -v "$tool" >/dev/null; then
        check "$tool is installed (tools/install-deps.sh)" false
        finish
    fi
done

scratch=$(mktemp -d)
chmod 755 "$scratch"
pids=()
utility_pid=
cleanup() {
    [ -n "$utility_pid" ] && kill "$utility_pid" 2>/dev/null
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# --- waiting on conditions ------------------------------------------------------------------

# until_true SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds; fails once SECONDS
# have passed.
until_true() {
    local deadline=$((${EPOCHREALTIME/./} + $1 * 1000000))
    shift
    until "$@"; do
        [ "${EPOCHREALTIME/./}" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# --- the desktop ----------------------------------------------------------------------------

echo "== X11 (Xvfb, openbox, tint2)"
# The desktop's programs keep their caches and settings in a home of their own.
mkdir -p "$scratch/desktop-home"
export HOME=$scratch/desktop-home XDG_CONFIG_HOME=$scratch/desktop-home/.config
export XDG_CACHE_HOME=$scratch/desktop-home/.cache
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
until_true 10 test -s "$scratch/display"
DISPLAY=:$(cat "$scratch/display")
export DISPLAY
if ! until_true 10 xprop -root >/dev/null 2>&1; then
    check "Xvfb runs" false
    finish
fi

# The window manager's own minimise, on a key, as its title-bar button runs it.
sed 's|</keyboard>|<keybind key="A-F9"><action name="Iconify"/></keybind></keyboard>|' \
    /etc/xdg/openbox/rc.xml >"$scratch/rc.xml"
openbox --config-file "$scratch/rc.xml" >"$scratch/openbox.log" 2>&1 &
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
until_true 10 wm_running
tint2 -c /etc/xdg/tint2/tint2rc >"$scratch/tint2.log" 2>&1 &
pids+=($!)
panel_mapped() { xwininfo -name tint2 2>/dev/null | grep -q 'IsViewable'; }
until_true 10 panel_mapped
check "openbox manages the screen and tint2's panel is up" eval 'wm_running && panel_mapped'

# --- the utility, on a world of its own -----------------------------------------------------

cat >"$scratch/world.ini" <<'EOF'
[Machine]
OsFamily=nt
OsCode=6
Seed=23
[Adapter.K540]
Name=\DEVICE\{5A0E3C21-7B44-4F0B-9D1E-0540F5400001}
Description=Nimbo K-540 Wireless USB Adapter
ClassInstance=0007
DeviceId=USB\VID_F540&PID_0540
Mac=02-4B-35-40-00-01
Region=0x10
[Network.Open]
SSID=Meadow
BSSID=02-A0-00-00-01-01
Channel=1
Signal=-45
Security=open
[Network.Wep]
SSID=Quarry
BSSID=02-A0-00-00-01-02
Channel=6
Signal=-55
Security=wep
WepKey=1A 2B 3C 4D 5E
[Network.Psk]
SSID=Ridge
BSSID=02-A0-00-00-01-03
Channel=11
Signal=-60
Security=wpa-psk
Cipher=aes
Passphrase=ridge line at dawn
[Network.Second]
SSID=Brook
BSSID=02-A0-00-00-01-04
Channel=3
Signal=-70
Security=open
EOF
mkdir -p "$scratch/home" "$scratch/registry" "$scratch/runtime"
chmod 700 "$scratch/runtime"
as_user=()
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
    # The utility needs no privileges: it runs as an ordinary user.
    chown nobody "$scratch/home" "$scratch/registry" "$scratch/runtime"
    as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
    # A checkout in root's home is closed to other users: the program folder (the executable
    # with its configuration and language files) is copied where they can reach it.
    cp -r "$(dirname "$exe")" "$scratch/program"
    chmod -R a+rX "$scratch/program"
    exe=$scratch/program/$(basename "$exe")
fi
locale=de_DE.UTF-8
locale -a 2>/dev/null | grep -qix 'de_DE.utf8' || locale=C.UTF-8
utility_env=(PATH=/usr/bin:/bin HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime"
             RIZORIVU_REGISTRY_DIR="$scratch/registry" RIZORIVU_WORLD="$scratch/world.ini"
             DISPLAY="$DISPLAY" LANG="$locale" LC_ALL="$locale")
env -i "${utility_env[@]}" "${as_user[@]}" "$exe" >"$scratch/utility.log" 2>&1 &
utility_pid=$!
echo "utility as $([ ${#as_user[@]} -gt 0 ] && echo nobody || id -un), locale $locale"

# --- reading the screen and the registry ----------------------------------------------------

# The tray icon's window inside the panel: "X Y" of its centre, or nothing.
tray_icon=
find_tray_icon() {
    local line size at
    line=$(xwininfo -root -tree 2>/dev/null | grep -E '"rizorivu": \("rizorivu" "rizorivu"\) +[0-9]+x[0-9]+\+0\+0 +\+[0-9]+\+[0-9]+' |
        awk '{ split($(NF-1), s, /[x+]/); if (s[1] <= 64 && s[2] <= 64) print }' | head -n 1)
    [ -n "$line" ] || return 1
    size=$(awk '{ print $(NF-1) }' <<<"$line")
    at=$(awk '{ print $NF }' <<<"$line")
    local w=${size%%x*} h=${size#*x} x y
    h=${h%%+*}
    x=$(cut -d+ -f2 <<<"$at")
    y=$(cut -d+ -f3 <<<"$at")
    tray_icon="$((x + w / 2)) $((y + h / 2))"
}

# The utility's visible top-level windows bigger than an icon, bottom of the stack first.
utility_windows() {
    local stacking w
    stacking=$(xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | grep -oE '0x[0-9a-f]+')
    for w in $stacking; do
        xprop -id "$w" WM_CLASS 2>/dev/null | grep -q '"rizorivu"' || continue
        xwininfo -id "$w" 2>/dev/null | grep -q 'IsViewable' || continue
        echo "$w"
    done
}
# Owned by another window on screen; the toolkit makes an ownerless dialog (the main window)
# transient for its own hidden leader window.
is_transient() {
    local owner
    owner=$(xprop -id "$1" WM_TRANSIENT_FOR 2>/dev/null | grep -oE '0x[0-9a-f]+$') || return 1
    mapped "$owner"
}
# The main window (the one no other window owns) and the topmost dialog.
main_window() {
    local w
    for w in $(utility_windows); do
        is_transient "$w" || { echo "$w"; return 0; }
    done
    return 1
}
top_dialog() {
    local w last=
    for w in $(utility_windows); do
        is_transient "$w" && last=$w
    done
    [ -n "$last" ] && echo "$last"
}
dialog_count() {
    local w n=0
    for w in $(utility_windows); do
        is_transient "$w" && n=$((n + 1))
    done
    echo "$n"
}
mapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
unmapped() { ! mapped "$1"; }
active_window() { printf '0x%x\n' "$(xdotool getactivewindow 2>/dev/null || echo 0)"; }
same_window() { [ "$((16#${1#0x}))" -eq "$((16#${2#0x}))" ]; }

# A window that drew itself has many colours; an unpainted one is a single flat colour.
colours() { xwd -id "$1" -silent 2>/dev/null | convert xwd:- -format '%k' info: 2>/dev/null; }
painted() {
    local n
    n=$(colours "$1")
    [ -n "$n" ] && [ "$n" -ge 16 ]
}

# A value of the station's last settings in the utility's registry.
station_setting() {
    sqlite3 -readonly "$scratch/registry/HKEY_CURRENT_USER.hive" \
        "select data from hive_values where key_path like '%\\LASTSETTING\\STATION' and upper(name) = upper('$1')" 2>/dev/null
}
setting_is() { [ "$(station_setting "$1")" = "$2" ]; }

keys() { xdotool key --delay 40 "$@"; }
# The icon is looked up again each time: the utility takes it out and puts it back while it
# opens the adapter, and the panel may place it anew.
double_click_tray() {
    find_tray_icon
    # shellcheck disable=SC2086
    xdotool mousemove $tray_icon click --repeat 2 --delay 60 1
}
# Double-clicks the tray icon until COMMAND... holds, as a user tries again when a busy
# machine took the two clicks for two single ones.
double_click_tray_until() {
    for _ in 1 2 3; do
        double_click_tray
        until_true 4 "$@" && return 0
    done
    return 1
}

# --- the checks -----------------------------------------------------------------------------

tray_appears() {
    until_true 20 find_tray_icon || { echo "no icon in the notification area"; tail -n 5 "$scratch/utility.log"; return 1; }
    # Sure to have drawn once the caption is published: the window's start-up is over.
    until_true 20 rizorivu_published "$utility_pid" || { echo "the utility did not start"; return 1; }
}
check "the tray icon appears in tint2's notification area" tray_appears
[ -n "$tray_icon" ] || finish

main=
opens_painted() {
    if ! double_click_tray_until main_window >/dev/null; then
        echo "no window after the double-click; the utility's windows:"
        xwininfo -root -tree | grep -F '"rizorivu"'
        tail -n 5 "$scratch/utility.log"
        return 1
    fi
    main=$(main_window)
    until_true 10 painted "$main" || { echo "the window shows $(colours "$main") colours"; return 1; }
}
check "a double-click on the tray icon opens the painted main window" opens_painted
[ -n "$main" ] || finish

# Minimised one way or the other, the window goes to the tray; the tray brings it back, drawn
# and taking clicks: the close box hides it again.
minimise_and_restore() {  # minimise_and_restore HOW
    # A window manager that has not yet given the new window the focus lets the key pass: the
    # user presses it again.
    for _ in 1 2 3; do
        xdotool windowactivate --sync "$main" 2>/dev/null
        case $1 in
            key) keys alt+F9 ;;
            request) xdotool windowminimize "$main" ;;
        esac
        until_true 2 unmapped "$main" && break
    done
    unmapped "$main" || { echo "the window stays on screen"; return 1; }
    sleep 0.3  # a window brought back at once would still be mapped: it must stay away
    unmapped "$main" || { echo "the window came back by itself"; return 1; }
    double_click_tray_until mapped "$main" || { echo "the tray did not bring the window back"; return 1; }
    until_true 5 painted "$main" || { echo "back, but it shows $(colours "$main") colours"; return 1; }
    xdotool windowactivate --sync "$main" 2>/dev/null
    keys alt+F4
    until_true 5 unmapped "$main" || { echo "back, but its close box does nothing"; return 1; }
    double_click_tray_until mapped "$main" && until_true 5 painted "$main"
}
check "the window manager's minimise hides to the tray; the tray brings it back working" \
    minimise_and_restore key
check "a taskbar's iconify request hides to the tray; the tray brings it back working" \
    minimise_and_restore request

# Keyboard only from a click into the list's empty part: Home, the arrow keys, Enter.
focus_list() {
    local geometry x y w h
    xdotool windowactivate --sync "$main" 2>/dev/null
    geometry=$(xdotool getwindowgeometry --shell "$main")
    eval "$geometry"
    # The list fills the window's left half; its rows start near the top, three of them.
    xdotool mousemove $((X + WIDTH / 5)) $((Y + HEIGHT * 3 / 5)) click 1
    sleep 0.2
}
join_by_keys() {  # join_by_keys KEY...: keys that leave the selection on a row, then Enter
    focus_list
    keys "$@" Return
}
arrows_and_enter_join() {
    # The rows are the world's networks in its order: Meadow, Quarry, Ridge, Brook. Until the
    # opening scan is listed the keys find no row, and a user tries again.
    for _ in 1 2 3 4 5; do
        join_by_keys Home Down Down Down Up Down
        until_true 2 setting_is SSID Brook && break
    done
    setting_is SSID Brook || { echo "joined \"$(station_setting SSID)\""; return 1; }
    [ "$(dialog_count)" -eq 0 ] || { echo "an open network asked something"; return 1; }
}
check "the arrow keys and Enter in the network list join the network they select" \
    arrows_and_enter_join

# A WEP network asks whether to keep the previous key; Escape leaves the question open, and
# "No" (Tab, Enter) opens the WEP keys dialog.
# Gives window $1 the keyboard, as a user's click on it would; a new window may still be
# waiting for the window manager's focus.
is_active() { same_window "$(active_window)" "$1"; }
focus_window() {
    until_true 5 is_active "$1" && return 0
    xdotool windowactivate "$1" 2>/dev/null
    until_true 5 is_active "$1"
}
open_key_dialog() {  # open_key_dialog KEY...
    local question
    join_by_keys "$@"
    until_true 5 top_dialog >/dev/null || { echo "no question"; return 1; }
    question=$(top_dialog)
    focus_window "$question" || { echo "the question has no focus"; return 1; }
    keys Escape
    sleep 0.3
    mapped "$question" || { echo "Escape closed the Yes/No question"; return 1; }
    keys Tab Return
    until_true 5 unmapped "$question" || { echo "the question stays"; return 1; }
    until_true 5 top_dialog >/dev/null || { echo "No opened no dialog"; return 1; }
    dialog=$(top_dialog)
    focus_window "$dialog" || { echo "the dialog has no focus"; return 1; }
    until_true 5 painted "$dialog"
}

dialog=
wep_enter_applies() {
    open_key_dialog Home Down || return 1
    # Viewing: the state button has the focus, and Enter presses it ("Change"); then the
    # fourth key field (before the button in Tab order) takes a key and Enter applies it.
    keys Return
    sleep 0.2
    keys shift+Tab
    xdotool type --delay 30 0102030405
    keys Return
    until_true 5 setting_is WEPKey64_3 "01 02 03 04 05" ||
        { echo "the typed key was not applied"; return 1; }
    mapped "$dialog" || { echo "Enter closed the dialog"; return 1; }
    keys Escape
    until_true 5 unmapped "$dialog" || { echo "Escape did not close it"; return 1; }
}
check "WEP keys: Escape leaves the question open; Enter applies the typed key, Escape closes" \
    wep_enter_applies

wpa_enter_applies() {
    local box
    open_key_dialog Home Down Down || return 1
    keys Return  # "Change"; from the connect flow only the passphrase can be typed
    sleep 0.2
    keys shift+Tab
    xdotool type --delay 30 short
    keys Return
    until_true 5 eval '[ "$(dialog_count)" -ge 2 ]' || { echo "no word about the short passphrase"; return 1; }
    box=$(top_dialog)
    mapped "$dialog" || { echo "Enter closed the dialog"; return 1; }
    focus_window "$box" || { echo "the message has no focus"; return 1; }
    keys Return
    until_true 5 unmapped "$box" || { echo "the message stays"; return 1; }
    focus_window "$dialog" || { echo "the dialog has no focus"; return 1; }
    keys ctrl+a
    xdotool type --delay 30 'ridge line at dawn'
    keys Return
    # Compared here, never printed: it is a secret.
    until_true 5 setting_is Dot1xPassphrase 'ridge line at dawn' ||
        { echo "the typed passphrase was not applied"; return 1; }
    mapped "$dialog" || { echo "Enter closed the dialog"; return 1; }
    keys Escape
    until_true 5 unmapped "$dialog" || { echo "Escape did not close it"; return 1; }
}
check "WPA settings: a short passphrase is refused and kept, a good one applied by Enter" \
    wpa_enter_applies

# With a dialog open and minimised (the window manager takes the main window along): the
# tray's double-click brings both back, the dialog in front; "Exit" from the tray's menu
# closes the dialog and ends the utility.
tray_raises_dialog() {
    open_key_dialog Home Down || return 1
    keys alt+F9
    until_true 5 unmapped "$dialog" || { echo "the dialog did not minimise"; return 1; }
    double_click_tray_until eval 'mapped "$dialog" && same_window "$(active_window)" "$dialog"' ||
        { echo "the dialog did not come back in front"; return 1; }
    mapped "$main" || { echo "the main window stayed away"; return 1; }
}
check "the tray's double-click brings back a minimised dialog, in front" tray_raises_dialog

utility_running() { kill -0 "$utility_pid" 2>/dev/null; }
utility_ended() { ! utility_running; }
exit_from_tray() {
    if [ -z "$dialog" ] || ! mapped "$dialog"; then
        echo "no dialog open"
        return 1
    fi
    # The menu pops up at the pointer; a menu that had not appeared yet when the keys came is
    # opened again.
    for _ in 1 2 3; do
        find_tray_icon
        # shellcheck disable=SC2086
        xdotool mousemove $tray_icon click 3
        sleep 0.4
        keys Up Return  # the last item: "Exit"
        until_true 5 utility_ended && break
    done
    rizorivu_wait_end "$utility_pid" 10
    local rc=$rizorivu_rc
    utility_pid=
    [ "$rc" = 0 ] || { echo "ended with $rc"; return 1; }
}
check "\"Exit\" from the tray menu ends the utility while a dialog is open" exit_from_tray

no_window_system_errors() {
    if grep -E 'QXcb|qt\.qpa|internal error' "$scratch/utility.log"; then
        return 1
    fi
}
check "Qt reports no window-system error" no_window_system_errors

finish
