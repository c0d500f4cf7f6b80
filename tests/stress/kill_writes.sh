#!/usr/bin/env bash
# Kills the program with SIGKILL at random moments while it keeps writing its
# current profile (the simulated keyboard sends lighting reports back to
# back), and checks every data file after each kill: each one must hold its
# old or its new content, never be empty, cut short or mixed.
# Usage: kill_writes.sh <q3config> <libq3sim.so> <q3sim> [kills]
set -u
exe=$(readlink -f "$1")
sim=$(readlink -f "$2")
ctl=$(readlink -f "$3")
kills=${4:-200}
work=$(mktemp -d)
app_pid=""
trap '[ -n "$app_pid" ] && kill -9 $app_pid 2>/dev/null; rm -rf "$work"' EXIT

mkdir -p "$work/app"
cp "$exe" "$work/app/q3config"
cp -r "$(dirname "$exe")/modules" "$work/app/modules"
rm -f "$work/app/modules/setting/p"[0-9]*.bin "$work/app/modules/macro/"* 2>/dev/null
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software PHONON_GST_AUDIOSINK=fakesink
export XDG_RUNTIME_DIR="$work" Q3SIM_SOCKET="$work/sim.sock"
setting="$work/app/modules/setting"
shipped="$work/shipped"
mkdir -p "$shipped"
for f in HWDef.bin KeyCodeDef.bin apConfigD.bin pD.bin; do cp "$setting/$f" "$shipped/"; done
sent="$work/sent"      # every lighting value ever sent, one "a, b, c, ..." per line
: >"$sent"
damaged=0 leftovers=0 stalls=0 n=0
# Waits grow with the build's slowness (the sanitizer builds set it).
waits=${Q3_WAIT_SCALE:-1}
# The program reads the keyboard's lighting back at start and keeps it: the
# current profile's LED type as the keyboard holds it counts as sent.
keyboard_lighting() {
    local hex="" v="" b
    # A slow start (a sanitizer build) may not answer the first asking.
    for _ in $(seq $((20 * waits))); do
        hex=$("$ctl" state 2>/dev/null | sed -n 's/^  led type: //p' | head -1)
        [ -n "$hex" ] && break
        sleep 0.05
    done
    [ -n "$hex" ] || return 0
    for b in $hex; do v="${v:+$v, }$((16#$b))"; done
    echo "$v" >>"$sent"
}

# A settings file is whole when every line is a section, a key=value, a
# comment or blank, and its last line is complete.
whole() {
    [ -s "$1" ] && ! grep -qvE '^(\[[^]]*\]|[^=;#]+=.*|[;#].*|)$' "$1" && [ "$(tail -c1 "$1" | od -An -tx1 | tr -d ' ')" = "0a" ]
}

check_files() {
    local f
    for f in "$setting"/*.bin "$work/app/modules/macro/"*.bin; do
        [ -e "$f" ] || continue
        # Files the program only reads stay as shipped.
        if [ -e "$shipped/$(basename "$f")" ]; then
            cmp -s "$f" "$shipped/$(basename "$f")" || { echo "kill $n: changed $(basename "$f")"; damaged=$((damaged + 1)); }
            continue
        fi
        if ! whole "$f"; then
            echo "kill $n: damaged $(basename "$f")"; damaged=$((damaged + 1)); continue
        fi
        case $(basename "$f") in
        p[0-9]*.bin)
            local led
            led=$(sed -n 's/^ledType=//p' "$f")
            if [ -n "$led" ] && ! grep -qxF "$led" "$sent"; then
                echo "kill $n: $(basename "$f") holds a value never sent: $led"; damaged=$((damaged + 1))
            fi;;
        esac
    done
    # The writer's temporary files and locks of a killed write.
    local extra
    extra=$(find "$setting" "$work/app/modules/macro" -name '*.lock' -o -name '*.bin.*' ! -name '*.lock' 2>/dev/null | wc -l)
    leftovers=$((leftovers + extra))
    [ "$extra" -gt 0 ] && [ -n "${VERBOSE:-}" ] && find "$setting" "$work/app/modules/macro" -name '*.lock' -o -name '*.bin.*'
}

for n in $(seq 1 "$kills"); do
    rm -f "$Q3SIM_SOCKET"
    LD_PRELOAD="$sim" "$work/app/q3config" >"$work/app.log" 2>&1 &
    app_pid=$!
    for _ in $(seq $((100 * waits))); do [ -S "$Q3SIM_SOCKET" ] && break; sleep 0.05; done
    keyboard_lighting
    sleep 0.3
    # Reports back to back for a random while, then the kill.
    end=$(( $(date +%s%N) + (RANDOM % 400 + 20) * 1000000 ))
    i=0
    while [ "$(date +%s%N)" -lt "$end" ]; do
        v="$((n % 12)), $((i % 8)), $((RANDOM % 8)), $((i / 8 % 8)), $((n % 7)), $((RANDOM % 256)), $((i % 256))"
        echo "$v" >>"$sent"
        "$ctl" lighting ${v//,/} >/dev/null 2>&1 || true
        i=$((i + 1))
    done
    kill -9 "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    app_pid=""
    check_files
    # The next start must not stall on what the kill left behind.
    rm -f "$Q3SIM_SOCKET"
    LD_PRELOAD="$sim" "$work/app/q3config" >"$work/app.log" 2>&1 &
    app_pid=$!
    for _ in $(seq $((100 * waits))); do [ -S "$Q3SIM_SOCKET" ] && break; sleep 0.05; done
    sleep 0.3
    v="11, 7, 7, 7, 6, 255, $((n % 256))"
    echo "$v" >>"$sent"
    "$ctl" lighting ${v//,/} >/dev/null 2>&1
    for _ in $(seq $((100 * waits))); do grep -qxF "ledType=$v" "$setting/p1.bin" 2>/dev/null && break; sleep 0.05; done
    if ! grep -qxF "ledType=$v" "$setting/p1.bin" 2>/dev/null; then
        echo "kill $n: the report after the restart was not stored within $((5 * waits)) s"; stalls=$((stalls + 1))
        [ -n "${VERBOSE:-}" ] && { ls -la "$setting"; cat "$work/app.log"; }
    fi
    kill -9 "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null; app_pid=""
    check_files
done
echo "kills: $((kills * 2)), damaged files: $damaged, stalled restarts: $stalls, leftover lock/temporary files seen: $leftovers"
[ "$damaged" -eq 0 ] && [ "$stalls" -eq 0 ]
