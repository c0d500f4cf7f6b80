#!/usr/bin/env bash
# Runs tests under the sanitizers, each in a build folder of its own:
#
#   scripts/sanitize.sh address   every test, AddressSanitizer + UndefinedBehaviorSanitizer
#                                 (build-asan)
#   scripts/sanitize.sh thread    the parts without a scene or sounds (transport, commands,
#                                 listener, discovery, input core, the simulated keyboard, and
#                                 the encoders and parsers through the corpus replays) under
#                                 ThreadSanitizer (build-tsan)
#
# Further arguments go to ctest. Qt, glib, GStreamer and Phonon are not
# instrumented; what they report of their own is named in
# scripts/sanitizers/*.supp and nothing else is suppressed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-address}
[ $# -gt 0 ] && shift
supp="$root/scripts/sanitizers"

case "$kind" in
  address)
    build=${Q3_ASAN_BUILD_DIR:-$root/build-asan}
    flags="address,undefined"
    # Every test runs several times slower under these sanitizers.
    timeout_scale=4
    # Every test.
    tests=()
    targets=(all)
    ;;
  thread)
    build=${Q3_TSAN_BUILD_DIR:-$root/build-tsan}
    flags="thread"
    timeout_scale=4
    targets=(tst_commands tst_listener tst_discovery tst_devinfo tst_input_core
             tst_input_x11keys tst_q3langcs tst_q3sim tst_q3sim_firmware
             fuzz_replay_hwdef fuzz_replay_keycodes fuzz_replay_language fuzz_replay_macro
             fuzz_replay_profile fuzz_replay_appsettings fuzz_replay_devinfo
             fuzz_replay_device_answers fuzz_replay_device_reports)
    tests=(-R "^($(IFS='|'; echo "${targets[*]}"))\$")
    ;;
  *)
    echo "usage: $0 address|thread [ctest arguments]" >&2
    exit 2
    ;;
esac

"$root/scripts/setup.sh"
# The preloaded simulated keyboard comes before the sanitizer's runtime in
# the programs started with LD_PRELOAD; both are instrumented alike.
# Any report ends the program that made it (the build runs the skin
# generator), so ctest lists every test that made one.
export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:verify_asan_link_order=0:abort_on_error=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$supp/ubsan.supp"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$supp/tsan.supp"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQ3_SANITIZE="$flags" \
  -DQ3_TEST_TIMEOUT_SCALE="$timeout_scale" >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

cd "$build"
ctest --output-on-failure -j"$(nproc)" "${tests[@]}" "$@"
