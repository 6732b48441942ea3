#!/usr/bin/env bash
# Sets everything up and starts the utility on the simulated adapter:
# installs missing Debian packages, builds the utility, and runs it from the build's product
# folder, where its configuration and language files lie beside it.
# Arguments are passed on (for example "-exit" to close a running instance).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" >/dev/null
cmake --build build/release --target rizorivu -j "$(nproc)"

exec build/release/product/rizorivu "$@"
