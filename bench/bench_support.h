// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include <benchmark/benchmark.h>

namespace edt::bench {

// Takes "--data=DIR" (the folder edt-bench-files filled) out of the arguments, so
// that Google Benchmark sees only its own flags. Empty when it is missing.
std::string takeDataDir(int& argc, char** argv);

// Registers the benchmarks, runs those the flags select and returns main's result.
// `registerAll` gets the data folder.
int runBenchmarks(int argc, char** argv, void (*registerAll)(const std::string& dir));

// The size of a file in bytes, or -1 when it cannot be examined.
std::int64_t fileSize(const std::string& path);

// Peak resident memory of this process so far (getrusage), in MiB.
double peakMemoryMiB();

// Adds a counter "MB" shown as a rate: `bytes` per iteration, in 10^6 bytes per second.
void reportThroughput(benchmark::State& state, std::uint64_t bytes);

} // namespace edt::bench
