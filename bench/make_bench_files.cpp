// SPDX-License-Identifier: GPL-3.0-or-later
// edt-bench-files DIR: writes the input files of the benchmarks into DIR (see
// bench_files.h). About 1.5 GB of disk, of which 1 GiB is a sparse hole.
#include <cstdio>
#include <sys/stat.h>

#include "bench/bench_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: edt-bench-files DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    ::mkdir(dir.c_str(), 0755);
    for (const edt::bench::BenchFile& file : edt::bench::allFiles()) {
        const std::string error = edt::bench::generate(file, dir);
        if (!error.empty()) {
            std::fprintf(stderr, "edt-bench-files: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
