#!/usr/bin/env bash
# The dense page side by side with gnuplot's hidden3d, whole process against whole process:
# toven draws 161 x 81 curves with 20 samples per mesh interval, gnuplot 161 x 81 nodes (one
# sample per node), both at 800 x 600 PNG. Times each with /usr/bin/time -v over several
# runs and prints the medians of user + system time and of the peak memory.
#
#   bench/compare_gnuplot.sh build/app/toven [RUNS]
set -eu

toven="$1"
runs="${2:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cat >"$work/dense.gp" <<GNUPLOT
set terminal pngcairo size 800,600
set output "$work/gnuplot.png"
set xrange [-1:1]
set yrange [-1:1]
set zrange [-0.2:1.2]
set samples 161, 81
set isosamples 161, 81
set hidden3d
splot sin(abs(x)**3 + abs(y)**3) notitle
GNUPLOT

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Prints "CPU_SECONDS PEAK_KB" of one run of the command.
measure() {
    /usr/bin/time -f "%U %S %M" -o "$work/time" "$@" >/dev/null 2>&1
    awk '{ printf "%.3f %d\n", $1 + $2, $3 }' "$work/time"
}

for name in toven gnuplot; do
    : >"$work/$name.runs"
    for _ in $(seq "$runs"); do
        if [ "$name" = toven ]; then
            QT_QPA_PLATFORM=offscreen measure "$toven" --render "$work/toven.png" --size 800x600 \
                m=160 n=80 k=20 >>"$work/$name.runs"
        else
            measure gnuplot "$work/dense.gp" >>"$work/$name.runs"
        fi
    done
    printf '%-8s cpu %s s  peak %s KB\n' "$name" \
        "$(cut -d' ' -f1 "$work/$name.runs" | median)" "$(cut -d' ' -f2 "$work/$name.runs" | median)"
done
