// SPDX-License-Identifier: GPL-3.0-or-later
// Form1::ReadFile into the real model and view, beside the core reader alone on the
// same file, with the process's peak memory. Run one size per process (the script
// does), so that each peak belongs to one size.
#include <QAbstractItemModel>
#include <QListView>

#include "bench/bench_support.h"
#include "bench/window_benchmarks.h"
#include "record/message.h"
#include "record/reader.h"

namespace edt::bench {
namespace {

constexpr std::uint64_t kEntryCounts[] = {1000, 10000, 100000, 1000000};

// The bytes of all texts a file lists: what any list of it must hold at least.
std::uint64_t textBytes(const BenchFile& file, const std::string& path) {
    std::uint64_t bytes = 0;
    visitEntries(path, file.kind(),
                 [&](RecordKey, std::string_view text) { bytes += text.size(); });
    return bytes;
}

void reportMemory(benchmark::State& state, std::uint64_t texts) {
    const double textsMiB = static_cast<double>(texts) / (1 << 20);
    state.counters["peak_MiB"] = peakMemoryMiB();
    state.counters["texts_MiB"] = textsMiB;
    state.counters["limit_MiB"] = 3 * textsMiB + 60; // the target
}

// The core reader alone: every entry read into a list in memory. As in the window,
// the list of the previous iteration is dropped first, then the file is read.
void openCore(benchmark::State& state, const BenchFile& file, const std::string& path) {
    ReadResult result;
    for (auto _ : state) {
        result = ReadResult();
        result = readFile(path, file.kind());
        if (!result.status.ok()) {
            state.SkipWithError(edt::describe(result.status).c_str());
            return;
        }
    }
    state.counters["entries"] = static_cast<double>(result.entries.size());
    result = ReadResult();
    reportMemory(state, textBytes(file, path));
}

// ReadFile, then the event loop until the view has laid out and painted the new
// rows: what the user waits for.
void openWindow(benchmark::State& state, const BenchFile& file, const std::string& dir) {
    Reports reports;
    const auto form = makeWindow(reports);
    const auto* list = form->findChild<QListView*>(QStringLiteral("List1"));
    double inReadFile = 0; // the rest is the view's layout and first paint
    for (auto _ : state) {
        if (!openInWindow(*form, file, dir, reports, &inReadFile)) {
            state.SkipWithError(reports.last.toStdString().c_str());
            return;
        }
    }
    const int rows = list->model()->rowCount();
    if (static_cast<std::uint64_t>(rows) != file.entries) {
        state.SkipWithError("the list does not show every entry");
        return;
    }
    state.counters["entries"] = rows;
    state.counters["readfile_ms"] =
        benchmark::Counter(inReadFile * 1000, benchmark::Counter::kAvgIterations);
    reportMemory(state, textBytes(file, file.path(dir)));
}

} // namespace

void registerOpenBenchmarks(const std::string& dir) {
    for (std::uint64_t entries : kEntryCounts) {
        const BenchFile file = entriesFile(entries);
        benchmark::RegisterBenchmark(("OpenCore/" + file.label).c_str(), openCore, file,
                                     file.path(dir))
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("OpenWindow/" + file.label).c_str(), openWindow, file, dir)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace edt::bench
