// SPDX-License-Identifier: GPL-3.0-or-later
// edt-bench-core --data=DIR [--benchmark_...]: the record core's reader and writer,
// the work of edt-tool list on a file held in memory, and a step of find.
#include "bench/bench_support.h"
#include "bench/core_benchmarks.h"

int main(int argc, char** argv) {
    return edt::bench::runBenchmarks(argc, argv, [](const std::string& dir) {
        edt::bench::registerReaderBenchmarks(dir);
        edt::bench::registerListingBenchmarks(dir);
        edt::bench::registerWriteBenchmarks(dir);
        edt::bench::registerFindBenchmarks(dir);
    });
}
