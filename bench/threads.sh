#!/usr/bin/env bash
# The large jobs as whole processes on 1, 2 and every usable thread (TOVEN_THREADS), timed
# from outside with farm-bench: the dense page 801 x 401 with k 20, a 60-frame sweep of the
# default page and a million points through the pipe. Quote the median wall time; the goals
# on 2 cores are a page and a sweep in 0.55 of the one-thread time, and a pipe 1.8 times as
# fast. Each thread count runs against one thread (--vs), so that the ratio is taken pair by
# pair on a machine whose speed drifts.
#
#   bench/threads.sh build/app/toven [RUNS]
set -eu

toven="$(realpath "$1")"
runs="${2:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export LC_ALL=C QT_QPA_PLATFORM=offscreen

awk 'BEGIN { for (i = 0; i < 1000000; i++) printf "%.17g %.17g\n", -1 + (i % 1000) / 500, -1 + int(i / 1000) / 500 }' \
    >"$work/points"

most=$(nproc)
counts="2"
for ((t = 4; t < most; t *= 2)); do counts="$counts $t"; done
if [ "$most" -gt 2 ]; then counts="$counts $most"; fi

job() {
    local name="$1" threads="$2"
    shift 2
    case "$name" in
        page) echo "sh -c 'TOVEN_THREADS=$threads exec $toven --render $work/page$threads.png m=800 n=400 k=20'" ;;
        sweep) echo "sh -c 'TOVEN_THREADS=$threads exec $toven --render $work/sweep$threads.gif --sweep a=1:3:60'" ;;
        pipe) echo "sh -c 'TOVEN_THREADS=$threads exec $toven --eval \"x*y+sin(x)\" - <$work/points >/dev/null'" ;;
    esac
}

echo "CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $most processors"
for name in page sweep pipe; do
    for threads in $counts; do
        echo "== $name: $threads threads (A) against 1 thread (B)"
        eval "a=($(job "$name" "$threads"))"
        farm-bench -n "$runs" --timeout 900 --vs "$(job "$name" 1)" -- "${a[@]}" |
            grep -E '^(A|B) (wall|cpu) s|^A/B (wall|cpu)'
    done
done
