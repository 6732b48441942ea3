#!/usr/bin/env bash
# Sets everything up and starts the utility on the simulated adapter:
# installs missing Debian packages, builds the utility, and runs it from the build's product
# folder, where its configuration and language files lie beside it.
# Arguments are passed on (for example "-exit" to close a running instance).
# The simulated enterprise network "Campus" is authenticated by a private FreeRADIUS that this
# command starts for the utility's lifetime: its lab (configuration and demonstration
# certificates) lives in the user's data folder, and the demonstration client certificate and
# CA are put in the utility's certificate folder, where the WPA settings list them.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" >/dev/null
cmake --build build/release --target rizorivu -j "$(nproc)"

case " $* " in
    *" -exit "* | *" --help "* | *" --version "*)
        exec build/release/product/rizorivu "$@" ;;
esac

data=${XDG_DATA_HOME:-${HOME:-/root}/.local/share}/rizorivu
lab=$data/radius-lab
if [ ! -f "$lab/radiusd.conf" ] || [ ! -f "$lab/certs/student.key" ]; then
    echo "Writing the RADIUS lab for the Campus network to $lab"
    tools/radius/lab.sh setup "$lab" >/dev/null
fi
certificates=$data/certificates
install -d -m 700 "$certificates"
install -m 600 "$lab/certs/student.pem" "$lab/certs/student.key" "$lab/certs/ca.pem" "$certificates/"

radius=
if command -v freeradius >/dev/null; then
    tools/radius/lab.sh run "$lab" >"$lab/log/console.log" 2>&1 &
    radius=$!
fi
stop_radius() {
    if [ -n "$radius" ]; then
        kill "$radius" 2>/dev/null || true
        wait "$radius" 2>/dev/null || true
    fi
}
trap stop_radius EXIT INT TERM

status=0
build/release/product/rizorivu "$@" || status=$?
exit "$status"
