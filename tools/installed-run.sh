# Shell functions for running an installed rizorivu in the background and ending it with
# -exit, and for counting checks; sourced by the package and Wayland checks.

# Whether process $1 has published its main window's caption (its abstract socket
# "@rizorivu-caption/..."), which happens once start-up has handed over to the window.
rizorivu_published() {
    local pid=$1 fd link inode
    for fd in /proc/"$pid"/fd/*; do
        link=$(readlink "$fd" 2>/dev/null) || continue
        [[ $link == socket:\[*\] ]] || continue
        inode=${link#socket:[}
        inode=${inode%]}
        if grep -qE " $inode @rizorivu-caption/" /proc/net/unix; then
            return 0
        fi
    done
    return 1
}

# Waits up to $2 seconds for process $1 to publish its caption; fails when it ends first.
rizorivu_wait_published() {
    local pid=$1 limit=$(($2 * 10)) i
    for ((i = 0; i < limit; i++)); do
        kill -0 "$pid" 2>/dev/null || return 1
        rizorivu_published "$pid" && return 0
        sleep 0.1
    done
    return 1
}

# Waits up to $2 seconds for process $1, a child of this shell, to end; leaves its exit code
# (or "timeout") in rizorivu_rc. Not to be called in a subshell, which cannot wait for it.
rizorivu_wait_end() {
    local pid=$1 limit=$(($2 * 10)) i
    for ((i = 0; i < limit; i++)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            rizorivu_rc=$?
            return 0
        fi
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rizorivu_rc=timeout
    return 1
}

# The checks of a script, counted for its summary line "NAME: N passed, N failed".
passed=0
failed=0
check() {  # check NAME COMMAND...: runs COMMAND, counts and reports the outcome
    local name=$1
    shift
    if "$@"; then
        echo "ok   $name"
        passed=$((passed + 1))
    else
        echo "FAIL $name"
        failed=$((failed + 1))
    fi
}
