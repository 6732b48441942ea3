#!/usr/bin/env bash
# Measures an installed utility offscreen: the time from exec to its main window being
# findable (start-up hands over to the window; the first poll tick follows one
# Main_Page_Update_Time_ms later), and its resident memory after a minute idle.
# Prints each run and the medians. Usage: tools/startup-measure.sh EXECUTABLE [RUNS] [IDLE_S]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/installed-run.sh
exe=${1:?usage: tools/startup-measure.sh EXECUTABLE [RUNS] [IDLE_S]}
runs=${2:-5}
idle=${3:-60}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
starts=()
rss=()
for ((run = 0; run < runs; run++)); do
    home=$scratch/home$run
    mkdir -p "$home"
    begin=$(date +%s%N)
    # A private registry folder is also a private caption namespace: starts elsewhere on the
    # machine neither find nor end this instance.
    env -i PATH=/usr/bin:/bin HOME="$home" RIZORIVU_REGISTRY_DIR="$home/registry" \
        QT_QPA_PLATFORM=offscreen "$exe" >/dev/null 2>&1 &
    pid=$!
    # Polled every 10 ms, so the figure is that fine.
    until rizorivu_published "$pid"; do
        kill -0 "$pid" || exit 1
        sleep 0.01
    done
    ms=$((($(date +%s%N) - begin) / 1000000))
    sleep "$idle"
    kb=$(awk '/^VmRSS/ { print $2 }' /proc/"$pid"/status)
    env -i PATH=/usr/bin:/bin HOME="$home" RIZORIVU_REGISTRY_DIR="$home/registry" "$exe" -exit \
        >/dev/null 2>&1
    rizorivu_wait_end "$pid" 20
    echo "run $run: window findable after $ms ms, RSS after ${idle} s idle: $((kb / 1024)) MiB ($kb kB)"
    starts+=("$ms")
    rss+=("$kb")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
echo "median: window findable after $(median "${starts[@]}") ms, RSS $(median "${rss[@]}") kB"
