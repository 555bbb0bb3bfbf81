// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

#include "bench/bench_files.h"
#include "window/form1.h"

namespace edt::bench {

// Benchmarks of the editor window over the files in `dir` (see bench_files.h).
void registerOpenBenchmarks(const std::string& dir);
void registerSelectBenchmarks(const std::string& dir);
void registerWindowWriteBenchmarks(const std::string& dir);

// What the window told the user instead of showing a message box.
struct Reports {
    int count = 0;
    QString last;
};

// A shown Form1 whose reports land in `reports`, which must outlive it.
std::unique_ptr<Form1> makeWindow(Reports& reports);

// Lists `file` in the window as File > Open does, and lets the view lay out and paint
// the new rows. False when the window reported a failure. `readFileSeconds` (optional)
// gets the time spent in ReadFile itself added.
bool openInWindow(Form1& form, const BenchFile& file, const std::string& dir,
                  const Reports& reports, double* readFileSeconds = nullptr);

// A shown Form1 with `file` listed; none, and the benchmark skipped with the reason,
// when the window reported a failure.
std::unique_ptr<Form1> openedWindow(benchmark::State& state, const BenchFile& file,
                                    const std::string& dir, Reports& reports);

} // namespace edt::bench
