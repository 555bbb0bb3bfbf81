#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the project (Release) into build-bench/, writes the benchmarks' input files
# into build-bench/data (about 1.9 GB, of which 1 GiB is a sparse hole; kept between
# runs) and runs every benchmark, printing each figure beside its floor and the
# targets. Raw results land in build-bench/results. Takes about five minutes.
# EDT_BENCH_BASELINE=PATH names an older edt-tool whose listing and export are timed
# beside this one's (the before/after of a change).
set -euo pipefail
export LC_ALL=C
echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg) (the figures need an otherwise idle machine)"
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${EDT_BENCH_BUILD_DIR:-$root/build-bench}
data=$build/data
results=$build/results
bin=$build/bin
runs=${EDT_BENCH_RUNS:-11}

EDT_BUILD_DIR=$build bash "$root/scripts/setup.sh" -DCMAKE_BUILD_TYPE=Release \
    -DEDT_BUILD_TESTS=OFF -DEDT_BUILD_BENCH=ON
[[ -x $bin/edt-bench-core ]] || { echo "edt-bench-core was not built (libbenchmark-dev?)"; exit 1; }
mkdir -p "$data" "$results"
echo "Writing the input files into $data ..."
"$bin/edt-bench-files" "$data"

# Google Benchmark: five repetitions, medians kept.
gbench=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true
        --benchmark_out_format=json --benchmark_min_time=0.2)
