#!/usr/bin/env bash
# The hardening runs after the normal suite: the whole test suite with
# ASan+UBSan, each libFuzzer harness for FUZZ_SECONDS, and the link tests
# with TSan. Any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
fuzz_seconds=${FUZZ_SECONDS:-30}

# ASan + UBSan: every test but the release one, which checks the package's
# library dependencies and so cannot pass with the sanitizer runtimes linked in.
cmake -S . -B build-asan -DVELMORA_SANITIZE=address,undefined -DVELMORA_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j2 -E '^tst_release$'

# Fuzzing: each harness from its seed corpus; the corpus grows only in a copy.
CXX=clang++ cmake -S . -B build-fuzz -DVELMORA_FUZZ=ON -DVELMORA_BUILD_TESTS=OFF \
    -DVELMORA_BUILD_BENCH=OFF >/dev/null
harnesses=$(cd fuzz/corpus && ls)
cmake --build build-fuzz -j2 --target $(for h in $harnesses; do echo -n "fuzz_$h "; done)
for h in $harnesses; do
    work=$(mktemp -d)
    echo "fuzzing $h for ${fuzz_seconds}s"
    build-fuzz/bin/fuzz_$h -max_total_time="$fuzz_seconds" -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/$h-" "$work" "fuzz/corpus/$h"
    rm -rf "$work"
done

# TSan: the link tests, whose reader thread is the only thread of ours (the
# system unit runs on the GUI thread alone). The Qt of the system is not
# instrumented, so only locks made of pthread or std primitives are seen;
# code synchronised by QMutex alone would give false reports, which is why
# the reader's queue locks with the standard library's.
if [[ "${VELMORA_SKIP_TSAN:-}" != 1 ]]; then
    cmake -S . -B build-tsan -DVELMORA_SANITIZE=thread -DVELMORA_BUILD_BENCH=OFF >/dev/null
    cmake --build build-tsan -j2 --target tst_link
    TSAN_OPTIONS="halt_on_error=1 history_size=7 suppressions=$PWD/tests/link/tsan.supp" \
        ctest --test-dir build-tsan --output-on-failure -R '^tst_link$'
fi
