#!/usr/bin/env bash
# Measures one EAP-TLS and one PEAP authentication against a private FreeRADIUS lab, in one run
# against the same server, certificates and user: the utility's supplicant (through the
# simulated access point, tests/bench/EnterpriseBench.cpp) and the reference supplicant's test
# client eapol_test (talking RADIUS itself) as a measured peer. Prints medians of wall and CPU
# time. eapol_test's times include its process start; ours include the simulated relay.
#   tools/enterprise-bench.sh [BUILD_DIR [RUNS]]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-15}

work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
port=$(python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
secret=bench-secret
tools/radius/lab.sh setup "$work/lab" "$port" "$secret" >/dev/null
tools/radius/lab.sh run "$work/lab" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 100); do
    grep -q "Ready to process requests" "$work/server.log" && break
    sleep 0.1
done

certs=$work/lab/certs
cat >"$work/tls.conf" <<CONF
network={
    key_mgmt=WPA-EAP
    eap=TLS
    identity="student"
    ca_cert="$certs/ca.pem"
    client_cert="$certs/student.pem"
    private_key="$certs/student.key"
    phase1="tls_disable_tlsv1_3=1"
}
CONF
cat >"$work/peap.conf" <<CONF
network={
    key_mgmt=WPA-EAP
    eap=PEAP
    identity="student"
    password="library-card"
    ca_cert="$certs/ca.pem"
    phase1="peapver=0 tls_disable_tlsv1_3=1"
    phase2="auth=MSCHAPV2"
}
CONF

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

for method in tls peap; do
    : >"$work/$method.times"
    for _ in $(seq "$runs"); do
        # Wall time and the child's CPU time (user + system) at microsecond resolution.
        python3 - "$work/$method.conf" "$port" "$secret" >>"$work/$method.times" <<'PY'
import resource, subprocess, sys, time
conf, port, secret = sys.argv[1:4]
before = resource.getrusage(resource.RUSAGE_CHILDREN)
start = time.perf_counter()
done = subprocess.run(["eapol_test", "-c", conf, "-a", "127.0.0.1", "-p", port, "-s", secret,
                       "-r", "0", "-t", "10"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
wall = (time.perf_counter() - start) * 1000
usage = resource.getrusage(resource.RUSAGE_CHILDREN)
if done.returncode != 0:
    sys.exit("eapol_test failed")
cpu = (usage.ru_utime + usage.ru_stime - before.ru_utime - before.ru_stime) * 1000
print(f"{wall:.2f} {cpu:.2f}")
PY
    done
    wall=$(awk '{print $1}' "$work/$method.times" | median)
    cpu=$(awk '{print $2}' "$work/$method.times" | median)
    echo "eapol_test $method: median wall ${wall} ms, median CPU ${cpu} ms ($runs runs)"
done

RIZORIVU_RADIUS_LAB=$work/lab RIZORIVU_RADIUS_PORT=$port RIZORIVU_RADIUS_SECRET=$secret \
    "$build/tests/rizorivu_bench" --benchmark_filter='AgainstFreeRadius' \
    --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true 2>/dev/null |
    grep -E "median|Benchmark"