# Runs a benchmark program with a filter into results/NAME.json.
run() {
    local name=$1 program=$2 filter=$3
    shift 3
    "$program" --data="$data" "${gbench[@]}" --benchmark_filter="$filter" \
        --benchmark_out="$results/$name.json" "$@" >"$results/$name.txt" 2>&1 ||
        { cat "$results/$name.txt"; exit 1; }
    if grep -q '"error_occurred": true' "$results/$name.json"; then
        grep -h 'ERROR' "$results/$name.txt"
        exit 1
    fi
}
# A field of a benchmark's median (or only run) in results/NAME.json (real_time, MB, peak_MiB ...).
median() {
    jq -r --arg b "$2" --arg f "$3" '.benchmarks[]
        | select((.aggregate_name // "median") == "median" and (.run_name | sub("/real_time$"; "")) == $b)
        | .[$f]' "$results/$1.json"
}
calc() { awk "BEGIN {printf \"$1\n\", $2}"; }
verdict() { awk -v r="$1" -v t="$2" 'BEGIN {print (r <= t) ? "met" : "MISSED"}'; }

echo
echo "== 1. Core reader beside read() of the same file: whole into memory, and in 1 MiB pieces (medians of 5)"
run core-reader "$bin/edt-bench-core" '^(ReadIntoMemory|ReadInPieces|VisitEntries|ReadFile)/' \
    --benchmark_enable_random_interleaving=true
{
    echo "file read()_whole_MB/s read()_pieces_MB/s visitEntries_MB/s readFile_MB/s" \
         "visitEntries/whole visitEntries/pieces readFile/whole"
    for kind in default email unterminated; do
        for size in 1mb 10mb 100mb; do
            f=$kind-$size
            r=$(median core-reader "ReadIntoMemory/$f" real_time)
            p=$(median core-reader "ReadInPieces/$f" real_time)
            v=$(median core-reader "VisitEntries/$f" real_time)
            l=$(median core-reader "ReadFile/$f" real_time)
            echo "$f $(calc %.0f "$(median core-reader "ReadIntoMemory/$f" MB)")" \
                "$(calc %.0f "$(median core-reader "ReadInPieces/$f" MB)")" \
                "$(calc %.0f "$(median core-reader "VisitEntries/$f" MB)")" \
                "$(calc %.0f "$(median core-reader "ReadFile/$f" MB)")" \
                "$(calc %.2f "$v / $r") $(calc %.2f "$v / $p") $(calc %.2f "$l / $r")"
        done
    done
} | column -t
run core-listing "$bin/edt-bench-core" '^ListInMemory/' --benchmark_enable_random_interleaving=true
# The vector paths this CPU runs, as the benchmarks registered them ("scalar avx2").
paths=
for p in scalar avx2; do
    jq -e --arg b "ListInMemory/default-100mb/$p/1252/real_time" \
        'any(.benchmarks[]; .run_name == $b)' "$results/core-listing.json" >/dev/null &&
        paths+="${paths:+ }$p"
done
echo "The listing's work without reading (decode, key, escape; file already in memory), ms"
echo "of wall and of CPU time (medians of 5; the CPU time counts when other programs run):"
for f in default-100mb email-100mb unterminated-100mb; do
    for p in $paths; do
        for page in 1252 1250 1251 1253 866 KOI8-R; do
            b="ListInMemory/$f/$p/$page"
            [[ -n $(median core-listing "$b" real_time) ]] || continue
            echo "  $f $p $page: $(calc %.1f "$(median core-listing "$b" real_time)")" \
                "$(calc %.1f "$(median core-listing "$b" cpu_time)")"
        done
    done
done

echo
echo "== 2. edt-tool list and export beside cat, the file in the page cache ($runs runs of each, in turn;"
echo "      medians). Vector paths this CPU runs: $paths (EDT_SIMD chooses one)."
# Milliseconds one run of a command takes, of wall time and of CPU time (user and
# system, of every process of the run; 1 ms steps), its output thrown away: straight to
# /dev/null, or through a pipe into cat (which pays for the pipe, as any reader would).
elapsed_ms() {
    local TIMEFORMAT='%U %S' start=$EPOCHREALTIME cpu end
    cpu=$({ time "$@" >/dev/null 2>/dev/null; } 2>&1)
    end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" -v c="$cpu" \
        'BEGIN {split(c, f, " "); printf "%.3f %.3f\n", (e - s) * 1000, (f[1] + f[2]) * 1000}'
}
piped_ms() {
    local TIMEFORMAT='%U %S' start=$EPOCHREALTIME cpu end
    cpu=$({ time "$@" 2>/dev/null | cat >/dev/null; } 2>&1)
    end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" -v c="$cpu" \
        'BEGIN {split(c, f, " "); printf "%.3f %.3f\n", (e - s) * 1000, (f[1] + f[2]) * 1000}'
}
# The median of column $1 (default 1) of the numbers read.
middle() {
    awk -v k="${1:-1}" '{print $k}' | sort -g |
        awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
# Runs each NAME=COMMAND of the arguments $runs times in turn, after one unmeasured run
# each; prints NAME MEDIAN_MS lines. A command starting with "|" is timed through a pipe.
race() {
    local name body pre cmd i
    for cmd in "$@"; do
        : >"$results/race-${cmd%%=*}.txt"
        body=${cmd#*=}
        eval "${body#|}" >/dev/null 2>&1 </dev/null || true
    done
    for ((i = 0; i < runs; i++)); do
        for cmd in "$@"; do
            name=${cmd%%=*} body=${cmd#*=} pre=
            [[ $body == \|* ]] && body=${body#|} timer=piped_ms || timer=elapsed_ms
            # A leading VAR=value holds for the timed command only.
            [[ $body == EDT_SIMD=* ]] && pre=${body%% *} body=${body#* }
            eval "$pre $timer $body" >>"$results/race-$name.txt"
        done
    done
    for cmd in "$@"; do
        name=${cmd%%=*}
        echo "$name $(middle 1 <"$results/race-$name.txt") $(middle 2 <"$results/race-$name.txt")"
    done
}
ms() { awk -v n="$1" '$1 == n {print $2}' "$results/race.txt"; }
cpu_ms() { awk -v n="$1" '$1 == n {print $3}' "$results/race.txt"; }
# "NAME: X ms, ratio R (target T: met/MISSED), CPU time ..." beside the cat figure CAT.
show() {
    local name=$1 cat=$2 target=${3:-} line
    line="$(printf '%-18s' "$name") $(calc %7.1f "$(ms "$name")") ms  $(calc %.2f "$(ms "$name") / $(ms "$cat")")x $cat"
    line+=" (CPU $(calc %.0f "$(cpu_ms "$name")") ms, $(calc %.2f "$(cpu_ms "$name") / $(cpu_ms "$cat")")x)"
    [[ -n $target ]] && line+="; target ${target}x: $(verdict "$(calc %.4f "$(ms "$name") / $(ms "$cat")")" "$target")"
    echo "$line"
}
tool=$bin/edt-tool
baseline=${EDT_BENCH_BASELINE:-} # an older edt-tool, to compare with
default=$(echo "$data/default-100mb"/*.edt)
commands=("cat=cat $default" "cat|=|cat $default")
for p in $paths; do
    commands+=("list-$p=EDT_SIMD=$p $tool list $default"
               "list-$p|=|EDT_SIMD=$p $tool list $default"
               "csv-$p=EDT_SIMD=$p $tool export $default --format csv")
done
if [[ -n $baseline ]]; then
    commands+=("list-before=$baseline list $default" "list-before|=|$baseline list $default"
               "csv-before=$baseline export $default --format csv")
fi
echo "default-100mb, load average $(cut -d' ' -f1-3 /proc/loadavg):"
race "${commands[@]}" >"$results/race.txt"
echo "$(printf '%-18s' cat) $(calc %7.1f "$(ms cat)") ms (CPU $(calc %.0f "$(cpu_ms cat)") ms); into a pipe $(calc %.1f "$(ms 'cat|')") ms (CPU $(calc %.0f "$(cpu_ms 'cat|')") ms)"
# Into a pipe the target is today's ratio, when an older edt-tool is given to measure it.
piped=
[[ -n $baseline ]] && piped=$(calc %.4f "$(ms 'list-before|') / $(ms 'cat|')")
for p in ${baseline:+before} $paths; do
    show "list-$p" cat 1.0
    show "list-$p|" "cat|" "$([[ $p == before ]] || echo "$piped")"
    show "csv-$p" cat "$([[ $p == before ]] || echo 1.5)"
done

fastest=${paths##* }
echo "edt-tool list per code page ($fastest), load average $(cut -d' ' -f1-3 /proc/loadavg):"
commands=("cat=cat $default")
for page in 1250 1251 1252 1253 866 KOI8-R; do
    commands+=("list-$page=$tool --codepage $page list $default")
done
race "${commands[@]}" >"$results/race.txt"
slowest=0 quickest=1e9
for page in 1250 1251 1252 1253 866 KOI8-R; do
    show "list-$page" cat 1.0
    slowest=$(calc %.3f "(($(ms "list-$page") > $slowest) ? $(ms "list-$page") : $slowest)")
    quickest=$(calc %.3f "(($(ms "list-$page") < $quickest) ? $(ms "list-$page") : $quickest)")
done
spread=$(calc %.3f "$slowest / $quickest")
echo "slowest code page / quickest: $(calc %.2f "$spread"); target 1.10: $(verdict "$spread" 1.10)"

echo "other kinds ($fastest), load average $(cut -d' ' -f1-3 /proc/loadavg):"
for label in email-100mb unterminated-100mb; do
    file=$(echo "$data/$label"/*.edt)
    race "cat=cat $file" "$label=$tool list $file" >"$results/race.txt"
    show "$label" cat
done

window=$bin/edt-bench-window
if [[ -x $window ]]; then
    echo
    echo "== 3. Form1::ReadFile into the model and view, until painted, beside the core reader"
    echo "      (edt::readFile) on the same file. Times: both in one process, repetitions interleaved;"
    echo "      cpu = the main thread's CPU time. Peaks: one process per size and side."
    {
        echo "entries core_ms window_ms (in_ReadFile) window/core cpu_window/core target_2x" \
             "window_us/entry core_peak_MiB window_peak_MiB texts_MiB limit_MiB memory"
        for n in 1000 10000 100000 1000000; do
            run "open-$n" "$window" "^Open(Core|Window)/entries-$n/" \
                --benchmark_enable_random_interleaving=true
            run "peak-core-$n" "$window" "^OpenCore/entries-$n/" --benchmark_repetitions=1
            run "peak-window-$n" "$window" "^OpenWindow/entries-$n/" --benchmark_repetitions=1
            c=$(median "open-$n" "OpenCore/entries-$n" real_time)
            w=$(median "open-$n" "OpenWindow/entries-$n" real_time)
            cpu=$(calc %.2f "$(median "open-$n" "OpenWindow/entries-$n" cpu_time) / $(median "open-$n" "OpenCore/entries-$n" cpu_time)")
            peak=$(median "peak-window-$n" "OpenWindow/entries-$n" peak_MiB)
            limit=$(median "peak-window-$n" "OpenWindow/entries-$n" limit_MiB)
            ratio=$(calc %.2f "$w / $c")
            echo "$n $(calc %.2f "$c") $(calc %.2f "$w")" \
                "($(calc %.2f "$(median "open-$n" "OpenWindow/entries-$n" readfile_ms)"))" \
                "$ratio $cpu $(verdict "$ratio" 2)" \
                "$(calc %.3f "$w * 1000 / $n")" \
                "$(calc %.0f "$(median "peak-core-$n" "OpenCore/entries-$n" peak_MiB)")" \
                "$(calc %.0f "$peak") $(calc %.0f "$(median "peak-window-$n" "OpenWindow/entries-$n" texts_MiB)")" \
                "$(calc %.0f "$limit") $(verdict "$peak" "$limit")"
        done
    } | column -t
fi

echo
echo "== 4. One write of 200 characters into the last entry (with fsync), 10 KB file beside 1 GiB sparse file"
run core-write "$bin/edt-bench-core" '^WriteRecord/' --benchmark_enable_random_interleaving=true
small=$(median core-write WriteRecord/write-10kb real_time)
large=$(median core-write WriteRecord/write-1gib real_time)
ratio=$(calc %.2f "$large / $small")
echo "edt::writeRecord: $(calc %.0f "$small") us beside $(calc %.0f "$large") us, ratio $ratio; target 1.3x: $(verdict "$ratio" 1.3)"
if [[ -x $window ]]; then
    run window-write "$window" '^WindowWriteRecord/' --benchmark_enable_random_interleaving=true
    small=$(median window-write WindowWriteRecord/write-10kb real_time)
    large=$(median window-write WindowWriteRecord/write-1gib real_time)
    ratio=$(calc %.2f "$large / $small")
    echo "Form1::WriteRecord: $(calc %.0f "$small") us beside $(calc %.0f "$large") us, ratio $ratio; target 1.3x: $(verdict "$ratio" 1.3)"

    echo
    echo "== 5. A click on the last line (selection and length counter, repainted), 10 entries beside 1,000,000"
    run select "$window" '^SelectLastLine/' --benchmark_enable_random_interleaving=true
    small=$(median select SelectLastLine/entries-10 real_time)
    large=$(median select SelectLastLine/entries-1000000 real_time)
    ratio=$(calc %.2f "$large / $small")
    echo "10 entries $(calc %.0f "$small") us, 1,000,000 entries $(calc %.0f "$large") us, ratio $ratio; target 2x: $(verdict "$ratio" 2)"
fi

echo
echo "== 6. One step of find in 1,000,000 entries, from the first row (medians of 5)"
run find "$bin/edt-bench-core" '^FindStep/'
for query in nowhere key; do
    ms=$(median find "FindStep/entries-1000000/$query" real_time)
    echo "$query: $(calc %.1f "$ms") ms; target 50 ms: $(verdict "$ms" 50)"
done
echo
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Raw results: $results"
