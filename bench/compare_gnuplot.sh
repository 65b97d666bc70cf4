#!/usr/bin/env bash
# toven beside gnuplot, whole process against whole process, processor time (user + system),
# the best of RUNS runs (default 9) of each:
#   eval     toven --eval 'x*y' 1 2, against gnuplot printing 1*2;   goal: toven <= 5 ms
#   default  the default page (41 x 21 curves, 20 samples a mesh interval) against gnuplot's
#            hidden3d of the same function on 41 x 21 nodes;          goal: <= 30 ms, >= 2.5x
#   dense    161 x 81 curves with k=20 against gnuplot on 161 x 81;   goal: >= 4x
# Both draw 800 x 600 PNG. Times are taken with farm-bench where it is installed, else with
# python3 from the children's resource usage. The CPU is named on the first line.
#
#   bench/compare_gnuplot.sh build/app/toven [RUNS]
set -eu

toven="$(realpath "$1")"
runs="${2:-9}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

# The gnuplot script of a hidden-line page of N x M nodes.
gnuplot_page() {
    cat >"$work/page-$1x$2.gp" <<GNUPLOT
set terminal pngcairo size 800,600
set output "$work/gnuplot.png"
set xrange [-1:1]
set yrange [-1:1]
set zrange [-0.2:1.2]
set samples $1, $2
set isosamples $1, $2
set hidden3d
splot sin(abs(x)**3 + abs(y)**3) notitle
GNUPLOT
    echo "$work/page-$1x$2.gp"
}

# Prints the best processor time of RUNS runs of the command, in milliseconds.
best_cpu_ms() {
    if command -v farm-bench >/dev/null 2>&1; then
        farm-bench -n "$runs" -- "$@" 2>&1 | awk '$1 == "A" && $2 == "cpu" { printf "%.1f\n", $4 * 1000 }'
    else
        python3 - "$runs" "$@" <<'PYTHON'
import resource, subprocess, sys
runs, command = int(sys.argv[1]), sys.argv[2:]
best = None
for _ in range(runs):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    used = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    best = used if best is None else min(best, used)
print("%.1f" % (best * 1000))
PYTHON
    fi
}

# Prints one line: NAME, toven's goal in ms (or -), the goal for gnuplot's time over toven's
# (or -), then gnuplot's arguments; toven's are in toven_args.
compare() {
    local name="$1" ms_goal="$2" ratio_goal="$3"
    shift 3
    local toven_ms gnuplot_ms
    toven_ms=$(best_cpu_ms "$toven" "${toven_args[@]}")
    gnuplot_ms=$(best_cpu_ms gnuplot "$@")
    awk -v n="$name" -v t="$toven_ms" -v g="$gnuplot_ms" -v mg="$ms_goal" -v rg="$ratio_goal" '
        BEGIN {
            ratio = g / t
            verdict = "met"
            if (mg != "-" && t > mg) verdict = "MISSED"
            if (rg != "-" && ratio < rg) verdict = "MISSED"
            goal = (mg != "-" ? "toven <= " mg " ms" : "")
            if (rg != "-") goal = goal (goal != "" ? ", " : "") ">= " rg "x"
            printf "%-8s toven %7.1f ms  gnuplot %7.1f ms  gnuplot/toven %5.2fx  goal %s: %s\n",
                   n, t, g, ratio, goal, verdict
        }'
}

printf '%s, %s cores; best of %s runs, processor time\n' \
    "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')" "$(nproc)" "$runs"
toven_args=(--eval 'x*y' 1 2)
compare eval 5 - -e 'print 1*2'
toven_args=(--render "$work/toven.png")
compare default 30 2.5 "$(gnuplot_page 41 21)"
toven_args=(--render "$work/toven.png" m=160 n=80 k=20)
compare dense - 4 "$(gnuplot_page 161 81)"
