// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace edt::bench {

// Benchmarks of the record core over the files in `dir` (see bench_files.h).
void registerReaderBenchmarks(const std::string& dir);
void registerWriteBenchmarks(const std::string& dir);
void registerListingBenchmarks(const std::string& dir);
void registerFindBenchmarks(const std::string& dir);

} // namespace edt::bench
