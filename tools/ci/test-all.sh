#!/usr/bin/env bash
# Builds everything and runs every test: Linux unit tests, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, a bounded libFuzzer run,
# the Windows build with its unit tests under Wine, and the end-to-end tests
# under Wine in Xvfb, and first a check that the C++ sources are formatted.
# Installs what it needs; ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/../.."
. tools/ci/packages.sh

FUZZ_SECONDS=${QUILLOM_FUZZ_SECONDS:-45}
SETTINGS_FUZZ_SECONDS=${QUILLOM_SETTINGS_FUZZ_SECONDS:-15}
LEXICON_FUZZ_SECONDS=${QUILLOM_LEXICON_FUZZ_SECONDS:-15}
total=0
failed=0
failures=()
# "<stage> <seconds>" for each stage, printed before the summary line.
stage_times=()
stage_start=$SECONDS
stage_done() {
    stage_times+=("$1 $((SECONDS - stage_start))")
    stage_start=$SECONDS
}

# count <stage> <passed> <failed>
count() {
    total=$((total + $2 + $3))
    failed=$((failed + $3))
    [ "$3" -gt 0 ] && failures+=("$1: $3 failed")
}

# Runs ctest and adds its counts to the totals.
run_ctest() {
    local stage=$1; shift
    local log
    log=$(mktemp)
    ctest "$@" 2>&1 | tee "$log" | grep -E "tests passed|\*\*\*|^\s+[0-9]+ - " || true
    local line n f
    line=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$log" | tail -n 1)
    rm -f "$log"
    if [ -z "$line" ]; then
        count "$stage" 0 1
        return
    fi
    n=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    f=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    count "$stage" $((n - f)) "$f"
}

# Runs the Windows test programs under Wine, one process each, and counts their tests from
# the XML reports they write (see tests/CMakeLists.txt).
run_windows_tests() {
    local results=build/windows/test-results log programs failed_programs report
    rm -rf "$results"
    log=$(mktemp)
    ctest --preset windows --repeat until-pass:2 2>&1 | tee "$log" | grep -E "tests passed|\*\*\*|^\s+[0-9]+ - " || true
    programs=$(ctest --preset windows -N | sed -n 's/^ *Test *#[0-9]*: //p')
    failed_programs=$(sed -n 's/^\s*[0-9]* - \(\S*\) .*/\1/p' "$log")
    rm -f "$log"
    # shellcheck disable=SC2086
    report=$(python3 tools/ci/gtest_results.py "$results" $programs --failed $failed_programs)
    sed '$d' <<<"$report"
    echo "$(tail -n 1 <<<"$report" | cut -d' ' -f1) Windows tests passed in $(wc -w <<<"$programs") programs"
    # shellcheck disable=SC2046
    count windows $(tail -n 1 <<<"$report" | grep -E '^[0-9]+ [0-9]+$' || echo 0 1)
}

# Runs an end-to-end script (Wine in Xvfb) and adds its "N passed, M failed".
run_e2e() {
    local stage=$1 script=$2 dir=$3 log line
    echo "== end-to-end: $stage"
    log=$(mktemp)
    "$script" "$dir" 2>&1 | tee "$log"
    stage_done "$stage"
    line=$(grep -E "^[0-9]+ passed, [0-9]+ failed( |$)" "$log" | tail -n 1)
    rm -f "$log"
    if [ -n "$line" ]; then
        count "$stage" "$(cut -d' ' -f1 <<<"$line")" "$(cut -d' ' -f3 <<<"$line")"
    else
        count "$stage" 0 1
    fi
}

# build <preset> [cmake --build options...]
build() {
    local preset=$1
    shift
    echo "== build: $preset"
    cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j2 "$@" 2>&1 | grep -E "error|warning:" | head -n 40
    local status=${PIPESTATUS[0]}
    stage_done "build $preset"
    return "$status"
}

ensure_packages $LINUX_PACKAGES $FUZZ_PACKAGES $WINDOWS_PACKAGES $FORMAT_PACKAGES
stage_done packages

# One compiler cache for the run: the settings-window build compiles the sources of the
# Windows build again, differing only in its feedback endpoint. A cache the caller set up wins.
export CCACHE_DIR=${CCACHE_DIR:-$PWD/build/ccache} CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=1
export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache

