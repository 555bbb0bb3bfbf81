#!/usr/bin/env bash
# Builds the project (Release) into build-bench/, writes the benchmarks' input files
# into build-bench/data (about 1.5 GB, kept between runs) and runs every benchmark,
# printing each figure beside its floor and the targets. Raw results land in
# build-bench/results. Takes a few minutes.
set -euo pipefail
export LC_ALL=C
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

# Median of the numbers on standard input.
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# Milliseconds one run of a command takes, its output thrown away.
elapsed_ms() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null
    local end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" 'BEGIN {printf "%.3f\n", (e - s) * 1000}'
}
verdict() { awk -v r="$1" -v t="$2" 'BEGIN {print (r <= t) ? "met" : "MISSED"}'; }

gbench=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true
        --benchmark_enable_random_interleaving=true --benchmark_out_format=json)

echo
echo "== 1. Core reader beside read() into memory; 4. core write (edt-bench-core)"
"$bin/edt-bench-core" --data="$data" "${gbench[@]}" --benchmark_min_time=0.2 \
    --benchmark_out="$results/core.json" >"$results/core.txt"
# Medians by name: "ReadFile/default-100mb" -> {time in ms or us, MB/s}.
jq -r '
  [.benchmarks[] | select(.aggregate_name == "median")
   | {key: (.run_name | sub("/real_time$"; "")), value: {t: .real_time, u: .time_unit, mb: .MB}}]
  | from_entries as $m
  | ($m | keys | map(select(startswith("ReadIntoMemory/"))) | map(sub("^ReadIntoMemory/"; ""))) as $files
  | (["file", "read() MB/s", "visitEntries MB/s", "readFile MB/s", "visitEntries/read()", "readFile/read()"] | @tsv),
    ($files[] as $f | $m["ReadIntoMemory/" + $f] as $r | $m["VisitEntries/" + $f] as $v | $m["ReadFile/" + $f] as $l
     | [$f, ($r.mb | floor), ($v.mb | floor), ($l.mb | floor),
        (($v.t / $r.t * 10 | round) / 10), (($l.t / $r.t * 10 | round) / 10)] | @tsv)
' "$results/core.json" | column -t -s $'\t'
echo
jq -r '
  [.benchmarks[] | select(.aggregate_name == "median" and (.run_name | startswith("WriteRecord/")))
   | {key: (.run_name | sub("/real_time$"; "") | sub("^WriteRecord/"; "")), value: .real_time}]
  | from_entries as $w
  | "edt::writeRecord of 200 characters (median, with fsync): 10 KB file \($w["write-10kb"] | round) us, 1 GiB sparse file \($w["write-1gib"] | round) us, ratio \(($w["write-1gib"] / $w["write-10kb"] * 100 | round) / 100)"
' "$results/core.json"
write_ratio=$(jq -r '[.benchmarks[] | select(.aggregate_name == "median" and (.run_name | startswith("WriteRecord/")))
   | {key: (.run_name | sub("/real_time$"; "") | sub("^WriteRecord/"; "")), value: .real_time}]
   | from_entries | .["write-1gib"] / .["write-10kb"]' "$results/core.json")
echo "Target: within 1.3x -> $(verdict "$write_ratio" 1.3)"

echo
echo "== 2. edt-tool list FILE > /dev/null beside cat FILE > /dev/null ($runs runs each, in turn)"
for label in default-100mb unterminated-100mb; do
    file=$data/$label/strings.edt
    cat "$file" >/dev/null
    "$bin/edt-tool" list "$file" >/dev/null
    : >"$results/cat-$label.txt"
    : >"$results/list-$label.txt"
    for ((i = 0; i < runs; i++)); do
        elapsed_ms cat "$file" >>"$results/cat-$label.txt"
        elapsed_ms "$bin/edt-tool" list "$file" >>"$results/list-$label.txt"
    done
    cat_ms=$(median <"$results/cat-$label.txt")
    list_ms=$(median <"$results/list-$label.txt")
    ratio=$(awk -v a="$list_ms" -v b="$cat_ms" 'BEGIN {printf "%.2f", a / b}')
    line="$label: cat ${cat_ms} ms, edt-tool list ${list_ms} ms (medians), ratio ${ratio}"
    [[ $label == default-100mb ]] && line+="; target 1.5x -> $(verdict "$ratio" 1.5)"
    echo "$line"
done
echo
echo "Raw output: $results"
