#!/usr/bin/env bash
# Started where no display can be opened, the program says so in one line
# and ends with status 1 (no abort, no toolkit plugin text).
set -u
program=$1
fail=0
check() {
    local what=$1; shift
    local err rc
    err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" timeout 30 "$program" 2>&1 >/dev/null)
    rc=$?
    local lines
    lines=$(printf '%s\n' "$err" | grep -c .)
    if [ "$rc" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -q "no display could be opened" <<<"$err"; then
        echo "FAIL ($what): status $rc, standard error:"
        printf '%s\n' "$err"
        fail=1
    else
        echo "ok ($what): $err"
    fi
}
check "no DISPLAY" -u DISPLAY
# A display number with no server behind it.
check "no server" DISPLAY=:$((90 + RANDOM % 9))0
exit $fail