echo "== format"
if tools/ci/check-format.sh | tail -n 40; then
    count format 1 0
else
    count format 0 1
fi
stage_done format

if build linux && [ -d build/linux ]; then
    echo "== test: linux"
    run_ctest linux --preset linux
    stage_done "test linux"
else
    count "linux build" 0 1
fi

if build linux-asan; then
    echo "== test: linux-asan"
    ASAN_OPTIONS=detect_leaks=1 run_ctest linux-asan --preset linux-asan
    stage_done "test linux-asan"
else
    count "linux-asan build" 0 1
fi

# run_fuzzer <target> <seconds> <max-len> <seeds-dir>: runs one libFuzzer target on a copy of
# its own (what one target finds does not steer another) and counts it. libFuzzer writes what
# it finds (crash-, slow-unit-...) under build/linux-fuzz/artifacts, not into the checkout.
run_fuzzer() {
    local target=$1 seconds=$2 max_len=$3 seeds=$4 corpus log=build/linux-fuzz/fuzz_$1.log
    corpus=$(mktemp -d)
    cp -r "$seeds"/. "$corpus/"
    mkdir -p build/linux-fuzz/artifacts
    if build/linux-fuzz/tests/fuzz/quillom_fuzz_$target -max_total_time="$seconds" -max_len="$max_len" \
        -artifact_prefix=build/linux-fuzz/artifacts/ -print_final_stats=1 "$corpus" >"$log" 2>&1; then
        echo "$target: $(grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec' "$log" | tr '\n' ' ')"
        count "fuzz $target" 1 0
    else
        tail -n 40 "$log"
        count "fuzz $target" 0 1
    fi
    rm -rf "$corpus"
}

# fuzz_stage <stage> <seconds> <max-len> <seeds-dir> <target>...: builds the targets and runs each.
fuzz_stage() {
    local stage=$1 seconds=$2 max_len=$3 seeds=$4 target
    shift 4
    echo "== $stage: ${seconds}s each"
    if build linux-fuzz --target $(printf 'quillom_fuzz_%s ' "$@"); then
        for target in "$@"; do run_fuzzer "$target" "$seconds" "$max_len" "$seeds"; done
        stage_done "$stage"
    else
        count "$stage build" 0 1
    fi
}

seeds=$(mktemp -d)
printf '\0ghbdtn' >"$seeds/word"
printf '\1{"languages":{"en":{},"ru":{}}}' >"$seeds/rules"
fuzz_stage fuzz "$FUZZ_SECONDS" 4096 "$seeds" engine
# The test lexicon and the damaged and hostile files the reader refuses.
fuzz_stage "fuzz lexicon" "$LEXICON_FUZZ_SECONDS" 8192 tests/fuzz/lexicon_seeds lexicon lexicon_engine
rm -rf "$seeds"/*
cp tests/app/settings/data/*.json "$seeds/"
fuzz_stage "fuzz settings" "$SETTINGS_FUZZ_SECONDS" 4096 "$seeds" json_codec preferences hotkeys overrides
rm -rf "$seeds"

if build windows; then
    echo "== test: windows (under Wine)"
    # One Wine server and its services for the whole run, started with stdio
    # detached: services started by a test would inherit ctest's pipe and stall it.
    export WINEPREFIX="$PWD/build/windows/wineprefix" WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    # A wine process that dies before the test's first line (seen under load: no output
    # at all) is the emulator, not the test; such a program gets one more run.
    run_windows_tests
    wineserver -k </dev/null >/dev/null 2>&1
    stage_done "test windows"
    unset WINEPREFIX
    run_e2e e2e tests/e2e/run.sh build/windows
    run_e2e installer tests/e2e/installer.sh build/windows
    run_e2e settings-window tests/e2e/settings_window.sh build/e2e-settings
else
    count "windows build" 0 1
fi

for f in "${failures[@]}"; do echo "FAILED: $f"; done
echo "seconds by stage: $(printf '%s, ' "${stage_times[@]}" | sed 's/, $//'); total $SECONDS"
passed_pct=$(( total > 0 ? (total - failed) * 100 / total : 0 ))
echo "${passed_pct}% tests passed, ${failed} tests failed out of ${total}"
[ "$failed" -eq 0 ]
