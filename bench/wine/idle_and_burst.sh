#!/usr/bin/env bash
# What the program costs the machine, under Wine and Xvfb with the default settings:
#   idle   voluntary context switches of the program's main thread over 30 s with nothing
#          typed, beside those of Notepad's main thread over the same 30 s;
#   burst  processor time of the program's main thread while ten wrong-layout words are
#          typed into Notepad and corrected (from the first key to the last corrected word).
#
#   bench/wine/idle_and_burst.sh [build-dir [program-folder]]
#       build-dir defaults to build/windows, whose quillom_dist and helper are built; with a
#       program folder (a copy of dist/Quillom, say of another version) that one is measured
#       and nothing is built.
#
# Each Wine message-loop wake-up shows as a voluntary context switch of the thread
# (/proc/PID/task/TID/status); the processor time is the thread's schedstat run time.
set -u

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/windows}" && pwd) || exit 2
program_folder=${2:-}
if [ -z "$program_folder" ]; then
    cmake --build "$build" --target quillom_dist quillom_e2e_helper >/dev/null || { echo "build failed" >&2; exit 2; }
    program_folder="$build/dist/Quillom"
fi

# shellcheck source=../../tests/e2e/wine_env.sh
source "$root/tests/e2e/wine_env.sh"
trap 'e2e_env_stop' EXIT
e2e_begin "$build/bench-wine-work" "$build/bench-wine-artifacts" "$build/tests/e2e/quillom_e2e_helper.exe"
app="$work/app"
cp -r "$program_folder" "$app"

# The Windows main thread of a Wine process is its first thread.
main_thread() { echo "/proc/$1/task/$1"; }
switches() { awk '/^voluntary_ctxt_switches/ {print $2}' "$(main_thread "$1")/status"; }
run_ns() { awk '{print $1}' "$(main_thread "$1")/schedstat"; }
ticks() { awk '{print $14 + $15}' "$(main_thread "$1")/stat"; }
# The process of that name in this run's Wine prefix (others may run Wine meanwhile).
windows_pid() {
    pgrep -f "$1" | while read -r p; do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$p"
    done | head -n 1
}

(cd "$app" && exec wine Quillom.exe </dev/null >>"$work/quillom.out" 2>&1) &
e2e_wait_for 30 helper has-window QuillomTrayApp || { echo "the program did not start" >&2; exit 1; }
wine notepad </dev/null >/dev/null 2>&1 &
notepad=$(timeout 30 xdotool search --sync --onlyvisible --name 'Untitled - Notepad' | head -n 1)
[ -n "$notepad" ] || { echo "notepad did not start" >&2; exit 1; }
program=$(windows_pid 'Quillom.exe')
editor=$(windows_pid 'notepad')
[ -n "$program" ] && [ -n "$editor" ] || { echo "no process ids" >&2; exit 1; }

# Idle: the start-up's own timers and the first refreshes are over after a few seconds.
sleep 8
p0=$(switches "$program") n0=$(switches "$editor")
sleep 30
p1=$(switches "$program") n1=$(switches "$editor")
echo "idle 30 s: program main thread $((p1 - p0)) voluntary context switches, notepad $((n1 - n0))"

# Burst: ten words, then wait until all ten are corrected.
xdotool mousemove --window "$notepad" 200 120 click 1
sleep 1
expected=$(for _ in 1 2 3 4 5 6 7 8 9 10; do printf 'привет '; done)
corrected() { helper gettext "$(winpath "$work/text.txt")" && [ "$(cat "$work/text.txt")" = "$expected" ]; }
t0=$(ticks "$program") r0=$(run_ns "$program") s0=$(date +%s%N)
xdotool type --delay 30 "$(for _ in 1 2 3 4 5 6 7 8 9 10; do printf 'ghbdtn '; done)"
if ! e2e_wait_for 20 corrected; then
    echo "burst: the words were not all corrected: '$(cat "$work/text.txt")'" >&2
    exit 1
fi
t1=$(ticks "$program") r1=$(run_ns "$program") s1=$(date +%s%N)
echo "burst of 10 corrected words: program main thread $(((r1 - r0) / 1000000)) ms of processor time" \
     "($((t1 - t0)) clock ticks) in $(((s1 - s0) / 1000000)) ms"
