// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/bench_support.h"

#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace edt::bench {

std::string takeDataDir(int& argc, char** argv) {
    std::string dir;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--data=", 7) == 0)
            dir = argv[i] + 7;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return dir;
}

int runBenchmarks(int argc, char** argv, void (*registerAll)(const std::string& dir)) {
    const std::string dir = takeDataDir(argc, argv);
    if (dir.empty()) {
        std::fprintf(stderr,
                     "Usage: %s --data=DIR [--benchmark_...]\n"
                     "DIR holds the files written by edt-bench-files.\n",
                     argv[0]);
        return 2;
    }
    registerAll(dir);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

std::int64_t fileSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return -1;
    return static_cast<std::int64_t>(info.st_size);
}

double peakMemoryMiB() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB on Linux
}

void reportThroughput(benchmark::State& state, std::uint64_t bytes) {
    state.counters["MB"] = benchmark::Counter(static_cast<double>(bytes) / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace edt::bench
